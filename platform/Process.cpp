// Program start through QProcess (double fork: no zombie is left behind).
#include "platform/Process.h"

#include "platform/FilePaths.h"
#include "rtl/Errors.h"

#include <QDir>
#include <QProcess>

namespace platform {

static ProgramStarter testStarter = nullptr;

void setProgramStarterForTesting(ProgramStarter starter) { testStarter = starter; }

void startProgram(const QString& path)
{
    if (testStarter) {
        testStarter(path);
        return;
    }
    const QString program = resolvePath(path);
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(QDir::currentPath());
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached())
        throw rtl::EProcessError(QStringLiteral("Cannot run the program %1").arg(path));
}

} // namespace platform
