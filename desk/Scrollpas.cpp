// Control box.
#include "desk/Scrollpas.h"

#include "controls/Colorbut.h"
#include "controls/Fonts.h"
#include "controls/Panel.h"
#include "controls/TikClock.h"
#include "desk/ClockFace.h"
#include "desk/ControlBoxGlyphs.h"
#include "desk/Just1_32.h"
#include "desk/KavroAlarm.h"
#include "desk/OnScreen.h"
#include "desk/PlayWav.h"
#include "desk/TopMost.h"
#include "desk/position.h"
#include "platform/Dialogs.h"
#include "platform/FilePaths.h"
#include "platform/Guard.h"
#include "platform/Process.h"
#include "platform/Quit.h"
#include "platform/Screen.h"
#include "platform/WindowSystem.h"
#include "session/Session.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWindow>
#include <algorithm>

namespace {

// Stored colour values (red in the lowest byte).
constexpr qint32 clTeal = 0x808000;
constexpr qint32 clBlack = 0x000000;
constexpr qint32 clYellow = 0x00FFFF;

// The places the keys go to: 0 the clock, then Alarm, Main Screen, Planner,
// Screen Blanker and Pin Notes, and for each the place an arrow key leads
// to, by where the buttons stand: Alarm and Main Screen side by side at the
// top, Planner below Alarm, Screen Blanker and Pin Notes side by side at
// the bottom, Main Screen as high as two buttons.
constexpr int placeCount = 6;
constexpr int leftOf[placeCount] = { 0, 0, 1, 0, 0, 4 };
constexpr int rightOf[placeCount] = { 1, 2, 2, 2, 5, 5 };
constexpr int above[placeCount] = { 0, 1, 2, 1, 3, 2 };
constexpr int below[placeCount] = { 0, 3, 5, 4, 4, 5 };

} // namespace

TForm1::TForm1(QWidget* parent)
    : TForm(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Form1"));
    setCaption(QStringLiteral("Kavro StratControl Box"));
    setClientSize(130, 67);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, Qt::white);
    setPalette(black);
    setFont(designFont(24, true));

    Panel1 = new TPanel(this);
    Panel1->setGeometry(0, 8, 65, 59);
    Panel1->setBevelOuter(TPanelBevel::bvNone);
    Panel1->setColor(QColor(0, 0, 128));
    Panel1->setFont(designFont(11, false));
    Panel1->setFontColor(QColor(255, 255, 0));
    connect(Panel1, &TPanel::clicked, this, [this] { Panel1Click(); });

    TickingClock1 = new TTickingClock(Panel1);
    TickingClock1->setGeometry(0, 5, 64, 51);
    setUpControlBoxClock(*TickingClock1);
    connect(TickingClock1, &TTickingClock::clicked, this, [this] { TickingClock1Click(); });

    Panel2 = new TPanel(this);
    Panel2->setGeometry(66, 0, 65, 67);
    Panel2->setBevelOuter(TPanelBevel::bvLowered);

    auto makeButton = [this](int left, int top, int width, int height, const QString& hint) {
        auto* button = new TColorSpeedButton(Panel2);
        button->setGeometry(left, top, width, height);
        button->setHint(hint);
        return button;
    };
    ColorSpeedButton1 = makeButton(3, 2, 30, 22, QStringLiteral("Alarm"));
    ColorSpeedButton1->setGlyph(controlboxglyphs::alarmClock());
    ColorSpeedButton3 = makeButton(33, 2, 30, 43, QStringLiteral("Main Screen"));
    ColorSpeedButton3->setColor(clTeal);
    ColorSpeedButton3->setGlyph(controlboxglyphs::mainScreen());
    ColorSpeedButton3->setLayout(TButtonLayout::blGlyphBottom);
    ColorSpeedButton5 = makeButton(3, 23, 30, 22, QStringLiteral("Planner"));
    ColorSpeedButton5->setGlyph(controlboxglyphs::calendarPage());
    ColorSpeedButton2 = makeButton(3, 44, 30, 22, QStringLiteral("Screen Blanker"));
    ColorSpeedButton2->setColor(clBlack);
    ColorSpeedButton4 = makeButton(33, 44, 30, 22, QStringLiteral("Pin Notes"));
    ColorSpeedButton4->setColor(clYellow);
    connect(ColorSpeedButton1, &TColorSpeedButton::clicked, this, [this] { ColorSpeedButton1Click(); });
    connect(ColorSpeedButton3, &TColorSpeedButton::clicked, this, [this] { ColorSpeedButton3Click(); });
    connect(ColorSpeedButton5, &TColorSpeedButton::clicked, this, [this] { ColorSpeedButton5Click(); });
    connect(ColorSpeedButton2, &TColorSpeedButton::clicked, this, [this] { ColorSpeedButton2Click(); });
    connect(ColorSpeedButton4, &TColorSpeedButton::clicked, this, [this] { ColorSpeedButton4Click(); });

    PopupMenu1 = new QMenu(this);
    AlwaysonTop1 = PopupMenu1->addAction(QStringLiteral("Always on Top"));
    AlwaysonTop1->setCheckable(true);
    AlwaysonTop1->setChecked(true);
    A1 = PopupMenu1->addAction(QStringLiteral("About"));
    Exit1 = PopupMenu1->addAction(QStringLiteral("Exit"));
    // The check mark is inverted by the handler itself: undo the menu's own toggle first.
    connect(AlwaysonTop1, &QAction::triggered, this, [this] {
        AlwaysonTop1->setChecked(!AlwaysonTop1->isChecked());
        platform::guarded([this] { AlwaysonTop1Click(); });
    });
    connect(A1, &QAction::triggered, this, platform::guardedSlot([this] { A1Click(); }));
    connect(Exit1, &QAction::triggered, this, platform::guardedSlot([this] { Exit1Click(); }));

    JustOne321 = new TJustOne32(this);
    connect(JustOne321, &TJustOne32::OnShowRequest, this, [this](ShowTarget target) { JustOne321ShowRequest(target); });
    Position1 = new TPosition(this);
    Position1->setIniFileName(QStringLiteral("k-prefs.ini"));
    TopMost1 = new TTopMost(this);
    KavroAlarm1 = new TKavroAlarm(this);
    KavroAlarm1->setActive(false);
    connect(KavroAlarm1, &TKavroAlarm::OnAlarm, this, [this] { KavroAlarm1Alarm(); });
    PlayWav1 = new TPlayWav(this);

    // End of loading: the saved size and place, then the creation handler.
    platform::guarded([this] { Position1->Restore(); });
    platform::guarded([this] { FormCreate(); });
    // Folded, on a screen that shows it whole; the window owns its keeper.
    new KeptOnScreen(this);
}

TForm1::~TForm1() = default;

void TForm1::FormCreate()
{
    const QSize screen = platform::primaryScreenSize();
    if (screen.width() < 800 || screen.height() < 600) {
        platform::dialogs().information(
            QStringLiteral("Kavro Start"), QStringLiteral("Kavro Start needs Screen Mode to be 800x600."));
        platform::postQuit();
    }
    session().StartFolder = platform::currentFolder();
    unfolded_ = false;
    setWidthKeepingPlace(FoldedWidth);
    TopMost1->setTopMost(true);
    if (!platform::windowsPlaceable()) {
        AlwaysonTop1->setChecked(false);
        AlwaysonTop1->setEnabled(false);
        AlwaysonTop1->setToolTip(platform::stayOnTopUnavailableHint());
        PopupMenu1->setToolTipsVisible(true);
    }
    TickingClock1->setMode(TTickingClockMode::tcmClock);
    TickingClock1->setEnabled(true);
}

void TForm1::setWidthKeepingPlace(int width) { resize(width, height()); }

void TForm1::Unfold()
{
    for (int width = FoldedWidth; width <= UnfoldedWidth; ++width)
        setWidthKeepingPlace(width);
    unfolded_ = true;
}

void TForm1::FoldIn()
{
    for (int width = UnfoldedWidth; width >= FoldedWidth; --width)
        setWidthKeepingPlace(width);
    unfolded_ = false;
    // A folded-away button keeps no focus: the keys go to the clock again.
    if (focusedPlace() != 0)
        focusPlace(0);
}

void TForm1::toggleFolding()
{
    if (unfolded_)
        FoldIn();
    else
        Unfold();
}

void TForm1::Panel1Click() { toggleFolding(); }

void TForm1::TickingClock1Click() { toggleFolding(); }

void TForm1::ColorSpeedButton1Click()
{
    FoldIn();
    if (session().Alarm1)
        session().Alarm1->showAndRaise();
}

void TForm1::ColorSpeedButton3Click()
{
    FoldIn();
    if (session().MainForm)
        session().MainForm->showAndRaise();
}

void TForm1::ColorSpeedButton5Click()
{
    FoldIn();
    if (session().MainFormer)
        session().MainFormer->showAndRaise();
}

void TForm1::ColorSpeedButton2Click()
{
    FoldIn();
    if (session().Form3)
        session().Form3->showAndRaise();
}

void TForm1::ColorSpeedButton4Click()
{
    FoldIn();
    // The start folder first, then beside the program file, where an
    // installed copy keeps its note program. A Linux build carries no suffix.
    const QString programFolder = platform::folderOf(platform::programFilePath());
    for (const QString& folder : { session().StartFolder, programFolder }) {
        for (const char* name : { "\\PinNotes.exe", "\\PinNotes" }) {
            const QString notes = platform::dataPath(folder, QLatin1String(name));
            if (platform::fileExistsIgnoringCase(notes)) {
                platform::startProgram(notes);
                return;
            }
        }
    }
    platform::dialogs().information(QStringLiteral("Kavro Start, Reporting!"),
        QStringLiteral("I Can`t find PinNotes.Exe File, It should be in the same Dir as KavroStart.!"));
}

void TForm1::AlwaysonTop1Click()
{
    AlwaysonTop1->setChecked(!AlwaysonTop1->isChecked());
    TopMost1->setTopMost(AlwaysonTop1->isChecked());
}

void TForm1::A1Click()
{
    if (session().Form4)
        session().Form4->showAndRaise();
}

void TForm1::Exit1Click()
{
    Position1->SaveToIni();
    QCoreApplication::quit();
}

void TForm1::KavroAlarm1Alarm()
{
    // A call of the set time has switched the alarm off already; a snooze's has not.
    // The blanker stays on top and takes every key and click: it goes first,
    // so the message is seen and answered.
    if (session().Form3 && session().Form3->isVisible())
        session().Form3->close();
    if (KavroAlarm1->CallRings())
        PlayWav1->PlayFile(platform::dataPath(session().StartFolder, QStringLiteral("\\Configs\\Alarm.wav")));
    KavroAlarm1->ShowCall(session().AlarmMessage);
}

void TForm1::JustOne321ShowRequest(ShowTarget target)
{
    switch (target) {
    case ShowTarget::Box:
        showAndRaise();
        return;
    case ShowTarget::Launcher:
        ColorSpeedButton3Click();
        return;
    case ShowTarget::Planner:
        ColorSpeedButton5Click();
        return;
    case ShowTarget::Alarm:
        ColorSpeedButton1Click();
        return;
    case ShowTarget::Blanker:
        ColorSpeedButton2Click();
        return;
    case ShowTarget::Notes:
        ColorSpeedButton4Click();
        return;
    }
}

void TForm1::FormClose()
{
    // The control box is the main window: closing it ends the program.
    platform::postQuit();
}

void TForm1::contextMenuEvent(QContextMenuEvent* event)
{
    // Opened by a key, the menu drops from the box's lower left corner, as with Shift+F10.
    PopupMenu1->popup(
        event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(0, height())) : event->globalPos());
    event->accept();
}

// A press on the bare parts of the window (the strip above the clock, the
// column between the panels) drags the window instead of clicking.
void TForm1::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        TForm::mousePressEvent(event);
        return;
    }
    event->accept();
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - pos();
}

void TForm1::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_) {
        move(event->globalPosition().toPoint() - dragOffset_);
        event->accept();
        return;
    }
    TForm::mouseMoveEvent(event);
}

void TForm1::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragging_ && event->button() == Qt::LeftButton) {
        dragging_ = false;
        event->accept();
        return;
    }
    TForm::mouseReleaseEvent(event);
}

std::array<TColorSpeedButton*, 6> TForm1::keyButtons() const
{
    return { nullptr, ColorSpeedButton1, ColorSpeedButton3, ColorSpeedButton5, ColorSpeedButton2, ColorSpeedButton4 };
}

int TForm1::focusedPlace() const
{
    const auto buttons = keyButtons();
    const auto found = std::find(buttons.begin() + 1, buttons.end(), focusWidget());
    return found == buttons.end() ? 0 : int(found - buttons.begin());
}

// A button reached by a key shows a focus frame from then on, until the box is hidden.
void TForm1::focusPlace(int place)
{
    if (place == 0) {
        setFocus(Qt::OtherFocusReason);
        return;
    }
    TColorSpeedButton* button = keyButtons()[size_t(place)];
    setAttribute(Qt::WA_KeyboardFocusChange);
    button->setFocus(Qt::OtherFocusReason);
    button->update();
}

void TForm1::pressPlace(int place)
{
    void (TForm1::*const handlers[placeCount])()
        = { nullptr, &TForm1::ColorSpeedButton1Click, &TForm1::ColorSpeedButton3Click, &TForm1::ColorSpeedButton5Click,
              &TForm1::ColorSpeedButton2Click, &TForm1::ColorSpeedButton4Click };
    platform::guarded([this, handler = handlers[place]] { (this->*handler)(); });
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (key == Qt::Key_Menu || (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        PopupMenu1->popup(mapToGlobal(QPoint(0, height())));
        return;
    }
    if (modifiers & ~Qt::ShiftModifier) {
        TForm::keyPressEvent(event);
        return;
    }
    const int place = focusedPlace();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (place != 0) {
            pressPlace(place);
        } else {
            toggleFolding();
            if (unfolded_)
                focusPlace(1);
        }
        return;
    case Qt::Key_Escape:
        if (unfolded_)
            FoldIn();
        return;
    default:
        break;
    }
    if (!unfolded_) {
        TForm::keyPressEvent(event);
        return;
    }
    switch (key) {
    case Qt::Key_Left:
        focusPlace(leftOf[place]);
        break;
    case Qt::Key_Right:
        focusPlace(rightOf[place]);
        break;
    case Qt::Key_Up:
        focusPlace(above[place]);
        break;
    case Qt::Key_Down:
        focusPlace(below[place]);
        break;
    case Qt::Key_Tab:
        focusPlace((place + 1) % placeCount);
        break;
    case Qt::Key_Backtab:
        focusPlace((place + placeCount - 1) % placeCount);
        break;
    default:
        TForm::keyPressEvent(event);
        break;
    }
}

bool TForm1::focusNextPrevChild(bool) { return false; }

void TForm1::hideEvent(QHideEvent* event)
{
    setAttribute(Qt::WA_KeyboardFocusChange, false);
    TForm::hideEvent(event);
}
