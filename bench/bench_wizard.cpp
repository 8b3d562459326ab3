// The input wizard's finish step (validation, losses, required outputs, unit
// types table, costs, as one transaction) for a large project (every visible
// surface with 40 openings, 680 in all) and a typical one (10 openings), on the
// disk and on a RAM disk, with the synced writes each finish costs.
#include "benchutil.h"
#include "common/globals.h"
#include "i18n/texts.h"
#include "session/projectsession.h"
#include "storage/syncstats.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

using namespace zf;

namespace {

struct Result {
    double ms = 0;
    double syncs = 0;
};

Result finishMs(int openingsPerSurface, int maxOpenings) {
    ProjectSession s;
    s.setHelpDisplay(false);
    s.start();
    InputWizard& wizard = SessionProbe(s).wizard();
    s.commandNew();
    wizard.chooseRoofType(RoofType::Saddle);
    wizard.chooseSkylightType(SkylightType::Type2);
    wizard.enterEdit(QStringLiteral("DBEd_svA"), 10.0);
    wizard.enterEdit(QStringLiteral("DBEd_svB"), 3.0);
    wizard.enterEdit(QStringLiteral("DBEd_svH1"), 1.0);
    wizard.enterEdit(QStringLiteral("DBEd_svH2"), 0.5);
    int added = 0;
    {
        Database::Transaction transaction(SessionProbe(s).data().projectConnection());
        Dataset& walls = SessionProbe(s).data().tSteny;
        for (walls.first(); !walls.eof(); walls.next()) {
            walls.setValue(QStringLiteral("k"), 0.5);
            walls.post();
            for (int i = 0; i < openingsPerSurface && added < maxOpenings; ++i, ++added)
                wizard.constructions.openingFromCatalog(QStringLiteral("Window %1").arg(i), 1.4);
            SessionProbe(s).data().tStavOtvory.last();
            SessionProbe(s).data().tStavOtvory.setValue(QStringLiteral("Vyska"), 1.0);
            SessionProbe(s).data().tStavOtvory.setValue(QStringLiteral("Sirka"), 1.0);
            SessionProbe(s).data().tStavOtvory.post();
        }
        transaction.commit();
    }
    std::printf("  %d visible surfaces, %d openings\n", SessionProbe(s).data().tSteny.recordCount(), added);
    const qint64 before = syncCounts().total();
    const int runs = 15;
    Result r;
    r.ms = bench::medianMs(
        runs, [&] { s.finishWizard(false); }, [&] { s.openWizard(); });
    r.syncs = double(syncCounts().total() - before) / runs;
    SessionProbe(s).files().CloseProject(true);
    return r;
}

bool run(const char* where, const QString& folder) {
    QTemporaryDir dir(folder + QStringLiteral("/zefrant-bench-XXXXXX"));
    if (!dir.isValid()) {
        std::printf("%s: no temporary folder in %s, skipped\n", where, qPrintable(folder));
        return true;
    }
    TempPath = withTrailingSlash(dir.path());
    std::printf("%s (%s)\nlarge project:\n", where, qPrintable(folder));
    const Result large = finishMs(40, 1 << 30);
    std::printf("  finish %8.2f ms, %.1f synced writes  (target < 50 ms)  %s\n", large.ms,
                large.syncs, large.ms < 50 ? "ok" : "OVER");
    std::printf("typical project:\n");
    const Result typical = finishMs(10, 10);
    std::printf("  finish %8.2f ms, %.1f synced writes  (target < 10 ms)  %s\n", typical.ms,
                typical.syncs, typical.ms < 10 ? "ok" : "OVER");
    return large.ms < 50 && typical.ms < 10;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    initProgramPaths(QStringLiteral(ZEFRANT_PROGRAM_DIR));
    setLanguage(BaseEN);
    // The disk the build lives on, and the RAM disk.
    const bool disk = run("disk", QStringLiteral(ZEFRANT_PROGRAM_DIR));
    run("RAM disk", QStringLiteral("/dev/shm"));
    return disk ? 0 : 3;
}
