#include "exchange/memoryfile.h"

#include <cerrno>
#include <cstring>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zf::exchange {

namespace {

QString systemReason(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

} // namespace

MemoryFile::MemoryFile() {
    fd_ = ::memfd_create("zefrant-export", MFD_CLOEXEC);
    if (fd_ < 0)
        error_ = systemReason(errno);
}

MemoryFile::~MemoryFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

QByteArray MemoryFile::name() const {
    return "/proc/self/fd/" + QByteArray::number(fd_);
}

bool MemoryFile::read(QByteArray* bytes) {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        error_ = systemReason(errno);
        return false;
    }
    bytes->resize(qsizetype(st.st_size));
    qsizetype done = 0;
    while (done < bytes->size()) {
        const ssize_t n = ::pread(fd_, bytes->data() + done, size_t(bytes->size() - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error_ = systemReason(n < 0 ? errno : EIO);
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace zf::exchange
