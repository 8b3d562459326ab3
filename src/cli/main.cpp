#include "commands.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    // The report and the plan picture need fonts, hence a GUI application; the
    // tool never shows a window, so it runs without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return zf::runCli(QCoreApplication::arguments().mid(1));
}
