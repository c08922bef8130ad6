// Storing the editor's values into the menu and writing menu files.
#include "editor/MenuSaver.h"

#include "editor/EditorDialogs.h"
#include "platform/FileIO.h"
#include "platform/SystemColors.h"
#include "rtl/Errors.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testing_support::readFile;

CurrentMenu sampleMenu(int editedGadget)
{
    CurrentMenu menu;
    const QList<QByteArray> lines = testing_support::sampleMenuLines();
    for (int i = 1; i <= menufile::LineCount; ++i)
        menu[i] = lines[i - 1];
    menu.EditedGadget = editedGadget;
    return menu;
}

GadgetEditorValues valuesOf(const CurrentMenu& menu)
{
    const auto lines = menu.EditedLines();
    GadgetEditorValues values;
    values.Boxes = { QString::fromLocal8Bit(menu[lines[menufile::GadgetName]]),
        QString::fromLocal8Bit(menu[lines[menufile::FilesPath]]),
        QString::fromLocal8Bit(menu[lines[menufile::GraphicPath]]) };
    for (int c = 1; c <= 4; ++c)
        values.ColumnTitles[size_t(c - 1)] = QString::fromLocal8Bit(menu[menufile::columnTitleLine(c)]);
    return values;
}

TEST(MenuSaver, KeepsStartModeSideAndFontLinesWhenNothingWasChosenAndStoresColoursAsRgb)
{
    CurrentMenu menu = sampleMenu(20);
    const int mode = menufile::gadgetLine(20, menufile::StartMode);
    menu[mode] = "run";
    menu[menufile::gadgetLine(20, menufile::GraphicSide)] = "3";
    menu[menufile::gadgetLine(20, menufile::FontName)] = "Arial";
    GadgetEditorValues values = valuesOf(menu);
    values.BackColor = platform::clBtnFace;
    values.FontColor = 0x00FF00;
    MenuSaver::storeValues(menu, values);
    EXPECT_EQ(menu[mode], "run");
    EXPECT_EQ(menu[menufile::gadgetLine(20, menufile::GraphicSide)], "3");
    EXPECT_EQ(menu[menufile::gadgetLine(20, menufile::FontName)], "Arial");
    EXPECT_EQ(menu[menufile::gadgetLine(20, menufile::BackColor)],
        QByteArray::number(platform::RGBToColor(platform::sysColor(platform::COLOR_BTNFACE))));
    EXPECT_EQ(menu[menufile::gadgetLine(20, menufile::FontColor)], "65280");

    values.StartMode = "Menu";
    values.GraphicSide = "1";
    values.FontName = QStringLiteral("Nimbus Sans");
    MenuSaver::storeValues(menu, values);
    EXPECT_EQ(menu[mode], "Menu");
    EXPECT_EQ(menu[menufile::gadgetLine(20, menufile::GraphicSide)], "1");
    EXPECT_EQ(menu[menufile::gadgetLine(20, menufile::FontName)], "Nimbus Sans");
}

TEST(MenuSaver, UnchangedTextsKeepTheirBytesAndEditedOnesAreEncodedLocally)
{
    const QByteArray latin = "Caf\xE9";
    EXPECT_EQ(MenuSaver::encodeLike(QString::fromLocal8Bit(latin), latin), latin);
    EXPECT_EQ(MenuSaver::encodeLike(QStringLiteral("Menu \u00E9"), latin), QStringLiteral("Menu \u00E9").toLocal8Bit());
}

TEST(MenuSaver, WritesExactly453CrLfLinesThatReadBackTheSame)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CurrentMenu menu = sampleMenu(1);
    menu[1] = "free \xFF line";
    menu[5] = "a lone\nline feed";
    const QString path = dir.filePath(QStringLiteral("Menu.ini"));
    MenuSaver::SaveMenu(menu, { QStringLiteral("N"), QStringLiteral("/p"), QString() }, path);
    const QByteArray data = readFile(path);
    EXPECT_EQ(data.count("\r\n"), 453);
    EXPECT_TRUE(data.endsWith("T4\r\n"));
    const QList<QByteArray> back = platform::readTextLines(path, 454);
    for (int i = 1; i <= menufile::LineCount; ++i)
        EXPECT_EQ(back[i - 1], menu[i]) << i;
    EXPECT_TRUE(back[453].isEmpty());
}

TEST(MenuSaver, RefusesLineBreakingValuesBeforeChangingTheMenuOrTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Menu.ini"));
    testing_support::writeFile(path, "old");
    const QString breakers[] = { QStringLiteral("a\rb"), QStringLiteral("a") + QChar(26) };
    for (const QString& bad : breakers) {
        for (int which = 0; which < 5; ++which) {
            CurrentMenu menu = sampleMenu(7);
            const CurrentMenu before = menu;
            GadgetEditorValues values = valuesOf(menu);
            values.BackColor = 7;
            values.StartMode = "Run";
            switch (which) {
            case 0:
                values.Boxes.GadgetName = bad;
                break;
            case 1:
                values.Boxes.FilesPath = bad;
                break;
            case 2:
                values.Boxes.GraphicPath = bad;
                break;
            case 3:
                values.ColumnTitles[2] = bad;
                break;
            case 4:
                values.FontName = bad;
                break;
            }
            EXPECT_THROW(MenuSaver::storeValues(menu, values), rtl::Exception) << which;
            EXPECT_EQ(menu.MenuLines, before.MenuLines) << which;
            if (which < 3) {
                EXPECT_THROW(MenuSaver::SaveMenu(menu, values.Boxes, path), rtl::Exception) << which;
            }
            EXPECT_EQ(menu.MenuLines, before.MenuLines) << which;
            EXPECT_EQ(readFile(path), "old");
        }
    }
}

TEST(MenuSaver, SaveAsAlwaysAppendsIniAndTouchesTheMenuOnlyForItsOwnFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CurrentMenu menu = sampleMenu(3);
    menu.MenuFileName = dir.filePath(QStringLiteral("Main.ini"));
    MenuSaver::writeMenuFile(menu, menu.MenuFileName);
    const QByteArray mainBefore = readFile(menu.MenuFileName);
    const GadgetEditBoxes boxes { QStringLiteral("New"), QStringLiteral("/n"), QStringLiteral("/n.bmp") };

    EXPECT_EQ(MenuSaver::SaveMenuAs(menu, boxes, menu.MenuFileName), menu.MenuFileName + QStringLiteral(".ini"));
    EXPECT_EQ(readFile(menu.MenuFileName), mainBefore);
    EXPECT_EQ(menu[menufile::gadgetLine(3, menufile::GadgetName)], "G3");
    EXPECT_EQ(platform::readTextLines(
                  menu.MenuFileName + QStringLiteral(".ini"), 453)[menufile::gadgetLine(3, menufile::GadgetName) - 1],
        "New");

    // The current file named differently (a symbolic link to it) is still the current file.
    QFile::link(menu.MenuFileName, dir.filePath(QStringLiteral("Link.ini")));
    MenuSaver::SaveMenuAs(menu, boxes, dir.filePath(QStringLiteral("Link")));
    EXPECT_EQ(menu[menufile::gadgetLine(3, menufile::GadgetName)], "New");
    EXPECT_EQ(menu[menufile::gadgetLine(3, menufile::GraphicPath)], "/n.bmp");
    EXPECT_EQ(platform::readTextLines(menu.MenuFileName, 453)[menufile::gadgetLine(3, menufile::FilesPath) - 1], "/n");
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("Link.ini"))).isSymLink());
}

TEST(EditorDialogs, FiltersKeepTheirTextsInTheToolkitsForm)
{
    EXPECT_EQ(editor::nameFilters(QStringLiteral("Exe files (*.exe)|*.exe|ini files (*.INI)|*.INI")),
        QStringList({ "Exe files (*.exe)", "ini files (*.INI)" }));
    EXPECT_EQ(editor::nameFilters(QStringLiteral("Kavro Start Config Files(*.ini)|*.ini")),
        QStringList({ "Kavro Start Config Files(*.ini)" }));
    EXPECT_EQ(
        editor::nameFilters(QStringLiteral("Pictures|*.bmp;*.dib|Broken")), QStringList({ "Pictures (*.bmp *.dib)" }));
}

} // namespace
