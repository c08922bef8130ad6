// Current menu and menu file reading.
#include "session/Menu.h"

#include "platform/Dialogs.h"
#include "platform/FileIO.h"
#include "platform/FilePaths.h"

CurrentMenu::CurrentMenu() = default;

void CurrentMenu::LoadMenu(const QString& path)
{
    if (!platform::fileExistsIgnoringCase(path)) {
        platform::dialogs().information(
            QStringLiteral("Kavro Start, Saying!"), QStringLiteral("I Can`t find the ConFig File Check Full Path!"));
        return;
    }
    const QString file = platform::resolvePath(path);
    const QList<QByteArray> lines = platform::readTextLines(file, menufile::LineCount);
    for (int i = 1; i <= menufile::LineCount; ++i)
        MenuLines[size_t(i)] = lines[i - 1];
    MenuFileName = file;
}

std::array<int, 8> CurrentMenu::EditedLines() const
{
    std::array<int, 8> lines {};
    for (int field = 0; field < 8; ++field)
        lines[size_t(field)] = menufile::gadgetLine(EditedGadget, field);
    return lines;
}
