// Profile files: case-insensitive lookup, untouched lines, failed writes.
#include "platform/ProfileFile.h"

#include "rtl/Errors.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::readFile;
using testing_support::writeFile;

namespace {

TEST(ProfileFile, FindsSectionsAndKeysWithoutRegardToCase)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.ini");
    writeFile(path,
        "; note\r\n[Other]\r\nWidth=1\r\n[VALUES]\r\n  width = 0x50 \r\nLeft=$10\r\nTop=abc\r\nName=\"quoted\"\r\n");
    platform::ProfileFile file(path);
    EXPECT_EQ(file.readInteger("Values", "Width", 7), 80);
    EXPECT_EQ(file.readInteger("values", "LEFT", 7), 16);
    EXPECT_EQ(file.readInteger("Values", "Top", 7), 7);
    EXPECT_EQ(file.readInteger("Values", "Height", 7), 7);
    EXPECT_EQ(file.readString("Values", "Name", "-"), "quoted");
    EXPECT_FALSE(file.hasKey("Missing", "Width"));
    EXPECT_EQ(platform::ProfileFile(dir.filePath("none.ini")).readInteger("Values", "Width", 3), 3);
}

TEST(ProfileFile, WritingChangesOneLineAndKeepsTheRest)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.ini");
    writeFile(path, "; note\r\n[Other]\r\nWidth=1\r\n\r\n[Values]\r\nwidth=5\r\n\r\n[Tail]\r\nx=y\r\n");
    platform::ProfileFile file(path);
    file.writeInteger("VALUES", "Width", 130);
    file.writeInteger("Values", "Height", 67);
    file.writeString("New", "Key", "v");
    EXPECT_EQ(readFile(path),
        "; note\r\n[Other]\r\nWidth=1\r\n\r\n[Values]\r\nWidth=130\r\nHeight=67\r\n\r\n[Tail]\r\nx=y\r\n"
        "[New]\r\nKey=v\r\n");
}

TEST(ProfileFile, UnwritableFileRaisesUnableToWrite)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("plain"), "x");
    const QString path = dir.filePath("plain/p.ini");
    try {
        platform::ProfileFile(path).writeString("Values", "Width", "1");
        FAIL();
    } catch (const rtl::EIniFileException& error) {
        EXPECT_EQ(error.message(), "Unable to write to " + path);
    }
}

} // namespace
