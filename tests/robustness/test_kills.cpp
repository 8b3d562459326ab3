// zefrant-cli input and units killed at random points: the project file holds
// the state before or the state after, never a mix; its backup still holds the
// last saved state; and the next run starts from one of the two.
#include "robustness.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace zf::robustness;

namespace {

struct KillFigures {
    int kills = 0, before = 0, after = 0, mixed = 0, backupLost = 0, finishedFirst = 0;
};

// Starts the tool and kills it after `delayUs` microseconds (unless it ended).
bool runAndKill(const QStringList& args, qint64 delayUs) {
    const QByteArray program =
        QFile::encodeName(qEnvironmentVariable("ZEFRANT_CLI", QStringLiteral(ZEFRANT_CLI)));
    std::vector<QByteArray> argv8{program};
    for (const QString& a : args)
        argv8.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& a : argv8)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::usleep(useconds_t(delayUs));
    const bool killed = ::kill(pid, SIGKILL) == 0;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return killed && WIFSIGNALED(status);
}

KillFigures killRuns(const QString& name, const QString& project, const QByteArray& start,
                     const QStringList& args, int kills) {
    // The state after, from a run that is not killed.
    writeBytes(project, start);
    const QByteArray before = tablesFingerprint(project);
    const ToolRun full = runTool(args);
    EXPECT_EQ(full.status, 0) << full.err.constData();
    const QByteArray after = tablesFingerprint(project);
    EXPECT_NE(before, after) << "the command must change the project";

    // A run's duration, measured, spans the kill points.
    QElapsedTimer timer;
    writeBytes(project, start);
    timer.start();
    runTool(args);
    const qint64 spanUs = std::max<qint64>(timer.nsecsElapsed() / 1000, 2000) * 9 / 10;

    std::mt19937 rng(77);
    KillFigures f;
    for (int i = 0; i < kills; ++i) {
        for (const char* suffix : {".tmp", ".lock", "-journal"})
            QFile::remove(project + QLatin1String(suffix));
        writeBytes(project, start);
        const qint64 delay = std::uniform_int_distribution<qint64>(0, spanUs)(rng);
        if (!runAndKill(args, delay)) {
            ++f.finishedFirst;
            continue;
        }
        ++f.kills;
        const QByteArray now = tablesFingerprint(project);
        if (now == before)
            ++f.before;
        else if (now == after)
            ++f.after;
        else
            ++f.mixed;
        // The backup, when the killed run had made it, is the last saved state.
        const QString backup = project + QStringLiteral(".tmp");
        if (QFile::exists(backup) && tablesFingerprint(backup) != before &&
            tablesFingerprint(backup) != after)
            ++f.backupLost;
        // The next run finds the project left open: it returns to the last saved
        // state and works from there.
        const ToolRun next = runTool({QStringLiteral("export"), project});
        const QByteArray reopened = tablesFingerprint(project);
        if (next.status != 0 || (reopened != before && reopened != after))
            ++f.mixed;
        if (!leftoversOf(project).isEmpty())
            ADD_FAILURE() << name.toStdString() << ": files left behind after the next run: "
                          << leftoversOf(project).join(QLatin1Char(' ')).toStdString() << "\n"
                          << next.err.constData();
    }
    reportFigures(QStringLiteral("kills during %1: %2 killed (%3 ended before the kill), %4 left "
                                 "the state before, %5 the state after, mixed states %6, "
                                 "backups lost %7")
                      .arg(name)
                      .arg(f.kills)
                      .arg(f.finishedFirst)
                      .arg(f.before)
                      .arg(f.after)
                      .arg(f.mixed)
                      .arg(f.backupLost));
    return f;
}

int killCount() {
    return qEnvironmentVariableIsSet("ZEFRANT_ROBUSTNESS_KILLS")
               ? qEnvironmentVariableIntValue("ZEFRANT_ROBUSTNESS_KILLS")
               : 120;
}

} // namespace

TEST(Robustness, KillsDuringInputLeaveBeforeOrAfter) {
    QTemporaryDir dir;
    const QByteArray sample = makeSampleProject(dir.path());
    ASSERT_FALSE(sample.isEmpty());
    const QString project = dir.filePath(QStringLiteral("k.zfp"));
    const QString design = dir.filePath(QStringLiteral("d.json"));
    ASSERT_TRUE(writeBytes(design, ChangedDesign));
    const KillFigures f = killRuns(QStringLiteral("input"), project, sample,
                                   {QStringLiteral("input"), project, design}, killCount());
    EXPECT_EQ(f.mixed, 0);
    EXPECT_EQ(f.backupLost, 0);
    EXPECT_GT(f.kills, killCount() / 4) << "most kills must land inside a run";
}

TEST(Robustness, KillsDuringUnitsLeaveBeforeOrAfter) {
    QTemporaryDir dir;
    const QByteArray sample = makeSampleProject(dir.path());
    ASSERT_FALSE(sample.isEmpty());
    const QString project = dir.filePath(QStringLiteral("k.zfp"));
    const QString units = dir.filePath(QStringLiteral("u.json"));
    ASSERT_TRUE(writeBytes(units, ChangedUnits));
    const KillFigures f = killRuns(QStringLiteral("units"), project, sample,
                                   {QStringLiteral("units"), project, units}, killCount());
    EXPECT_EQ(f.mixed, 0);
    EXPECT_EQ(f.backupLost, 0);
    EXPECT_GT(f.kills, killCount() / 4) << "most kills must land inside a run";
}
