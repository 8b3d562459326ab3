// From process start to the main window shown (offscreen), for zefrant and for a
// minimal Qt Widgets program, alternating runs in the same process.
#include "benchutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir config;
    {
        QSettings s(config.filePath(QStringLiteral("Quadrel/Zefrant.ini")), QSettings::IniFormat);
        s.setValue(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/Language"),
                   QStringLiteral("EN"));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("ZEFRANT_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    // From just before the process is started to the moment it reports its main
    // window shown (both on the monotonic clock); its exit is not counted.
    auto runOnce = [&](const QString& program) {
        QProcess p;
        p.setProcessEnvironment(env);
        const auto start = std::chrono::steady_clock::now();
        p.start(program, {});
        p.waitForFinished(30000);
        const QByteArray out = p.readAllStandardOutput();
        const qsizetype at = out.indexOf("shown ");
        if (p.exitCode() != 0 || at < 0) {
            std::fprintf(stderr, "%s ended with %d\n", qPrintable(program), p.exitCode());
            return 0.0;
        }
        const long long shown = out.mid(at + 6).trimmed().toLongLong();
        return double(shown - start.time_since_epoch().count()) / 1e6;
    };
    auto median = [&](const QString& program, int runs) {
        std::vector<double> t;
        for (int i = 0; i < runs; ++i)
            t.push_back(runOnce(program));
        std::sort(t.begin(), t.end());
        return t[t.size() / 2];
    };
    const QString zefrant = QStringLiteral(ZEFRANT_PROGRAM_DIR "/zefrant");
    const QString minimal = QStringLiteral(ZEFRANT_PROGRAM_DIR "/bench/minimal_window");
    runOnce(zefrant); // warm the file cache
    runOnce(minimal);
    const int runs = 11;
    const double minimalMs = median(minimal, runs);
    const double zefrantMs = median(zefrant, runs);
    std::printf("minimal Qt main window  %8.1f ms\n", minimalMs);
    std::printf("zefrant main window     %8.1f ms  %.2f x  (target <= 1.5 x)  %s\n", zefrantMs,
                zefrantMs / minimalMs, zefrantMs / minimalMs <= 1.5 ? "ok" : "OVER");
    return zefrantMs / minimalMs <= 1.5 ? 0 : 3;
}
