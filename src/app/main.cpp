#include "startup.h"

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zefrant"));
    QApplication::setOrganizationName(QStringLiteral("Quadrel"));
    QApplication::setDesktopFileName(QStringLiteral("zefrant"));
    zf::Zefrant program;
    if (!program.start(QApplication::arguments().mid(1), {}))
        return 1;
    // For the start-up benchmark: tell when the main window has been shown (the
    // monotonic clock in nanoseconds) and end.
    if (qEnvironmentVariableIsSet("ZEFRANT_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &app, [&app] {
            std::printf("shown %lld\n",
                        static_cast<long long>(
                            std::chrono::steady_clock::now().time_since_epoch().count()));
            std::fflush(stdout);
            app.quit();
        });
    return program.run();
}
