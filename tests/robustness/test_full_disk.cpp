// zefrant-cli on a disk that fills up: at every amount of free space from none
// to 150 KB, `new`, `input` and `units` either do their work or fail with a
// message that names the file and the reason, and leave the project as it was.
// The disk is a small tmpfs, which needs root; other users skip the test.
#include "robustness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace zf::robustness;

namespace {

class SmallDisk {
public:
    explicit SmallDisk(const QString& where) : path_(where) {
        mounted_ = ::mount("tmpfs", QFile::encodeName(path_).constData(), "tmpfs", 0,
                           "size=1m,mode=0700") == 0;
        error_ = mounted_ ? QString() : QString::fromLocal8Bit(std::strerror(errno));
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    const QString& error() const { return error_; }

    // Empties the disk but for the files given, then fills it to leave `bytes`.
    void leaveFree(qint64 bytes, const std::vector<std::pair<QString, QByteArray>>& files) {
        QDir d(path_);
        for (const QString& f : d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            QFile::remove(d.filePath(f));
        for (const auto& [name, content] : files)
            writeBytes(d.filePath(name), content);
        struct statvfs st {};
        ::statvfs(QFile::encodeName(path_).constData(), &st);
        const qint64 avail = qint64(st.f_bavail) * qint64(st.f_frsize);
        if (avail > bytes)
            writeBytes(d.filePath(QStringLiteral("filler")), QByteArray(avail - bytes, '\0'));
    }

private:
    QString path_;
    bool mounted_ = false;
    QString error_;
};

struct DiskFigures {
    int runs = 0, done = 0, refused = 0, faults = 0;
};

} // namespace

TEST(Robustness, AFullDiskLeavesTheProjectAsItWas) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "the full-disk test mounts a small tmpfs and needs root; skipped";
    QTemporaryDir work;
    const QByteArray sample = makeSampleProject(work.path());
    ASSERT_FALSE(sample.isEmpty());
    const QString mountPoint = work.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkpath(mountPoint));
    SmallDisk disk(mountPoint);
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (" << qPrintable(disk.error()) << "); skipped";

    const QString project = mountPoint + QStringLiteral("/p.zfp");
    const QString design = mountPoint + QStringLiteral("/d.json");
    const QString units = mountPoint + QStringLiteral("/u.json");
    const QString fresh = mountPoint + QStringLiteral("/new.zfp");
    // The states `input` and `units` lead to when there is room.
    QByteArray afterInput, afterUnits;
    {
        const QString p = work.filePath(QStringLiteral("p.zfp"));
        const QString d = work.filePath(QStringLiteral("d.json"));
        const QString u = work.filePath(QStringLiteral("u.json"));
        writeBytes(d, ChangedDesign);
        writeBytes(u, ChangedUnits);
        writeBytes(p, sample);
        ASSERT_EQ(runTool({QStringLiteral("input"), p, d}).status, 0);
        afterInput = tablesFingerprint(p);
        writeBytes(p, sample);
        ASSERT_EQ(runTool({QStringLiteral("units"), p, u}).status, 0);
        afterUnits = tablesFingerprint(p);
    }

    DiskFigures f;
    // tmpfs hands out whole pages: 4 KB steps are every amount it can leave. The
    // range goes on until the commands have room (about three project files).
    for (qint64 kb = 0; kb <= 264; kb += 4) {
        for (const char* command : {"input", "units", "new"}) {
            SCOPED_TRACE(QStringLiteral("%1 with %2 KB free")
                             .arg(QLatin1String(command))
                             .arg(kb)
                             .toStdString());
            disk.leaveFree(kb * 1024, {{QStringLiteral("p.zfp"), sample},
                                       {QStringLiteral("d.json"), ChangedDesign},
                                       {QStringLiteral("u.json"), ChangedUnits}});
            QStringList args{QLatin1String(command)};
            const QString target = QLatin1String(command) == QLatin1String("new") ? fresh : project;
            args << target;
            if (QLatin1String(command) == QLatin1String("input"))
                args << design;
            if (QLatin1String(command) == QLatin1String("units"))
                args << units;
            // The temporary folder is full too: a new project starts there.
            const ToolRun r = runTool(args, {QStringLiteral("TMPDIR=") + mountPoint});
            ++f.runs;
            ASSERT_TRUE(r.status == 0 || r.status == 1) << r.err.constData();
            const QString err = QString::fromUtf8(r.err);
            if (r.status == 0) {
                ++f.done;
                const QByteArray state = tablesFingerprint(target);
                const bool right =
                    QLatin1String(command) == QLatin1String("input")   ? state == afterInput
                    : QLatin1String(command) == QLatin1String("units") ? state == afterUnits
                                                                       : !state.isEmpty();
                EXPECT_TRUE(right) << "done, but not the state it should leave";
                f.faults += right ? 0 : 1;
            } else {
                ++f.refused;
                const bool unchanged = QLatin1String(command) == QLatin1String("new")
                                           ? !QFile::exists(fresh)
                                           : fileBytes(project) == sample;
                const bool reason = err.contains(QStringLiteral("No space left on device")) &&
                                    !err.contains(QStringLiteral("Unknown error"));
                const bool named = err.contains(mountPoint);
                EXPECT_TRUE(unchanged)
                    << "failure means unchanged (a failed new leaves no project)";
                EXPECT_TRUE(reason) << "the reason: " << qPrintable(err);
                EXPECT_TRUE(named) << "the message names the file: " << qPrintable(err);
                f.faults += unchanged && reason && named ? 0 : 1;
            }
            EXPECT_TRUE(leftoversOf(target).isEmpty())
                << qPrintable(leftoversOf(target).join(QLatin1Char(' ')));
            const QStringList strays =
                QDir(mountPoint)
                    .entryList({QStringLiteral("*.~*"), QStringLiteral("~*")},
                               QDir::Files | QDir::Hidden);
            EXPECT_TRUE(strays.isEmpty()) << qPrintable(strays.join(QLatin1Char(' ')));
        }
    }
    reportFigures(QStringLiteral("full disk (0 to 264 KB free, 4 KB steps): %1 runs of new, input "
                                 "and units: %2 done, %3 failed and left the file as it "
                                 "was, naming it and the reason; faults %4")
                      .arg(f.runs)
                      .arg(f.done)
                      .arg(f.refused)
                      .arg(f.faults));
    EXPECT_EQ(f.faults, 0);
}
