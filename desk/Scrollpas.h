// The control box: the program's main window, a small borderless bar with
// an analogue clock that unfolds into five buttons.
#pragma once

#include "controls/Form.h"

#include <array>

enum class ShowTarget;

class QAction;
class QMenu;
class TPanel;
class TTickingClock;
class TColorSpeedButton;
class TJustOne32;
class TPosition;
class TTopMost;
class TKavroAlarm;
class TPlayWav;

class TForm1 final : public TForm {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    static constexpr int FoldedWidth = 65;
    static constexpr int UnfoldedWidth = 132;

    bool Unfolded() const { return unfolded_; }
    // Width 65, 66, ... 132, each step applied at once.
    void Unfold();
    // Width 132, 131, ... 65.
    void FoldIn();

    // Handlers.
    void FormCreate();
    void Panel1Click();
    void TickingClock1Click();
    void ColorSpeedButton1Click(); // Alarm
    void ColorSpeedButton3Click(); // Main Screen
    void ColorSpeedButton5Click(); // Planner
    void ColorSpeedButton2Click(); // Screen Blanker
    void ColorSpeedButton4Click(); // Pin Notes
    void AlwaysonTop1Click();
    void A1Click();
    void Exit1Click();
    void KavroAlarm1Alarm();
    // A request to show a window (`KavroStart --show`): what its button does.
    void JustOne321ShowRequest(ShowTarget target);

    TPanel* Panel1;
    TTickingClock* TickingClock1;
    TPanel* Panel2;
    TColorSpeedButton* ColorSpeedButton1;
    TColorSpeedButton* ColorSpeedButton3;
    TColorSpeedButton* ColorSpeedButton5;
    TColorSpeedButton* ColorSpeedButton2;
    TColorSpeedButton* ColorSpeedButton4;
    QMenu* PopupMenu1;
    QAction* AlwaysonTop1;
    QAction* A1;
    QAction* Exit1;
    TJustOne32* JustOne321;
    TPosition* Position1;
    TTopMost* TopMost1;
    TKavroAlarm* KavroAlarm1;
    TPlayWav* PlayWav1;

protected:
    void FormClose() override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Enter or Space unfolds the box and goes to its first button; the
    // arrows and Tab go from button to button (and back to the clock),
    // Enter or Space presses the one with the focus, Escape folds the box
    // in; the menu key or Shift+F10 opens the context menu.
    void keyPressEvent(QKeyEvent* event) override;
    // Tab moves between the buttons in keyPressEvent, never before it.
    bool focusNextPrevChild(bool next) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setWidthKeepingPlace(int width);
    void toggleFolding();
    // Where the focus stands: 0 the clock (the box itself), 1 to 5 the
    // buttons in the order of keyButtons().
    std::array<TColorSpeedButton*, 6> keyButtons() const;
    int focusedPlace() const;
    void focusPlace(int place);
    void pressPlace(int place);

    bool unfolded_ = false;
    bool dragging_ = false;
    QPoint dragOffset_;
};
