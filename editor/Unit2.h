// The gadget editor window: one gadget of the current menu and the four
// column titles, with a live preview, saving and explanatory texts.
#pragma once

#include "controls/Form.h"
#include "editor/EditorDialogs.h"
#include "editor/MenuSaver.h"
#include "session/GadgetFill.h"

#include <QHash>
#include <QList>
#include <QUrl>
#include <array>
#include <functional>
#include <optional>

class QAction;
class QDropEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QRadioButton;
class TColorSpeedButton;
class TPanel;
class TShape;
class TpsiStatusBar;
class TypedLengthLimit;
enum class TButtonLayout;

class TForm2 final : public TForm {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // Handlers.
    void Edit1Change();
    void ColorSpeedButton1Click(); // Back Color
    void ColorSpeedButton2Click(); // Font Color
    void ColorSpeedButton6Click(); // font
    void ColorSpeedButton4Click(); // browse for a program or menu
    void ColorSpeedButton7Click(); // browse for a picture
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void ColorSpeedButton5Click(); // Save/Close
    void Save1Click();
    void SaveAs1Click();
    void Exit1Click();
    // Fills the gadget from the first of `urls` that makes one, as the menu
    // maker would; its files are written by Save/Close or Save As.
    void FormDragDrop(const QList<QUrl>& urls);

    // Stores the three edit boxes into the edited gadget and writes the menu to `fileName`.
    void SaveMenu(const QString& fileName);

    // What "Save/Close" runs once it has read the saved menu back: the
    // launcher screen shows it again. Wired at start-up.
    void setApplyMenu(std::function<void()> applyMenu) { applyMenu_ = std::move(applyMenu); }

    // What a dropped file or address fills the gadget with, given the
    // preview's face colour; nothing when it makes no gadget. Wired at start-up.
    using DropReader = std::function<std::optional<GadgetFill>(const QUrl&, QColor face)>;
    void setDropReader(DropReader reader) { dropReader_ = std::move(reader); }

    // The explanation a mouse move over `control` puts into the status bar;
    // empty for controls without one.
    QString Explanation(const QWidget* control) const;

    QMenuBar* MainMenu1;
    QAction* Save1;
    QAction* SaveAs1;
    QAction* Exit1;
    // The client area below the menu bar; the controls' places are in its coordinates.
    QWidget* Client;
    TColorSpeedButton* ColorSpeedButton1;
    TColorSpeedButton* ColorSpeedButton2;
    TColorSpeedButton* ColorSpeedButton3; // the preview
    TColorSpeedButton* ColorSpeedButton4;
    TColorSpeedButton* ColorSpeedButton5;
    TColorSpeedButton* ColorSpeedButton6;
    TColorSpeedButton* ColorSpeedButton7;
    TPanel* Panel1;
    TPanel* Panel2;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    QGroupBox* RadioGroup1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    QRadioButton* RadioButton5;
    QRadioButton* RadioButton6;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    TShape* Shape1;
    TShape* Shape2;
    TShape* Shape3;
    TShape* Shape4;
    TShape* Shape5;
    TShape* Shape6;
    TpsiStatusBar* StatusBar;

    editor::TColorDialog ColorDialog1;
    editor::TFontDialog FontDialog1;
    editor::TOpenDialog OpenDialog1;
    editor::TSaveDialog SaveDialog1;

protected:
    void createControls() override;
    void FormShow() override;
    void FormClose() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    // FormShow's steps: the edited gadget's line of `field` (a menufile::Field);
    // the texts; the preview's colours, face and picture.
    QByteArray editedLine(int field) const;
    void showTexts();
    void showPreviewLook();
    void pictureRule(const QString& path, TButtonLayout side);
    void setSideButtonsEnabled(bool enabled);
    void SaveClose();
    // Takes a drag of files or addresses, over whichever control; false for other drags.
    bool takeDrop(QDropEvent* event);
    void writeDroppedFiles() const;
    GadgetEditBoxes editBoxes() const;
    GadgetEditorValues editorValues() const;

    TypedLengthLimit* gadgetNameLimit_ = nullptr; // on Edit1
    std::array<TypedLengthLimit*, menufile::ColumnCount> columnTitleLimits_ {}; // on Edit4 to Edit7
    QHash<const QWidget*, QString> explanations_;
    // The face chosen in the font dialog since the editor was last shown.
    std::optional<QString> chosenFace_;
    // Whether the preview's colours are this gadget's (read from its lines
    // or chosen since): only those are stored.
    bool backColorFilled_ = false;
    bool fontColorFilled_ = false;
    bool placed_ = false;
    std::function<void()> applyMenu_;
    DropReader dropReader_;
    // The gadget last filled by a drop since the editor was shown.
    std::optional<GadgetFill> dropped_;
};
