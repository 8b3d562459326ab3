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
#include <QScreen>
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
    // The design is entered in the first language, as a user of it would.
    setLanguage(baseOfStoredCode(codes.first()));
    ProjectSession session;
    session.setHelpDisplay(false);
    if (!session.start())
        return 1;
    HelpHints hints([&session] { return session.helpDisplay(); });
    TfrmZInput window(session, hints);
    session.switchLanguage(LanguageBase);
    session.commandNew();
    InputWizard& w = session.wizard();

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
    Dataset& walls = SessionProbe(session).data().tSteny;
    w.chooseRegion(w.state().regionList.value(1));
    // Constructions and openings from the catalog of the language.
    Dataset& catalog = SessionProbe(session).data().tMaterialy;
    auto uValue = [&](const QString& name) {
        return catalog.lookup(QStringLiteral("Material"), name, QStringLiteral("k")).toDouble();
    };
    // A wall and a roof construction, each copied to its kind; the floor is left
    // without one (its cells are red).
    for (const int row : {0, 5}) {
        walls.moveToRow(row);
        const QString name = w.constructions.materialPickList().value(3);
        w.constructions.wallFromCatalog(name, uValue(name));
        w.constructions.CopyToSameKind();
    }
    walls.first();
    const QStringList openings = w.constructions.openingPickList();
    Dataset& o = SessionProbe(session).data().tStavOtvory;
    const std::tuple<QString, double, double, int> sizes[] = {
        {openings.value(0), 2.1, 1.0, 2}, {openings.value(openings.size() / 2), 1.5, 2.4, 6}};
    for (const auto& [name, height, width, count] : sizes) {
        w.constructions.openingFromCatalog(name, uValue(name));
        o.setValue(QStringLiteral("Vyska"), height);
        o.setValue(QStringLiteral("Sirka"), width);
        o.setValue(QStringLiteral("Pocet"), count);
        o.post();
    }
    walls.first();
    w.chooseWorkClass(3);
    w.choosePosture(Posture::Sitting);
    session.openWizard(wizardPageName(tsUvodniText));

    auto shoot = [&](const QString& code, const QString& name) {
        for (int i = 0; i < 5; ++i)
            app.processEvents();
        const QString file = out.filePath(QStringLiteral("wizard-%1-%2.png").arg(code, name));
        if (!window.grab().save(file))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    };

    for (const QString& code : codes) {
        session.switchLanguage(baseOfStoredCode(code));
        for (int page = 0; page < WizardPageCount; ++page) {
            w.setPage(page);
            shoot(code, QString::number(page + 1));
        }
        // The other ways of the heat loss, and the help balloon.
        w.setPage(tsTepelneZtraty);
        w.chooseLossWay(LossWay::Estimate);
        w.chooseCladding(CladdingClass::Medium);
        shoot(code, QStringLiteral("6-estimate"));
        w.chooseLossWay(LossWay::OwnValue);
        shoot(code, QStringLiteral("6-own"));
        w.chooseLossWay(LossWay::Calculation);
        w.setPage(tsOtopneObdobi);
        session.setHelpDisplay(true);
        app.processEvents();
        if (auto* edit = window.findChild<QLineEdit*>(QStringLiteral("DBEd_Tes"))) {
            window.activateWindow();
            edit->setFocus();
            for (int i = 0; i < 5; ++i)
                app.processEvents();
            // The balloon is a window of its own: the screen's picture shows it.
            QScreen* screen = window.screen();
            const QRect r = window.frameGeometry().united(hints.balloon()->geometry());
            const QString file = out.filePath(QStringLiteral("wizard-%1-help.png").arg(code));
            if (screen && hints.balloon()->isVisible())
                screen->grabWindow(0, r.x(), r.y(), r.width(), r.height()).save(file);
        }
        session.setHelpDisplay(false);
    }
    std::printf("%dx%d\n", window.width(), window.height());
    SessionProbe(session).files().CloseProject(true);
    return 0;
}
