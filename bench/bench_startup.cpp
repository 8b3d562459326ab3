// From process start to the main window shown (offscreen), for zefrant and for a
// minimal Qt Widgets program, alternating runs in the same process.
#include "benchutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

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
    auto runOnce = [&](const QString& program) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, {});
        p.waitForFinished(30000);
        if (p.exitCode() != 0)
            std::fprintf(stderr, "%s ended with %d\n", qPrintable(program), p.exitCode());
    };
    const QString zefrant = QStringLiteral(ZEFRANT_PROGRAM_DIR "/zefrant");
    const QString minimal = QStringLiteral(ZEFRANT_PROGRAM_DIR "/bench/minimal_window");
    runOnce(zefrant); // warm the file cache
    runOnce(minimal);
    const int runs = 11;
    const double minimalMs = zf::bench::medianMs(runs, [&] { runOnce(minimal); });
    const double zefrantMs = zf::bench::medianMs(runs, [&] { runOnce(zefrant); });
    std::printf("minimal Qt main window  %8.1f ms\n", minimalMs);
    std::printf("zefrant main window     %8.1f ms  %.2f x  (target <= 1.5 x)  %s\n", zefrantMs,
                zefrantMs / minimalMs, zefrantMs / minimalMs <= 1.5 ? "ok" : "OVER");
    return zefrantMs / minimalMs <= 1.5 ? 0 : 3;
}
