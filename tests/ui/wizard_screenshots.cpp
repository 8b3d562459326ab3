// Pictures of the input wizard: every page of a saddle-roof hall with a
// skylight, in every language, written as PNG files for looking at them and
// for the documentation. Run under a display (xvfb-run) from the build:
//   tests/wizard_screenshots OUTDIR [CZ EN ...]
// Each page is written as OUTDIR/wizard-<code>-<page>.png.
#include "common/globals.h"
#include "helphints.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "session/projectsession.h"
#include "wizard/tfrmzinput.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

using namespace zf;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: wizard_screenshots OUTDIR [CODE...]\n");
        return 2;
    }
    const QDir out(args.first());
    QDir().mkpath(out.path());
    QStringList codes = args.mid(1);
    if (codes.isEmpty())
        codes = {QStringLiteral("CZ"), QStringLiteral("EN"), QStringLiteral("GE"),
                 QStringLiteral("PL"), QStringLiteral("RU")};

    initProgramPaths(QStringLiteral(ZEFRANT_PROGRAM_DIR));
    QTemporaryDir tmp;
    TempPath = withTrailingSlash(tmp.path());
    setLanguage(BaseEN);
    ProjectSession session;
    session.setHelpDisplay(false);
    if (!session.start())
        return 1;
    HelpHints hints([&session] { return session.helpDisplay(); });
    TfrmZInput window(session, hints);
    session.commandNew();
    InputWizard& w = session.wizard;

    // A hall as a user enters it.
    w.enterEdit(QStringLiteral("DBEd_ProjectName"), QStringLiteral("Assembly hall North"));
    w.enterEdit(QStringLiteral("DBed_Investor"), QStringLiteral("Example Works Ltd."));
    w.chooseRoofType(RoofType::Saddle);
    w.chooseSkylightType(SkylightType::Type2);
    const std::pair<const char*, double> dims[] = {
        {"DBEd_A", 48},   {"DBEd_B", 24},  {"DBEd_H1", 7},     {"DBEd_H2", 2.5},
        {"DBEd_svA", 30}, {"DBEd_svB", 3}, {"DBEd_svH1", 0.8}, {"DBEd_svH2", 0.6},
        {"DBEd_Ti", 18},  {"DBEd_Te", -15}};
    for (const auto& [edit, value] : dims)
        w.enterEdit(QLatin1String(edit), value);
    Dataset& walls = session.data.tSteny;
    walls.first();
    w.constructions.wallFromCatalog(QStringLiteral("Sandwich panel 100 mm"), 0.42);
    w.constructions.CopyToSameKind();
    walls.first();
    w.constructions.openingFromCatalog(QStringLiteral("Window, double glazing"), 2.8);
    w.constructions.openingFromCatalog(QStringLiteral("Sectional gate"), 2.0);
    walls.first();
    session.openWizard(wizardPageName(tsUvodniText));

    for (const QString& code : codes) {
        session.switchLanguage(baseOfStoredCode(code));
        std::printf("%s tabs %d\n", qPrintable(code),
                    window.pageControl()->tabBar()->sizeHint().width());
        for (int page = 0; page < WizardPageCount; ++page) {
            w.setPage(page);
            if (page == tsStavebniKonstrukce || page == tsRozmeryHaly)
                walls.first();
            for (int i = 0; i < 5; ++i)
                app.processEvents();
            const QString file =
                out.filePath(QStringLiteral("wizard-%1-%2.png").arg(code).arg(page + 1));
            if (!window.grab().save(file))
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        }
    }
    std::printf("%dx%d\n", window.width(), window.height());
    session.files.CloseProject(true);
    return 0;
}
