#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace zf {

// The lock file "<project>.lock" that keeps other running instances of Zefrant
// off an open project. A lock is held while its holder keeps the file locked;
// one that nobody holds (its process died, or the file is empty, garbage or an
// empty folder) is stale and is taken over. A lock naming a process on another
// machine is respected: that process may well be running.
class ProjectLock {
public:
    enum class Result {
        Locked,        // ours now
        HeldElsewhere, // another running instance has the project open
        CannotCreate,  // the folder does not let us create the lock file
    };

    explicit ProjectLock(QString lockPath);
    ~ProjectLock();
    ProjectLock(const ProjectLock&) = delete;
    ProjectLock& operator=(const ProjectLock&) = delete;

    Result lock();
    void unlock();
    bool isLocked() const;
    const QString& path() const { return path_; }

    // After lock(): a lock file was there before and has been taken over, so the
    // instance that made it ended without closing the project.
    bool tookOverStaleLock() const { return tookOver_; }
    // The holder as its lock file names it ("process 42 on host"), or why the
    // lock file could not be made.
    const QString& detail() const { return detail_; }

private:
    bool removeIfNotHeld();
    QString whyNotWritable() const;

    QString path_;
    std::unique_ptr<QLockFile> lock_;
    bool tookOver_ = false;
    QString detail_;
};

} // namespace zf
