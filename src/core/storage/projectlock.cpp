#include "storage/projectlock.h"

#include "i18n/texts.h"

#include <QFile>
#include <QSysInfo>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zf {

ProjectLock::ProjectLock(QString lockPath) : path_(std::move(lockPath)) {}

ProjectLock::~ProjectLock() {
    unlock();
}

bool ProjectLock::isLocked() const {
    return lock_ && lock_->isLocked();
}

void ProjectLock::unlock() {
    lock_.reset();
}

ProjectLock::Result ProjectLock::lock() {
    if (isLocked())
        return Result::Locked;
    tookOver_ = false;
    detail_.clear();
    struct stat st {};
    const bool existed = ::lstat(QFile::encodeName(path_).constData(), &st) == 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto lock = std::make_unique<QLockFile>(path_);
        // Never stale by age: a project may stay open for days.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            lock_ = std::move(lock);
            tookOver_ = existed;
            return Result::Locked;
        }
        if (lock->error() != QLockFile::LockFailedError) {
            detail_ = QStringLiteral("%1: %2").arg(path_, whyNotWritable());
            return Result::CannotCreate;
        }
        // Qt takes over a lock whose process is gone; one it cannot read (empty,
        // garbage, a folder) it leaves, and that would refuse the project forever.
        if (attempt == 0 && removeIfNotHeld())
            continue;
        if (!detail_.isEmpty())
            return Result::CannotCreate;
        // The holder writes its process and host right after making the file;
        // a moment later they are there to be named.
        qint64 pid = 0;
        QString host, app;
        for (int look = 0; look < 20; ++look) {
            if (lock->getLockInfo(&pid, &host, &app) && pid > 0)
                break;
            QThread::msleep(5);
        }
        if (pid > 0)
            detail_ = QStringLiteral("process %1 on %2").arg(pid).arg(host);
        return Result::HeldElsewhere;
    }
    return Result::HeldElsewhere;
}

// The system's reason why the lock file could not be made, which QLockFile does
// not tell: a small file written beside it finds it out.
QString ProjectLock::whyNotWritable() const {
    const QByteArray probe = QFile::encodeName(path_) + ".probe";
    int err = 0;
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        err = errno;
    } else {
        const char bytes[256] = {};
        if (::write(fd, bytes, sizeof bytes) != ssize_t(sizeof bytes) || ::fsync(fd) != 0)
            err = errno ? errno : ENOSPC;
        ::close(fd);
        ::unlink(probe.constData());
    }
    return err ? QString::fromLocal8Bit(std::strerror(err)) : LanguageText(3045);
}

// Removes the lock file when no running instance holds it. Every holder keeps
// an exclusive flock on its lock file for as long as it runs; if we can take
// that flock, nobody holds it.
bool ProjectLock::removeIfNotHeld() {
    const QByteArray name = QFile::encodeName(path_);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0)
        return errno == ENOENT;
    if (S_ISDIR(st.st_mode)) {
        if (::rmdir(name.constData()) == 0)
            return true;
        detail_ =
            QStringLiteral("%1: A folder of that name is in the way of the lock file.").arg(path_);
        return false;
    }
    if (!S_ISREG(st.st_mode))
        return ::unlink(name.constData()) == 0;
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    bool removed = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        char buf[512];
        const ssize_t n = ::read(fd, buf, sizeof buf - 1);
        const QList<QByteArray> lines = QByteArray(buf, n > 0 ? int(n) : 0).split('\n');
        const qint64 pid = lines.value(0).toLongLong();
        const QString host = QString::fromUtf8(lines.value(2));
        // A lock made on another machine of a shared folder is not ours to judge.
        const bool foreign = pid > 0 && !host.isEmpty() && host != QSysInfo::machineHostName();
        struct stat now {};
        struct stat held {};
        if (!foreign && ::fstat(fd, &held) == 0 && ::lstat(name.constData(), &now) == 0 &&
            held.st_ino == now.st_ino && held.st_dev == now.st_dev)
            removed = ::unlink(name.constData()) == 0;
    }
    ::close(fd);
    return removed;
}

} // namespace zf
