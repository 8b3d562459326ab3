// What keeps a project's last saved state safe: the lock that keeps a second
// instance off it, locks left behind by crashed or broken runs, and the choice
// the user gets when the session before ended without closing the project.
#include "common/globals.h"
#include "common/numberformat.h"
#include "common/resultcodes.h"
#include "i18n/texts.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zf;
using namespace zf::test;

namespace {

class ProjectSafetyTest : public StorageTest {
protected:
    // A project saved with the name `saved`, then changed to `unsaved` by a
    // session that ended without closing it: the backup beside it, a lock file
    // nobody holds.
    QString unclosedProject(const QString& name) {
        const QString f = copyTemplate(name);
        sql(f, QStringLiteral("UPDATE tRozmery SET ProjectName_text = 'saved'"));
        EXPECT_TRUE(QFile::copy(f, ProjectFiles::backupFileOf(f)));
        sql(f, QStringLiteral("UPDATE tRozmery SET ProjectName_text = 'unsaved'"));
        leaveDeadLock(f);
        return f;
    }
    // A lock file made by a process that has died.
    static void leaveDeadLock(const QString& f) {
        const pid_t child = ::fork();
        if (child == 0) {
            QLockFile lock(ProjectFiles::lockFileOf(f));
            lock.tryLock(0);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(QFileInfo::exists(ProjectFiles::lockFileOf(f)));
    }
    QString projectName() { return data->tADOProject.asString(QStringLiteral("ProjectName_text")); }
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

} // namespace

TEST_F(ProjectSafetyTest, ASecondInstanceRefusedByTheLockLeavesTheFirstOnesBackup) {
    const QString f = copyTemplate(QStringLiteral("shared.zfp"));
    ASSERT_EQ(files->OpenProject(f), ResultOk);
    const QString backup = ProjectFiles::backupFileOf(f);
    const QByteArray saved = readAll(backup);
    ASSERT_FALSE(saved.isEmpty());

    TZFData otherData;
    ASSERT_TRUE(otherData.startUp());
    {
        ProjectFiles other(otherData);
        EXPECT_EQ(other.OpenProject(f), ResultInvalidFile);
        EXPECT_TRUE(dlg.last().text.contains(QLatin1String("is open in another instance")));
        EXPECT_FALSE(other.TempFiles.contains(backup));
        other.atExit(); // the second instance ends
    }
    EXPECT_EQ(readAll(backup), saved) << "the first instance's last saved state is still there";
    EXPECT_TRUE(QFileInfo::exists(ProjectFiles::lockFileOf(f)));
    files->atExit();
    EXPECT_FALSE(QFileInfo::exists(backup)) << "the first instance removes its own backup";
}

TEST_F(ProjectSafetyTest, ALockThatNamesNoRunningInstanceIsTakenOver) {
    const QString f = copyTemplate(QStringLiteral("p.zfp"));
    const QString lock = ProjectFiles::lockFileOf(f);
    auto opensAndCloses = [&](const char* what) {
        EXPECT_EQ(files->OpenProject(f), ResultOk)
            << what << ": " << (dlg.boxes.empty() ? "" : qPrintable(dlg.last().text));
        files->CloseProject(true);
        EXPECT_FALSE(QFileInfo::exists(lock)) << what;
    };
    writeFile(lock, QByteArray());
    opensAndCloses("an empty lock file");
    writeFile(lock, QByteArray("garbage\x01\x02 that is no lock\n"));
    opensAndCloses("garbage");
    writeFile(lock, QByteArray("0\n\n\n"));
    opensAndCloses("process 0 on no host");
    writeFile(lock,
              QByteArray("999999999\nzefrant\n") + QSysInfo::machineHostName().toUtf8() + "\n");
    opensAndCloses("a process of this machine that does not run");
    ASSERT_TRUE(QDir().mkdir(lock));
    opensAndCloses("an empty folder");

    // A folder with something in it is not ours to remove: refused, saying why.
    ASSERT_TRUE(QDir().mkdir(lock));
    writeFile(lock + QStringLiteral("/keep"), "x");
    EXPECT_NE(files->OpenProject(f), ResultOk);
    EXPECT_TRUE(dlg.last().text.contains(QStringLiteral("A folder of that name is in the way")))
        << qPrintable(dlg.last().text);
    EXPECT_TRUE(QFileInfo::exists(lock + QStringLiteral("/keep")));
    QDir(lock).removeRecursively();

    // A lock file that a running process holds is respected, whatever it says.
    writeFile(lock, QByteArray("garbage"));
    const int held = ::open(QFile::encodeName(lock).constData(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(files->OpenProject(f), ResultInvalidFile);
    EXPECT_TRUE(dlg.last().text.contains(QLatin1String("is open in another instance")));
    // A holder that has not named itself (yet) is not called "process 0".
    EXPECT_FALSE(dlg.last().text.contains(QLatin1String("process 0")))
        << qPrintable(dlg.last().text);
    ::close(held);
    QFile::remove(lock);

    // A lock made on another machine of a shared folder may well be alive.
    writeFile(lock, QByteArray("4242\nzefrant\nsome-other-host.example\n"));
    EXPECT_EQ(files->OpenProject(f), ResultInvalidFile);
    EXPECT_TRUE(dlg.last().text.contains(QLatin1String("process 4242 on some-other-host.example")))
        << qPrintable(dlg.last().text);
    EXPECT_TRUE(QFileInfo::exists(lock));
}

TEST_F(ProjectSafetyTest, AnUnclosedSessionAsksBeforeTouchingEitherState) {
    // Yes: the changes stay, the backup still holds the last saved state.
    const QString f = unclosedProject(QStringLiteral("keep.zfp"));
    const QString backup = ProjectFiles::backupFileOf(f);
    const QByteArray saved = readAll(backup);
    dlg.answers = {IdYes};
    ASSERT_EQ(files->OpenProject(f), ResultOk);
    ASSERT_FALSE(dlg.boxes.empty());
    EXPECT_EQ(dlg.last().text, formatText(LanguageText(5028), {QStringLiteral("keep.zfp")}));
    EXPECT_EQ(dlg.last().flags, MbQuestionYesNo);
    EXPECT_EQ(files->LastRecovery, ProjectFiles::Recovery::KeptChanges);
    EXPECT_EQ(projectName(), QStringLiteral("unsaved"));
    EXPECT_EQ(readAll(backup), saved) << "the open does not overwrite the last saved state";
    EXPECT_TRUE(Modified) << "the kept changes are not saved yet";
    dlg.answers = {IdNo};
    EXPECT_EQ(files->commandClose(), ResultOk);
    EXPECT_EQ(readAll(f), saved) << "No on closing returns to the last saved state";
    EXPECT_FALSE(QFileInfo::exists(backup)) << "a closed project leaves no backup";

    // No: the last saved state comes back, and stays the backup.
    const QString g = unclosedProject(QStringLiteral("back.zfp"));
    const QByteArray savedG = readAll(ProjectFiles::backupFileOf(g));
    dlg.answers = {IdNo};
    ASSERT_EQ(files->OpenProject(g), ResultOk);
    EXPECT_EQ(files->LastRecovery, ProjectFiles::Recovery::ReturnedToSaved);
    EXPECT_EQ(projectName(), QStringLiteral("saved"));
    EXPECT_FALSE(Modified);
    EXPECT_EQ(readAll(ProjectFiles::backupFileOf(g)), savedG);
    files->atExit();
    EXPECT_FALSE(QFileInfo::exists(ProjectFiles::backupFileOf(g)))
        << "once taken over, the backup is the session's like any other";

    // Opened again after a normal close, nothing is asked.
    const size_t asked = dlg.boxes.size();
    ASSERT_EQ(files->OpenProject(g), ResultOk);
    EXPECT_EQ(dlg.boxes.size(), asked);
}

TEST_F(ProjectSafetyTest, AnUnfinishedTransactionOfTheCrashedSessionIsNotPlayedIntoEitherState) {
    const QString f = unclosedProject(QStringLiteral("torn.zfp"));
    const QByteArray saved = readAll(ProjectFiles::backupFileOf(f));
    // The crashed session was in the middle of an operation: its journal is
    // beside the file and part of the operation is in the file.
    const pid_t child = ::fork();
    if (child == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(f).constData(), &db);
        sqlite3_exec(db,
                     "PRAGMA cache_size = 1; BEGIN; UPDATE tRozmery SET ProjectName_text = 'torn'; "
                     "UPDATE tSteny SET NazevCZ = printf('%.40c', 'x'), NazevEN = "
                     "printf('%.40c', 'y'), NazevGE = printf('%.40c', 'z');",
                     nullptr, nullptr, nullptr);
        ::_exit(0); // dies inside the transaction
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(QFileInfo::exists(f + QStringLiteral("-journal")));

    dlg.answers = {IdNo};
    ASSERT_EQ(files->OpenProject(f), ResultOk) << qPrintable(dlg.last().text);
    EXPECT_EQ(projectName(), QStringLiteral("saved"));
    EXPECT_FALSE(QFileInfo::exists(f + QStringLiteral("-journal")));
    files->CloseProject(true);
    EXPECT_EQ(readAll(f), saved) << "exactly the last saved state";

    const QString g = unclosedProject(QStringLiteral("torn2.zfp"));
    const pid_t child2 = ::fork();
    if (child2 == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(g).constData(), &db);
        sqlite3_exec(db,
                     "PRAGMA cache_size = 1; BEGIN; UPDATE tRozmery SET ProjectName_text = 'torn'; "
                     "UPDATE tSteny SET NazevCZ = printf('%.40c', 'x');",
                     nullptr, nullptr, nullptr);
        ::_exit(0);
    }
    ::waitpid(child2, &status, 0);
    dlg.answers = {IdYes};
    ASSERT_EQ(files->OpenProject(g), ResultOk);
    EXPECT_EQ(projectName(), QStringLiteral("unsaved"))
        << "the changes kept are those of the last finished operation";
}

TEST_F(ProjectSafetyTest, ADamagedBackupIsNotPutBackOverTheFile) {
    const QString f = unclosedProject(QStringLiteral("b.zfp"));
    writeFile(ProjectFiles::backupFileOf(f), "no database at all, just some bytes");
    const QByteArray file = readAll(f);
    dlg.answers = {IdNo};
    EXPECT_EQ(files->OpenProject(f), ResultInvalidFile);
    EXPECT_TRUE(dlg.last().text.contains(QLatin1String("that should hold the last saved state is "
                                                       "damaged")))
        << qPrintable(dlg.last().text);
    EXPECT_EQ(readAll(f), file) << "the file keeps what the session left";
    EXPECT_EQ(readAll(ProjectFiles::backupFileOf(f)),
              QByteArray("no database at all, just some bytes"));
    files->atExit();
    EXPECT_TRUE(QFileInfo::exists(ProjectFiles::backupFileOf(f))) << "not ours to delete";
}
