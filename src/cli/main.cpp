#include "commands.h"

#include <QGuiApplication>

namespace {

QtMessageHandler qtHandler = nullptr;

// Standard error carries the tool's message boxes; the platform's note that it
// made up a runtime folder for a run without a desktop session is left out.
void messages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    qtHandler(type, context, text);
}

} // namespace

int main(int argc, char** argv) {
    // The report and the plan picture need fonts, hence a GUI application; the
    // tool never shows a window, so it runs without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(messages);
    QGuiApplication app(argc, argv);
    return zf::runCli(QCoreApplication::arguments().mid(1));
}
