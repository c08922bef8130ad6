// Entry point of the note program.
#include "pinnotes/NotePlace.h"
#include "pinnotes/NoteWindow.h"
#include "platform/WindowSystem.h"

#include <QApplication>

int main(int argc, char** argv)
{
    platform::XPlatformRequest x(argc, argv);
    QApplication app(argc, argv);
    x.withdraw();
    const NotePlace place = notePlace(QCoreApplication::applicationDirPath());
    NoteWindow window(place.file, place.olderFile);
    window.show();
    return app.exec();
}
