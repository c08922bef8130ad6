// The launcher screen: the full-screen window with the current menu's four
// column titles and 56 gadget buttons.
#pragma once

#include "controls/Form.h"
#include "controls/HeldKeyFilter.h"

#include <QList>
#include <QUrl>
#include <array>

class QLabel;
class QTimer;
class TPanel;
class TShape;
class TColorSpeedButton;

class TMainForm final : public TForm {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Shows the current menu on the column titles and the 56 gadgets, in
    // order; a bad number or picture ends it there, later controls keep their look.
    void ApplyMenu();
    // Carries out the gadget whose StartMode is on `line` (8n-6).
    void ActivateGadget(int line);

    // Handlers.
    void FormCreate();
    void GadgetClick(int n); // ColorSpeedButton1Click to ColorSpeedButton56Click
    void ColorSpeedButton57Click();
    void Timer1Timer();

    bool EditKeyDown = false;

    TPanel* Panel6;
    QLabel* Label1;
    TColorSpeedButton* ColorSpeedButton57;
    TPanel* Panel5;
    std::array<TPanel*, 5> ColumnTitles {}; // Panel1 to Panel4 at 1..4
    std::array<TColorSpeedButton*, 57> Gadgets {}; // ColorSpeedButton1 to 56 at 1..56
    QTimer* Timer1;

    // Design places, in window coordinates for titles and Panel5 client coordinates for gadgets.
    static QPoint gadgetPosition(int n);
    static QPoint columnTitlePosition(int c);

signals:
    // Files or addresses were dropped onto the gadget the editor now shows.
    void gadgetDropped(const QList<QUrl>& urls);

protected:
    void FormShow() override;
    void showEvent(QShowEvent* event) override;
    // Every way of closing (the "X" button, a started program, the window
    // manager's close) brings the control box back.
    void FormClose() override;
    // While the editor is open the launcher stays: it is the window the editor returns to.
    bool FormCloseQuery() override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void openEditor(int n);
    // The gadget a drop at `position` lands on, 0 for none.
    int gadgetAt(QPointF position) const;

    // The key last pressed, which makes the edit gesture while it is held.
    int editKey_ = 0;
    quint32 editScanCode_ = 0;
    HeldKeyFilter heldKey_;
};
