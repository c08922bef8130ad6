// What the benchmarks that run Kavro Start stand on: a display, a start
// folder and a runtime folder of the run's own, the programs they start and
// the environment they start them with.
#pragma once

#include "BenchDisplay.h"
#include "StartFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstdio>

namespace bench {

class BenchRun final {
public:
    // Made before the application object, which the display's settings
    // must reach. Says on standard error what could not be made.
    BenchRun()
    {
        if (!runtime_.isValid())
            std::fprintf(stderr, "cannot make the benchmark's runtime folder\n");
    }
    BenchRun(const BenchRun&) = delete;
    BenchRun& operator=(const BenchRun&) = delete;

    bool ok() const { return display_.ok() && startFolder_.ok() && runtime_.isValid(); }
    const BenchDisplay& display() const { return display_; }
    QString startFolder() const { return startFolder_.path(); }
    // A runtime folder of the run's own, so that a copy running elsewhere
    // does not make a measured one end at once.
    QString runtimeFolder() const { return runtime_.path(); }

    // This process's environment for a measured program: the run's runtime
    // folder, and message boxes written to standard output, not shown.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtimeFolder());
        env.insert("KAVRO_DIALOGS", "print");
        return env;
    }

    // The programs built beside the benchmarks' folder; asked once the
    // application object exists.
    static QString kavroProgram()
    {
        return QDir(QCoreApplication::applicationDirPath() + "/..").absoluteFilePath("KavroStart");
    }
    // The yardstick: the smallest Qt window.
    static QString minimalWindowProgram() { return QCoreApplication::applicationDirPath() + "/minimal_window"; }

private:
    BenchDisplay display_;
    TemporaryStartFolder startFolder_;
    QTemporaryDir runtime_;
};

} // namespace bench
