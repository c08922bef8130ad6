// The note program keeps what is typed.
#include "pinnotes/NoteWindow.h"

#include "pinnotes/NotePlace.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using testing_support::readFile;
using testing_support::ScopedEnvironment;
using testing_support::writeFile;

namespace {

TEST(NoteWindow, ShowsTheSavedNoteAndWritesWhatIsTyped)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("PinNotes.txt");
    writeFile(file, "milk\n");
    {
        NoteWindow window(file);
        EXPECT_EQ(window.text(), "milk\n");
        auto* editor = window.findChild<QPlainTextEdit*>();
        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, "bread");
    } // closing without waiting for the pause still writes
    EXPECT_EQ(readFile(file), "milk\nbread");
}

TEST(NoteWindow, AFailedSaveSaysSoAndKeepsTheText)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("plain"), "x");
    NoteWindow window(dir.filePath("plain/PinNotes.txt"));
    window.findChild<QPlainTextEdit*>()->setPlainText("keep me");
    EXPECT_FALSE(window.save());
    EXPECT_TRUE(window.windowTitle().contains("not saved")) << window.windowTitle().toStdString();
    EXPECT_EQ(window.text(), "keep me");
}

TEST(NoteWindow, AnInstalledNoteProgramOrOneInAFolderThatIsNotWritableKeepsItsNoteInTheUsersDataFolder)
{
    QTemporaryDir dir;
    ScopedEnvironment data("XDG_DATA_HOME", dir.filePath("data").toUtf8());
    EXPECT_EQ(notePlace(dir.path()).file, dir.filePath("PinNotes.txt"));
    EXPECT_EQ(notePlace(dir.path()).olderFile, "");

    // An installed copy: its folder lies below a regular file, as good as read-only.
    writeFile(dir.filePath("usr"), "not a folder");
    const NotePlace place = notePlace(dir.filePath("usr/bin"));
    EXPECT_EQ(place.file, dir.filePath("data/kavro-start/PinNotes.txt"));
    EXPECT_EQ(place.olderFile, dir.filePath("usr/bin/PinNotes.txt"));

    // An installed copy in a folder it could write to, as root can to /usr/bin.
    writeFile(dir.filePath("prefix/lib/kavro-start/kavro_sound.so"), "");
    ASSERT_TRUE(QDir().mkpath(dir.filePath("prefix/bin")));
    EXPECT_EQ(notePlace(dir.filePath("prefix/bin")).file, dir.filePath("data/kavro-start/PinNotes.txt"));
}

TEST(NoteWindow, ANoteAnOlderCopyLeftIsShownAndKeptUntilTheNewPlaceHasOne)
{
    QTemporaryDir dir;
    const QString older = dir.filePath("old/PinNotes.txt");
    const QString file = dir.filePath("data/kavro-start/PinNotes.txt");
    writeFile(older, "from before\n");
    {
        NoteWindow window(file, older);
        EXPECT_EQ(window.text(), "from before\n");
        auto* editor = window.findChild<QPlainTextEdit*>();
        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, "and now");
        // A pause in typing saves without closing.
        EXPECT_TRUE(testing_support::waitUntil([&] { return QFileInfo::exists(file); }));
    }
    EXPECT_EQ(readFile(file), "from before\nand now");
    EXPECT_EQ(readFile(older), "from before\n");
    EXPECT_EQ(QFileInfo(dir.filePath("data/kavro-start")).permissions() & 0x0077, 0);
    NoteWindow again(file, older);
    EXPECT_EQ(again.text(), "from before\nand now");
}

} // namespace
