// Screen blanker.
#include "desk/Blanker.h"

TForm3::TForm3(QWidget* parent) : TForm(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Form3"));
    setCaption(QStringLiteral("Form3"));
}
