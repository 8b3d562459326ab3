// Bytes written to a file whole or not at all.
#include "storage/filecopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace zf;

namespace {

mode_t modeOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(WriteFileReplacing, ANewFileHasTheUsersPermissionsAnOldOneKeepsItsOwn) {
    QTemporaryDir dir;
    const mode_t mask = ::umask(022);
    ::umask(mask);
    const QString fresh = dir.filePath(QStringLiteral("new.dxf"));
    ASSERT_TRUE(writeFileReplacing(fresh, "drawing"));
    EXPECT_EQ(contents(fresh), QByteArray("drawing"));
    EXPECT_EQ(modeOf(fresh), mode_t(0666 & ~mask)) << "not the private mode of a temporary file";

    const QString old = dir.filePath(QStringLiteral("old.xlsx"));
    ASSERT_TRUE(writeFileReplacing(old, "first"));
    ASSERT_EQ(::chmod(QFile::encodeName(old).constData(), 0640), 0);
    ASSERT_TRUE(writeFileReplacing(old, QByteArray(3 << 20, 'x')));
    EXPECT_EQ(contents(old).size(), 3 << 20) << "written in several chunks";
    EXPECT_EQ(modeOf(old), mode_t(0640));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2)
        << "no temporary file is left";
}

TEST(WriteFileReplacing, AFolderOrAMissingFolderIsRefusedWithTheReason) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("plan.dxf"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QString error;
    EXPECT_FALSE(writeFileReplacing(folder, "drawing", &error));
    EXPECT_EQ(error, folder + QStringLiteral(": Is a directory"));
    EXPECT_TRUE(QDir(folder).exists());

    const QString missing = dir.filePath(QStringLiteral("gone/plan.dxf"));
    EXPECT_FALSE(writeFileReplacing(missing, "drawing", &error));
    EXPECT_EQ(error, missing + QStringLiteral(": No such file or directory"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

TEST(WriteFileReplacing, AnInterruptedWriteLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("plan.dxf"));
    ASSERT_TRUE(writeFileReplacing(file, "old"));
    setCopyInterruptHook([](qint64 written) { return written >= (1 << 20); });
    QString error;
    EXPECT_FALSE(writeFileReplacing(file, QByteArray(2 << 20, 'n'), &error));
    setCopyInterruptHook(nullptr);
    EXPECT_EQ(contents(file), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plan.dxf"});
}
