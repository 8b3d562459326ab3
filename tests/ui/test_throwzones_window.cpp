// The throw zones in the windows, under the offscreen platform, on a project
// whose units zefrant-cli placed: the plan's check box and its setting, the
// figure on the status bar and the units page with its red hint, and the
// spread in Options > Throw ranges.
#include "clirun.h"
#include "common/globals.h"
#include "i18n/codepage.h"
#include "i18n/language.h"
#include "i18n/languagetable.h"
#include "i18n/texts.h"
#include "mainwindow.h"
#include "optionsdialog.h"
#include "projectwindow/planpage.h"
#include "projectwindow/projectwindow.h"
#include "projectwindow/unitspage.h"
#include "shell/settings.h"
#include "startup.h"
#include "testsupport.h"
#include "units/throwfigure.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace zf;
using zf::test::TestDialogs;

namespace {

const QString General = QStringLiteral("Software/Quadrel/Zefrant/1.0/General/");

int runCli(const QStringList& args, QByteArray* err) {
    const zf::test::CliRun r = zf::test::runCliProcess(args, 120000);
    *err = r.err;
    return r.status;
}

class ThrowZonesWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        designs = new QTemporaryDir;
        placed = designs->filePath(QStringLiteral("placed.zfp"));
        const QString d = QStringLiteral(ZEFRANT_DESIGNS "/");
        for (const QStringList& args :
             {QStringList{QStringLiteral("new"), placed},
              QStringList{QStringLiteral("input"), placed, d + QStringLiteral("ventilation.json")},
              QStringList{QStringLiteral("units"), placed,
                          d + QStringLiteral("ventilation-units.json")}}) {
            QByteArray err;
            ASSERT_EQ(runCli(args, &err), 0) << err.constData();
        }
    }
    static void TearDownTestSuite() {
        delete designs;
        designs = nullptr;
    }

    void SetUp() override {
        setSystemCodePage(65001);
        settingsFile = dir.filePath(QStringLiteral("settings.ini"));
        QSettings s(settingsFile, QSettings::IniFormat);
        s.setValue(General + QStringLiteral("Language"), QStringLiteral("EN"));
        s.setValue(General + QStringLiteral("ShowHints"), QStringLiteral("0"));
        s.sync();
        TempPath = withTrailingSlash(dir.path());
    }
    void TearDown() override {
        z.reset();
        setSystemCodePage(0);
    }

    void start() {
        z.reset();
        const QString path = dir.filePath(QStringLiteral("placed.zfp"));
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(placed, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        Zefrant::Options o;
        o.settingsFile = settingsFile;
        o.appFolder = QStringLiteral(ZEFRANT_PROGRAM_DIR);
        o.dialogs = &dlg;
        o.askLanguage = [] { return BaseEN; };
        z = std::make_unique<Zefrant>();
        ASSERT_TRUE(z->start({path}, o));
        z->mainWindow->resize(1200, 800);
        z->mainWindow->show();
        QApplication::processEvents();
        ASSERT_TRUE(w());
    }
    ProjectSession& s() { return *z->session; }
    TfrmZFDraw* w() { return z->projectWindows->window(); }
    QCheckBox* box() { return w()->findChild<QCheckBox*>(QStringLiteral("chbThrowZones")); }
    void showPage(int page) {
        w()->pages()->setCurrentIndex(page);
        QApplication::processEvents();
    }
    QString storedSetting(const char* key) const {
        return QSettings(settingsFile, QSettings::IniFormat)
            .value(General + QLatin1String(key))
            .toString();
    }
    // Pixels of the plan widget in the colour a zone leaves over the white floor.
    int zonePixels() {
        const QImage image = w()->planPage()->planWidget()->grab().toImage();
        const QColor f = PlanView::throwZoneFill();
        const double a = f.alphaF();
        auto mix = [a](int c) { return int(std::lround(c * a + 255 * (1 - a))); };
        const QRgb want = qRgb(mix(f.red()), mix(f.green()), mix(f.blue()));
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                n += std::abs(qRed(p) - qRed(want)) <= 3 &&
                     std::abs(qGreen(p) - qGreen(want)) <= 3 &&
                     std::abs(qBlue(p) - qBlue(want)) <= 3;
            }
        return n;
    }
    // Runs the command with the dialog open: what is typed into the spread, then
    // OK; the dialog is closed when it stays open.
    bool optionsWith(const QString& typed) {
        bool stayed = false;
        QTimer::singleShot(0, [&] {
            TfrmOptions* d = z->mainWindow->optionsDialog();
            d->spreadEdit()->clear();
            QTest::keyClicks(d->spreadEdit(), typed);
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
            stayed = d->isVisible();
            if (stayed)
                d->reject();
        });
        z->mainWindow->action(QStringLiteral("acThrowOptions"))->trigger();
        return !stayed;
    }

    static QTemporaryDir* designs;
    static QString placed;
    QTemporaryDir dir;
    QString settingsFile;
    TestDialogs dlg;
    std::unique_ptr<Zefrant> z;
};

QTemporaryDir* ThrowZonesWindowTest::designs = nullptr;
QString ThrowZonesWindowTest::placed;

TEST_F(ThrowZonesWindowTest, TheCheckBoxStandsBesideTheLegendsNamedInEveryLanguage) {
    start();
    QCheckBox* zones = box();
    ASSERT_TRUE(zones);
    auto* bar = w()->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    ASSERT_TRUE(bar);
    QWidget* legends = w()->findChild<QCheckBox*>(QStringLiteral("cbShowLabels"));
    const QList<QAction*> actions = bar->actions();
    int at = -1, legendsAt = -1;
    for (int i = 0; i < actions.size(); ++i) {
        if (bar->widgetForAction(actions[i]) == zones)
            at = i;
        if (bar->widgetForAction(actions[i]) == legends)
            legendsAt = i;
    }
    EXPECT_EQ(at, legendsAt + 1);
    EXPECT_FALSE(zones->isChecked()) << "off until the user ticks it";
    QSet<QString> captions;
    for (int base : {BaseCZ, BaseGE, BasePL, BaseRU, BaseEN}) {
        s().switchLanguage(base);
        QApplication::processEvents();
        EXPECT_EQ(zones->text(), LanguageTextIn(base, 3450)) << base;
        EXPECT_EQ(zones->accessibleName(), zones->text()) << base;
        EXPECT_FALSE(zones->toolTip().isEmpty());
        captions << zones->text();
    }
    EXPECT_EQ(captions.size(), 5) << "a caption of its own in each language";
    EXPECT_EQ(zones->text(), QStringLiteral("Show throw ranges"));
}

TEST_F(ThrowZonesWindowTest, TickingShowsTheZonesAndIsKeptForTheNextStart) {
    start();
    showPage(tsDraw);
    EXPECT_LT(zonePixels(), 50) << "no zones drawn while the box is clear";
    box()->click();
    QApplication::processEvents();
    EXPECT_TRUE(s().showThrowZones());
    EXPECT_EQ(storedSetting("ShowThrowZones"), QStringLiteral("1")) << "written at once";
    EXPECT_GT(zonePixels(), 2000);

    // The next start shows them again, ticked.
    start();
    showPage(tsDraw);
    EXPECT_TRUE(box()->isChecked());
    EXPECT_GT(zonePixels(), 2000);
    box()->click();
    QApplication::processEvents();
    EXPECT_FALSE(s().showThrowZones());
    EXPECT_EQ(storedSetting("ShowThrowZones"), QStringLiteral("0"));
    EXPECT_LT(zonePixels(), 50);
    start();
    EXPECT_FALSE(box()->isChecked());
}

TEST_F(ThrowZonesWindowTest, TheFigureOnTheStatusBarAndTheUnitsPageFollowsTheUnits) {
    start();
    showPage(tsDraw);
    QLabel* status = w()->planPage()->throwFigure();
    ASSERT_TRUE(status);
    const ThrowFigure f = s().throwFigure();
    ASSERT_TRUE(f.shown) << "the placed units have their throws";
    EXPECT_TRUE(status->isVisible());
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Floor reached by the throw: ")));
    EXPECT_EQ(status->text(), f.text);
    EXPECT_EQ(status->toolTip(), f.hint);

    // A drag carries the figure with it, frame by frame: a unit with a zone
    // dragged into the corner, where most of its zone lies beyond the walls.
    PlanWidget* pw = w()->planPage()->planWidget();
    PlanView& plan = s().plan();
    int unit = -1;
    for (int i = 0; i < plan.count() && unit < 0; ++i)
        if (plan.object(i).kind == ObjWarmAirUnit && plan.object(i).throwM > 0)
            unit = i;
    ASSERT_GE(unit, 0);
    const QPointF from = plan.toPixel(plan.object(unit).x, plan.object(unit).y);
    auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
        QMouseEvent e(type, at, pw->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(pw, &e);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    ASSERT_TRUE(plan.dragging());
    const QString still = status->text();
    send(QEvent::MouseMove, plan.toPixel(plan.hallLength() - 0.2, plan.hallWidth() - 0.2),
         Qt::LeftButton);
    EXPECT_NE(status->text(), still);
    EXPECT_EQ(status->text(), s().throwFigure().text);
    QTest::keyClick(pw, Qt::Key_Escape);
    EXPECT_EQ(status->text(), still);

    // The units page says the same, in red beside it what a low share means.
    showPage(tsVyberJednotek);
    auto* figure = w()->unitsPage()->findChild<QLabel*>(QStringLiteral("lbThrowFigure"));
    auto* hint = w()->unitsPage()->findChild<QLabel*>(QStringLiteral("lbThrowHint"));
    ASSERT_TRUE(figure && hint);
    EXPECT_EQ(figure->text(), still);
    EXPECT_TRUE(figure->isVisible());
    EXPECT_EQ(hint->isVisible(), f.low);
    EXPECT_EQ(hint->text(), f.hint);

    // In Czech, with its decimal comma.
    s().switchLanguage(BaseCZ);
    QApplication::processEvents();
    EXPECT_EQ(figure->text(),
              throwFigure(s().throwCoverage(), BaseCZ, localeOfLanguage(BaseCZ)).text);
    EXPECT_TRUE(figure->text().startsWith(QStringLiteral("Podlaha v dosahu proudu: ")));
    EXPECT_TRUE(figure->text().contains(QLatin1Char(','))) << figure->text().toStdString();
    s().switchLanguage(BaseEN);
}

TEST_F(ThrowZonesWindowTest, ALowShareTurnsTheHintsRed) {
    start();
    // Every unit into one corner, blowing into the wall: almost nothing reached.
    PlanView& plan = s().plan();
    std::vector<PlanSymbol> all = plan.objects();
    for (PlanSymbol& u : all) {
        u.x = 0.3f;
        u.y = 0.3f;
        u.angle = 225;
    }
    plan.setObjects(all);
    showPage(tsVyberJednotek);
    const ThrowFigure f = s().throwFigure();
    ASSERT_TRUE(f.low);
    auto* hint = w()->unitsPage()->findChild<QLabel*>(QStringLiteral("lbThrowHint"));
    ASSERT_TRUE(hint);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), f.hint);
    EXPECT_TRUE(hint->text().contains(QStringLiteral("80 %")));
    EXPECT_EQ(hint->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    showPage(tsDraw);
    QLabel* status = w()->planPage()->throwFigure();
    EXPECT_EQ(status->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(status->toolTip(), f.hint);
    EXPECT_EQ(status->accessibleDescription(), f.hint);

    // Spread out again: the red goes.
    for (size_t i = 0; i < all.size(); ++i) {
        all[i].x = float(plan.hallLength() * (i + 0.5) / all.size());
        all[i].y = float(plan.hallWidth() / 2);
        all[i].angle = i % 2 ? 0 : 180;
    }
    plan.setObjects(all);
    QApplication::processEvents();
    if (!s().throwFigure().low) {
        EXPECT_NE(status->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }
    EXPECT_EQ(status->toolTip(), s().throwFigure().hint);
}

TEST_F(ThrowZonesWindowTest, OptionsTakeTheSpreadOrShowTheProgramsMessage) {
    start();
    QAction* command = z->mainWindow->action(QStringLiteral("acThrowOptions"));
    ASSERT_TRUE(command);
    EXPECT_TRUE(command->isEnabled());
    EXPECT_EQ(command->text(), LanguageText(3453));
    const double before = s().throwCoverage().coveredArea;
    TfrmOptions* d = z->mainWindow->optionsDialog();
    auto* label = d->findChild<QLabel*>(QStringLiteral("lbThrowSpread"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->buddy(), d->spreadEdit()) << "the edit is named by its label";

    // Out of the range, or no whole number: the session's message, the dialog
    // stays open and nothing changes.
    for (const char* typed : {"95", "12", "45.5", "abc", ""}) {
        SCOPED_TRACE(typed);
        const size_t boxes = dlg.boxes.size();
        EXPECT_FALSE(optionsWith(QString::fromLatin1(typed)));
        ASSERT_EQ(dlg.boxes.size(), boxes + 1);
        QString refusal;
        parseThrowSpreadSetting(QString::fromLatin1(typed), &refusal);
        EXPECT_EQ(dlg.last().text, refusal);
        EXPECT_EQ(s().throwSpread(), 40);
    }
    EXPECT_NE(storedSetting("ThrowSpread"), QStringLiteral("95"));

    // 60 degrees and OK: the plan, its figure and the settings take it.
    const size_t boxes = dlg.boxes.size();
    EXPECT_TRUE(optionsWith(QStringLiteral("60")));
    EXPECT_EQ(dlg.boxes.size(), boxes);
    EXPECT_EQ(s().throwSpread(), 60);
    EXPECT_EQ(s().plan().throwSpread(), 60);
    EXPECT_EQ(storedSetting("ThrowSpread"), QStringLiteral("60"));
    EXPECT_GT(s().throwCoverage().coveredArea, before) << "wider zones reach more";

    // The next start reads it back, and the dialog opens on it.
    start();
    EXPECT_EQ(s().throwSpread(), 60);
    EXPECT_EQ(s().plan().throwSpread(), 60);
    QString shown;
    QTimer::singleShot(0, [&] {
        TfrmOptions* o = z->mainWindow->optionsDialog();
        shown = o->spreadEdit()->text();
        o->reject();
    });
    z->mainWindow->action(QStringLiteral("acThrowOptions"))->trigger();
    EXPECT_EQ(shown, QStringLiteral("60"));
    label = z->mainWindow->optionsDialog()->findChild<QLabel*>(QStringLiteral("lbThrowSpread"));
    ASSERT_TRUE(label);
    for (int base : {BaseCZ, BaseGE, BasePL, BaseRU}) {
        s().switchLanguage(base);
        EXPECT_EQ(z->mainWindow->optionsDialog()->windowTitle(), LanguageTextIn(base, 3454));
        EXPECT_EQ(label->text(), LanguageTextIn(base, 3455));
    }
    s().switchLanguage(BaseEN);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
