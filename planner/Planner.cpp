// Planner window.
#include "planner/Planner.h"

#include "app/Session.h"
#include "desk/Scrollpas.h"

TMainFormer::TMainFormer(QWidget* parent) : TForm(parent)
{
    setObjectName(QStringLiteral("MainFormer"));
    setCaption(QStringLiteral("Planner"));
    setClientSize(582, 434);
}

void TMainFormer::FormShow()
{
    if (session().Form1)
        session().Form1->hide();
}

void TMainFormer::FormClose()
{
    if (session().Form1)
        session().Form1->Show();
}
