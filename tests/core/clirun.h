#pragma once

// Runs the real zefrant-cli as a user would. ZEFRANT_CLI in the environment
// names another build of it to run the same tests against.
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>

namespace zf::test {

struct CliRun {
    int status = -1;
    bool finished = false; // false: killed after the time limit
    QByteArray out, err;
    qint64 ms = 0;
};

inline QString cliProgram() {
    return qEnvironmentVariable("ZEFRANT_CLI", QStringLiteral(ZEFRANT_CLI));
}

inline CliRun
runCliProcess(const QStringList& args, int timeoutMs = 60000,
              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(cliProgram(), args);
    CliRun r;
    r.finished = p.waitForFinished(timeoutMs);
    if (!r.finished) {
        p.kill();
        p.waitForFinished();
    }
    r.ms = t.elapsed();
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

} // namespace zf::test
