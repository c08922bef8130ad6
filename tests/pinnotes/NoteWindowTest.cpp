// The note program keeps what is typed.
#include "pinnotes/NoteWindow.h"

#include "support/TestSupport.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using testing_support::readFile;
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

} // namespace
