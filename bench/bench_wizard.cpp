// The input wizard's finish step (validation, losses, required outputs, unit
// types table, costs) for a large project (every visible surface with 40
// openings) and a typical one (10 openings).
#include "benchutil.h"
#include "common/globals.h"
#include "i18n/texts.h"
#include "storage/projectfiles.h"
#include "wizard/inputwizard.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace zf;

namespace {

struct Hooks : ProjectHooks {
    InputWizard* wizard = nullptr;
    void loadProjectIntoWizard(bool isNew) override { wizard->LoadProjectIntoWizard(isNew); }
};

double commitMs(int openingsPerSurface, int maxOpenings) {
    TZFData data;
    data.startUp();
    data.openMaterials();
    ProjectFiles files(data);
    TProject project;
    InputWizard wizard(data, files, project);
    wizard.helpOn = false;
    Hooks hooks;
    hooks.wizard = &wizard;
    files.setHooks(&hooks);
    files.commandNew();
    wizard.chooseRoofType(1);
    wizard.chooseSkylightType(2);
    wizard.enterEdit(QStringLiteral("DBEd_svA"), 10.0);
    wizard.enterEdit(QStringLiteral("DBEd_svB"), 3.0);
    wizard.enterEdit(QStringLiteral("DBEd_svH1"), 1.0);
    wizard.enterEdit(QStringLiteral("DBEd_svH2"), 0.5);
    int added = 0;
    {
        Database::Batch batch(data.ADOConnectionProject);
        for (data.tSteny.first(); !data.tSteny.eof(); data.tSteny.next()) {
            data.tSteny.setValue(QStringLiteral("k"), 0.5);
            data.tSteny.post();
            for (int i = 0; i < openingsPerSurface && added < maxOpenings; ++i, ++added)
                wizard.openingFromCatalog(QStringLiteral("Window %1").arg(i), 1.4);
            data.tStavOtvory.last();
            data.tStavOtvory.setValue(QStringLiteral("Vyska"), 1.0);
            data.tStavOtvory.setValue(QStringLiteral("Sirka"), 1.0);
            data.tStavOtvory.post();
        }
    }
    std::printf("  %d visible surfaces, %d openings\n", data.tSteny.recordCount(), added);
    const double ms = bench::medianMs(
        15, [&] { wizard.CommitWizard(false); }, [&] { wizard.open(); });
    files.CloseProject(true);
    files.atExit();
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    initProgramPaths(QStringLiteral(ZEFRANT_PROGRAM_DIR));
    QTemporaryDir dir;
    TempPath = withTrailingSlash(dir.path());
    setLanguage(BaseEN);
    std::printf("large project:\n");
    const double large = commitMs(40, 1 << 30);
    std::printf("  CommitWizard %8.2f ms  (target < 100 ms)  %s\n", large,
                large < 100 ? "ok" : "OVER");
    std::printf("typical project:\n");
    const double typical = commitMs(10, 10);
    std::printf("  CommitWizard %8.2f ms  (target < 10 ms)  %s\n", typical,
                typical < 10 ? "ok" : "OVER");
    return large < 100 && typical < 10 ? 0 : 3;
}
