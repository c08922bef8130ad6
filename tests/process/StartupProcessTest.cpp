// The whole program started as a process of its own.
#include "support/TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A runtime folder of its own keeps the program from meeting a copy that
// runs elsewhere on the machine, which would make it end at once.
QProcessEnvironment programEnvironment(const QTemporaryDir& runtime)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("KAVRO_DIALOGS", "print");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    return env;
}

TEST(Startup, WithoutMainMenuTheProgramSaysSoOnceAndEnds)
{
    QTemporaryDir dir;
    QTemporaryDir runtime;
    QProcess program;
    program.setProcessEnvironment(programEnvironment(runtime));
    program.setWorkingDirectory(dir.path());
    program.start(QStringLiteral(KAVRO_PROGRAM), {});
    ASSERT_TRUE(program.waitForFinished(20000)) << "the program did not end";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(QString::fromLocal8Bit(program.readAllStandardOutput()),
        "information|Kavro Start, Saying!|Were off on a great strat here I can`t find the Main.ini?\n");
}

} // namespace
