// What the fuzz targets share: the input as a file the readers open by path.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace fuzz {

// A file in memory holding `data`, named by a path that opens it; closed
// with the object.
class MemoryFile final {
public:
    explicit MemoryFile(const QByteArray& data);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const QString& path() const { return path_; }

private:
    int fd_ = -1;
    QString path_;
};

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Stops the run with a message when a property of the code does not hold.
void check(bool holds, const char* what);

} // namespace fuzz
