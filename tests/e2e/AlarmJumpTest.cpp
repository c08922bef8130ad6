// The alarm across a jump of the wall clock, as after a suspend: the built
// program under libfaketime on a virtual display with a real window manager,
// its alarm set through its own dialog with real pointer input.
#include "XDesktop.h"
#include "rtl/TextFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using testing_support::writeFile;

namespace {

QString fakeTime()
{
    for (const QFileInfo& arch : QDir(QStringLiteral("/usr/lib")).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (QFileInfo::exists(arch.filePath() + QStringLiteral("/faketime/libfaketimeMT.so.1")))
            return arch.filePath() + QStringLiteral("/faketime/libfaketimeMT.so.1");
    return {};
}

} // namespace

TEST(AlarmJump, AnAlarmPassedOverByAJumpOfTheClockRingsOnceWhenLittleLate)
{
    XDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << desktop.failure().toStdString();
    const QString library = fakeTime();
    ASSERT_FALSE(library.isEmpty()) << "libfaketime is not installed";

    QTemporaryDir start, programFolder, runtime;
    writeFile(start.filePath(QStringLiteral("ConFigs/Main.ini")), rtl::joinCrLf(testing_support::sampleMenuLines()));
    const QString timeFile = start.filePath(QStringLiteral("time"));
    const auto setTime = [&](const QByteArray& time) { writeFile(timeFile, time + '\n'); };
    setTime("2026-03-02 00:00:00");
    // A program folder of its own, where it keeps its place.
    const QString program = programFolder.filePath(QStringLiteral("KavroStart"));
    ASSERT_TRUE(::link(KAVRO_PROGRAM, QFile::encodeName(program).constData()) == 0
        || QFile::copy(QStringLiteral(KAVRO_PROGRAM), program));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const std::pair<const char*, QString> settings[] = { { "DISPLAY", desktop.displayName() },
        { "QT_QPA_PLATFORM", QStringLiteral("xcb") }, { "XDG_RUNTIME_DIR", runtime.path() },
        { "NO_AT_BRIDGE", QStringLiteral("1") }, { "KAVRO_DIALOGS", QStringLiteral("print") },
        { "LD_PRELOAD", library }, { "FAKETIME_TIMESTAMP_FILE", timeFile },
        { "FAKETIME_NO_CACHE", QStringLiteral("1") }, { "FAKETIME_DONT_FAKE_MONOTONIC", QStringLiteral("1") } };
    for (const auto& [name, value] : settings)
        environment.insert(QLatin1String(name), value);
    QProcess kavro;
    kavro.setProcessEnvironment(environment);
    kavro.setWorkingDirectory(start.path());
    kavro.setProcessChannelMode(QProcess::MergedChannels);
    kavro.start(program, {});
    QString output;
    const auto alarmCalls = [&] {
        output += QString::fromLocal8Bit(kavro.readAll());
        return output.count(QStringLiteral("information|Kavro Start Alarm Call.|"));
    };

    // The control box, unfolded; its alarm at 00:01 (one step of the minute's up arrow, then OK).
    const auto boxOfWidth = [&](int width) {
        QRect box;
        waitFor([&] {
            const XDesktop::WindowId window = desktop.find(QStringLiteral("Kavro StratControl Box"));
            box = desktop.geometry(window);
            return box.width() == width && desktop.managed(window) && desktop.activeWindow() == window;
        });
        return box;
    };
    const QRect folded = boxOfWidth(65);
    desktop.click(folded.topLeft() + QPoint(32, 38));
    desktop.click(boxOfWidth(132).topLeft() + QPoint(66 + 18, 13));
    XDesktop::WindowId dialog = 0;
    ASSERT_TRUE(waitFor([&] {
        dialog = desktop.find(QStringLiteral("Kavro Start Alarm."));
        return dialog && desktop.managed(dialog) && desktop.activeWindow() == dialog;
    })) << qPrintable(output);
    const QRect client = desktop.geometry(dialog);
    const QRect minuteBox(client.topLeft() + QPoint(160, 64), QSize(33, 21));
    const QImage minuteBefore = desktop.screenshot(minuteBox);
    desktop.click(client.topLeft() + QPoint(200, 69));
    ASSERT_TRUE(waitFor([&] { return desktop.screenshot(minuteBox) != minuteBefore; })) << "the minute stays 0";
    desktop.click(client.topLeft() + QPoint(271, 50));
    ASSERT_TRUE(waitFor([&] { return !desktop.find(QStringLiteral("Kavro Start Alarm.")); }));

    // Nine minutes late, as after a suspend: it rings as usual, once.
    setTime("2026-03-02 00:10:00");
    EXPECT_TRUE(waitFor([&] { return alarmCalls() >= 1; })) << qPrintable(output);
    // The clock shows a later time: the program has gone on ticking.
    const QRect clock(folded.topLeft() + QPoint(0, 13), QSize(64, 51));
    const QImage clockBefore = desktop.screenshot(clock);
    setTime("2026-03-02 00:10:30");
    EXPECT_TRUE(waitFor([&] { return desktop.screenshot(clock) != clockBefore; }));
    EXPECT_EQ(alarmCalls(), 1) << qPrintable(output);
    EXPECT_FALSE(output.contains(QStringLiteral("missed"))) << qPrintable(output);
    kavro.kill();
    kavro.waitForFinished(5000);
}
