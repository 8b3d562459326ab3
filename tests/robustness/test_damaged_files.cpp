// Damaged project files through export, units and input of zefrant-cli: every
// file is refused with the program's message and left byte for byte as it was,
// or accepted and processed; nothing crashes, hangs or leaves files behind.
// Each file runs in a child process of its own, so that a crash or a hang is
// counted, not fatal; the children run the tool's code in-process.
#include "commands.h"
#include "damage.h"
#include "robustness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

using namespace zf::robustness;

namespace {

// What one child found for one file, one letter a finding: c changed although
// refused, m refused without the program's message, l files left behind, s an
// exit status other than 0 or 1.
struct StepOutcome {
    char command;
    int status;
    QByteArray findings;
};

QByteArray runSteps(const QString& file, const QString& units, const QString& design) {
    std::FILE* err = std::tmpfile();
    std::FILE* out = std::fopen("/dev/null", "w");
    QByteArray line;
    struct Step {
        char tag;
        QStringList args;
    };
    const Step steps[] = {{'E', {QStringLiteral("export"), file}},
                          {'U', {QStringLiteral("units"), file, units}},
                          {'I', {QStringLiteral("input"), file, design}}};
    for (const Step& s : steps) {
        const QByteArray before = fileBytes(file);
        ::ftruncate(::fileno(err), 0);
        std::rewind(err);
        const int rc = zf::runCli(s.args, out, err, QStringLiteral(ZEFRANT_PROGRAM_DIR));
        std::fflush(err);
        std::rewind(err);
        QByteArray text;
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, err)) > 0)
            text.append(buf, qsizetype(n));
        line += s.tag + QByteArray::number(rc);
        if (rc != 0 && rc != 1)
            line += 's';
        if (rc == 1 && fileBytes(file) != before)
            line += 'c';
        const QByteArray message = s.tag == 'E'
                                       ? QByteArray("box error: Error while opening the file")
                                       : QByteArray("box ");
        if (rc == 1 && !text.contains(message))
            line += 'm';
        if (!leftoversOf(file).isEmpty())
            line += 'l';
        line += ' ';
        if (rc != 0)
            break;
    }
    return line + '\n';
}

struct Child {
    pid_t pid;
    int fd;
    int index;
    QString kind;
    QString file;
    QByteArray bytes; // the damaged file as it was made
};

} // namespace

TEST(Robustness, DamagedProjectFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray sample = makeSampleProject(dir.path());
    ASSERT_FALSE(sample.isEmpty());
    const QByteArray templ = fileBytes(QStringLiteral(ZEFRANT_PROGRAM_DIR "/DB/ZFData.zft"));
    ASSERT_FALSE(templ.isEmpty());
    const QString units = dir.filePath(QStringLiteral("units.json"));
    const QString design = dir.filePath(QStringLiteral("design.json"));
    ASSERT_TRUE(writeBytes(units, ChangedUnits));
    ASSERT_TRUE(writeBytes(design, ChangedDesign));
    const int count = qEnvironmentVariableIsSet("ZEFRANT_ROBUSTNESS_FILES")
                          ? qEnvironmentVariableIntValue("ZEFRANT_ROBUSTNESS_FILES")
                          : 800;
    const unsigned seed = qEnvironmentVariableIsSet("ZEFRANT_ROBUSTNESS_SEED")
                              ? unsigned(qEnvironmentVariableIntValue("ZEFRANT_ROBUSTNESS_SEED"))
                              : 12u;
    const int timeLimit = qEnvironmentVariableIsSet("ZEFRANT_ROBUSTNESS_TIME_LIMIT")
                              ? qEnvironmentVariableIntValue("ZEFRANT_ROBUSTNESS_TIME_LIMIT")
                              : 30;
    const QString findings = QStringLiteral(ZEFRANT_FINDINGS_DIR);

    int refused = 0, accepted = 0, crashes = 0, hangs = 0, faults = 0;
    std::map<QString, std::pair<int, int>> byKind; // refused, accepted
    std::vector<Child> running;
    auto keep = [&](const Child& c, const QString& what) {
        QDir().mkpath(findings);
        const QString name =
            QStringLiteral("%1/damaged-%2-%3.zfp").arg(findings).arg(seed).arg(c.index);
        writeBytes(name, c.bytes);
        ADD_FAILURE() << qPrintable(what) << " with damaged file " << c.index << " ("
                      << qPrintable(c.kind) << "), kept as " << qPrintable(name);
    };
    auto reap = [&] {
        int status = 0;
        const pid_t pid = ::waitpid(-1, &status, 0);
        auto it = std::find_if(running.begin(), running.end(),
                               [&](const Child& c) { return c.pid == pid; });
        if (it == running.end())
            return;
        const Child c = *it;
        running.erase(it);
        QByteArray report;
        char buf[512];
        ssize_t n;
        while ((n = ::read(c.fd, buf, sizeof buf)) > 0)
            report.append(buf, n);
        ::close(c.fd);
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
            ++hangs;
            keep(c, QStringLiteral("A hang"));
            return;
        }
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !report.endsWith('\n')) {
            ++crashes;
            keep(c, QStringLiteral("A crash (status %1)").arg(status));
            return;
        }
        const bool wasRefused = report.startsWith("E1");
        (wasRefused ? refused : accepted) += 1;
        (wasRefused ? byKind[c.kind].first : byKind[c.kind].second) += 1;
        const QByteArray steps = report.trimmed();
        for (const QByteArray& step : steps.split(' ')) {
            if (step.size() > 2) {
                ++faults;
                keep(c, QStringLiteral("Finding %1 (c: refused but changed, m: refused without "
                                       "the program's message, l: files left behind, s: bad "
                                       "exit status)")
                            .arg(QString::fromLatin1(step)));
            }
        }
    };

    for (int i = 0; i < count; ++i) {
        const QString file = dir.filePath(QStringLiteral("f%1.zfp").arg(i % 2));
        const Damaged d = damageProject(i % 5 == 0 ? templ : sample, seed, i,
                                        dir.filePath(QStringLiteral("scratch.zfp")));
        while (running.size() >= 2 || std::any_of(running.begin(), running.end(),
                                                  [&](const Child& c) { return c.file == file; }))
            reap();
        for (const QString& left : leftoversOf(file))
            QFile::remove(dir.filePath(left));
        ASSERT_TRUE(writeBytes(file, d.bytes));
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(fds[0]);
            ::alarm(unsigned(timeLimit));
            const QByteArray line = runSteps(file, units, design);
            const ssize_t written = ::write(fds[1], line.constData(), size_t(line.size()));
            ::_exit(written == line.size() ? 0 : 3);
        }
        ::close(fds[1]);
        running.push_back({pid, fds[0], i, d.kind, file, d.bytes});
    }
    while (!running.empty())
        reap();

    QStringList kinds;
    for (const auto& [kind, counts] : byKind)
        kinds << QStringLiteral("%1 %2/%3").arg(kind).arg(counts.first).arg(counts.second);
    reportFigures(QStringLiteral("damaged files (seed %1): %2 tried, %3 refused, %4 accepted, "
                                 "crashes %5, hangs %6, other findings %7")
                      .arg(seed)
                      .arg(count)
                      .arg(refused)
                      .arg(accepted)
                      .arg(crashes)
                      .arg(hangs)
                      .arg(faults));
    reportFigures(QStringLiteral("  refused/accepted by kind: ") +
                  kinds.join(QStringLiteral(", ")));
    EXPECT_EQ(crashes, 0);
    EXPECT_EQ(hangs, 0);
    EXPECT_EQ(faults, 0);
    EXPECT_EQ(refused + accepted + crashes + hangs, count);
}
