#include "startup.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zefrant"));
    QApplication::setOrganizationName(QStringLiteral("Quadrel"));
    QApplication::setDesktopFileName(QStringLiteral("zefrant"));
    zf::Zefrant program;
    if (!program.start(QApplication::arguments().mid(1), {}))
        return 1;
    // For the start-up benchmark: end as soon as the main window has been shown.
    if (qEnvironmentVariableIsSet("ZEFRANT_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &app, &QApplication::quit);
    return program.run();
}
