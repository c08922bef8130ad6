// Screen readers, end to end: the built program on a virtual display, in a
// D-Bus session of its own with the accessibility registry, worked through
// AT-SPI by tests/e2e/atspi_gadgets.py as a screen reader would work it.
#include "XDesktop.h"
#include "rtl/TextFile.h"
#include "session/Menu.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::readFile;
using testing_support::writeFile;

TEST(AtSpi, TheDemoMenusGadgetsAreFoundByNameAndOneStartsItsProgramThroughItsAction)
{
    XDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << desktop.failure().toStdString();
    QTemporaryDir startFolder, programFolder, runtimeFolder;
    ASSERT_TRUE(startFolder.isValid() && programFolder.isValid() && runtimeFolder.isValid());
    ::chmod(QFile::encodeName(runtimeFolder.path()).constData(), 0700);

    QProcess demo;
    demo.start(QStringLiteral("/usr/bin/python3"),
        { QStringLiteral(KAVRO_SOURCE_DIR "/scripts/make-demo.py"), startFolder.path() });
    ASSERT_TRUE(demo.waitForFinished(60000) && demo.exitCode() == 0) << demo.readAllStandardError().toStdString();
    // "Say Hello" runs Tools/hello.sh, which now records the folder it was started in.
    const QString hello = startFolder.filePath(QStringLiteral("Tools/hello.sh"));
    writeFile(hello, QByteArrayLiteral("#!/bin/sh\npwd > \"$0.tmp\" && mv \"$0.tmp\" \"$0.ran\"\n"));
    ::chmod(QFile::encodeName(hello).constData(), 0755);
    const QString program = programFolder.filePath(QStringLiteral("KavroStart"));
    ASSERT_TRUE(::link(KAVRO_PROGRAM, QFile::encodeName(program).constData()) == 0
        || QFile::copy(QStringLiteral(KAVRO_PROGRAM), program));

    QStringList expected { QStringLiteral("X") };
    QList<QByteArray> menu;
    rtl::forEachLine(readFile(startFolder.filePath(QStringLiteral("ConFigs/Main.ini"))),
        [&menu](QByteArrayView line) { menu << line.toByteArray(); });
    ASSERT_EQ(menu.size(), 453);
    for (int n = 1; n <= 56; ++n) {
        const QString caption = QString::fromUtf8(menu.at(menufile::gadgetLine(n, menufile::GadgetName) - 1)).trimmed();
        expected << (caption.isEmpty() ? QStringLiteral("empty") : caption);
    }

    QProcess walker;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), desktop.displayName());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder.path());
    environment.remove(QStringLiteral("KAVRO_DIALOGS"));
    walker.setProcessEnvironment(environment);
    walker.setWorkingDirectory(startFolder.path());
    walker.start(QStringLiteral("dbus-run-session"),
        { QStringLiteral("--"), QStringLiteral("/usr/bin/python3"),
            QStringLiteral(KAVRO_SOURCE_DIR "/tests/e2e/atspi_gadgets.py"), program, QStringLiteral("Say Hello"),
            hello + QStringLiteral(".ran") });
    // The walker gives up on any step after 30 s, and ends the program before it ends.
    ASSERT_TRUE(walker.waitForFinished(180000)) << "the walker hangs";
    const QString errors = QString::fromLocal8Bit(walker.readAllStandardError());
    EXPECT_EQ(walker.exitCode(), 0) << errors.toStdString();

    QJsonObject seen;
    for (const QByteArray& line : walker.readAllStandardOutput().split('\n')) {
        if (line.startsWith('{'))
            seen = QJsonDocument::fromJson(line).object();
    }
    QStringList names;
    for (const auto& name : seen.value(QStringLiteral("launcher")).toArray())
        names << name.toString();
    EXPECT_EQ(names, expected) << errors.toStdString();
    EXPECT_TRUE(seen.value(QStringLiteral("clock"))
                    .toString()
                    .contains(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"))))
        << "the clock's description is the time it shows";
    EXPECT_EQ(readFile(hello + QStringLiteral(".ran")).trimmed(), QFile::encodeName(QFileInfo(hello).path()));
}
