// File contents in and out: reading regular files, replacing a file
// atomically, and telling one version of a file from another.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <cstring>
#include <functional>
#include <optional>

namespace platform {

// Permission bits of a file, as 0644 writes them.
using FileMode = quint32;

// The whole content of a regular file; raises EInOutError when it cannot be
// read or is no regular file.
QByteArray readWholeFile(const QString& path);

// The content of the regular file `path` when it holds at most `limit`
// bytes; nothing when it cannot be read, is no regular file or is larger.
std::optional<QByteArray> readSmallFile(const QString& path, qsizetype limit);

// Up to `count` lines of a regular file read by the TextReader rules, padded
// with empty lines to exactly `count`; reading stops after the count-th line
// end. Raises EInOutError when the file cannot be opened or read, or when a
// line is longer than rtl::maxTextLineLength.
QList<QByteArray> readTextLines(const QString& path, int count);

// Every line of a file read by the TextReader rules (stops at the end of the data).
QList<QByteArray> readAllTextLines(const QString& path);

// Replaces the file at `path` with `data`: the data goes to a temporary file
// beside the target, which is then renamed over it. A chain of symbolic links
// is written through to the file at its end; an existing file keeps its
// owner and permissions and is replaced only when the user may write it; a
// new one gets `newFileMode` (less the umask). On failure the temporary file
// is removed, the old file stays whole and EInOutError is raised ("File
// access denied" for a file the user may not write).
void replaceFileAtomically(const QString& path, const QByteArray& data, FileMode newFileMode = 0666);

// Takes a file's content piece by piece while it is being written, in
// pieces of its own size: the content never has to stand whole in memory.
class ContentWriter final {
public:
    ContentWriter(const ContentWriter&) = delete;
    ContentWriter& operator=(const ContentWriter&) = delete;

    void put(QByteArrayView bytes)
    {
        if (bytes.isEmpty()) // may have no data at all
            return;
        if (bytes.size() <= Capacity - used_) {
            std::memcpy(buffer_ + used_, bytes.data(), size_t(bytes.size()));
            used_ += bytes.size();
        } else {
            putLarge(bytes);
        }
    }

private:
    friend void replaceFileAtomically(const QString&, const std::function<void(ContentWriter&)>&, FileMode);
    explicit ContentWriter(int fd)
        : fd_(fd)
    {
    }
    void putLarge(QByteArrayView bytes);
    // Writes what the buffer holds; the first error is kept, and nothing is written after it.
    void flush();

    static constexpr qsizetype Capacity = 65536;
    int fd_;
    int error_ = 0;
    qsizetype used_ = 0;
    char buffer_[Capacity];
};

// The same, with the content handed to the writer by `write`. Whatever
// `write` raises removes the temporary file and passes on.
void replaceFileAtomically(
    const QString& path, const std::function<void(ContentWriter&)>& write, FileMode newFileMode = 0666);

// What tells one version of a file from another.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modified = 0; // nanoseconds
    qint64 changed = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the regular file `path` names (links followed); nothing
// when no regular file is there.
std::optional<FileIdentity> regularFileIdentity(const QString& path);

} // namespace platform
