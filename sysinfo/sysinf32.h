// System information: operating-system, processor, memory, log-in and owner
// facts, read once when the component is created.
#pragma once

#include <QObject>
#include <QString>

// Texts of at most 50 characters; longer ones are cut.
QString TString50(const QString& text);

// The platform name for a platform id: 0, 1 and 2 name the classic
// systems, any other id gives an empty text.
QString platformName(int platformId);

struct ProcessorTexts {
    QString type; // ProcessorType
    QString level; // ProcessorLevel
};
// The processor texts for an architecture and a processor type; both empty
// where none applies.
ProcessorTexts processorTexts(int architecture, int processorType);

class TSysInfo32 final : public QObject {
    Q_OBJECT
public:
    // Reads every fact at once (RefreshAll).
    explicit TSysInfo32(QObject* owner);

    QString LoginUserName() const { return loginUserName_; }
    // Memory in bytes, in 64 bits so that large memories are shown whole.
    quint64 MemoryAvailPhys() const { return memoryAvailPhys_; }
    quint64 MemoryAvailVirtual() const { return memoryAvailVirtual_; }
    quint64 MemoryTotalPhys() const { return memoryTotalPhys_; }
    quint64 MemoryTotalVirtual() const { return memoryTotalVirtual_; }
    QString OSBuild() const { return osBuild_; }
    QString OSPlatform() const { return osPlatform_; }
    QString OSVersion() const { return osVersion_; }
    QString ProcessorType() const { return processorType_; }
    QString ProcessorLevel() const { return processorLevel_; }
    QString ProductID() const { return productId_; }
    QString RegisteredOrganization() const { return registeredOrganization_; }
    QString RegisteredOwner() const { return registeredOwner_; }

private:
    // In this order: the owner step needs the platform name.
    void RefreshAll();
    void ReadMemory();
    void ReadVersion();
    void ReadLoginName();
    void ReadProcessor();
    void ReadOwnerInfo();

    QString loginUserName_;
    quint64 memoryAvailPhys_ = 0;
    quint64 memoryAvailVirtual_ = 0;
    quint64 memoryTotalPhys_ = 0;
    quint64 memoryTotalVirtual_ = 0;
    QString osBuild_;
    QString osPlatform_;
    QString osVersion_;
    QString processorType_;
    QString processorLevel_;
    QString productId_;
    QString registeredOrganization_;
    QString registeredOwner_;
};
