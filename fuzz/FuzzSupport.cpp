// Fuzz target helpers.
#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace fuzz {

MemoryFile::MemoryFile(const QByteArray& data)
{
    fd_ = ::memfd_create("fuzz-input", MFD_CLOEXEC);
    check(fd_ >= 0, "memfd_create");
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t written = ::write(fd_, data.constData() + done, size_t(data.size() - done));
        check(written > 0, "write to the memory file");
        done += written;
    }
    path_ = QStringLiteral("/proc/self/fd/%1").arg(fd_);
}

MemoryFile::~MemoryFile() { ::close(fd_); }

void check(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

} // namespace fuzz
