// The yardstick of the start-up benchmark: the smallest Qt window there is.
#include "platform/StartupProbe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(65, 67);
    platform::reportFirstPaint(&window);
    window.show();
    platform::reportWhenIdle();
    return app.exec();
}
