// Profile (ini) files read and written line by line: sections and keys are
// matched without regard to ASCII case, and every other line of the file is
// kept as it was when a value is written.
#pragma once

#include "platform/FileIO.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace platform {

class ProfileFile final {
public:
    explicit ProfileFile(QString path);

    const QString& path() const { return path_; }

    // The value of `key` in `section`, blanks around it removed and one pair
    // of matching quotes stripped; `fallback` when the file, the section or
    // the key is missing.
    QString readString(const QString& section, const QString& key, const QString& fallback) const;
    std::optional<QString> value(const QString& section, const QString& key) const;
    bool hasKey(const QString& section, const QString& key) const { return value(section, key).has_value(); }

    // Decimal, "0x" or "$" hexadecimal; `fallback` when missing, empty or not a number.
    qint32 readInteger(const QString& section, const QString& key, qint32 fallback) const;

    // Sets `key` in `section`, adding the section or the key when missing,
    // and replaces the file atomically. Raises EIniFileException
    // "Unable to write to %s" when the file cannot be written.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, qint32 value);

    // Mode of a file that does not exist yet (less the umask).
    void setNewFileMode(FileMode mode) { newFileMode_ = mode; }

private:
    QList<QByteArray> lines() const;

    QString path_;
    FileMode newFileMode_ = 0666;
};

} // namespace platform
