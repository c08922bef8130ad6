// Facts about the machine and its user, read from the system's own sources,
// behind one seam so tests can give their own.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace platform {

// Memory in bytes, counted in 64 bits.
struct MemoryStatus {
    quint64 totalPhys = 0;
    quint64 availPhys = 0;
    quint64 totalVirtual = 0; // the address space a process may use
    quint64 availVirtual = 0; // what of it this process has not mapped yet
    int memoryLoad = 0; // percent of physical memory in use
};

// A platform id none of the classic ones (0 to 2) stands for.
constexpr int otherPlatformId = -1;

struct VersionInfo {
    int platformId = otherPlatformId;
    quint32 major = 0;
    quint32 minor = 0;
    quint32 build = 0;
};

// Processor architecture codes: 0 Intel, 1 MIPS, 2 Alpha, 3 PPC, -1 any other.
struct ProcessorInfo {
    int architecture = -1;
    int processorType = 0; // 386, 486, 586 for Intel; a model number elsewhere
};

struct OwnerInfo {
    QString owner;
    QString organisation;
    QString productId;
};

class SystemFacts {
public:
    virtual ~SystemFacts() = default;

    virtual MemoryStatus memory() const = 0;
    // Empty when the version cannot be read.
    virtual std::optional<VersionInfo> version() const = 0;
    // Empty when the name cannot be read or does not fit `capacity`
    // characters with a terminator.
    virtual std::optional<QString> loginName(int capacity) const = 0;
    virtual ProcessorInfo processor() const = 0;
    // Empty when the system keeps no owner facts; `platformName` tells
    // which system's facts to look for.
    virtual std::optional<OwnerInfo> ownerInfo(const QString& platformName) const = 0;
};

// The facts in use: the system's unless a test installed its own.
const SystemFacts& systemFacts();
// Installs `replacement` (not owned); nullptr restores the system's facts.
void setSystemFactsForTesting(const SystemFacts* replacement);

// Parsers of the system's sources, exposed for tests.

// The figures of /proc/meminfo (kB): MemTotal, and MemAvailable or, on old
// kernels, MemFree + Buffers + Cached; the load is the share in use, in percent.
MemoryStatus parseMeminfo(const QByteArray& text);

// The kernel's release ("6.1.0-18-amd64": major 6, minor 1) and version
// ("#1 SMP ...": build 1). Empty when the release has no major number.
std::optional<VersionInfo> parseKernelVersion(const QByteArray& release, const QByteArray& version);

// The processor from the machine name of uname and /proc/cpuinfo: the x86
// family by its "cpu family" (3 is 386, 4 is 486, 5 or more 586).
ProcessorInfo parseProcessor(const QByteArray& machine, const QByteArray& cpuinfo);

// The full name in a password entry's comment field (before the first
// comma), with "&" standing for the login name with a capital first letter.
QString fullNameFromGecos(const QByteArray& gecos, const QByteArray& loginName);

} // namespace platform
