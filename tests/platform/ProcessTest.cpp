// Starting real programs.
#include "platform/Process.h"

#include "rtl/Errors.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testing_support::readFile;
using testing_support::waitUntil;
using testing_support::writeFile;

namespace {

void makeExecutable(const QString& path) { ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0755), 0); }

TEST(StartProgram, RunsThePathItselfInTheCurrentFolderWithoutAShell)
{
    QTemporaryDir dir;
    // A name with blanks and a shell character stays one program path.
    const QString folder = dir.filePath("my tools;x");
    const QString script = folder + "/record pwd.sh";
    const QString record = dir.filePath("record.txt");
    writeFile(script,
        QStringLiteral("#!/bin/sh\npwd > '%1.tmp'; echo \"$#\" >> '%1.tmp'; mv '%1.tmp' '%1'\n").arg(record).toUtf8());
    makeExecutable(script);

    {
        const testing_support::ScopedCurrentFolder inFolder(folder);
        platform::startProgram(script);
    }

    ASSERT_TRUE(waitUntil([&] { return QFile::exists(record); }));
    EXPECT_EQ(readFile(record), (folder + "\n0\n").toUtf8());
}

TEST(StartProgram, AProgramThatCannotRunRaisesAnErrorNamingIt)
{
    QTemporaryDir dir;
    const QString notExecutable = dir.filePath("plain.txt");
    writeFile(notExecutable, "just text");
    const QString noInterpreter = dir.filePath("garbage");
    writeFile(noInterpreter,
        "\x7f"
        "ELF not really");
    makeExecutable(noInterpreter);
    for (const QString& path : { notExecutable, noInterpreter }) {
        try {
            platform::startProgram(path);
            ADD_FAILURE() << path.toStdString();
        } catch (const rtl::EProcessError& error) {
            EXPECT_TRUE(error.message().contains(path)) << error.message().toStdString();
        }
    }
}

} // namespace
