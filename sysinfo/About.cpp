// About panel.
#include "sysinfo/About.h"

TForm4::TForm4(QWidget* parent) : TForm(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Form4"));
    setCaption(QStringLiteral("Form4"));
    setClientSize(345, 281);
}
