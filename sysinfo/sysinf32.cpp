// System information component.
#include "sysinfo/sysinf32.h"

#include "platform/SystemFacts.h"

namespace {

// Room for the log-in name, the terminator included.
constexpr int loginNameCapacity = 40;

} // namespace

QString TString50(const QString& text) { return text.left(50); }

QString platformName(int platformId)
{
    switch (platformId) {
    case 0:
        return QStringLiteral("Windows 3.x with Win32s");
    case 1:
        return QStringLiteral("Windows 95");
    case 2:
        return QStringLiteral("Windows NT");
    default:
        return {};
    }
}

ProcessorTexts processorTexts(int architecture, int processorType)
{
    switch (architecture) {
    case 0:
        switch (processorType) {
        case 386:
            return { QStringLiteral("Intel/Cyrix/AMD"), QStringLiteral("80386") };
        case 486:
            return { QStringLiteral("Intel/Cyrix/AMD"), QStringLiteral("80486") };
        case 586:
            return { QStringLiteral("Intel"), QStringLiteral("Pentium") };
        default:
            return {};
        }
    case 1:
        return { QStringLiteral("MIPS"), QString::number(processorType) };
    case 2:
        return { QStringLiteral("Alpha"), QString::number(processorType) };
    case 3:
        return { QStringLiteral("PPC"), QString::number(processorType) };
    default:
        return {};
    }
}

TSysInfo32::TSysInfo32(QObject* owner)
    : QObject(owner)
{
    RefreshAll();
}

void TSysInfo32::RefreshAll()
{
    ReadMemory();
    ReadVersion();
    ReadLoginName();
    ReadProcessor();
    ReadOwnerInfo();
}

void TSysInfo32::ReadMemory()
{
    const platform::MemoryStatus status = platform::systemFacts().memory();
    memoryAvailPhys_ = status.availPhys;
    memoryAvailVirtual_ = status.availVirtual;
    memoryTotalPhys_ = status.totalPhys;
    memoryTotalVirtual_ = status.totalVirtual;
}

void TSysInfo32::ReadVersion()
{
    const auto version = platform::systemFacts().version();
    if (!version)
        return;
    osPlatform_ = TString50(platformName(version->platformId));
    osVersion_ = TString50(QStringLiteral("%1.%2").arg(version->major).arg(version->minor));
    osBuild_ = TString50(QString::number(version->build & 0xFFFFu));
}

void TSysInfo32::ReadLoginName()
{
    if (const auto name = platform::systemFacts().loginName(loginNameCapacity))
        loginUserName_ = TString50(*name);
}

void TSysInfo32::ReadProcessor()
{
    const platform::ProcessorInfo processor = platform::systemFacts().processor();
    const ProcessorTexts texts = processorTexts(processor.architecture, processor.processorType);
    processorType_ = TString50(texts.type);
    processorLevel_ = TString50(texts.level);
}

void TSysInfo32::ReadOwnerInfo()
{
    const auto info = platform::systemFacts().ownerInfo(osPlatform_);
    if (!info)
        return;
    registeredOrganization_ = TString50(info->organisation);
    registeredOwner_ = TString50(info->owner);
    productId_ = TString50(info->productId);
}
