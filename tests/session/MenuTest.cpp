// Loading menu files into the current menu.
#include "session/Menu.h"

#include "rtl/TextFile.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::RecordingDialogs;
using testing_support::writeFile;

namespace {

TEST(LoadMenu, ReadsTheFirst453LinesAndPadsShortFiles)
{
    QTemporaryDir dir;
    QList<QByteArray> lines;
    for (int i = 1; i <= 460; ++i)
        lines.append("line " + QByteArray::number(i));
    writeFile(dir.filePath("long.ini"), rtl::joinCrLf(lines));
    writeFile(dir.filePath("lf.ini"), "a\nb\nc\n");
    CurrentMenu current;
    current.LoadMenu(dir.filePath("long.ini"));
    EXPECT_EQ(current[1], "line 1");
    EXPECT_EQ(current[453], "line 453");

    current.LoadMenu(dir.filePath("lf.ini"));
    EXPECT_EQ(current[1], "a\nb\nc\n");
    EXPECT_EQ(current[2], "");
    EXPECT_EQ(current[453], "");
    EXPECT_EQ(current.MenuFileName, dir.filePath("lf.ini"));
}

TEST(LoadMenu, AMissingOrUnreadableFileChangesNothing)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("m.ini"), "first\r\nsecond\r\n");
    CurrentMenu current;
    current.LoadMenu(dir.filePath("m.ini"));

    RecordingDialogs dialogs;
    current.LoadMenu(dir.filePath("none.ini"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, "Kavro Start, Saying!");
    EXPECT_EQ(dialogs.boxes[0].text, "I Can`t find the ConFig File Check Full Path!");

    // A file that exists but fails while it is read (this one has no readable data at offset 0).
    EXPECT_THROW(current.LoadMenu(QStringLiteral("/proc/self/mem")), std::exception);
    EXPECT_EQ(current[1], "first");
    EXPECT_EQ(current[2], "second");
    EXPECT_EQ(current.MenuFileName, dir.filePath("m.ini"));
}

} // namespace
