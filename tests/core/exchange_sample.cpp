// exchange_sample [--lang CZ|EN|GE|PL|RU] FILE OUT.dxf OUT.xlsx: the plan and the
// workbook of a project file, as the tool's plan and sheet commands make them,
// for the samples under docs/samples. FILE is not changed.
#include "clidialogs.h"
#include "common/globals.h"
#include "common/resultcodes.h"
#include "exchange/exchange.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "session/projectsession.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

using namespace zf;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int base = BaseEN;
    if (args.size() > 1 && args[0] == QLatin1String("--lang")) {
        base = baseOfStoredCode(args[1]);
        args = args.mid(2);
    }
    if (args.size() != 3) {
        std::fprintf(stderr,
                     "usage: exchange_sample [--lang CZ|EN|GE|PL|RU] FILE OUT.dxf OUT.xlsx\n");
        return 2;
    }
    initProgramPaths(
        QFileInfo(app.applicationDirPath() + QStringLiteral("/..")).canonicalFilePath());
    CliDialogs dialogs(stderr);
    setDialogs(&dialogs);
    setLanguage(base);
    int rc = 1;
    {
        ProjectSession session;
        session.setHelpDisplay(false);
        if (session.start() &&
            session.openFile(QFileInfo(args[0]).absoluteFilePath()) == ResultOk) {
            const bool ok = exportPlanDxf(session.data, LanguageBase, args[1]) &&
                            exportProjectWorkbook(session.data, LanguageBase, args[2]);
            rc = ok ? 0 : 1;
            session.files.RevertFromBackup(false);
            session.files.CloseProject(true);
        }
    }
    setDialogs(nullptr);
    return rc;
}
