// Launcher screen.
#include "launcher/myver.h"

#include "controls/Colorbut.h"
#include "controls/Fonts.h"
#include "controls/Panel.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Guard.h"
#include "platform/Process.h"
#include "platform/Quit.h"
#include "platform/Screen.h"
#include "rtl/DateUtils.h"
#include "rtl/IntConv.h"
#include "session/Session.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int gadgetColumnX[4] = { 48, 232, 417, 601 };
constexpr int titleColumnX[4] = { 48, 232, 416, 600 };

} // namespace

QPoint TMainForm::gadgetPosition(int n)
{
    return QPoint(gadgetColumnX[menu::gadgetColumn(n) - 1], 56 + 34 * (menu::gadgetRow(n) - 1));
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

    for (int c = 1; c <= menu::ColumnCount; ++c) {
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
    for (int n = 1; n <= menu::GadgetCount; ++n) {
        const QPoint at = gadgetPosition(n);
        auto* frame = new TShape(Panel5);
        Panel5->place(frame, at.x() - 1, at.y() - 1, 163, 35);
    }
    for (int n = 1; n <= menu::GadgetCount; ++n) {
        auto* button = new TColorSpeedButton(Panel5);
        const QPoint at = gadgetPosition(n);
        Panel5->place(button, at.x(), at.y(), 161, 33);
        button->setFont(designFont(13, true));
        button->setObjectName(QStringLiteral("ColorSpeedButton%1").arg(n));
        connect(button, &TColorSpeedButton::clicked, this, [this, n] { GadgetClick(n); });
        Gadgets[size_t(n)] = button;
    }

    // The date line's timer runs while the window shows (see showEvent).
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { platform::guarded([this] { Timer1Timer(); }); });

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
    if (platform::FileExists(mainMenu)) {
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
    const CurrentMenu& current = session().Menu;
    for (int c = 1; c <= menu::ColumnCount; ++c)
        ColumnTitles[size_t(c)]->setCaption(QString::fromLocal8Bit(current[menu::columnTitleLine(c)]));
    for (int n = 1; n <= menu::GadgetCount; ++n) {
        TColorSpeedButton* button = Gadgets[size_t(n)];
        button->setCaption(QString::fromLocal8Bit(current[menu::gadgetLine(n, menu::GadgetName)]));
        button->setColor(rtl::StrToInt(current[menu::gadgetLine(n, menu::BackColor)]));
        const QString face = QString::fromLocal8Bit(current[menu::gadgetLine(n, menu::FontName)]).left(31);
        if (!face.isEmpty()) {
            QFont font = button->font();
            font.setFamily(face);
            button->setFont(font);
        }
        button->setFontColor(rtl::StrToInt(current[menu::gadgetLine(n, menu::FontColor)]));
    }
    for (int n = 1; n <= menu::GadgetCount; ++n) {
        TColorSpeedButton* button = Gadgets[size_t(n)];
        const int side = rtl::StrToInt(current[menu::gadgetLine(n, menu::GraphicSide)]);
        const QString picture = QString::fromLocal8Bit(current[menu::gadgetLine(n, menu::GraphicPath)]);
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
    }
}

void TMainForm::ActivateGadget(int line)
{
    CurrentMenu& current = session().Menu;
    const QByteArray& mode = current[line];
    const QString path = QString::fromLocal8Bit(current[line + 1]);
    if (mode == "Run") {
        if (!platform::FileExists(path)) {
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
        if (!platform::FileExists(path)) {
            platform::dialogs().information(QStringLiteral("Kavro Start, Reporting!"),
                QStringLiteral("I Can`t find the ini File, Please Check Full Path!"));
            return;
        }
        current.LoadMenu(path);
        ApplyMenu();
    }
}

void TMainForm::GadgetClick(int n)
{
    if (!EditKeyDown) {
        ActivateGadget(menu::gadgetLine(n, menu::StartMode));
        return;
    }
    // The editor opens with the focus in a text box, where the held key's
    // auto-repeat would type on.
    heldKey_.hold(editKey_, editScanCode_);
    openEditor(n);
}

void TMainForm::openEditor(int n)
{
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
    emit gadgetDropped(event->mimeData()->urls());
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

void TMainForm::keyPressEvent(QKeyEvent* event)
{
    EditKeyDown = true;
    editKey_ = event->key();
    editScanCode_ = event->nativeScanCode();
    event->accept();
}

void TMainForm::keyReleaseEvent(QKeyEvent* event)
{
    // Auto-repeat sends releases while the key is still held.
    if (!event->isAutoRepeat())
        EditKeyDown = false;
    event->accept();
}

void TMainForm::focusOutEvent(QFocusEvent* event)
{
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
    Timer1->stop();
    TForm::hideEvent(event);
}

void TMainForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        EditKeyDown = false;
    TForm::changeEvent(event);
}
