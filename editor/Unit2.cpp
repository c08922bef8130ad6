// Gadget editor window.
#include "editor/Unit2.h"

#include "app/Session.h"
#include "launcher/myver.h"

TForm2::TForm2(QWidget* parent) : TForm(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Form2"));
    setCaption(QStringLiteral("Kavro Start Editor."));
    setClientSize(602, 259);
}

void TForm2::FormShow()
{
    if (session().MainForm)
        session().MainForm->setEnabled(false);
}

void TForm2::FormClose()
{
    if (session().MainForm)
        session().MainForm->setEnabled(true);
}
