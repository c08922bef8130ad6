// System facts: the readers of the system's sources and the component's texts.
#include "platform/SystemFacts.h"
#include "sysinfo/sysinf32.h"

#include <QFile>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace {

// Facts given by the test; `versionFails` makes the version query fail.
class FakeFacts final : public platform::SystemFacts {
public:
    FakeFacts() { platform::setSystemFactsForTesting(this); }
    ~FakeFacts() override { platform::setSystemFactsForTesting(nullptr); }

    platform::MemoryStatus memory() const override { return memoryStatus; }
    std::optional<platform::VersionInfo> version() const override { return versionInfo; }
    std::optional<QString> loginName(int capacity) const override
    {
        if (login.size() >= capacity)
            return std::nullopt;
        return login;
    }
    platform::ProcessorInfo processor() const override { return processorInfo; }
    std::optional<platform::OwnerInfo> ownerInfo(const QString& platformName) const override
    {
        askedPlatform = platformName;
        return owner;
    }

    platform::MemoryStatus memoryStatus;
    std::optional<platform::VersionInfo> versionInfo;
    QString login;
    platform::ProcessorInfo processorInfo;
    std::optional<platform::OwnerInfo> owner;
    mutable QString askedPlatform;
};

TEST(SysInfoTables, ProcessorTextsFollowArchitectureAndType)
{
    struct Case {
        int architecture;
        int type;
        const char* processorType;
        const char* level;
    };
    const Case cases[] = {
        { 0, 386, "Intel/Cyrix/AMD", "80386" },
        { 0, 486, "Intel/Cyrix/AMD", "80486" },
        { 0, 586, "Intel", "Pentium" },
        { 0, 686, "", "" },
        { 0, 0, "", "" },
        { 1, 4000, "MIPS", "4000" },
        { 2, 21064, "Alpha", "21064" },
        { 3, 604, "PPC", "604" },
        { 4, 586, "", "" },
        { -1, 586, "", "" },
    };
    for (const Case& c : cases) {
        const ProcessorTexts texts = processorTexts(c.architecture, c.type);
        EXPECT_EQ(texts.type, QString::fromLatin1(c.processorType)) << c.architecture << " " << c.type;
        EXPECT_EQ(texts.level, QString::fromLatin1(c.level)) << c.architecture << " " << c.type;
    }
}

TEST(SystemFactsParsing, MeminfoGivesBytesInSixtyFourBitsAndTheLoad)
{
    // 6 GiB total: more than 32 bits can count.
    const platform::MemoryStatus large = platform::parseMeminfo("MemTotal:        6291456 kB\n"
                                                                "MemFree:          100000 kB\n"
                                                                "MemAvailable:    2327838 kB\n"
                                                                "Buffers:           4972 kB\n");
    EXPECT_EQ(large.totalPhys, Q_UINT64_C(6442450944));
    EXPECT_EQ(large.availPhys, Q_UINT64_C(2327838) * 1024);
    EXPECT_EQ(large.memoryLoad, 63);

    // Without MemAvailable the free, buffer and cache figures make up what is available.
    const platform::MemoryStatus old = platform::parseMeminfo("MemTotal: 15840 kB\nMemFree: 1000 kB\n"
                                                              "Buffers: 500 kB\nCached: 2460 kB\n");
    EXPECT_EQ(old.totalPhys, Q_UINT64_C(16220160));
    EXPECT_EQ(old.availPhys, Q_UINT64_C(3960) * 1024);
    EXPECT_EQ(old.memoryLoad, 75);

    const platform::MemoryStatus empty = platform::parseMeminfo("");
    EXPECT_EQ(empty.totalPhys, 0u);
    EXPECT_EQ(empty.memoryLoad, 0);
}

TEST(SystemFactsParsing, KernelReleaseAndVersionGiveMajorMinorAndBuild)
{
    const auto debian = platform::parseKernelVersion("6.1.0-18-amd64", "#1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1");
    ASSERT_TRUE(debian);
    EXPECT_EQ(debian->major, 6u);
    EXPECT_EQ(debian->minor, 1u);
    EXPECT_EQ(debian->build, 1u);
    EXPECT_EQ(debian->platformId, platform::otherPlatformId);

    const auto custom = platform::parseKernelVersion("5", "#70000 Tue");
    ASSERT_TRUE(custom);
    EXPECT_EQ(custom->minor, 0u);
    EXPECT_EQ(custom->build, 70000u);

    EXPECT_FALSE(platform::parseKernelVersion("unknown", "#1"));
}

TEST(SystemFactsParsing, ProcessorFromMachineNameAndCpuFamily)
{
    struct Case {
        const char* machine;
        const char* cpuinfo;
        int architecture;
        int type;
    };
    const Case cases[] = {
        { "x86_64", "processor\t: 0\ncpu family\t: 25\nmodel\t\t: 17\n", 0, 586 },
        { "i486", "cpu family\t: 4\n", 0, 486 },
        { "i386", "cpu family\t: 3\n", 0, 386 },
        { "i686", "", 0, 0 },
        { "aarch64", "CPU architecture: 8\n", -1, 0 },
        { "mips64", "", 1, 0 },
        { "alpha", "", 2, 0 },
        { "ppc64le", "", 3, 0 },
    };
    for (const Case& c : cases) {
        const platform::ProcessorInfo info = platform::parseProcessor(c.machine, c.cpuinfo);
        EXPECT_EQ(info.architecture, c.architecture) << c.machine;
        EXPECT_EQ(info.processorType, c.type) << c.machine;
    }
}

TEST(SystemFactsParsing, TheOwnerIsTheFullNameOfThePasswordEntry)
{
    EXPECT_EQ(platform::fullNameFromGecos("Ann Example,Room 12,555-1234,,", "ann"), QStringLiteral("Ann Example"));
    EXPECT_EQ(platform::fullNameFromGecos("& Smith", "john"), QStringLiteral("John Smith"));
    EXPECT_EQ(platform::fullNameFromGecos("", "john"), QString());
    EXPECT_EQ(platform::fullNameFromGecos(",,,", "john"), QString());
}

TEST(SysInfo32, ReadsEveryFactOnceAtCreationCuttingTextsToFifty)
{
    FakeFacts facts;
    facts.memoryStatus = { Q_UINT64_C(6442450944), Q_UINT64_C(2000000000), Q_UINT64_C(0x7ffffffff000), 12345, 69 };
    facts.versionInfo = platform::VersionInfo { 1, 4, 0, 0x10000 + 950 };
    facts.login = QStringLiteral("ann");
    facts.processorInfo = { 0, 586 };
    facts.owner = platform::OwnerInfo { QString(60, u'o'), QStringLiteral("Example Ltd"), QStringLiteral("12345-OEM") };

    const TSysInfo32 info(nullptr);
    EXPECT_EQ(info.MemoryTotalPhys(), Q_UINT64_C(6442450944));
    EXPECT_EQ(info.MemoryAvailPhys(), Q_UINT64_C(2000000000));
    EXPECT_EQ(info.MemoryTotalVirtual(), Q_UINT64_C(0x7ffffffff000));
    EXPECT_EQ(info.MemoryAvailVirtual(), 12345u);
    EXPECT_EQ(info.OSPlatform(), QStringLiteral("Windows 95"));
    EXPECT_EQ(info.OSVersion(), QStringLiteral("4.0"));
    EXPECT_EQ(info.OSBuild(), QStringLiteral("950")); // the low 16 bits
    EXPECT_EQ(info.LoginUserName(), QStringLiteral("ann"));
    EXPECT_EQ(info.ProcessorType(), QStringLiteral("Intel"));
    EXPECT_EQ(info.ProcessorLevel(), QStringLiteral("Pentium"));
    EXPECT_EQ(info.RegisteredOwner(), QString(50, u'o'));
    EXPECT_EQ(info.RegisteredOrganization(), QStringLiteral("Example Ltd"));
    EXPECT_EQ(info.ProductID(), QStringLiteral("12345-OEM"));
    EXPECT_EQ(facts.askedPlatform, QStringLiteral("Windows 95"));

    // Later changes do not reach a component already created.
    facts.memoryStatus.totalPhys = 1;
    facts.login = QStringLiteral("bob");
    EXPECT_EQ(info.MemoryTotalPhys(), Q_UINT64_C(6442450944));
    EXPECT_EQ(info.LoginUserName(), QStringLiteral("ann"));
}

TEST(SysInfo32, FailedQueriesLeaveTheirTextsEmpty)
{
    FakeFacts facts;
    facts.login = QString(40, u'x'); // no room for the terminator
    facts.processorInfo = { 0, 686 };
    const TSysInfo32 info(nullptr);
    EXPECT_EQ(info.OSPlatform(), QString());
    EXPECT_EQ(info.OSVersion(), QString());
    EXPECT_EQ(info.OSBuild(), QString());
    EXPECT_EQ(info.LoginUserName(), QString());
    EXPECT_EQ(info.ProcessorType(), QString());
    EXPECT_EQ(info.ProcessorLevel(), QString());
    EXPECT_EQ(info.RegisteredOwner(), QString());
    EXPECT_EQ(info.RegisteredOrganization(), QString());
    EXPECT_EQ(info.ProductID(), QString());
    EXPECT_EQ(facts.askedPlatform, QString());
}

// The facts of the machine the tests run on: memory in plausible bounds (a
// container may show its own limit or the host's), the rest against the
// sources they come from.
TEST(SysInfo32, ReadsThisMachine)
{
    const TSysInfo32 info(nullptr);
    EXPECT_GE(info.MemoryTotalPhys(), Q_UINT64_C(64) << 20);
    EXPECT_LT(info.MemoryTotalPhys(), Q_UINT64_C(1) << 52);
    EXPECT_LE(info.MemoryAvailPhys(), info.MemoryTotalPhys());
    EXPECT_GT(info.MemoryTotalVirtual(), Q_UINT64_C(0));
    // This process has mapped some of its address space.
    EXPECT_LT(info.MemoryAvailVirtual(), info.MemoryTotalVirtual());

    struct utsname names { };
    ASSERT_EQ(::uname(&names), 0);
    EXPECT_TRUE(QString::fromLatin1(names.release).startsWith(info.OSVersion() + u'.')
        || QString::fromLatin1(names.release).startsWith(info.OSVersion() + u'-'))
        << qPrintable(info.OSVersion()) << " " << names.release;
    EXPECT_EQ(info.OSPlatform(), QString());

    const struct passwd* entry = ::getpwuid(::geteuid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(info.LoginUserName(), QString::fromLocal8Bit(entry->pw_name));
    EXPECT_EQ(info.RegisteredOwner(), platform::fullNameFromGecos(entry->pw_gecos, entry->pw_name).left(50));
    EXPECT_EQ(info.RegisteredOrganization(), QString());
    EXPECT_EQ(info.ProductID(), QString());
}

} // namespace
