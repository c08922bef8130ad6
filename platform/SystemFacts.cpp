// Machine and user facts on Linux: /proc, uname and the password database.
#include "platform/SystemFacts.h"

#include <QFile>
#include <QList>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

QByteArray readProcFile(const char* path)
{
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The decimal number that starts at `pos` in `text`, if one does.
std::optional<quint64> leadingNumber(const QByteArray& text, qsizetype pos = 0)
{
    qsizetype end = pos;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    bool ok = false;
    const quint64 value = text.mid(pos, end - pos).toULongLong(&ok);
    return ok ? std::optional<quint64>(value) : std::nullopt;
}

// The number after "<key>:" on the first line of a /proc file that has the key.
std::optional<quint64> procField(const QByteArray& text, const QByteArray& key)
{
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon >= 0 && line.left(colon).trimmed() == key)
            return leadingNumber(line.mid(colon + 1).trimmed());
    }
    return std::nullopt;
}

// The size of the address space a process may use.
quint64 addressSpaceSize()
{
    struct rlimit limit { };
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        return limit.rlim_cur;
#if defined(__aarch64__)
    return Q_UINT64_C(0x1000000000000);
#else
    return sizeof(void*) == 8 ? Q_UINT64_C(0x7ffffffff000) : Q_UINT64_C(0xC0000000);
#endif
}

struct passwd* passwordEntry(std::vector<char>& buffer, struct passwd& entry)
{
    struct passwd* found = nullptr;
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    buffer.resize(suggested > 0 ? size_t(suggested) : 16384);
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0)
        return nullptr;
    return found;
}

class LinuxFacts final : public SystemFacts {
public:
    MemoryStatus memory() const override
    {
        MemoryStatus status = parseMeminfo(readProcFile("/proc/meminfo"));
        status.totalVirtual = addressSpaceSize();
        const quint64 mapped = procField(readProcFile("/proc/self/status"), "VmSize").value_or(0) * 1024;
        status.availVirtual = mapped < status.totalVirtual ? status.totalVirtual - mapped : 0;
        return status;
    }

    std::optional<VersionInfo> version() const override
    {
        struct utsname names { };
        if (::uname(&names) != 0)
            return std::nullopt;
        return parseKernelVersion(QByteArray(names.release), QByteArray(names.version));
    }

    std::optional<QString> loginName(int capacity) const override
    {
        std::vector<char> buffer;
        struct passwd entry { };
        QByteArray name;
        if (const struct passwd* found = passwordEntry(buffer, entry))
            name = found->pw_name;
        else
            name = qgetenv("USER");
        if (name.isEmpty() || name.size() >= capacity)
            return std::nullopt;
        return QString::fromLocal8Bit(name);
    }

    ProcessorInfo processor() const override
    {
        struct utsname names { };
        if (::uname(&names) != 0)
            return {};
        return parseProcessor(QByteArray(names.machine), readProcFile("/proc/cpuinfo"));
    }

    // The owner is the user's full name; the system keeps no organisation
    // and no product id.
    std::optional<OwnerInfo> ownerInfo(const QString&) const override
    {
        std::vector<char> buffer;
        struct passwd entry { };
        const struct passwd* found = passwordEntry(buffer, entry);
        if (!found)
            return std::nullopt;
        OwnerInfo info;
        info.owner = fullNameFromGecos(QByteArray(found->pw_gecos ? found->pw_gecos : ""), QByteArray(found->pw_name));
        return info;
    }
};

const SystemFacts* factsOverride = nullptr;

} // namespace

const SystemFacts& systemFacts()
{
    static const LinuxFacts live;
    return factsOverride ? *factsOverride : live;
}

void setSystemFactsForTesting(const SystemFacts* replacement) { factsOverride = replacement; }

MemoryStatus parseMeminfo(const QByteArray& text)
{
    MemoryStatus status;
    status.totalPhys = procField(text, "MemTotal").value_or(0) * 1024;
    if (const auto available = procField(text, "MemAvailable")) {
        status.availPhys = *available * 1024;
    } else {
        status.availPhys = (procField(text, "MemFree").value_or(0) + procField(text, "Buffers").value_or(0)
                               + procField(text, "Cached").value_or(0))
            * 1024;
    }
    if (status.availPhys > status.totalPhys)
        status.availPhys = status.totalPhys;
    if (status.totalPhys > 0) {
        const quint64 used = status.totalPhys - status.availPhys;
        status.memoryLoad = int((used * 100 + status.totalPhys / 2) / status.totalPhys);
    }
    return status;
}

std::optional<VersionInfo> parseKernelVersion(const QByteArray& release, const QByteArray& version)
{
    const auto major = leadingNumber(release);
    if (!major)
        return std::nullopt;
    VersionInfo info;
    info.major = quint32(*major);
    const qsizetype dot = release.indexOf('.');
    if (dot >= 0)
        info.minor = quint32(leadingNumber(release, dot + 1).value_or(0));
    const qsizetype hash = version.indexOf('#');
    if (hash >= 0)
        info.build = quint32(leadingNumber(version, hash + 1).value_or(0));
    return info;
}

ProcessorInfo parseProcessor(const QByteArray& machine, const QByteArray& cpuinfo)
{
    ProcessorInfo info;
    const bool x86 = machine == "x86_64" || (machine.size() == 4 && machine[0] == 'i' && machine.endsWith("86"));
    if (x86) {
        info.architecture = 0;
        const quint64 family = procField(cpuinfo, "cpu family").value_or(0);
        info.processorType = family >= 5 ? 586 : family == 4 ? 486 : family == 3 ? 386 : 0;
    } else if (machine.startsWith("mips")) {
        info.architecture = 1;
    } else if (machine == "alpha") {
        info.architecture = 2;
    } else if (machine.startsWith("ppc")) {
        info.architecture = 3;
    }
    return info;
}

QString fullNameFromGecos(const QByteArray& gecos, const QByteArray& loginName)
{
    QString name = QString::fromLocal8Bit(gecos.left(gecos.indexOf(',') < 0 ? gecos.size() : gecos.indexOf(',')));
    if (name.contains(u'&')) {
        QString login = QString::fromLocal8Bit(loginName);
        if (!login.isEmpty())
            login[0] = login[0].toUpper();
        name.replace(u'&', login);
    }
    return name.trimmed();
}

} // namespace platform
