// Alarm dialog.
#include "desk/MyAlarm1.h"

#include "controls/Fonts.h"
#include "controls/UpDown.h"
#include "desk/KavroAlarm.h"
#include "platform/Guard.h"
#include "platform/Screen.h"
#include "rtl/IntConv.h"
#include "session/Session.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

namespace {

constexpr int longestMessage = 100;

} // namespace

// A tool window: a small caption bar with only a close box, and a fixed size.
TAlarm1::TAlarm1(QWidget* parent)
    : TForm(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Alarm1"));
    setCaption(QStringLiteral("Kavro Start Alarm."));
    comeBackWhenMinimised();
    setClientSize(311, 97);
    setFixedSize(size());
    setFont(designFont(11));
    const QSize screen = platform::primaryScreenSize();
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}

void TAlarm1::createControls()
{
    auto label = [this](int left, int top, const QString& text) {
        auto* created = new QLabel(text, this);
        created->move(left, top);
        created->adjustSize();
        return created;
    };
    auto readOnlyEdit = [this](int left, int top, int width, int height) {
        auto* edit = new QLineEdit(QStringLiteral("0"), this);
        edit->setGeometry(left, top, width, height);
        edit->setReadOnly(true);
        return edit;
    };
    auto upDown = [this](int left, int top, int max, QLineEdit* associate, const QString& hint) {
        auto* created = new TUpDown(this);
        created->setGeometry(left, top, 15, 21);
        created->setRange(0, max);
        created->setWrap(false);
        created->setPosition(0);
        created->setAssociate(associate);
        created->setToolTip(hint);
        return created;
    };
    auto button = [this](int left, int top, const QString& caption, const QString& hint) {
        auto* created = new QPushButton(caption, this);
        created->setGeometry(left, top, 62, 25);
        created->setToolTip(hint);
        return created;
    };

    Label1 = label(8, 12, QStringLiteral("Message:-"));
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(64, 8, 233, 21);
    Edit1->setMaxLength(longestMessage);
    Edit1->setToolTip(QStringLiteral("Enter Message."));
    Label2 = label(91, 40, QStringLiteral("24 Hour"));
    Edit2 = readOnlyEdit(87, 66, 34, 21);
    UpDown1 = upDown(121, 66, 24, Edit2, QStringLiteral("Set Hour."));
    Label5 = label(165, 40, QStringLiteral("59 Mins"));
    Edit3 = readOnlyEdit(160, 64, 33, 21);
    UpDown2 = upDown(193, 64, 59, Edit3, QStringLiteral("Set Minute's."));
    Button1 = button(240, 38, QStringLiteral("OK"), QStringLiteral("Click to Set Alarm."));
    Button2 = button(240, 62, QStringLiteral("Cancel"), QStringLiteral("Cancel Alarm."));
    for (auto [caption, box] :
        { std::pair { Label1, Edit1 }, std::pair { Label2, Edit2 }, std::pair { Label5, Edit3 } })
        caption->setBuddy(box);

    // Tab order: OK, message, Cancel, hour up-down, hour, minute, minute up-down.
    setTabOrder(Button1, Edit1);
    setTabOrder(Edit1, Button2);
    setTabOrder(Button2, UpDown1);
    setTabOrder(UpDown1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, UpDown2);

    connect(UpDown1, &TUpDown::clicked, this, [this] { UpDown1Click(); });
    connect(UpDown2, &TUpDown::clicked, this, [this] { UpDown2Click(); });
    connect(Button1, &QPushButton::clicked, this, platform::guardedSlot([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, platform::guardedSlot([this] { Button2Click(); }));
}

// The dialog belongs to the control box, which stays on top and comes up
// at the same place at the first start: window managers keep a window above
// the one it belongs to, so the box never covers it.
void TAlarm1::showEvent(QShowEvent* event)
{
    QWidget* box = session().Form1;
    if (box && box->windowHandle() && windowHandle())
        windowHandle()->setTransientParent(box->windowHandle());
    TForm::showEvent(event);
}

void TAlarm1::FormShow()
{
    if (session().Form1)
        session().Form1->setEnabled(false);
    // OK is first in the tab order: the dialog opens with the focus on it.
    Button1->setFocus(Qt::ActiveWindowFocusReason);
}

void TAlarm1::FormClose()
{
    if (session().Form1)
        session().Form1->setEnabled(true);
}

void TAlarm1::UpDown1Click()
{
    if (alarm_)
        alarm_->setSetHour(rtl::StrToInt(Edit2->text()));
}

void TAlarm1::UpDown2Click()
{
    if (alarm_)
        alarm_->setSetMin(rtl::StrToInt(Edit3->text()));
}

void TAlarm1::Button1Click()
{
    if (alarm_)
        alarm_->setActive(true);
    session().AlarmMessage = Edit1->text();
    close();
}

void TAlarm1::Button2Click()
{
    if (alarm_)
        alarm_->setActive(false);
    close();
}
