// The large project of the report benchmark (all 51 surfaces shown, 2,000
// openings, 300 placed units) to a DXF drawing and to an xlsx workbook, each
// from the open project to the written file.
#include "benchutil.h"
#include "building/buildingmodel.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "exchange/exchange.h"
#include "i18n/texts.h"
#include "storage/zfdata.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

using namespace zf;

namespace {

void fillProject(TZFData& data) {
    TProject project;
    BuildingModel building(data, project);
    building.GenerateWallRecords(-1);
    Dataset& walls = data.tSteny;
    walls.setFiltered(false);
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
    for (int i = 0; i < 2000; ++i) {
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

    // Every tenth unit a destratifier, the others warm-air units with a throw.
    Dataset& units = data.tJednotky;
    for (int i = 0; i < 300; ++i) {
        units.append();
        units.setValue(QStringLiteral("IDJednotky"), i + 1);
        units.setValue(QStringLiteral("ObjType"), i % 10 == 9 ? 2 : 0);
        units.setValue(QStringLiteral("Typ"), i % 10 == 9 ? QStringLiteral("Destratifikátor K2")
                                                          : QStringLiteral("Brisant AX 30"));
        units.setValue(QStringLiteral("X"), 2.0 + (i % 20) * 5.8);
        units.setValue(QStringLiteral("Y"), 2.0 + (i / 20) * 3.8);
        units.setValue(QStringLiteral("Z"), 4.0);
        units.setValue(QStringLiteral("Uhel"), (i * 45) % 360);
        units.setValue(QStringLiteral("Tep_vykon"), 30);
        units.setValue(QStringLiteral("Dosah"), QStringLiteral("20"));
        units.setValue(QStringLiteral("Umisteni_textEN"),
                       QStringLiteral("Cantilever fixed + hinged"));
        units.setValue(QStringLiteral("Odvod_spalin_textEN"),
                       QStringLiteral("Horizontal - option 1"));
        units.setValue(QStringLiteral("Privod_vzduchu_textEN"), QStringLiteral("From the hall"));
        units.setValue(QStringLiteral("Zpusob_regulace_textEN"), QStringLiteral("Modulated"));
        units.post();
    }
}

bool measure(const char* what, const std::function<bool()>& write, const QString& out,
             double targetMs) {
    bool ok = true;
    const double ms = bench::medianMs(5, [&] { ok = write() && ok; });
    std::printf("%-44s %9.1f ms  %7.0f kB  (target < %.0f ms)  %s\n", what, ms,
                QFileInfo(out).size() / 1024.0, targetMs, ok && ms < targetMs ? "ok" : "OVER");
    return ok && ms < targetMs;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    initProgramPaths(QStringLiteral(ZEFRANT_PROGRAM_DIR));
    setLanguage(BaseEN);
    QTemporaryDir dir;
    TempPath = withTrailingSlash(dir.path());
    const QString file = dir.filePath(QStringLiteral("large.zfp"));
    QFile::copy(TemplatePath, file);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    TZFData data;
    data.startUp();
    data.openProjectConnection(file);
    data.OpenProjectTables();
    fillProject(data);

    const QString dxf = dir.filePath(QStringLiteral("large.dxf"));
    const QString xlsx = dir.filePath(QStringLiteral("large.xlsx"));
    bool ok = measure(
        "large project to DXF", [&] { return exportPlanDxf(data, BaseEN, dxf); }, dxf, 1000);
    ok = measure(
             "large project to xlsx", [&] { return exportProjectWorkbook(data, BaseEN, xlsx); },
             xlsx, 1000) &&
         ok;
    data.CloseProjectTables();
    return ok ? 0 : 3;
}
