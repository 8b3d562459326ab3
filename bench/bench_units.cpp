// Placing 1,000 chosen units in one run, and painting a plan of 1,000 symbols
// onto an image of 1920 x 1080.
#include "benchutil.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "i18n/texts.h"
#include "storage/zfdata.h"
#include "units/projectunits.h"
#include "units/unittypes.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

using namespace zf;

namespace {
class YesDialogs final : public Dialogs {
public:
    int messageBox(const QString&, const QString&, int flags) override {
        return (flags & 0x0f) ? IdYes : IdOk;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const SaveDialogOptions&) override { return {}; }
};
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    initProgramPaths(QStringLiteral(ZEFRANT_PROGRAM_DIR));
    setLanguage(BaseEN);
    YesDialogs dialogs;
    setDialogs(&dialogs);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("units.zfp"));
    QFile::copy(TemplatePath, file);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    TZFData data;
    data.startUp();
    data.openProjectConnection(file);
    data.OpenProjectTables();
    Dataset& p = data.tADOProject;
    p.setValue(QStringLiteral("Stena_A"), 200.0);
    p.setValue(QStringLiteral("Stena_B"), 100.0);
    p.setValue(QStringLiteral("Topny_vykon"), 30000000.0);
    p.post();
    data.tResults.appendRecord(
        {1, QStringLiteral("Brisant AX 30"), 700, 0, 29.6, 17.8, 2900.0, 450.0});
    data.tResults.appendRecord({2, QStringLiteral("MK 50 - E"), 200, 0, 49.5, 29.7, 5000.0, 900.0});
    data.tResults.appendRecord(
        {3, QStringLiteral("Destratifikátor K1"), 100, 0, QVariant(), QVariant(), 4500.0, 280.0});
    data.tResults.setValue(QStringLiteral("Group"), QStringLiteral("K1"));
    data.tResults.post();
    UpdateCoverage(data);

    TProject project;
    project.StenaA = 200;
    project.StenaB = 100;
    ProjectUnits units(data, project);
    units.setHallFromProject();
    const double placeMs = bench::medianMs(7, [&] { units.PlaceUnits(); });
    std::printf("placing %d units            %8.2f ms  (target < 100 ms)  %s\n", units.plan.count(),
                placeMs, placeMs < 100 ? "ok" : "OVER");
    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    units.plan.setViewportSize(image.size());
    units.plan.ZoomToDefault();
    const double paintMs = bench::medianMs(15, [&] {
        QPainter painter(&image);
        units.plan.paint(painter);
    });
    std::printf("painting %d symbols 1920x1080 %8.2f ms  (target < 16 ms)  %s\n",
                units.plan.count(), paintMs, paintMs < 16 ? "ok" : "OVER");
    data.CloseProjectTables();
    setDialogs(nullptr);
    return placeMs < 100 && paintMs < 16 ? 0 : 3;
}
