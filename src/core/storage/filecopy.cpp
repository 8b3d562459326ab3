#include "storage/filecopy.h"

#include "storage/syncstats.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zf {

namespace {

std::function<bool(qint64)> interruptHook;

// "<path>: <the system's reason>", the form every message of this file takes.
QString reasonFor(const QString& path, int err) {
    return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(err)));
}

// Closes a descriptor once, whatever path the copy takes.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void reset(int fd) {
        close();
        fd_ = fd;
    }
    int close() {
        const int rc = fd_ >= 0 ? ::close(fd_) : 0;
        fd_ = -1;
        return rc;
    }

private:
    int fd_;
};

bool writeAll(int fd, const char* p, qint64 n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, size_t(n));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (w == 0) {
            errno = ENOSPC;
            return false;
        }
        p += w;
        n -= w;
    }
    return true;
}

} // namespace

void setCopyInterruptHook(std::function<bool(qint64)> hook) {
    interruptHook = std::move(hook);
}

bool copyFileReplacing(const QString& src, const QString& dst, QString* error) {
    auto fail = [&](const QString& path, int err) {
        if (error)
            *error = reasonFor(path, err);
        return false;
    };
    const QByteArray srcName = QFile::encodeName(src);
    const QByteArray dstName = QFile::encodeName(dst);
    Fd in(::open(srcName.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (in.get() < 0)
        return fail(src, errno);
    struct stat st {};
    if (::fstat(in.get(), &st) != 0)
        return fail(src, errno);
    // Only regular files are copied: a FIFO or a device would block or never end.
    if (!S_ISREG(st.st_mode))
        return fail(src, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    ::fcntl(in.get(), F_SETFL, ::fcntl(in.get(), F_GETFL) & ~O_NONBLOCK);

    // The temporary file lives beside dst, so the rename below never crosses a
    // file system and replaces dst in one step.
    QByteArray tmpName;
    Fd out;
    for (int attempt = 0; attempt < 100 && out.get() < 0; ++attempt) {
        tmpName = dstName + ".~" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        out.reset(::open(tmpName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (out.get() < 0 && errno != EEXIST)
            return fail(dst, errno);
    }
    if (out.get() < 0)
        return fail(dst, EEXIST);
    auto abandon = [&](const QString& path, int err) {
        out.close();
        ::unlink(tmpName.constData());
        return fail(path, err);
    };
    // The copy keeps the permissions of the file it replaces, or takes those of
    // the source when it is new.
    struct stat old {};
    const mode_t mode = ::stat(dstName.constData(), &old) == 0 ? old.st_mode : st.st_mode;
    if (::fchmod(out.get(), mode & 07777) != 0)
        return abandon(dst, errno);

    QByteArray chunk(1 << 20, Qt::Uninitialized);
    qint64 written = 0;
    for (;;) {
        const ssize_t r = ::read(in.get(), chunk.data(), size_t(chunk.size()));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return abandon(src, errno);
        }
        if (r == 0)
            break;
        if (!writeAll(out.get(), chunk.constData(), r))
            return abandon(dst, errno);
        written += r;
        if (interruptHook && interruptHook(written)) {
            out.close();
            ::unlink(tmpName.constData());
            if (error)
                *error = QStringLiteral("%1: The copy was interrupted.").arg(dst);
            return false;
        }
    }
    // A full disk may show only when the data is flushed.
    if (::fsync(out.get()) != 0)
        return abandon(dst, errno);
    if (out.close() != 0) {
        const int err = errno;
        ::unlink(tmpName.constData());
        return fail(dst, err);
    }
    if (::rename(tmpName.constData(), dstName.constData()) != 0) {
        const int err = errno;
        ::unlink(tmpName.constData());
        return fail(dst, err);
    }
    countFileSync();
    return true;
}

bool writeFileReplacing(const QString& dst, const QByteArray& bytes, QString* error) {
    auto fail = [&](int err) {
        if (error)
            *error = reasonFor(dst, err);
        return false;
    };
    const QByteArray dstName = QFile::encodeName(dst);
    QByteArray tmpName;
    Fd out;
    struct stat old {};
    const bool replacing = ::stat(dstName.constData(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode))
        return fail(S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
    for (int attempt = 0; attempt < 100 && out.get() < 0; ++attempt) {
        tmpName = dstName + ".~" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        out.reset(::open(tmpName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (out.get() < 0 && errno != EEXIST)
            return fail(errno);
    }
    if (out.get() < 0)
        return fail(EEXIST);
    auto abandon = [&](int err) {
        out.close();
        ::unlink(tmpName.constData());
        return fail(err);
    };
    if (replacing && ::fchmod(out.get(), old.st_mode & 07777) != 0)
        return abandon(errno);
    constexpr qint64 Chunk = 1 << 20;
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 n = std::min(Chunk, bytes.size() - written);
        if (!writeAll(out.get(), bytes.constData() + written, n))
            return abandon(errno);
        written += n;
        if (interruptHook && interruptHook(written)) {
            out.close();
            ::unlink(tmpName.constData());
            if (error)
                *error = QStringLiteral("%1: The copy was interrupted.").arg(dst);
            return false;
        }
    }
    if (::fsync(out.get()) != 0)
        return abandon(errno);
    if (out.close() != 0) {
        const int err = errno;
        ::unlink(tmpName.constData());
        return fail(err);
    }
    if (::rename(tmpName.constData(), dstName.constData()) != 0) {
        const int err = errno;
        ::unlink(tmpName.constData());
        return fail(err);
    }
    countFileSync();
    return true;
}

void removeInterruptedCopies(const QString& dst) {
    const QFileInfo fi(dst);
    QDir folder(fi.absolutePath());
    static const QRegularExpression copyName(QStringLiteral("^\\.~[0-9a-z]+$"));
    for (const QString& name : folder.entryList({fi.fileName() + QStringLiteral(".~*")},
                                                QDir::Files | QDir::Hidden | QDir::System)) {
        if (copyName.match(name.mid(fi.fileName().size())).hasMatch())
            folder.remove(name);
    }
}

bool renameReplacing(const QString& src, const QString& dst, QString* error) {
    struct stat old {};
    const QByteArray dstName = QFile::encodeName(dst);
    const bool hadMode = ::stat(dstName.constData(), &old) == 0;
    if (::rename(QFile::encodeName(src).constData(), dstName.constData()) != 0) {
        if (error)
            *error = reasonFor(dst, errno);
        return false;
    }
    if (hadMode)
        ::chmod(dstName.constData(), old.st_mode & 07777);
    return true;
}

bool sameContent(const QString& a, const QString& b) {
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    constexpr qint64 Chunk = 1 << 16;
    while (!fa.atEnd()) {
        const QByteArray ca = fa.read(Chunk);
        if (ca.isEmpty() || ca != fb.read(Chunk))
            return false;
    }
    return fb.atEnd();
}

QString fileIdentity(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return QString();
    return QStringLiteral("%1:%2").arg(qulonglong(st.st_dev)).arg(qulonglong(st.st_ino));
}

bool sameFile(const QString& a, const QString& b) {
    const QString ia = fileIdentity(a);
    return !ia.isEmpty() && ia == fileIdentity(b);
}

} // namespace zf
