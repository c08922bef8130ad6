// About panel.
#include "sysinfo/About.h"

#include "controls/Fonts.h"
#include "controls/Panel.h"
#include "desk/PlayWav.h"
#include "platform/FilePaths.h"
#include "platform/Guard.h"
#include "platform/Screen.h"
#include "platform/SystemColors.h"
#include "platform/SystemFacts.h"
#include "session/Session.h"
#include "sysinfo/sysinf32.h"

#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QtMath>

namespace {

// A sunken line: shadow above, highlight below.
class SunkenLine final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const int half = height() / 2;
        painter.fillRect(0, 0, width(), half, platform::sysColor(platform::COLOR_BTNSHADOW));
        painter.fillRect(0, half, width(), height() - half, platform::sysColor(platform::COLOR_BTNHIGHLIGHT));
    }
};

} // namespace

QString formatKilobytes(quint64 bytes)
{
    // Whole kilobytes, a half rounded up.
    const quint64 kilobytes = bytes / 1024 + (bytes % 1024 >= 512 ? 1 : 0);
    const QString digits = kilobytes == 0 ? QString() : QString::number(kilobytes);
    const QString separator = QLocale().groupSeparator();
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += separator;
        grouped += digits[i];
    }
    return grouped + QStringLiteral(" KB");
}

QString formatMemoryLoad(int percent) { return QStringLiteral("%1 %").arg(percent); }

QImage aboutPicture()
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor navy(0, 0, 128);
    const QColor yellow(255, 255, 0);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(navy);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 4, 4);
    const QPointF centre(16, 16);
    painter.setPen(QPen(yellow, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 12.5, 12.5);
    for (int hour = 0; hour < 12; ++hour) {
        const qreal angle = qDegreesToRadians(hour * 30.0);
        const QPointF direction(qSin(angle), -qCos(angle));
        painter.drawLine(centre + direction * 10.0, centre + direction * 12.0);
    }
    painter.setPen(QPen(yellow, 2.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, centre + QPointF(0, -8.5)); // minute hand at twelve
    painter.drawLine(centre, centre + QPointF(5.2, 3.0)); // hour hand at four
    painter.setPen(QPen(Qt::white, 1.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, centre + QPointF(-7.0, 7.0)); // second hand
    return image;
}

TForm4::TForm4(QWidget* parent)
    : TForm(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Form4"));
    setCaption(QStringLiteral("Form4"));
    comeBackWhenMinimised();
    setFont(designFont(11));

    SysInfo321 = new TSysInfo32(this);
    PlayWav1 = new TPlayWav(this);

    platform::guarded([this] { FormCreate(); });
}

// The figures are those of program start: showing the panel again does not refresh them.
void TForm4::FormCreate()
{
    setClientSize(PanelWidth, PanelHeight);
    const QSize screen = platform::primaryScreenSize();
    move((screen.width() - PanelWidth) / 2, (screen.height() - PanelHeight) / 2);

    figures_.owner = SysInfo321->RegisteredOwner();
    figures_.organization = SysInfo321->RegisteredOrganization();
    const platform::MemoryStatus memory = platform::systemFacts().memory();
    figures_.memory = formatKilobytes(memory.totalPhys);
    figures_.load = formatMemoryLoad(memory.memoryLoad);
}

void TForm4::createControls()
{
    Panel1 = new TPanel(this);
    Panel1->setBorderSingle(true);
    Panel1->setGeometry(0, 0, PanelWidth, PanelHeight);

    auto label = [this](const char* name, int left, int top, const QString& text) {
        auto* item = new QLabel(text, Panel1);
        // The owner's and organisation's names are the system's, never markup.
        item->setTextFormat(Qt::PlainText);
        item->setObjectName(QLatin1String(name));
        item->move(left + Panel1->borderWidth(), top + Panel1->borderWidth());
        item->adjustSize();
        return item;
    };
    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    Panel1->place(ProgramIcon, 40, 38, 32, 32);
    ProgramIcon->setPixmap(QPixmap::fromImage(aboutPicture()));
    ProductName = label("ProductName", 88, 32, QStringLiteral("Kavro Start"));
    Version = label("Version", 88, 48, QStringLiteral("Windows 95"));
    OwnerLabel = label("OwnerLabel", 88, 162, figures_.owner);
    OrganizationLabel = label("OrganizationLabel", 88, 180, figures_.organization);
    Bevel1 = new SunkenLine(Panel1);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Panel1->place(Bevel1, 88, 199, 233, 2);
    MemoryCaption = label("MemoryCaption", 88, 208, QStringLiteral("Physical Memory Available"));
    MemoryValue = label("MemoryValue", 256, 208, figures_.memory);
    LoadCaption = label("LoadCaption", 88, 225, QStringLiteral("Memory In Use"));
    LoadValue = label("LoadValue", 256, 225, figures_.load);
    OKButton = new QPushButton(QStringLiteral("OK"), Panel1);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    Panel1->place(OKButton, 264, 248, 75, 25);
    connect(OKButton, &QPushButton::clicked, this, platform::guardedSlot([this] { OKButtonClick(); }));
}

void TForm4::OKButtonClick() { close(); }

QList<QWidget*> TForm4::blockedWindows() const
{
    const Session& s = session();
    return { s.Form1, s.MainForm, s.MainFormer, s.Form3, s.Form2 };
}

void TForm4::FormShow()
{
    PlayWav1->PlayFile(platform::dataPath(session().StartFolder, QStringLiteral("\\Configs\\Magic.wav")));
    for (QWidget* window : blockedWindows())
        if (window)
            window->setEnabled(false);
    othersDisabled_ = true;
    raise();
    OKButton->setFocus();
}

void TForm4::FormClose() { enableOthers(); }

// However the panel goes away, the other windows work again.
void TForm4::hideEvent(QHideEvent* event)
{
    TForm::hideEvent(event);
    if (!event->spontaneous())
        enableOthers();
}

void TForm4::enableOthers()
{
    if (!othersDisabled_)
        return;
    othersDisabled_ = false;
    for (QWidget* window : blockedWindows())
        if (window)
            window->setEnabled(true);
}

void TForm4::keyPressEvent(QKeyEvent* event)
{
    // The focused OK button answers Enter as well as Space.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focusWidget() == OKButton) {
        OKButton->click();
        return;
    }
    TForm::keyPressEvent(event);
}
