// The project window on a plan of 1,000 units: placing them and showing the
// plan, a unit dragged across the plan through the widget (every frame handled
// and painted), without and with the throw zones, and the switches between the
// four pages.
#include "benchutil.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "i18n/texts.h"
#include "mainwindow.h"
#include "projectwindow/planpage.h"
#include "projectwindow/projectwindow.h"
#include "storage/zfdata.h"
#include "units/unittypes.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

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

// A 200 x 100 m hall whose unit types ask for 700 warm-air units of 20-26 m
// throw, 200 MK units and 100 destratifiers.
void prepare(const QString& file) {
    TZFData data;
    data.startUp();
    data.openProjectConnection(file);
    data.OpenProjectTables();
    Dataset& p = data.tADOProject;
    p.setValue(QStringLiteral("Stena_A"), 200.0);
    p.setValue(QStringLiteral("Stena_B"), 100.0);
    p.setValue(QStringLiteral("Stena_H1"), 8.0);
    p.setValue(QStringLiteral("Topny_vykon"), 30000000.0);
    p.post();
    data.tResults.appendRecord({1, QStringLiteral("Brisant AX 30"), 700, 0, 29.6, 17.8, 2900.0,
                                450.0, QStringLiteral("20-26")});
    data.tResults.appendRecord({2, QStringLiteral("MK 50 - E"), 200, 0, 49.5, 29.7, 5000.0, 900.0});
    data.tResults.appendRecord(
        {3, QStringLiteral("Destratifikátor K1"), 100, 0, QVariant(), QVariant(), 4500.0, 280.0});
    data.tResults.setValue(QStringLiteral("Group"), QStringLiteral("K1"));
    data.tResults.post();
    UpdateCoverage(data);
    data.CloseProjectTables();
    data.closeProjectConnection();
}

double msSince(std::chrono::steady_clock::time_point a) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - a).count();
}

bool line(const char* what, double ms, double target) {
    const bool ok = ms < target;
    std::printf("%-46s %8.2f ms  (target < %.0f ms)  %s\n", what, ms, target, ok ? "ok" : "OVER");
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    initProgramPaths(QStringLiteral(ZEFRANT_PROGRAM_DIR));
    setLanguage(BaseEN);
    YesDialogs dialogs;
    setDialogs(&dialogs);
    QTemporaryDir dir;
    TempPath = withTrailingSlash(dir.path());
    const QString file = dir.filePath(QStringLiteral("thousand.zfp"));
    QFile::copy(TemplatePath, file);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    prepare(file);

    bool ok = true;
    {
        ProjectSession session;
        session.setHelpDisplay(false);
        session.start();
        TfrmZMain main(session);
        ProjectWindowHost host(session, main);
        host.ensureWindow();
        main.resize(1280, 900);
        main.show();
        session.openFile(file);
        QApplication::processEvents();
        TfrmZFDraw* w = host.window();
        w->pages()->setCurrentIndex(tsVyberJednotek);
        QApplication::processEvents();

        // Placing: the button's operation, then the plan page painted.
        session.placeUnits();
        std::printf("units on the plan: %d\n", SessionProbe(session).units().plan.count());
        const double placeMs = bench::medianMs(5, [&] {
            session.placeUnits();
            w->repaint();
        });
        ok &= line("placing 1,000 units and showing them", placeMs, 200);
        const double operationMs = bench::medianMs(5, [&] { session.placeUnits(); });
        const double paintMs = bench::medianMs(5, [&] { w->repaint(); });
        std::printf("  of which the placement %.2f ms, painting the page %.2f ms\n", operationMs,
                    paintMs);

        // A drag through the widget: each frame is a move event handled and
        // the plan painted again.
        w->pages()->setCurrentIndex(tsDraw);
        QApplication::processEvents();
        PlanWidget* pw = w->planPage()->planWidget();
        PlanView& plan = SessionProbe(session).units().plan;
        pw->repaint();
        auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
            QMouseEvent e(type, at, pw->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(pw, &e);
        };
        // The 95th percentile of the frames, or a negative number when the
        // press did not take the unit.
        auto drag = [&](const char* what) -> double {
            const int index = plan.count() / 2;
            const QPointF start = plan.toPixel(plan.object(index).x, plan.object(index).y);
            send(QEvent::MouseButtonPress, start, Qt::LeftButton);
            if (!plan.dragging())
                return -1;
            std::vector<double> frames;
            for (int i = 1; i <= 120; ++i) {
                const QPointF at = start + QPointF(i * 3, (i % 40) * 2);
                const auto a = std::chrono::steady_clock::now();
                send(QEvent::MouseMove, at, Qt::LeftButton);
                pw->repaint();
                frames.push_back(msSince(a));
            }
            send(QEvent::MouseButtonRelease, start + QPointF(360, 10), Qt::NoButton);
            std::sort(frames.begin(), frames.end());
            const double median = frames[frames.size() / 2];
            const double worst = frames[frames.size() * 95 / 100];
            std::printf("drag frames %s (plan %d x %d px): median %.2f ms, 95th %.2f ms\n", what,
                        pw->width(), pw->height(), median, worst);
            return worst;
        };
        const double plain = drag("without zones");
        if (plain < 0) {
            std::printf("the press did not take the unit\n");
            return 3;
        }
        ok &= line("dragging on a 1,000-unit plan, per frame (95th)", plain, 16);

        // The same with the throw zones shown: the dragged unit's zone, the
        // floor left unreached and the figure on the status bar follow it.
        session.setShowThrowZones(true);
        QApplication::processEvents();
        const double wholeMs = bench::medianMs(5, [&] { pw->repaint(); });
        const ThrowFigure figure = session.throwFigure();
        std::printf("throw zones: %zu; %s; the whole plan painted in %.2f ms\n",
                    session.throwCoverage().units.size(), qPrintable(figure.text), wholeMs);
        const double zoned = drag("with zones");
        if (zoned < 0) {
            std::printf("the press did not take the unit\n");
            return 3;
        }
        ok &= line("dragging with the throw zones, per frame (95th)", zoned, 16);

        // Page switches, each painted; the list page first stores the moved plan.
        if (!plan.PlanChanged) {
            std::printf("the drag did not move the unit\n");
            return 3;
        }
        const auto store = std::chrono::steady_clock::now();
        w->pages()->setCurrentIndex(tsSeznamJednotek);
        w->repaint();
        ok &= line("to the list page after a move (stores the plan)", msSince(store), 50);
        w->pages()->setCurrentIndex(tsDraw);
        plan.DropObject(0, 50.2, 50.2);
        const auto storeOnly = std::chrono::steady_clock::now();
        session.storePlan();
        std::printf("  of which storing the plan %.2f ms\n", msSince(storeOnly));
        double slowest = 0;
        for (int page : {tsVstupniUdaje, tsVyberJednotek, tsDraw, tsSeznamJednotek}) {
            const double ms = bench::medianMs(
                7,
                [&] {
                    w->pages()->setCurrentIndex(page);
                    w->repaint();
                },
                [&] {
                    w->pages()->setCurrentIndex(page == tsDraw ? tsVstupniUdaje : tsDraw);
                    w->repaint();
                });
            std::printf("  switch to page %d: %.2f ms\n", page + 1, ms);
            slowest = std::max(slowest, ms);
        }
        ok &= line("page switch on a 1,000-unit project (slowest)", slowest, 50);
        session.setShowThrowZones(false);
        Modified = false;
        SessionProbe(session).files().CloseProject(true);
    }
    setDialogs(nullptr);
    return ok ? 0 : 3;
}
