// Launcher screen.
#include "launcher/myver.h"

#include "controls/Colorbut.h"
#include "controls/Fonts.h"
#include "controls/Panel.h"
#include "launcher/FindMarks.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FilePaths.h"
#include "platform/Guard.h"
#include "platform/Process.h"
#include "platform/Quit.h"
#include "platform/Screen.h"
#include "rtl/DateUtils.h"
#include "rtl/IntConv.h"
#include "session/Session.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int gadgetColumnX[4] = { 48, 232, 417, 601 };
constexpr int titleColumnX[4] = { 48, 232, 416, 600 };

// Longer typed text is not taken: no caption of a gadget is longer.
constexpr qsizetype maxFindText = 40;
// The rows the list of matches in other menus shows before it scrolls, and
// the most matches it offers: the best ones, a choice a user can read through.
constexpr int otherMatchRows = 8;
constexpr int maxOtherMatches = 50;

bool isEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// The gadget the key moves the focus to from gadget `n`: up and down within
// its column, left and right to the same row of the next column, Home and
// End to the first and last gadget, Tab on in number order; `n` itself
// where the key leads nowhere.
int gadgetAfterKey(int n, int key)
{
    const int row = menufile::gadgetRow(n);
    const int column = menufile::gadgetColumn(n);
    switch (key) {
    case Qt::Key_Up:
        return row > 1 ? n - 1 : n;
    case Qt::Key_Down:
        return row < menufile::RowsPerColumn ? n + 1 : n;
    case Qt::Key_Left:
        return column > 1 ? n - menufile::RowsPerColumn : n;
    case Qt::Key_Right:
        return column < menufile::ColumnCount ? n + menufile::RowsPerColumn : n;
    case Qt::Key_Home:
        return 1;
    case Qt::Key_End:
        return menufile::GadgetCount;
    case Qt::Key_Tab:
        return n % menufile::GadgetCount + 1;
    case Qt::Key_Backtab:
        return (n + menufile::GadgetCount - 2) % menufile::GadgetCount + 1;
    default:
        return 0;
    }
}

} // namespace

QPoint TMainForm::gadgetPosition(int n)
{
    return QPoint(gadgetColumnX[menufile::gadgetColumn(n) - 1], 56 + 34 * (menufile::gadgetRow(n) - 1));
}

QPoint TMainForm::columnTitlePosition(int c) { return QPoint(titleColumnX[c - 1], c == 1 ? 49 : 48); }

TMainForm::TMainForm(QWidget* parent)
    : TForm(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("MainForm"));
    setCaption(QStringLiteral("MainForm"));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(background);
    setFont(designFont(11, false));
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);

    Panel6 = new TPanel(this);
    Panel6->setGeometry(0, 0, 769, 33);
    Panel6->setColor(QColor(0, 0, 128));
    Panel6->setBorderSingle(true);
    Panel6->setAlignment(TPanelAlignment::taLeftJustify);
    Panel6->setFont(designFont(16, true));
    Panel6->setFontColor(QColor(255, 255, 0));

    Label1 = new QLabel(Panel6);
    Panel6->place(Label1, 563, 6, 201, 20);
    Label1->setFont(Panel6->font());
    QPalette yellow = Label1->palette();
    yellow.setColor(QPalette::WindowText, QColor(255, 255, 0));
    Label1->setPalette(yellow);

    ColorSpeedButton57 = new TColorSpeedButton(this);
    ColorSpeedButton57->setGeometry(769, 1, 32, 32);
    ColorSpeedButton57->setColor(0x800000); // navy
    ColorSpeedButton57->setCaption(QStringLiteral("X"));
    ColorSpeedButton57->setFont(designFont(16, true));
    ColorSpeedButton57->setFontColor(0x00FFFF); // yellow
    ColorSpeedButton57->setHint(QStringLiteral("Close Main Screen."));
    connect(ColorSpeedButton57, &TColorSpeedButton::clicked, this, [this] { ColorSpeedButton57Click(); });

    Panel5 = new TPanel(this);
    Panel5->setGeometry(0, 32, 801, 569);
    Panel5->setBorderSingle(true);
    Panel5->setColor(QColor(192, 192, 192));

    for (int c = 1; c <= menufile::ColumnCount; ++c) {
        TPanel* title = new TPanel(this);
        const QPoint at = columnTitlePosition(c);
        title->setGeometry(at.x(), at.y(), 163, 33);
        title->setBevelOuter(TPanelBevel::bvLowered);
        title->setBorderSingle(true);
        title->setColor(QColor(192, 192, 192));
        title->setFont(designFont(13, true));
        title->setObjectName(QStringLiteral("Panel%1").arg(c));
        ColumnTitles[size_t(c)] = title;
    }

    // The frames go in first so that the buttons stand above them.
    for (int n = 1; n <= menufile::GadgetCount; ++n) {
        const QPoint at = gadgetPosition(n);
        auto* frame = new TShape(Panel5);
        Panel5->place(frame, at.x() - 1, at.y() - 1, 163, 35);
    }
    for (int n = 1; n <= menufile::GadgetCount; ++n) {
        auto* button = new TColorSpeedButton(Panel5);
        const QPoint at = gadgetPosition(n);
        Panel5->place(button, at.x(), at.y(), 161, 33);
        button->setFont(designFont(13, true));
        button->setObjectName(QStringLiteral("ColorSpeedButton%1").arg(n));
        connect(button, &TColorSpeedButton::clicked, this, [this, n] { GadgetClick(n); });
        Gadgets[size_t(n)] = button;
    }

    std::array<QWidget*, 57> gadgetWidgets {};
    std::copy(Gadgets.begin(), Gadgets.end(), gadgetWidgets.begin());
    Marks = new FindMarks(Panel5, gadgetWidgets);
    OtherMatches = new QListWidget(this);
    OtherMatches->setFocusPolicy(Qt::NoFocus);
    OtherMatches->setFont(designFont(13, true));
    OtherMatches->hide();
    // Clicked, a match ends the finding and with it the list: not while the list still handles the click.
    connect(OtherMatches, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const size_t index = item->data(Qt::UserRole).toULongLong();
        QMetaObject::invokeMethod(
            this,
            [this, index] {
                if (!findText_.isEmpty() && index < found_.size())
                    platform::guarded([this, index] { activateFound(index); });
            },
            Qt::QueuedConnection);
    });

    // The date line's timer runs while the window shows (see showEvent).
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, platform::guardedSlot([this] { Timer1Timer(); }));

    platform::guarded([this] { FormCreate(); });
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate()
{
    EditKeyDown = false;
    const QSize screen = platform::primaryScreenSize();
    coverScreen(QRect(0, 0, screen.width(), screen.height()));
    Panel6->setCaption(QStringLiteral(" Kavro Start"));
    const QString mainMenu = platform::dataPath(session().StartFolder, QStringLiteral("\\ConFigs\\Main.ini"));
    if (platform::fileExistsIgnoringCase(mainMenu)) {
        session().Menu.LoadMenu(mainMenu);
        ApplyMenu();
    } else {
        platform::dialogs().information(QStringLiteral("Kavro Start, Saying!"),
            QStringLiteral("Were off on a great strat here I can`t find the Main.ini?"));
        platform::postQuit();
    }
}

void TMainForm::FormShow()
{
    if (session().Form1)
        session().Form1->hide();
}

void TMainForm::FormClose()
{
    if (session().Form1)
        session().Form1->showAndRaise();
}

bool TMainForm::FormCloseQuery() { return !session().Form2 || !session().Form2->isVisible(); }

void TMainForm::ApplyMenu()
{
    // A menu applied while the user types (the menus following the installed
    // applications) is searched again once it shows.
    const QString typed = findText_;
    EndFinding();
    const CurrentMenu& current = session().Menu;
    for (int c = 1; c <= menufile::ColumnCount; ++c)
        ColumnTitles[size_t(c)]->setCaption(QString::fromLocal8Bit(current[menufile::columnTitleLine(c)]));
    for (int n = 1; n <= menufile::GadgetCount; ++n) {
        TColorSpeedButton* button = Gadgets[size_t(n)];
        button->setCaption(QString::fromLocal8Bit(current[menufile::gadgetLine(n, menufile::GadgetName)]));
        button->setColor(rtl::StrToInt(current[menufile::gadgetLine(n, menufile::BackColor)]));
        const QString face = QString::fromLocal8Bit(current[menufile::gadgetLine(n, menufile::FontName)]).left(31);
        if (!face.isEmpty()) {
            QFont font = button->font();
            font.setFamily(face);
            button->setFont(font);
        }
        button->setFontColor(rtl::StrToInt(current[menufile::gadgetLine(n, menufile::FontColor)]));
    }
    for (int n = 1; n <= menufile::GadgetCount; ++n) {
        TColorSpeedButton* button = Gadgets[size_t(n)];
        const int side = rtl::StrToInt(current[menufile::gadgetLine(n, menufile::GraphicSide)]);
        const QString picture = QString::fromLocal8Bit(current[menufile::gadgetLine(n, menufile::GraphicPath)]);
        switch (side) {
        case 0:
            button->Glyph().LoadFromFile(picture);
            button->setLayout(TButtonLayout::blGlyphLeft);
            break;
        case 1:
            button->Glyph().LoadFromFile(picture);
            button->setLayout(TButtonLayout::blGlyphRight);
            break;
        case 2:
            button->setGlyph(QImage());
            break;
        default:
            break;
        }
        // A gadget that shows only a picture is known by the file it opens.
        const QString path = QString::fromLocal8Bit(current[menufile::gadgetLine(n, menufile::FilesPath)]);
        const bool onlyPicture = button->Caption().trimmed().isEmpty() && !button->Glyph().Empty();
        button->setAccessibleName(onlyPicture ? QFileInfo(path).completeBaseName() : QString());
    }
    if (!typed.isEmpty())
        setFindText(typed);
}

void TMainForm::ActivateGadget(int line)
{
    CurrentMenu& current = session().Menu;
    const QByteArray& mode = current[line];
    const QString path = QString::fromLocal8Bit(current[line + 1]);
    if (mode == "Run") {
        if (!platform::fileExistsIgnoringCase(path)) {
            platform::dialogs().information(QStringLiteral("Kavro Start, Reporting!"),
                QStringLiteral("I Can`t find the Exe File, Please Check Full Path!"));
            return;
        }
        if (session().Form1)
            session().Form1->showAndRaise();
        close();
        const QString program = platform::resolvePath(path);
        platform::setCurrentFolder(platform::folderOf(program));
        platform::startProgram(program);
    } else if (mode == "Menu") {
        openMenu(path);
    }
}

bool TMainForm::openMenu(const QString& path)
{
    if (!platform::fileExistsIgnoringCase(path)) {
        platform::dialogs().information(QStringLiteral("Kavro Start, Reporting!"),
            QStringLiteral("I Can`t find the ini File, Please Check Full Path!"));
        return false;
    }
    session().Menu.LoadMenu(path);
    ApplyMenu();
    return true;
}

void TMainForm::GadgetClick(int n)
{
    // A letter typed and then a click with the key still held is the edit
    // gesture, not a search: the finding ends either way.
    EndFinding();
    if (!EditKeyDown) {
        ActivateGadget(menufile::gadgetLine(n, menufile::StartMode));
        return;
    }
    // The editor opens with the focus in a text box, where the held key's
    // auto-repeat would type on.
    heldKey_.hold(editKey_, editScanCode_);
    openEditor(n);
}

void TMainForm::openEditor(int n)
{
    EndFinding();
    EditKeyDown = false;
    session().Menu.EditedGadget = n;
    if (session().Form2)
        session().Form2->showAndRaise();
}

int TMainForm::gadgetAt(QPointF position) const
{
    const QWidget* under = childAt(position.toPoint());
    const auto found = std::find(Gadgets.cbegin() + 1, Gadgets.cend(), under);
    return found == Gadgets.cend() ? 0 : int(found - Gadgets.cbegin());
}

// Taken anywhere, or the moves that follow would not come here; only a gadget takes the drop.
void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMainForm::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls() && gadgetAt(event->position()))
        event->acceptProposedAction();
    else
        event->ignore();
}

// A drop onto a gadget opens the editor on it, which fills it from the drop.
void TMainForm::dropEvent(QDropEvent* event)
{
    const int n = gadgetAt(event->position());
    if (!event->mimeData()->hasUrls() || !n) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    openEditor(n);
    platform::guarded([this, event] { emit gadgetDropped(event->mimeData()->urls()); });
}

void TMainForm::ColorSpeedButton57Click()
{
    if (session().Form1)
        session().Form1->showAndRaise();
    close();
}

void TMainForm::Timer1Timer()
{
    Label1->setText(rtl::FormatDateTime(QStringLiteral("dd,mmm,yyyy  h:mm: AM/PM"), platform::now()));
}

// Every key makes the edit gesture while it is held, also one that finds or moves the focus.
void TMainForm::keyPressEvent(QKeyEvent* event)
{
    // The X server's auto-repeat sends a release and a press at one moment;
    // Qt does not always mark the first such pair as repeated.
    const bool repeated = event->isAutoRepeat()
        || (event->nativeScanCode() != 0 && event->nativeScanCode() == releasedScanCode_
            && event->timestamp() == releasedAt_);
    EditKeyDown = true;
    editKey_ = event->key();
    editScanCode_ = event->nativeScanCode();
    event->accept();
    if (!takeFindingKey(*event, repeated))
        takeNavigationKey(*event);
}

void TMainForm::keyReleaseEvent(QKeyEvent* event)
{
    // Auto-repeat sends releases while the key is still held.
    if (!event->isAutoRepeat()) {
        EditKeyDown = false;
        releasedScanCode_ = event->nativeScanCode();
        releasedAt_ = event->timestamp();
    }
    event->accept();
}

bool TMainForm::focusNextPrevChild(bool) { return false; }

bool TMainForm::takeFindingKey(const QKeyEvent& event, bool repeated)
{
    const int key = event.key();
    const bool finding = !findText_.isEmpty();
    if (finding) {
        switch (key) {
        case Qt::Key_Escape:
            EndFinding();
            return true;
        case Qt::Key_Backspace:
            setFindText(findText_.chopped(1));
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!found_.empty())
                platform::guarded([this] { activateFound(chosen_); });
            return true;
        case Qt::Key_Up:
        case Qt::Key_Left:
        case Qt::Key_Backtab:
            chooseFound(chosen_ > 0 ? chosen_ - 1 : chosen_);
            return true;
        case Qt::Key_Down:
        case Qt::Key_Right:
        case Qt::Key_Tab:
            chooseFound(chosen_ + 1);
            return true;
        case Qt::Key_Home:
            chooseFound(0);
            return true;
        case Qt::Key_End:
            chooseFound(found_.size() - 1);
            return true;
        default:
            break;
        }
    }
    // Typed text: no command modifier, no button held (a press in progress
    // is no time to search), and a blank only within the text.
    const QString text = event.text();
    if (repeated || text.isEmpty() || QGuiApplication::mouseButtons() != Qt::NoButton
        || (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    if (!std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); }))
        return false;
    if (!finding && text.trimmed().isEmpty())
        return false;
    if (findText_.size() + text.size() <= maxFindText)
        setFindText(findText_ + text);
    return true;
}

void TMainForm::takeNavigationKey(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return;
    const int key = event.key();
    if (key == Qt::Key_Escape) {
        platform::guarded([this] { ColorSpeedButton57Click(); });
        return;
    }
    const int focused = focusedGadget();
    // Enter and Space start only a gadget the user can see the focus on.
    if (isEnterKey(key) || key == Qt::Key_Space) {
        if (focused != 0 && keyboardFocusShown())
            platform::guarded([this, focused] { ActivateGadget(menufile::gadgetLine(focused, menufile::StartMode)); });
        return;
    }
    // The first key shows where the focus is before it moves.
    const bool reveal = focused == 0 || !keyboardFocusShown();
    const int next = gadgetAfterKey(focused == 0 ? 1 : focused, key);
    if (next == 0)
        return;
    if (reveal && key != Qt::Key_Home && key != Qt::Key_End)
        focusGadget(focused == 0 ? 1 : focused);
    else
        focusGadget(next);
}

int TMainForm::focusedGadget() const
{
    const QWidget* focus = focusWidget();
    for (int n = 1; n <= menufile::GadgetCount; ++n)
        if (Gadgets[size_t(n)] == focus)
            return n;
    return 0;
}

// The frame round the focused gadget shows once a key has moved the focus,
// until the window is hidden: without keys the gadgets look as they always have.
bool TMainForm::keyboardFocusShown() const { return testAttribute(Qt::WA_KeyboardFocusChange); }

void TMainForm::focusGadget(int n)
{
    setAttribute(Qt::WA_KeyboardFocusChange);
    Gadgets[size_t(n)]->setFocus(Qt::OtherFocusReason);
    Gadgets[size_t(n)]->update();
}

void TMainForm::setFindText(const QString& text)
{
    if (text.isEmpty()) {
        EndFinding();
        return;
    }
    if (findText_.isEmpty())
        beginFinding();
    findText_ = text;
    found_ = finder_->find(findText_);
    int offered = 0;
    std::erase_if(
        found_, [&offered](const finding::Found& found) { return found.menu != 0 && ++offered > maxOtherMatches; });
    chosen_ = 0;
    showFound();
}

// The menus are read afresh each time finding begins, and only then: each
// key afterwards looks through what was read.
void TMainForm::beginFinding()
{
    titleBeforeFinding_ = Panel6->Caption();
    const QString current = QFileInfo(session().Menu.MenuFileName).canonicalFilePath();
    otherMenus_
        = finding::reachableMenus(platform::dataPath(session().StartFolder, QStringLiteral("\\ConFigs\\Main.ini")));
    std::erase_if(otherMenus_, [&](const finding::ReachableMenu& m) { return m.path == current; });
    std::vector<QStringList> captions(1);
    for (int n = 1; n <= menufile::GadgetCount; ++n)
        captions[0].append(Gadgets[size_t(n)]->Caption());
    for (const finding::ReachableMenu& other : otherMenus_)
        captions.push_back(other.captions);
    finder_.emplace(captions);
}

void TMainForm::EndFinding()
{
    if (findText_.isEmpty())
        return;
    findText_.clear();
    found_.clear();
    chosen_ = 0;
    finder_.reset();
    otherMenus_.clear();
    Marks->hide();
    OtherMatches->hide();
    OtherMatches->clear();
    Panel6->setCaption(titleBeforeFinding_);
}

void TMainForm::showFound()
{
    Panel6->setCaption(
        QStringLiteral(" Find: ") + findText_ + (found_.empty() ? QStringLiteral("   (nothing found)") : QString()));
    OtherMatches->clear();
    for (size_t i = 0; i < found_.size(); ++i) {
        const finding::Found& found = found_[i];
        if (found.menu == 0)
            continue;
        const finding::ReachableMenu& other = otherMenus_[size_t(found.menu - 1)];
        const QString where = other.via.isEmpty() ? QFileInfo(other.path).completeBaseName() : other.via;
        auto* item = new QListWidgetItem(other.captions[found.gadget - 1] + QStringLiteral("   (") + where + u')');
        item->setData(Qt::UserRole, qulonglong(i));
        OtherMatches->addItem(item);
    }
    Marks->show();
    Marks->raise();
    if (OtherMatches->count() > 0) {
        const int rows = std::min(OtherMatches->count(), otherMatchRows);
        OtherMatches->setGeometry(8, 33, 380, rows * OtherMatches->sizeHintForRow(0) + 2 * OtherMatches->frameWidth());
        OtherMatches->show();
        OtherMatches->raise();
    } else {
        OtherMatches->hide();
    }
    chooseFound(0);
}

void TMainForm::chooseFound(size_t index)
{
    if (found_.empty())
        return;
    chosen_ = std::min(index, found_.size() - 1);
    const finding::Found& chosen = found_[chosen_];
    std::array<bool, 57> marked {};
    for (const finding::Found& found : found_)
        if (found.menu == 0)
            marked[size_t(found.gadget)] = true;
    Marks->mark(marked, chosen.menu == 0 ? chosen.gadget : 0);
    int row = -1;
    for (int r = 0; r < OtherMatches->count(); ++r)
        if (OtherMatches->item(r)->data(Qt::UserRole).toULongLong() == chosen_)
            row = r;
    OtherMatches->setCurrentRow(row);
}

void TMainForm::activateFound(size_t index)
{
    const finding::Found found = found_[index];
    const int line = menufile::gadgetLine(found.gadget, menufile::StartMode);
    if (found.menu == 0) {
        EndFinding();
        ActivateGadget(line);
        return;
    }
    const finding::ReachableMenu other = otherMenus_[size_t(found.menu - 1)];
    EndFinding();
    if (!openMenu(other.path))
        return;
    // The file may have changed since it was read: only the gadget that was found is started.
    if (Gadgets[size_t(found.gadget)]->Caption() == other.captions[found.gadget - 1])
        ActivateGadget(line);
}

void TMainForm::focusOutEvent(QFocusEvent* event)
{
    // The focus going to one of the gadgets keeps the key held.
    const QWidget* next = QApplication::focusWidget();
    if (!next || next == this || !isAncestorOf(next))
        EditKeyDown = false;
    TForm::focusOutEvent(event);
}

// A hidden window is not repainted each second: the date line rests while
// the window is hidden and is brought up to date before it shows again.
void TMainForm::showEvent(QShowEvent* event)
{
    if (!Timer1->isActive()) {
        platform::guarded([this] { Timer1Timer(); });
        Timer1->start();
    }
    TForm::showEvent(event);
}

void TMainForm::hideEvent(QHideEvent* event)
{
    EditKeyDown = false;
    EndFinding();
    setAttribute(Qt::WA_KeyboardFocusChange, false);
    Timer1->stop();
    TForm::hideEvent(event);
}

void TMainForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        EditKeyDown = false;
    TForm::changeEvent(event);
}
