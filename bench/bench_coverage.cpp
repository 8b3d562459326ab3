// The throw zones of 1,000 placed units: the covered share of the floor read
// from the project and computed whole, one unit dragged across the plan (its
// zone and the union followed frame by frame, with the paths of the floor that
// the zones reach and that none reaches), and those paths painted at the
// plan's size. Times are wall-clock medians; the thread's CPU time beside them
// tells a loaded machine from a slow program.
#include "benchutil.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "i18n/texts.h"
#include "storage/zfdata.h"
#include "units/projectunits.h"
#include "units/throwfigure.h"
#include "units/throwzones.h"
#include "units/unittypes.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <chrono>

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

double msSince(std::chrono::steady_clock::time_point a) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - a).count();
}

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

bool line(const char* what, double ms, double cpu, double target) {
    const bool ok = ms < target;
    std::printf("%-46s %8.2f ms  (CPU %6.2f ms, target < %.0f ms)  %s\n", what, ms, cpu, target,
                ok ? "ok" : "OVER");
    return ok;
}

struct Frames {
    double median = 0, p95 = 0;
};
Frames frames(std::vector<double> t) {
    std::sort(t.begin(), t.end());
    return {t[t.size() / 2], t[t.size() * 95 / 100]};
}

struct Layout {
    const char* name;
    std::vector<QVariantList> rows; // tTempTable rows
    int variant;
};

// Places the layout's units on a 200 x 100 m hall by the real placement.
bool place(TZFData& data, ProjectUnits& units, const Layout& layout) {
    data.ClearTable(data.tResults);
    for (const QVariantList& row : layout.rows)
        data.tResults.appendRecord(row);
    if (data.tResults.locate(QStringLiteral("Typ"), QStringLiteral("Destratifikátor K1"))) {
        data.tResults.setValue(QStringLiteral("Group"), QStringLiteral("K1"));
        data.tResults.post();
    }
    UpdateCoverage(data);
    units.setVariantIndex(layout.variant);
    return units.PlaceUnits() == PlaceResult::Placed;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    initProgramPaths(QStringLiteral(ZEFRANT_PROGRAM_DIR));
    setLanguage(BaseEN);
    YesDialogs dialogs;
    setDialogs(&dialogs);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("coverage.zfp"));
    QFile::copy(TemplatePath, file);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    TZFData data;
    data.startUp();
    data.openProjectConnection(file);
    data.OpenProjectTables();
    Dataset& p = data.tADOProject;
    p.setValue(QStringLiteral("Stena_A"), 200.0);
    p.setValue(QStringLiteral("Stena_B"), 100.0);
    p.setValue(QStringLiteral("Vyska_jednotek"), 4.0);
    p.setValue(QStringLiteral("Vyska_destrat"), 8.0);
    p.setValue(QStringLiteral("Topny_vykon"), 30000000.0);
    p.post();
    TProject project;
    project.StenaA = 200;
    project.StenaB = 100;
    ProjectUnits units(data, project);
    units.setHallFromProject();

    const QString ax = QStringLiteral("Brisant AX 30"), rd = QStringLiteral("Brisant RD 100");
    const QString mk = QStringLiteral("MK 50 - E"), k1 = QStringLiteral("Destratifikátor K1");
    const QVariant none;
    const std::vector<Layout> layouts = {
        // The plan of the project window's benchmark: 700 units of 20 m on the
        // two long walls, 200 MK units and 100 destratifiers inside.
        {"the drag benchmark's plan (700 zones of 20 m)",
         {{1, ax, 700, 0, 29.6, 17.8, 2900.0, 450.0, QStringLiteral("20")},
          {2, mk, 200, 0, 49.5, 29.7, 5000.0, 900.0, QString()},
          {3, k1, 100, 0, none, none, 4500.0, 280.0, QString()}},
         0},
        // Every unit with a zone: 1,000 of 35 m, 0.4 m apart on the long walls.
        {"1,000 zones of 35 m on two walls",
         {{1, rd, 1000, 0, 95.0, 50.0, 9000.0, 1200.0, QStringLiteral("35-45")}},
         0},
        // 1,000 zones of 35 m around all four walls, the corners included.
        {"1,000 zones of 35 m around the walls",
         {{1, rd, 1000, 0, 95.0, 50.0, 9000.0, 1200.0, QStringLiteral("35-45")}},
         2},
    };

    bool ok = true;
    for (const Layout& layout : layouts) {
        if (!place(data, units, layout)) {
            std::printf("the placement failed\n");
            return 3;
        }
        std::printf("%s: %d units on the plan\n", layout.name, units.plan.count());
        CoverageFigures f;
        const double ms = bench::medianMs(7, [&] { f = projectThrowCoverage(data, units.plan); });
        const double cpu0 = cpuMs();
        for (int r = 0; r < 5; ++r)
            f = projectThrowCoverage(data, units.plan);
        const double cpu = (cpuMs() - cpu0) / 5;
        std::printf("  floor %.2f m2, covered %.2f m2 (%.2f %%) by %zu zones, spread %g\n",
                    f.floorArea, f.coveredArea, f.coveredPercent, f.units.size(), f.spreadDeg);
        // As the units page, the plan's status bar and the report write it.
        const ThrowFigure figure = throwFigure(f);
        std::printf("  %s%s\n", qPrintable(figure.text), figure.low ? " (low)" : "");
        ok &= line("  coverage read from the project and computed", ms, cpu, 20);

        // The drag: a unit in the middle of the plan's list, with a zone,
        // follows the pointer towards the middle of the hall, turning; each
        // frame moves its zone, takes the figure and makes the paths of the
        // floor that the zones reach and that none reaches.
        ThrowCoverage coverage;
        coverage.setFloor(units.plan.hallLength(), units.plan.hallWidth());
        coverage.setUnits(throwUnitsFromPlan(units.plan, data.tJednotky));
        int index = coverage.count() / 2;
        while (index > 0 && !coverage.unit(index).hasZone())
            --index;
        const ThrowUnit start = coverage.unit(index);
        const double toX = coverage.floorLength() / 2 - start.x;
        const double toY = coverage.floorWidth() / 2 - start.y;
        std::vector<double> frame, frameCpu;
        QPainterPath reached, rest;
        for (int i = 1; i <= 120; ++i) {
            const auto a = std::chrono::steady_clock::now();
            const double c = cpuMs();
            coverage.moveUnit(index, start.x + toX * i / 120, start.y + toY * i / 120,
                              start.angleDeg + i);
            volatile double figure = coverage.coveredPercent();
            (void)figure;
            reached = coverage.coveredPath();
            rest = coverage.uncoveredPath();
            frame.push_back(msSince(a));
            frameCpu.push_back(cpuMs() - c);
        }
        const Frames m = frames(frame), mc = frames(frameCpu);
        std::printf("  drag frames: median %.2f ms, 95th %.2f ms\n", m.median, m.p95);
        ok &= line("  drag frame: zone, figure and paths (95th)", m.p95, mc.p95, 8);

        // The two paths painted, antialiased, at 1920 x 1080: the reached floor
        // translucent, the rest hatched.
        QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
        QTransform toPixels;
        const double scale = 1800.0 / 202;
        toPixels.translate(60, 1000);
        toPixels.scale(scale, -scale);
        const QPainterPath reachedPx = toPixels.map(reached), restPx = toPixels.map(rest);
        const double paintMs = bench::medianMs(7, [&] {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 200, 0, 60));
            painter.drawPath(reachedPx);
            painter.setBrush(QBrush(QColor(160, 160, 160, 90), Qt::BDiagPattern));
            painter.drawPath(restPx);
        });
        std::printf("  painting the reached and the unreached floor at 1920 x 1080: %.2f ms\n",
                    paintMs);
        // Each zone's own path, translucent, as a view in the units' colours
        // would: each pixel is blended once per zone over it.
        std::vector<QPainterPath> zonePaths;
        for (int i = 0; i < coverage.count(); ++i) {
            if (const ThrowZone* z = coverage.zone(i))
                zonePaths.push_back(toPixels.map(z->path()));
        }
        const double zonesMs = bench::medianMs(3, [&] {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 200, 0, 60));
            for (const QPainterPath& z : zonePaths)
                painter.drawPath(z);
        });
        std::printf("  painting the %zu zones one by one at 1920 x 1080: %.2f ms\n",
                    zonePaths.size(), zonesMs);
    }
    data.CloseProjectTables();
    setDialogs(nullptr);
    return ok ? 0 : 3;
}
