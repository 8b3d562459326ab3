// Pictures of the project window for looking at it: a project made by
// zefrant-cli, units chosen and placed, then every page, the units page and the
// plan with the throw zones, the options of their spread, the plan's hint, the
// report's output options, the About box and the properties dialog grabbed to
// PNG in every language, and the report with and without the zones as PDF. Run it under a display
// (xvfb-run), with QT_SCALE_FACTOR=2 for the doubled size:
//   projectwindow_pictures OUT_FOLDER [LANGUAGE_CODES...]
#include "clirun.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "i18n/codepage.h"
#include "i18n/language.h"
#include "mainwindow.h"
#include "optionsdialog.h"
#include "projectwindow/objprop.h"
#include "projectwindow/planpage.h"
#include "projectwindow/projectwindow.h"
#include "projectwindow/unitspage.h"
#include "reportoutput.h"
#include "startup.h"
#include "units/unittypes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
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

bool cli(const QStringList& args) {
    const zf::test::CliRun r = zf::test::runCliProcess(args, 120000);
    if (r.status != 0)
        std::fprintf(stderr, "%s\n", r.err.constData());
    return r.status == 0;
}

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void grab(QWidget* w, const QString& file) {
    settle();
    if (!w->grab().save(file))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
}

// A dialog as the screen shows it, with the window manager's title bar.
void grabFramed(QWidget* w, const QString& file) {
    settle();
    QThread::msleep(300); // the window manager draws the frame meanwhile
    settle();
    const QRect r = w->frameGeometry();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0, r.x(), r.y(), r.width(), r.height()).save(file))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: projectwindow_pictures OUT_FOLDER [CZ EN GE PL RU]\n");
        return 2;
    }
    const QString out = args.first();
    QDir().mkpath(out);
    QStringList codes = args.mid(1);
    if (codes.isEmpty())
        codes = {QStringLiteral("CZ"), QStringLiteral("EN"), QStringLiteral("GE"),
                 QStringLiteral("PL"), QStringLiteral("RU")};
    setSystemCodePage(65001);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Hall 7.zfp"));
    if (!cli({QStringLiteral("new"), file}) ||
        !cli({QStringLiteral("input"), file, QStringLiteral(ZEFRANT_DESIGNS "/ventilation.json")}))
        return 1;
    const QString settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    {
        QSettings s(settingsFile, QSettings::IniFormat);
        s.setValue(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/Language"),
                   QStringLiteral("EN"));
        s.setValue(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/ShowHints"),
                   QStringLiteral("0"));
    }
    TempPath = withTrailingSlash(dir.path());
    YesDialogs dialogs;
    Zefrant z;
    Zefrant::Options o;
    o.settingsFile = settingsFile;
    o.appFolder = QStringLiteral(ZEFRANT_PROGRAM_DIR);
    o.dialogs = &dialogs;
    o.askLanguage = [] { return BaseEN; };
    if (!z.start({file}, o))
        return 1;
    z.mainWindow->showNormal();
    z.mainWindow->resize(1180, 820);
    settle();
    ProjectSession& s = *z.session;

    // Units as a user would choose them: enough warm-air and MK units, two
    // destratifiers, placed along the walls.
    Dataset& t = SessionProbe(s).data().tResults;
    const int typ = t.fieldIndex(QStringLiteral("Typ"));
    const int idField = t.fieldIndex(QStringLiteral("ID"));
    auto choose = [&](bool (*test)(const QString&), int extra) {
        for (int r = 0; r < t.recordCount(); ++r) {
            if (!test(t.valueAt(r, typ).toString()))
                continue;
            const int id = t.valueAt(r, idField).toInt();
            t.moveToRow(r);
            s.chooseUnitCount(id, t.asInteger(QStringLiteral("Max_pocet_jednotek")) + extra);
            return;
        }
    };
    choose([](const QString& x) { return !isMixingUnitType(x) && !isDestratifierType(x); }, 0);
    choose([](const QString& x) { return isMixingUnitType(x); }, 0);
    choose([](const QString& x) { return isDestratifierType(x); }, 0);
    s.placeUnits();
    SessionProbe(s).units().plan.DropObject(0, 12.3, 0.7);

    for (const QString& code : codes) {
        s.switchLanguage(baseOfStoredCode(code));
        for (int page = 0; page < 4; ++page) {
            s.setProjectPage(page);
            if (page == tsDraw)
                SessionProbe(s).units().plan.ZoomToDefault();
            settle();
            grab(z.mainWindow.get(),
                 QStringLiteral("%1/page%2-%3.png").arg(out).arg(page + 1).arg(code));
        }
        // The throw zones on the units page and the plan, the report with and
        // without them, and the options of their spread.
        s.setShowThrowZones(true);
        for (int page : {tsVyberJednotek, tsDraw}) {
            s.setProjectPage(page);
            settle();
            grab(z.mainWindow.get(),
                 QStringLiteral("%1/page%2-zones-%3.png").arg(out).arg(page + 1).arg(code));
        }
        s.runReport(ReportKind::Pdf, QStringLiteral("%1/report-zones-%2.pdf").arg(out, code));
        s.setShowThrowZones(false);
        s.runReport(ReportKind::Pdf, QStringLiteral("%1/report-%2.pdf").arg(out, code));
        {
            TfrmOptions* options = z.mainWindow->optionsDialog();
            options->load();
            options->show();
            grabFramed(options, QStringLiteral("%1/options-%2.png").arg(out, code));
            options->hide();
        }
        // The hint over the first unit with the pointer's position below, as
        // on the screen.
        s.setProjectPage(tsDraw);
        settle();
        PlanWidget* plan = z.projectWindows->window()->planPage()->planWidget();
        const PlanSymbol& first = SessionProbe(s).units().plan.object(0);
        const QPointF at = SessionProbe(s).units().plan.toPixel(first.x, first.y);
        QMouseEvent move(QEvent::MouseMove, at, plan->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(plan, &move);
        settle();
        if (QScreen* screen = QGuiApplication::primaryScreen())
            screen->grabWindow(0).save(QStringLiteral("%1/hint-%2.png").arg(out, code));
        plan->hintWindow()->hide();
        // The report's output options, with their title in the language.
        {
            ReportSetupDialog setup(z.mainWindow.get());
            setup.show();
            grabFramed(&setup, QStringLiteral("%1/output-%2.png").arg(out, code));
        }
        // The About box with the web address focused, as Tab leaves it.
        z.about->show();
        z.about->webLabel()->setFocus(Qt::TabFocusReason);
        grabFramed(z.about.get(), QStringLiteral("%1/about-%2.png").arg(out, code));
        z.about->hide();
        // The properties dialog of the first unit, grabbed while it is open.
        QTimer::singleShot(100, z.objProp.get(), [&] {
            grab(z.objProp.get(), QStringLiteral("%1/objprop-%2.png").arg(out, code));
            z.objProp->reject();
        });
        s.showUnitProperties(0);
    }
    s.switchLanguage(BaseEN);
    Modified = false;
    SessionProbe(s).files().CloseProject(true);
    std::printf("pictures in %s\n", qPrintable(out));
    return 0;
}
