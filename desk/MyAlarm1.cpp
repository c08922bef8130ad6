// Alarm dialog.
#include "desk/MyAlarm1.h"

#include "app/Session.h"
#include "desk/Scrollpas.h"

TAlarm1::TAlarm1(QWidget* parent) : TForm(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("Alarm1"));
    setCaption(QStringLiteral("Kavro Start Alarm."));
    setClientSize(311, 97);
}

void TAlarm1::FormShow()
{
    if (session().Form1)
        session().Form1->setEnabled(false);
}

void TAlarm1::FormClose()
{
    if (session().Form1)
        session().Form1->setEnabled(true);
}
