// The report of a large project (all 51 surfaces shown, 2,000 openings, 300
// placed units) and of a typical one (17 surfaces, 6 openings, 5 units) to PDF,
// and the large one to RTF, each from RunReport to the written file.
#include "benchutil.h"
#include "building/buildingmodel.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "i18n/texts.h"
#include "report/runreport.h"
#include "storage/zfdata.h"
#include "units/projectunits.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

using namespace zf;

namespace {

class Host final : public ReportHost {
public:
    explicit Host(ProjectUnits& units) : units_(units) {}
    void postPendingEdits() override {}
    bool writePlanPicture(const QString& path, const QLocale& locale) override {
        return units_.ExportPlanMetafile(path, locale);
    }

private:
    ProjectUnits& units_;
};

// A project with the given surfaces shown, openings spread over them and units
// placed in a grid.
void fillProject(TZFData& data, bool large) {
    TProject project;
    BuildingModel building(data, project);
    building.GenerateWallRecords(-1);
    Dataset& walls = data.tSteny;
    if (large) {
        walls.setFiltered(false);
    } else {
        walls.setFilter(QStringLiteral("VariantaHaly = 'hB' OR VariantaHaly = 'sB'"));
        walls.setFiltered(true);
    }
    walls.refresh();
    std::vector<int> ids;
    for (walls.first(); !walls.eof(); walls.next()) {
        ids.push_back(walls.asInteger(QStringLiteral("IDSteny")));
        walls.setValue(QStringLiteral("Material"), QStringLiteral("Sandwich panel PUR 100 mm"));
        walls.setValue(QStringLiteral("k"), 0.22);
        walls.setValue(QStringLiteral("Plocha"), 120.0);
        walls.setValue(QStringLiteral("Ztraty_konstrukci_kW"), 0.85);
        walls.setValue(QStringLiteral("Ztraty_otvory_kW"), 0.4);
        walls.post();
    }
    walls.first();
    Dataset& openings = data.tStavOtvory;
    openings.setMaster(nullptr, QString(), QString());
    openings.refresh();
    const int openingCount = large ? 2000 : 6;
    for (int i = 0; i < openingCount; ++i) {
        openings.append();
        openings.setValue(QStringLiteral("IDSteny"), ids[size_t(i) % ids.size()]);
        openings.setValue(QStringLiteral("Nazev"),
                          QStringLiteral("Window, PVC, double glazing %1").arg(i));
        openings.setValue(QStringLiteral("k"), 1.4);
        openings.setValue(QStringLiteral("Vyska"), 1.5);
        openings.setValue(QStringLiteral("Sirka"), 2.0);
        openings.setValue(QStringLiteral("Pocet"), 2);
        openings.setValue(QStringLiteral("Ztrata_kW"), 0.277);
        openings.post();
    }
    openings.setMaster(&data.dsSteny, QStringLiteral("IDSteny"), QStringLiteral("IDSteny"));
    openings.refresh();

    Dataset& p = data.tADOProject;
    p.setValue(QStringLiteral("ProjectName_text"), QStringLiteral("Benchmark hall"));
    p.setValue(QStringLiteral("Stena_A"), 120.0);
    p.setValue(QStringLiteral("Stena_B"), 60.0);
    p.setValue(QStringLiteral("Stena_H1"), 8.0);
    p.setValue(QStringLiteral("Typ_strechy_enum"), 1);
    p.setValue(QStringLiteral("Typ_svetliku_enum"), 2);
    p.setValue(QStringLiteral("Vytapeni_bool"), true);
    p.setValue(QStringLiteral("Vetrani_bool"), true);
    p.setValue(QStringLiteral("Topny_vykon"), 900000.0);
    p.post();

    Dataset& units = data.tJednotky;
    const int unitCount = large ? 300 : 5;
    for (int i = 0; i < unitCount; ++i) {
        units.append();
        units.setValue(QStringLiteral("IDJednotky"), i + 1);
        units.setValue(QStringLiteral("ObjType"), i % 10 == 9 ? 2 : 0);
        units.setValue(QStringLiteral("Typ"), QStringLiteral("Brisant AX 30"));
        units.setValue(QStringLiteral("X"), 2.0 + (i % 20) * 5.8);
        units.setValue(QStringLiteral("Y"), 2.0 + (i / 20) * 3.8);
        units.setValue(QStringLiteral("Z"), 4.0);
        units.setValue(QStringLiteral("Uhel"), (i * 45) % 360);
        units.setValue(QStringLiteral("Umisteni_textEN"),
                       QStringLiteral("Cantilever fixed + hinged"));
        units.setValue(QStringLiteral("Odvod_spalin_textEN"),
                       QStringLiteral("Horizontal - option 1"));
        units.setValue(QStringLiteral("Privod_vzduchu_textEN"), QStringLiteral("From the hall"));
        units.setValue(QStringLiteral("Zpusob_regulace_textEN"), QStringLiteral("Modulated"));
        units.post();
    }
}

double measure(const char* what, TZFData& data, ReportKind kind, const QString& out,
               double targetMs) {
    TProject project;
    project.StenaA = 120;
    project.StenaB = 60;
    project.StenaH1 = 8;
    ProjectUnits units(data, project);
    units.showProject();
    Host host(units);
    int pages = 0;
    const double ms = bench::medianMs(5, [&] {
        const ReportRunResult r = RunReport(data, host, kind, out);
        pages = r.pages;
    });
    std::printf("%-44s %9.1f ms  %3d pages  (target < %.0f ms)  %s\n", what, ms, pages, targetMs,
                ms < targetMs ? "ok" : "OVER");
    return ms < targetMs;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    initProgramPaths(QStringLiteral(ZEFRANT_PROGRAM_DIR));
    setLanguage(BaseEN);
    QTemporaryDir dir;
    TempPath = withTrailingSlash(dir.path());
    bool ok = true;
    for (bool large : {false, true}) {
        const QString file =
            dir.filePath(large ? QStringLiteral("large.zfp") : QStringLiteral("typical.zfp"));
        QFile::copy(TemplatePath, file);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        TZFData data;
        data.startUp();
        data.openProjectConnection(file);
        data.OpenProjectTables();
        fillProject(data, large);
        if (large) {
            ok = measure("large project to PDF", data, ReportKind::Pdf, dir.filePath("large.pdf"),
                         2000) &&
                 ok;
            measure("large project to RTF", data, ReportKind::Rtf, dir.filePath("large.rtf"), 2000);
        } else {
            ok = measure("typical project to PDF", data, ReportKind::Pdf,
                         dir.filePath("typical.pdf"), 300) &&
                 ok;
        }
        data.CloseProjectTables();
    }
    return ok ? 0 : 3;
}
