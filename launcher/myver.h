// The launcher screen: the full-screen window with the current menu's four
// column titles and 56 gadget buttons.
#pragma once

#include "controls/Form.h"
#include "controls/HeldKeyFilter.h"
#include "launcher/GadgetFinder.h"
#include "launcher/MenuWalk.h"

#include <QList>
#include <QUrl>
#include <array>
#include <optional>
#include <vector>

class FindMarks;
class QLabel;
class QListWidget;
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

    // Finding by typing: the text typed so far, empty while not finding.
    QString FindText() const { return findText_; }
    // What was found, best first; menu 0 is the current menu, menu i the
    // i-th of OtherMenus().
    const std::vector<finding::Found>& Found() const { return found_; }
    const std::vector<finding::ReachableMenu>& OtherMenus() const { return otherMenus_; }
    // The match Enter starts, an index into Found().
    size_t ChosenFound() const { return chosen_; }
    // Ends finding and gives the screen back the look it had before.
    void EndFinding();

    TPanel* Panel6;
    QLabel* Label1;
    TColorSpeedButton* ColorSpeedButton57;
    TPanel* Panel5;
    std::array<TPanel*, 5> ColumnTitles {}; // Panel1 to Panel4 at 1..4
    std::array<TColorSpeedButton*, 57> Gadgets {}; // ColorSpeedButton1 to 56 at 1..56
    QTimer* Timer1;
    // While finding: the marks on the gadgets, and the list of matches in other menus.
    FindMarks* Marks;
    QListWidget* OtherMatches;

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
    // Tab is one of the keys that move between the gadgets (and a key like
    // any other for the edit gesture): it is never taken before keyPressEvent.
    bool focusNextPrevChild(bool next) override;

private:
    void openEditor(int n);
    // The gadget a drop at `position` lands on, 0 for none.
    int gadgetAt(QPointF position) const;
    bool takeFindingKey(const QKeyEvent& event, bool repeated);
    void takeNavigationKey(const QKeyEvent& event);
    void setFindText(const QString& text);
    void beginFinding();
    void showFound();
    void chooseFound(size_t index);
    void activateFound(size_t index);
    // LoadMenu and ApplyMenu, as a "Menu" gadget does; false when the file is missing (and said so).
    bool openMenu(const QString& path);
    // The gadget that has the keyboard focus; 0 for none.
    int focusedGadget() const;
    bool keyboardFocusShown() const;
    void focusGadget(int n);

    // The key last pressed, which makes the edit gesture while it is held.
    int editKey_ = 0;
    quint32 editScanCode_ = 0;
    HeldKeyFilter heldKey_;
    // The last key released: a press of the same key at the same moment is its auto-repeat.
    quint32 releasedScanCode_ = 0;
    quint64 releasedAt_ = 0;

    QString findText_;
    QString titleBeforeFinding_;
    std::vector<finding::ReachableMenu> otherMenus_;
    std::optional<finding::GadgetFinder> finder_;
    std::vector<finding::Found> found_;
    size_t chosen_ = 0;
};
