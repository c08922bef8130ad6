// Entry point of the note program.
#include "pinnotes/NoteWindow.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    NoteWindow window(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("PinNotes.txt")));
    window.show();
    return app.exec();
}
