// The project window and the unit properties dialog under the offscreen
// platform, on projects made by zefrant-cli: the pages and their controls, the
// plan driven by the pointer and the keys, the dialog, the language switch, the
// accessible names, and the whole road from the tool's project to its export.
#include "binding/datasetgrid.h"
#include "binding/datasetmodel.h"
#include "clirun.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "common/resultcodes.h"
#include "i18n/codepage.h"
#include "i18n/language.h"
#include "mainwindow.h"
#include "projectwindow/objprop.h"
#include "projectwindow/planpage.h"
#include "projectwindow/projectwidgets.h"
#include "projectwindow/projectwindow.h"
#include "projectwindow/summarypage.h"
#include "projectwindow/unitlistpage.h"
#include "projectwindow/unitspage.h"
#include "startup.h"
#include "testsupport.h"
#include "units/unittypes.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace zf;
using zf::test::TestDialogs;

namespace {

using CliRun = zf::test::CliRun;

CliRun cli(const QStringList& args) {
    return zf::test::runCliProcess(args, 120000);
}

// A project as `zefrant-cli new` and `input` make it from a design.
QString makeProject(const QTemporaryDir& dir, const QString& name, const QString& design) {
    const QString file = dir.filePath(name);
    const CliRun n = cli({QStringLiteral("new"), file});
    EXPECT_EQ(n.status, 0) << n.err.constData();
    const CliRun i =
        cli({QStringLiteral("input"), file, QStringLiteral(ZEFRANT_DESIGNS "/") + design});
    EXPECT_EQ(i.status, 0) << i.err.constData();
    return file;
}

QJsonObject exportProject(const QString& file) {
    const CliRun r = cli({QStringLiteral("export"), file});
    EXPECT_EQ(r.status, 0) << r.err.constData();
    return QJsonDocument::fromJson(r.out).object();
}

class ProjectWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        designs = new QTemporaryDir;
        ventilated = makeProject(*designs, QStringLiteral("ventilation.zfp"),
                                 QStringLiteral("ventilation.json"));
        estimated =
            makeProject(*designs, QStringLiteral("heating.zfp"), QStringLiteral("heating.json"));
    }
    static void TearDownTestSuite() {
        delete designs;
        designs = nullptr;
    }

    void SetUp() override {
        setSystemCodePage(65001);
        settingsFile = dir.filePath(QStringLiteral("settings.ini"));
        QSettings s(settingsFile, QSettings::IniFormat);
        s.setValue(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/Language"),
                   QStringLiteral("EN"));
        s.setValue(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/ShowHints"),
                   QStringLiteral("0"));
        s.sync();
        TempPath = withTrailingSlash(dir.path());
    }
    void TearDown() override {
        z.reset();
        setSystemCodePage(0);
    }

    // The program started on a copy of a project.
    void start(const QString& project) {
        path = dir.filePath(QFileInfo(project).fileName());
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(project, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        Zefrant::Options o;
        o.settingsFile = settingsFile;
        o.appFolder = QStringLiteral(ZEFRANT_PROGRAM_DIR);
        o.dialogs = &dlg;
        o.askLanguage = [] { return BaseEN; };
        z = std::make_unique<Zefrant>();
        ASSERT_TRUE(z->start({path}, o));
        ASSERT_EQ(SessionProbe(s()).files().CurrentFile, path);
        z->mainWindow->resize(1100, 800);
        QApplication::processEvents();
        ASSERT_TRUE(w());
        w()->window()->activateWindow();
        QApplication::setActiveWindow(z->mainWindow.get());
        QApplication::processEvents();
    }

    ProjectSession& s() { return *z->session; }
    TfrmZFDraw* w() { return z->projectWindows->window(); }
    PlanView& plan() { return SessionProbe(s()).units().plan; }
    template <typename T> T* find(const char* name) {
        T* c = w()->findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(c) << name;
        return c;
    }
    void page(int p) {
        w()->pages()->setCurrentIndex(p);
        QApplication::processEvents();
    }

    // The first row of tTempTable of a kind: warm-air, MK or destratifier.
    int rowOf(bool (*test)(const QString&)) {
        const Dataset& t = SessionProbe(s()).data().tResults;
        const int f = t.fieldIndex(QStringLiteral("Typ"));
        for (int r = 0; r < t.recordCount(); ++r)
            if (test(t.valueAt(r, f).toString()))
                return r;
        return -1;
    }
    static bool warmAir(const QString& t) { return !isMixingUnitType(t) && !isDestratifierType(t); }
    static bool mixing(const QString& t) { return isMixingUnitType(t); }
    static bool destratifier(const QString& t) { return isDestratifierType(t); }

    // Chooses a number in the grid as the user does: a click on the row opens
    // the pick list of the chosen-number cell, an entry is taken from it.
    void chooseCount(int row, int count) {
        page(tsVyberJednotek);
        DatasetGrid* grid = w()->unitsPage()->grid();
        const QModelIndex cell = grid->model()->index(row, 1);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* editor = grid->viewport()->findChild<QComboBox*>();
        ASSERT_TRUE(editor) << "the click opens the pick list";
        EXPECT_EQ(grid->currentIndex().column(), 2);
        int i = editor->findText(QString::number(count));
        if (i < 0) {
            editor->setEditText(QString::number(count));
            QTest::keyClick(editor, Qt::Key_Return);
        } else {
            editor->setCurrentIndex(i);
            emit editor->activated(i);
        }
        QApplication::processEvents();
    }
    int required(int row) {
        const Dataset& t = SessionProbe(s()).data().tResults;
        return t.valueAt(row, t.fieldIndex(QStringLiteral("Max_pocet_jednotek"))).toInt();
    }

    // Places the chosen units with the button, every question answered Yes.
    void placeUnits() {
        page(tsVyberJednotek);
        dlg.answers = {IdYes, IdYes, IdYes};
        QTest::mouseClick(find<QPushButton>("btUmistitJednotky"), Qt::LeftButton);
        QApplication::processEvents();
        ASSERT_GT(plan().count(), 0);
    }

    QPoint pixel(double x, double y) {
        const QPointF f = plan().toPixel(x, y);
        return QPoint(int(std::nearbyint(f.x())), int(std::nearbyint(f.y())));
    }
    // Drags the symbol at a list index by a point off its centre to where that
    // point makes its centre land on (x, y).
    void drag(int index, double x, double y, QPoint grabOffset = QPoint(3, -2)) {
        PlanWidget* pw = w()->planPage()->planWidget();
        pw->repaint(); // the symbols' boxes as drawn
        const PlanSymbol& sym = plan().object(index);
        const QPoint from = pixel(sym.x, sym.y) + grabOffset;
        const QPoint to = pixel(x, y) + grabOffset;
        QTest::mousePress(pw, Qt::LeftButton, {}, from);
        QTest::mouseMove(pw, (from + to) / 2);
        QTest::mouseMove(pw, to);
        QTest::mouseRelease(pw, Qt::LeftButton, {}, to);
        QApplication::processEvents();
    }
    // A double click as the pointer makes it: a click, then the second press
    // that comes as a double click.
    void doubleClick(int index) {
        PlanWidget* pw = w()->planPage()->planWidget();
        pw->repaint();
        const QPoint at = pixel(plan().object(index).x, plan().object(index).y);
        QTest::mouseClick(pw, Qt::LeftButton, {}, at);
        QTest::mouseDClick(pw, Qt::LeftButton, {}, at);
        QApplication::processEvents();
    }
    int indexOfNumber(int number) {
        for (int i = 0; i < plan().count(); ++i)
            if (plan().object(i).number == number)
                return i;
        return -1;
    }

    static QTemporaryDir* designs;
    static QString ventilated, estimated;
    QTemporaryDir dir;
    QString settingsFile, path;
    TestDialogs dlg;
    std::unique_ptr<Zefrant> z;
};

QTemporaryDir* ProjectWindowTest::designs = nullptr;
QString ProjectWindowTest::ventilated;
QString ProjectWindowTest::estimated;

} // namespace

TEST_F(ProjectWindowTest, OpensMaximizedOnTheSummaryAndIsMadeAgainAfterClosing) {
    start(ventilated);
    EXPECT_EQ(z->created,
              (QStringList{"TfrmZMain", "TZFData", "TfrmZInput", "TfrmKatalog", "TfrmObjProp",
                           "TfrmPrvky", "TfrmPrvekNew", "TfrmAbout", "TfrmZFDraw"}));
    QMdiSubWindow* frame = z->projectWindows->frame();
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(frame->windowTitle(), path);
    QTabWidget* tabs = w()->pages();
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->currentIndex(), tsVstupniUdaje);
    const char* names[] = {"tsVstupniUdaje", "tsVyberJednotek", "tsDraw", "tsSeznamJednotek"};
    const char* texts[] = {"Data of project", "Selection of hot-air units",
                           "Location of hot-air units", "List of hot-air units"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tabs->widget(i)->objectName(), QLatin1String(names[i]));
        EXPECT_EQ(tabs->tabText(i), QLatin1String(texts[i]));
    }

    // Page 1: the hall and the losses; calculated losses show both tables.
    EXPECT_TRUE(find<QLabel>("lbRozmeryHaly")->text().startsWith(QStringLiteral("A   =  36 m\n")));
    EXPECT_EQ(find<QLabel>("lbRozmeryHaly")->text().split(QLatin1Char('\n')).size(), 6);
    auto* losses = find<QTreeWidget>("lvTepelneZtraty");
    EXPECT_EQ(losses->topLevelItemCount(), 5);
    EXPECT_EQ(losses->topLevelItem(3)->text(1), QStringLiteral("========"));
    EXPECT_TRUE(losses->topLevelItem(4)->text(1).endsWith(QStringLiteral(" kW")));
    EXPECT_TRUE(find<QLabel>("lbCenaRok")->text().endsWith(QStringLiteral(",- USD")));
    EXPECT_FALSE(find<QLabel>("DBTxtCirkVykon")->text().isEmpty());
    EXPECT_TRUE(w()->summaryPage()->wallsGrid()->isVisible());
    EXPECT_TRUE(w()->summaryPage()->openingsGrid()->isVisible());
    EXPECT_FALSE(find<QLabel>("lbZpusobStanoveni")->isVisible());
    // The material column takes the width the others leave, less 14 pixels.
    DatasetGrid* walls = w()->summaryPage()->wallsGrid();
    int others = 0;
    for (int c = 0; c < walls->model()->columnCount(); ++c)
        if (c != 4)
            others += walls->columnWidth(c);
    if (walls->viewport()->width() - others - 14 > 30) {
        EXPECT_EQ(walls->columnWidth(4), walls->viewport()->width() - others - 14);
    }

    // Closed by the user: the project stays open, the next showing makes a new
    // window with the plan's starting settings.
    plan().AutoAlign = false;
    plan().chooseZoom(QStringLiteral("200"));
    plan().setVerticalScroll(80);
    SessionProbe(s()).units().towardsLongerSide = false;
    ASSERT_TRUE(frame->close());
    QApplication::processEvents();
    EXPECT_FALSE(w());
    EXPECT_FALSE(s().projectWindowShown());
    EXPECT_EQ(SessionProbe(s()).files().CurrentFile, path);
    s().showProjectWindow();
    QApplication::processEvents();
    ASSERT_TRUE(w());
    EXPECT_EQ(z->projectWindows->made(), 2);
    EXPECT_TRUE(z->projectWindows->frame()->isMaximized());
    EXPECT_TRUE(plan().AutoAlign);
    EXPECT_DOUBLE_EQ(plan().Scale(), 100);
    EXPECT_EQ(find<QComboBox>("cbScale")->currentText(), QStringLiteral("100"));
    EXPECT_EQ(plan().verticalScroll(), 50);
    EXPECT_TRUE(SessionProbe(s()).units().towardsLongerSide) << "the side choice starts at its default";
    EXPECT_TRUE(find<QToolButton>("tbSelect")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("cbAlignObjects")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("cbShowLabels")->isChecked());
}

TEST_F(ProjectWindowTest, EstimatedLossesShowTheMethodInPlaceOfTheTables) {
    start(estimated);
    EXPECT_FALSE(w()->summaryPage()->wallsGrid()->isVisible());
    auto* method = find<QLabel>("lbZpusobStanoveni");
    EXPECT_TRUE(method->isVisible());
    EXPECT_EQ(
        method->text(),
        QStringLiteral("    The thermal losses of the building were determined by estimation."));
    EXPECT_EQ(find<QLabel>("lbRozmerySvetliku")->text(), QStringLiteral("Hall without skylight"));
    EXPECT_FALSE(find<SvgPicture>("imTypSvetliku")->hasPicture());
    EXPECT_TRUE(find<SvgPicture>("imTypStrechy")->hasPicture());
    // Without ventilation the third coverage line is hidden.
    page(tsVyberJednotek);
    EXPECT_FALSE(find<QLabel>("lbVetrani")->isVisible());
    EXPECT_FALSE(find<CoverageBar>("pbVetrani")->isVisible());
}

TEST_F(ProjectWindowTest, CostsKeepTheCurrencyOfTheLanguageTheyWereFilledIn) {
    start(estimated);
    const QString day = find<QLabel>("lbCenaDen")->text();
    EXPECT_TRUE(day.endsWith(QStringLiteral(",- USD"))) << qPrintable(day);
    s().switchLanguage(BaseGE);
    EXPECT_EQ(w()->pages()->tabText(0), QStringLiteral("Projektdaten"));
    EXPECT_EQ(find<QLabel>("lbDen")->text(), LanguageText(2014));
    EXPECT_EQ(find<QLabel>("lbCenaDen")->text(), day) << "filled under English";
    // Filled again (the wizard's finish), now in the German currency.
    s().openWizard();
    ASSERT_TRUE(s().finishWizard(false));
    EXPECT_TRUE(find<QLabel>("lbCenaDen")->text().endsWith(QStringLiteral(",- EUR")));
    s().switchLanguage(BaseEN);
}

TEST_F(ProjectWindowTest, CountsCoverageHintsAndTheGrid) {
    start(ventilated);
    page(tsVyberJednotek);
    DatasetGrid* grid = w()->unitsPage()->grid();
    auto* model = static_cast<DatasetModel*>(grid->model());
    ASSERT_EQ(model->columnCount(), 11);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(),
              QStringLiteral("Number of units to be used"));
    EXPECT_EQ(grid->columnWidth(2), 70);
    EXPECT_EQ(grid->columnWidth(10), 45);
    EXPECT_TRUE(model->headerData(2, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());

    // Another column leads to the chosen number.
    grid->setCurrentIndex(model->index(0, 5));
    QApplication::processEvents();
    EXPECT_EQ(grid->currentIndex().column(), 2);

    const int heat = rowOf(warmAir), mk = rowOf(mixing), destr = rowOf(destratifier);
    ASSERT_GE(heat, 0);
    ASSERT_GE(mk, 0);
    ASSERT_GE(destr, 0);
    auto* hintCirc = find<QLabel>("lbDestr");
    auto* hintVent = find<QLabel>("lbVetraci");
    EXPECT_FALSE(hintCirc->isVisible());
    EXPECT_FALSE(hintVent->isVisible());
    EXPECT_TRUE(find<QLabel>("lbVetrani")->isVisible()) << "ventilation is designed";

    // Enough warm-air units for the heat: the hints of what is still missing.
    const int need = required(heat);
    ASSERT_GT(need, 0);
    chooseCount(heat, need);
    EXPECT_EQ(s().coverage().units, need);
    EXPECT_EQ(find<QLabel>("DBTxtPocetJednotek")->text(), QString::number(need));
    EXPECT_GE(s().coverage().pHeat, 100);
    EXPECT_EQ(model->data(model->index(heat, 0), Qt::BackgroundRole).value<QColor>(),
              QColor(0, 128, 0));
    EXPECT_EQ(model->data(model->index(heat, 0), Qt::ForegroundRole).value<QColor>(),
              QColor(Qt::white));
    EXPECT_FALSE(model->data(model->index(mk, 0), Qt::BackgroundRole).isValid());
    EXPECT_EQ(find<CoverageBar>("pbTepelny")->value(), 100);
    EXPECT_TRUE(find<CoverageBar>("pbTepelny")->text().startsWith(QStringLiteral("Covered ")));
    EXPECT_EQ(hintVent->isVisible(), s().coverage().pVent < 100);
    EXPECT_EQ(hintCirc->isVisible(), s().coverage().pCirc < 100);
    ASSERT_TRUE(hintVent->isVisible()) << "no MK unit yet";
    // The hint stands 14 pixels right of its caption's text.
    auto* caption = find<QLabel>("lbVetrani");
    EXPECT_EQ(hintVent->x() - (caption->x() + caption->width()), 14);

    // MK units for the ventilation, destratifiers for the circulation.
    chooseCount(mk, required(mk));
    EXPECT_GE(s().coverage().pVent, 100);
    EXPECT_FALSE(hintVent->isVisible());
    if (s().coverage().pCirc < 100) {
        EXPECT_TRUE(hintCirc->isVisible());
        chooseCount(destr, required(destr));
    }
    EXPECT_GE(s().coverage().pCirc, 100);
    EXPECT_FALSE(hintCirc->isVisible());
    EXPECT_TRUE(find<QPushButton>("btUmistitJednotky")->property("covered").toBool())
        << "everything covered: the button is red";
    EXPECT_TRUE(find<QPushButton>("btUmistitJednotky")
                    ->styleSheet()
                    .contains(QStringLiteral("rgb(255, 0, 0)")));

    // Typed into the pick list: a number outside the list is taken as typed.
    const int mkChosen = s().coverage().units - need;
    chooseCount(heat, need + 103);
    EXPECT_EQ(s().coverage().units, need + 103 + mkChosen);
    EXPECT_TRUE(Modified);
}

// The pick list of the chosen number is the clicked row's, whichever row was
// current before the click.
TEST_F(ProjectWindowTest, TheCountPickListIsTheClickedRows) {
    start(ventilated);
    page(tsVyberJednotek);
    DatasetGrid* grid = w()->unitsPage()->grid();
    const int rows = grid->model()->rowCount();
    int a = -1, b = -1;
    for (int r = 0; r < rows && b < 0; ++r)
        for (int q = 0; q < rows && b < 0; ++q)
            if (required(r) != required(q) && required(q) > 1) {
                a = r;
                b = q;
            }
    ASSERT_GE(b, 0) << "two rows that need different numbers";
    for (const auto& [from, to] : {std::pair{a, b}, std::pair{b, a}}) {
        SCOPED_TRACE(testing::Message() << from << " -> " << to);
        grid->setCurrentIndex(grid->model()->index(from, 2));
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(SessionProbe(s()).data().tResults.recNo(), from + 1);
        const QModelIndex cell = grid->model()->index(to, 1);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* editor = grid->viewport()->findChild<QComboBox*>();
        ASSERT_TRUE(editor);
        QStringList entries;
        for (int i = 0; i < editor->count(); ++i)
            entries << editor->itemText(i);
        EXPECT_EQ(entries, countPickList(required(to), 0));
    }
}

TEST_F(ProjectWindowTest, PlacementPanelAndItsKeys) {
    start(ventilated);
    page(tsVyberJednotek);
    auto* variant = find<QComboBox>("cbUmisteni");
    ASSERT_EQ(variant->count(), 7);
    EXPECT_EQ(variant->itemText(2), QStringLiteral("Varianta 3"));
    variant->setCurrentIndex(2);
    emit variant->activated(2);
    EXPECT_EQ(SessionProbe(s()).data().tADOProject.asInteger(QStringLiteral("Varianta_rozmisteni_enum")), 2);
    EXPECT_TRUE(find<SvgPicture>("imUmisteni")->file().endsWith(QStringLiteral("Umisteni3.svg")));
    EXPECT_TRUE(find<SvgPicture>("imUmisteni")->hasPicture());

    find<QRadioButton>("rbKratsiStrana")->click();
    EXPECT_FALSE(SessionProbe(s()).units().towardsLongerSide);
    find<QRadioButton>("rbDelsiStrana")->click();
    EXPECT_TRUE(SessionProbe(s()).units().towardsLongerSide);

    // The heights: typed and left; a text that is no number is refused.
    auto* units = find<QLineEdit>(UnitHeightControl);
    auto* destr = find<QLineEdit>(DestratifierHeightControl);
    units->setFocus();
    QApplication::processEvents();
    if (!units->hasFocus())
        GTEST_SKIP() << "no focus on this platform";
    units->selectAll();
    QTest::keyClicks(units, QStringLiteral("4.5"));
    QTest::keyClick(units, Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_TRUE(destr->hasFocus()) << "Down moves on";
    EXPECT_DOUBLE_EQ(SessionProbe(s()).data().tADOProject.asFloat(QStringLiteral("Vyska_jednotek")), 4.5);
    QTest::keyClick(destr, Qt::Key_Up);
    QApplication::processEvents();
    EXPECT_TRUE(units->hasFocus()) << "Up moves back";
    units->selectAll();
    QTest::keyClicks(units, QStringLiteral("high"));
    const size_t boxes = dlg.boxes.size();
    QTest::keyClick(units, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(dlg.boxes.size(), boxes + 1);
    EXPECT_TRUE(dlg.last().text.contains(QStringLiteral("not a valid")))
        << qPrintable(dlg.last().text);
    EXPECT_DOUBLE_EQ(SessionProbe(s()).data().tADOProject.asFloat(QStringLiteral("Vyska_jednotek")), 4.5);
    EXPECT_TRUE(units->hasFocus()) << "a refused value keeps the focus";

    // Locate with nothing chosen: message 5011 and no plan.
    dlg.answers.clear();
    QTest::mouseClick(find<QPushButton>("btUmistitJednotky"), Qt::LeftButton);
    EXPECT_EQ(dlg.last().text, LanguageText(5011));
    EXPECT_EQ(plan().count(), 0);
}

TEST_F(ProjectWindowTest, DropsLandAtThePointerAndAlign) {
    start(ventilated);
    chooseCount(rowOf(warmAir), 4);
    placeUnits();
    EXPECT_EQ(w()->currentPage(), tsDraw) << "placing shows the plan";
    PlanWidget* pw = w()->planPage()->planWidget();
    EXPECT_EQ(pw->accessibleDescription(), QStringLiteral("Units on the plan: 4"));
    Modified = false;

    struct Case {
        double x, y;
        double nx, ny;
        int angle; // -1: as it was
    };
    const Case cases[] = {{12.3, 0.7, 12, 0.25, 0},
                          {0.4, 0.4, 0.53, 0.53, 45},
                          {-0.8, 10, -0.75, 10, 90},
                          {15.6, 10.4, 16, 10, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        const int number = plan().object(0).number;
        const int angle = plan().object(0).angle;
        drag(0, c.x, c.y);
        const PlanSymbol& moved = plan().object(plan().count() - 1);
        ASSERT_EQ(moved.number, number) << "the dropped unit goes to the end of the list";
        EXPECT_NEAR(moved.x, c.nx, 1e-5);
        EXPECT_NEAR(moved.y, c.ny, 1e-5);
        EXPECT_EQ(moved.angle, c.angle < 0 ? angle : c.angle);
    }
    EXPECT_TRUE(Modified) << "a drop marks the project modified";
    EXPECT_TRUE(plan().PlanChanged);

    // Without alignment the unit stays exactly where the pointer put it.
    QTest::mouseClick(find<QCheckBox>("cbAlignObjects"), Qt::LeftButton);
    EXPECT_FALSE(plan().AutoAlign);
    const PlanSymbol before = plan().object(0);
    drag(0, 7.77, 5.55, QPoint(2, 1));
    const QPointF exact = plan().toWorld(QPointF(pixel(7.77, 5.55)));
    const PlanSymbol& free = plan().object(plan().count() - 1);
    EXPECT_NEAR(free.x, exact.x(), 1e-4);
    EXPECT_NEAR(free.y, exact.y(), 1e-4);
    EXPECT_NEAR(free.x, 7.77, 0.1);
    EXPECT_EQ(free.angle, before.angle);

    // The pointer over a symbol: the status bar, the hint window, the hand.
    pw->repaint();
    const PlanSymbol& target = plan().object(0);
    const QPoint over = pixel(target.x, target.y);
    QTest::mouseMove(pw, over);
    QApplication::processEvents();
    EXPECT_TRUE(find<QLabel>("StatusPanel0")->text().startsWith(QStringLiteral(" X=")));
    EXPECT_TRUE(pw->hintWindow()->isVisible());
    EXPECT_TRUE(
        pw->hintWindow()->text().startsWith(QStringLiteral("Unit #%1: ").arg(target.number)));
    EXPECT_EQ(pw->hintWindow()->pos(), pw->mapToGlobal(over + QPoint(32, 0)));
    EXPECT_EQ(pw->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(pw, QPoint(2, 2));
    EXPECT_FALSE(pw->hintWindow()->isVisible());
}

TEST_F(ProjectWindowTest, EscapeCancelsADragAndUndoRedoFollowTheSavedPlan) {
    start(ventilated);
    chooseCount(rowOf(warmAir), 3);
    placeUnits();
    s().commandSave();
    ASSERT_FALSE(Modified);
    PlanWidget* pw = w()->planPage()->planWidget();
    pw->repaint();
    const PlanSymbol first = plan().object(0);
    const QPoint from = pixel(first.x, first.y);
    QTest::mousePress(pw, Qt::LeftButton, {}, from);
    QTest::mouseMove(pw, pixel(12, 10));
    EXPECT_TRUE(plan().dragging());
    QTest::keyClick(pw, Qt::Key_Escape);
    QTest::mouseRelease(pw, Qt::LeftButton, {}, pixel(12, 10));
    EXPECT_EQ(plan().object(0).number, first.number);
    EXPECT_FLOAT_EQ(plan().object(0).x, first.x);
    EXPECT_FALSE(plan().PlanChanged);
    EXPECT_FALSE(Modified);
    // Released outside the plot area: nothing moves either.
    QTest::mousePress(pw, Qt::LeftButton, {}, from);
    QTest::mouseMove(pw, QPoint(-20, 10));
    EXPECT_EQ(pw->cursor().shape(), Qt::ForbiddenCursor);
    QTest::mouseRelease(pw, Qt::LeftButton, {}, QPoint(-20, 10));
    EXPECT_FLOAT_EQ(plan().object(0).x, first.x);

    // Ctrl+Z and Ctrl+Y on the plan; back at the saved plan the project is
    // unmodified again.
    drag(0, 12.3, 0.7);
    ASSERT_TRUE(Modified);
    pw->setFocus();
    QTest::keyClick(pw, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(plan().object(0).number, first.number);
    EXPECT_FLOAT_EQ(plan().object(0).x, first.x);
    EXPECT_FALSE(Modified);
    QTest::keyClick(pw, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(plan().object(plan().count() - 1).x, 12);
    EXPECT_TRUE(Modified);
    // Saved with the move: undoing it is a change again.
    s().commandSave();
    EXPECT_FALSE(Modified);
    QTest::keyClick(pw, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(Modified);
    QTest::keyClick(pw, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FALSE(Modified) << "the saved plan again, and nothing else changed";
}

// A click on a unit without moving is no drop, so a double click opens the
// unit under the pointer wherever it lies and changes nothing; Edit > Undo and
// Redo move units back and forth while the plan has the focus or was used last.
TEST_F(ProjectWindowTest, ClicksAreNoDropsAndTheEditMenuUndoesMoves) {
    start(ventilated);
    chooseCount(rowOf(warmAir), 3);
    placeUnits();
    PlanWidget* pw = w()->planPage()->planWidget();
    // A unit where the alignment would not leave it, saved so.
    plan().AutoAlign = false;
    drag(0, 7.77, 5.55, QPoint(2, 1));
    plan().AutoAlign = true;
    const int last = plan().count() - 1;
    const PlanSymbol free = plan().object(last);
    ASSERT_GT(free.x, 7);
    ASSERT_EQ(s().commandSave(), ResultOk);
    ASSERT_FALSE(Modified);

    int shownNumber = -1;
    z->objProp->onShown = [&](TfrmObjProp& dialog) {
        shownNumber = dialog.findChild<QLabel*>(QStringLiteral("DBTxtCislo"))->text().toInt();
        dialog.reject();
    };
    doubleClick(last);
    z->objProp->onShown = nullptr;
    EXPECT_EQ(shownNumber, free.number) << "the properties of the unit under the pointer";
    EXPECT_FLOAT_EQ(plan().object(last).x, free.x) << "the click did not snap it";
    EXPECT_EQ(plan().object(last).number, free.number);
    EXPECT_FALSE(plan().PlanChanged);
    EXPECT_FALSE(Modified);

    // A move, then Edit > Undo and Redo from the menu.
    TfrmZMain& main = *z->mainWindow;
    drag(0, 12.3, 0.7);
    ASSERT_TRUE(Modified);
    main.activateWindow();
    QApplication::setActiveWindow(&main);
    pw->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    if (!pw->hasFocus())
        GTEST_SKIP() << "no focus on this platform";
    main.updateActions();
    EXPECT_TRUE(main.action(QStringLiteral("acEditUndo"))->isEnabled());
    EXPECT_FALSE(main.action(QStringLiteral("acEditRedo"))->isEnabled());
    EXPECT_FALSE(main.action(QStringLiteral("acEditCopy"))->isEnabled());
    main.action(QStringLiteral("acEditUndo"))->trigger();
    EXPECT_FALSE(Modified) << "back at the saved plan";
    EXPECT_FLOAT_EQ(plan().object(last).x, free.x);
    // The plan was used last: a check box with the focus now leaves it so.
    find<QCheckBox>("cbShowLabels")->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    main.updateActions();
    ASSERT_TRUE(main.action(QStringLiteral("acEditRedo"))->isEnabled());
    main.action(QStringLiteral("acEditRedo"))->trigger();
    EXPECT_TRUE(Modified);
    EXPECT_FLOAT_EQ(plan().object(plan().count() - 1).x, 12);
    EXPECT_EQ(main.action(QStringLiteral("acEditRedo"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+Y")));
}

// The destratifier's dialog shows its three lists that it does not have empty,
// not what the unit before had.
TEST_F(ProjectWindowTest, TheDestratifiersListsItDoesNotHaveAreEmpty) {
    start(ventilated);
    chooseCount(rowOf(warmAir), 2);
    chooseCount(rowOf(destratifier), 1);
    placeUnits();
    TfrmObjProp& dialog = *z->objProp;
    const int d = plan().count() - 1;
    ASSERT_EQ(plan().object(d).kind, ObjDestratifier);
    // A warm-air unit first, with its choices in the lists.
    dialog.onShown = [](TfrmObjProp& dlgWindow) {
        for (UnitProperty p : AllUnitProperties)
            EXPECT_GE(dlgWindow.list(p)->currentIndex(), 0);
        dlgWindow.reject();
    };
    w()->planPage()->planWidget()->repaint();
    s().showUnitProperties(0);
    bool seen = false;
    dialog.onShown = [&](TfrmObjProp& dlgWindow) {
        seen = true;
        EXPECT_GE(dlgWindow.list(UnitProperty::Location)->currentIndex(), 0);
        for (UnitProperty p :
             {UnitProperty::FlueGasExhaust, UnitProperty::AirSupply, UnitProperty::ControlMethod}) {
            EXPECT_FALSE(dlgWindow.list(p)->isEnabled());
            EXPECT_EQ(dlgWindow.list(p)->currentIndex(), -1);
            EXPECT_TRUE(dlgWindow.list(p)->currentText().isEmpty());
        }
        dlgWindow.applyLanguage(); // a language switch while it is up
        for (UnitProperty p :
             {UnitProperty::FlueGasExhaust, UnitProperty::AirSupply, UnitProperty::ControlMethod})
            EXPECT_TRUE(dlgWindow.list(p)->currentText().isEmpty());
        dlgWindow.reject();
    };
    s().showUnitProperties(d);
    dialog.onShown = nullptr;
    EXPECT_TRUE(seen);
}

// The summary's tables refit their stretched columns whenever the rows are read
// again (the wizard closed) and whenever the window's width changes.
TEST_F(ProjectWindowTest, TheSummaryTablesRefitTheirStretchedColumns) {
    start(ventilated);
    page(tsVstupniUdaje);
    DatasetGrid* walls = w()->summaryPage()->wallsGrid();
    DatasetGrid* openings = w()->summaryPage()->openingsGrid();
    ASSERT_TRUE(walls->isVisible());
    auto fitted = [](DatasetGrid* grid, int column) {
        int others = 0;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            if (c != column)
                others += grid->columnWidth(c);
        const int want = grid->viewport()->width() - others - 14;
        return want <= 30 || grid->columnWidth(column) == want;
    };
    auto check = [&](const char* when) {
        QApplication::processEvents();
        EXPECT_TRUE(fitted(walls, 4)) << when;
        EXPECT_TRUE(fitted(openings, 0)) << when;
    };
    check("opened");
    s().openWizard();
    QApplication::processEvents();
    ASSERT_TRUE(s().finishWizard(false));
    page(tsVstupniUdaje);
    check("after the wizard");
    z->mainWindow->resize(1500, 850);
    check("wider");
    z->mainWindow->resize(1000, 700);
    check("narrower");
}

TEST_F(ProjectWindowTest, ZoomListKeysScrollBarsAndThePopupMenu) {
    start(ventilated);
    chooseCount(rowOf(warmAir), 2);
    placeUnits();
    PlanWidget* pw = w()->planPage()->planWidget();
    auto* zoom = find<QComboBox>("cbScale");
    EXPECT_EQ(zoom->currentText(), QStringLiteral("100"));
    zoom->setFocus();
    zoom->lineEdit()->selectAll();
    QTest::keyClicks(zoom->lineEdit(), QStringLiteral("abc"));
    QTest::keyClick(zoom->lineEdit(), Qt::Key_Return);
    EXPECT_DOUBLE_EQ(plan().Scale(), 100);
    EXPECT_EQ(zoom->currentText(), QStringLiteral("100"));
    zoom->setCurrentIndex(zoom->findText(QStringLiteral("200")));
    emit zoom->textActivated(QStringLiteral("200"));
    EXPECT_DOUBLE_EQ(plan().Scale(), 200);

    pw->setFocus();
    QTest::keyClick(pw, Qt::Key_Plus);
    EXPECT_DOUBLE_EQ(plan().Scale(), 250);
    EXPECT_EQ(zoom->currentText(), QStringLiteral("250.00"));
    QTest::keyClick(pw, Qt::Key_Minus);
    EXPECT_DOUBLE_EQ(plan().Scale(), 200);
    QTest::keyClick(pw, Qt::Key_Asterisk);
    EXPECT_DOUBLE_EQ(plan().Scale(), 100);
    EXPECT_EQ(zoom->currentText(), QStringLiteral("100"));
    QTest::mouseClick(find<QToolButton>("tbZoomIn"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(plan().Scale(), 125);
    QTest::mouseClick(find<QToolButton>("tbZoomToDef"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(plan().Scale(), 100);

    // The scroll bars move the view and give the focus back to the plan.
    auto* h = find<QScrollBar>("sbHorizontal");
    EXPECT_EQ(h->minimum(), -1000);
    EXPECT_EQ(h->maximum(), 1000);
    const double width = plan().visibleRange().xmax - plan().visibleRange().xmin;
    h->setValue(55);
    EXPECT_DOUBLE_EQ(plan().visibleRange().xmin, 5);
    EXPECT_NEAR(plan().visibleRange().xmax - plan().visibleRange().xmin, width, 1e-9);
    auto* v = find<QScrollBar>("sbVertical");
    EXPECT_EQ(v->value(), 50);
    const double ymin = plan().visibleRange().ymin;
    v->setValue(51);
    EXPECT_NEAR(plan().visibleRange().ymin, ymin - 10 * plan().metresPerPixelY(), 1e-9);
    const double wheelFrom = plan().visibleRange().ymin;
    QWheelEvent wheel(QPointF(50, 50), pw->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pw, &wheel);
    EXPECT_NEAR(plan().visibleRange().ymin, wheelFrom + 10 * plan().metresPerPixelY(), 1e-9);

    // Pan and the zoom rectangle.
    QTest::keyClick(pw, Qt::Key_Asterisk);
    QTest::mouseClick(find<QToolButton>("tbZoomMouse"), Qt::LeftButton);
    EXPECT_EQ(plan().mouseMode, MouseMode::mmZoom);
    const double before = plan().metresPerPixelX();
    QTest::mousePress(pw, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(pw, QPoint(200, 180));
    EXPECT_FALSE(plan().rubberBand().isNull());
    QTest::mouseRelease(pw, Qt::LeftButton, {}, QPoint(200, 180));
    EXPECT_LT(plan().metresPerPixelX(), before);
    QTest::mouseClick(find<QToolButton>("tbPan"), Qt::LeftButton);
    EXPECT_EQ(plan().mouseMode, MouseMode::mmPan);

    // A right press on a unit: its popup menu with Move and Properties.
    QTest::keyClick(pw, Qt::Key_Asterisk);
    pw->repaint();
    const PlanSymbol& sym = plan().object(0);
    QTest::mousePress(pw, Qt::RightButton, {}, pixel(sym.x, sym.y));
    QMenu* menu = w()->planPage()->popupMenu();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(plan().object(0).selected);
    QStringList entries;
    for (QAction* a : menu->actions())
        if (a->isVisible())
            entries << a->text();
    EXPECT_EQ(entries, (QStringList{"Move", "Properties"}));
    menu->findChild<QAction*>(QStringLiteral("popMove"))->trigger();
    menu->hide();
    EXPECT_EQ(plan().mouseMode, MouseMode::mmMove);
    EXPECT_TRUE(find<QToolButton>("tbSelect")->isChecked());
}

TEST_F(ProjectWindowTest, PropertiesDialogOkMovesCancelRestores) {
    start(ventilated);
    chooseCount(rowOf(warmAir), 2);
    chooseCount(rowOf(destratifier), 1);
    placeUnits();
    TfrmObjProp& dialog = *z->objProp;
    PlanWidget* pw = w()->planPage()->planWidget();
    pw->repaint();

    // A destratifier: only the location among the lists, and the numbers.
    const int d = plan().count() - 1;
    ASSERT_EQ(plan().object(d).kind, ObjDestratifier);
    bool seen = false;
    dialog.onShown = [&](TfrmObjProp& dlgWindow) {
        seen = true;
        EXPECT_EQ(dlgWindow.windowTitle(), QStringLiteral("Unit properties"));
        EXPECT_TRUE(dlgWindow.list(UnitProperty::Location)->isEnabled());
        EXPECT_FALSE(dlgWindow.list(UnitProperty::FlueGasExhaust)->isEnabled());
        EXPECT_FALSE(dlgWindow.list(UnitProperty::AirSupply)->isEnabled());
        EXPECT_FALSE(dlgWindow.list(UnitProperty::ControlMethod)->isEnabled());
        for (const char* c : {"X", "Y", "Z", "Uhel"})
            EXPECT_TRUE(dlgWindow.numberField(QLatin1String(c))->isEnabled());
        EXPECT_EQ(dlgWindow.list(UnitProperty::Location)->currentIndex(), 3);
        dlgWindow.reject();
    };
    doubleClick(d);
    EXPECT_TRUE(seen);

    // A warm-air unit: X = 5 and the angle 90, OK.
    pw->repaint();
    const int u = 0;
    const int number = plan().object(u).number;
    dialog.onShown = [&](TfrmObjProp& dlgWindow) {
        EXPECT_TRUE(dlgWindow.list(UnitProperty::FlueGasExhaust)->isEnabled());
        EXPECT_EQ(dlgWindow.findChild<QLabel*>(QStringLiteral("DBTxtCislo"))->text(),
                  QString::number(number));
        QLineEdit* x = dlgWindow.numberField(QStringLiteral("X"));
        EXPECT_EQ(x->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        x->setText(QStringLiteral("5"));
        x->setModified(true);
        QLineEdit* a = dlgWindow.numberField(QStringLiteral("Uhel"));
        a->setText(QStringLiteral("90"));
        a->setModified(true);
        QTest::mouseClick(dlgWindow.findChild<QPushButton*>(QStringLiteral("btOK")),
                          Qt::LeftButton);
    };
    doubleClick(u);
    const int moved = indexOfNumber(number);
    ASSERT_GE(moved, 0);
    EXPECT_FLOAT_EQ(plan().object(moved).x, 5);
    EXPECT_EQ(plan().object(moved).angle, 90);

    // A refused number keeps the dialog open; the location changed and then
    // Cancel: the row keeps its choice and texts.
    Dataset& units = SessionProbe(s()).data().tJednotky;
    ASSERT_TRUE(units.locate(QStringLiteral("IDJednotky"), number));
    const int location = units.asInteger(QStringLiteral("Umisteni_enum"));
    const QString textCZ = units.asString(QStringLiteral("Umisteni_textCZ"));
    int shown = 0;
    dialog.onShown = [&](TfrmObjProp& dlgWindow) {
        if (++shown > 1)
            return;
        QLineEdit* y = dlgWindow.numberField(QStringLiteral("Y"));
        y->setText(QStringLiteral("1e12"));
        y->setModified(true);
        const size_t boxes = dlg.boxes.size();
        QTest::mouseClick(dlgWindow.findChild<QPushButton*>(QStringLiteral("btOK")),
                          Qt::LeftButton);
        EXPECT_EQ(dlg.boxes.size(), boxes + 1);
        EXPECT_TRUE(dlg.last().text.contains(QStringLiteral("out of range")))
            << qPrintable(dlg.last().text);
        EXPECT_TRUE(dlgWindow.isVisible()) << "a refused value keeps the dialog";
        QComboBox* list = dlgWindow.list(UnitProperty::Location);
        list->setCurrentIndex(4);
        emit list->activated(4);
        EXPECT_EQ(units.asInteger(QStringLiteral("Umisteni_enum")), 4);
        QTest::mouseClick(dlgWindow.findChild<QPushButton*>(QStringLiteral("btCancel")),
                          Qt::LeftButton);
    };
    pw->repaint();
    s().showUnitProperties(moved);
    units.refresh();
    ASSERT_TRUE(units.locate(QStringLiteral("IDJednotky"), number));
    EXPECT_EQ(units.asInteger(QStringLiteral("Umisteni_enum")), location);
    EXPECT_EQ(units.asString(QStringLiteral("Umisteni_textCZ")), textCZ);
    EXPECT_FLOAT_EQ(plan().object(moved).x, 5);
    dialog.onShown = nullptr;
}

TEST_F(ProjectWindowTest, ListPageShowsPanelsTheCurrentUnitAndItsPictures) {
    start(ventilated);
    chooseCount(rowOf(warmAir), 12);
    chooseCount(rowOf(destratifier), 1);
    placeUnits();
    drag(0, 12.3, 0.7);
    page(tsSeznamJednotek);
    EXPECT_FALSE(plan().PlanChanged) << "the list page stores the plan first";
    UnitListPage* list = w()->listPage();
    auto* header = find<QHeaderView>("HeaderControl_SeznamJednotek");
    ASSERT_EQ(header->count(), 10);
    EXPECT_EQ(header->sectionSize(0), 30);
    EXPECT_GE(header->sectionSize(7), 165) << "wider only where the language needs it";
    EXPECT_EQ(header->sectionSize(7), list->panel(0)->list(UnitProperty::FlueGasExhaust)->width());
    EXPECT_EQ(header->sectionResizeMode(6), QHeaderView::Fixed);
    EXPECT_EQ(header->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("X [m]"));
    EXPECT_EQ(header->model()->headerData(9, Qt::Horizontal).toString(),
              QStringLiteral("Method of control"));
    int visible = 0;
    for (int i = 0; i < UnitListPage::VisiblePanels; ++i)
        if (list->panel(i)->isVisible())
            ++visible;
    EXPECT_EQ(visible, 9) << "nine of thirteen panels";
    EXPECT_EQ(list->panel(0)->height(), 24);

    // The current row's lists are yellow; the data and pictures are its own.
    Dataset& u = SessionProbe(s()).data().tJednotky;
    u.first();
    QApplication::processEvents();
    UnitPanel* p0 = list->panelOfRow(0);
    ASSERT_TRUE(p0);
    EXPECT_EQ(p0->list(UnitProperty::Location)->palette().color(QPalette::Button),
              QColor(255, 255, 0));
    EXPECT_NE(list->panelOfRow(1)->list(UnitProperty::Location)->palette().color(QPalette::Button),
              QColor(255, 255, 0));
    EXPECT_TRUE(list->locationPicture()->file().endsWith(QStringLiteral("Montaz1.svg")));
    EXPECT_TRUE(list->locationPicture()->hasPicture());
    EXPECT_FALSE(find<QLabel>("DBTxtTepVykon")->text().isEmpty());
    EXPECT_EQ(find<QLabel>("lbTepVykon")->text(), LanguageText(1510) + QStringLiteral(" [kW]: "));
    EXPECT_FALSE(find<QLabel>("lbdT")->text().contains(QLatin1Char('-')));

    // Location "Fixed cantilever, top" for the first unit: stored at once in
    // every language, and its picture follows.
    QComboBox* location = p0->list(UnitProperty::Location);
    location->setCurrentIndex(2);
    emit location->activated(2);
    EXPECT_EQ(u.state(), Dataset::State::Browse);
    EXPECT_EQ(u.asInteger(QStringLiteral("Umisteni_enum")), 2);
    EXPECT_EQ(u.asString(QStringLiteral("Umisteni_textEN")),
              QStringLiteral("Fixed cantilever, top"));
    EXPECT_EQ(u.asString(QStringLiteral("Umisteni_textGE")), LanguageTextIn(BaseGE, 2452));
    EXPECT_TRUE(list->locationPicture()->file().endsWith(QStringLiteral("Montaz3.svg")));
    EXPECT_EQ(location->toolTip(), QStringLiteral("Fixed cantilever, top"));

    // The wheel anywhere over the window moves to the next unit.
    QWheelEvent down(QPointF(20, 20), QPointF(20, 20), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(find<QLabel>("lbOdvodSpalin"), &down);
    EXPECT_EQ(u.currentRow(), 1);

    // The destratifier's panel: location disabled, the other lists hidden.
    u.last();
    QApplication::processEvents();
    UnitPanel* pd = list->panelOfRow(u.currentRow());
    ASSERT_TRUE(pd) << "the current row is scrolled into view";
    EXPECT_FALSE(pd->list(UnitProperty::Location)->isEnabled());
    EXPECT_TRUE(pd->list(UnitProperty::FlueGasExhaust)->isHidden());
    EXPECT_TRUE(pd->list(UnitProperty::ControlMethod)->isHidden());
    EXPECT_TRUE(list->locationPicture()->file().endsWith(QStringLiteral("Dest.svg")));
    EXPECT_TRUE(list->flueGasPicture()->file().endsWith(QStringLiteral("Sizes/Rozv1.svg")));
    EXPECT_FALSE(s().setUnitChoice(u.currentRow(), UnitProperty::AirSupply, 1))
        << "a destratifier has only its location";
}

TEST_F(ProjectWindowTest, LanguageSwitchKeepsPageSelectionAndZoom) {
    start(ventilated);
    chooseCount(rowOf(warmAir), 3);
    placeUnits();
    auto* zoom = find<QComboBox>("cbScale");
    emit zoom->textActivated(QStringLiteral("200"));
    PlanWidget* pw = w()->planPage()->planWidget();
    pw->repaint();
    const PlanSymbol& sym = plan().object(1);
    QTest::mousePress(pw, Qt::RightButton, {}, pixel(sym.x, sym.y));
    QTest::mouseRelease(pw, Qt::RightButton, {}, pixel(sym.x, sym.y));
    w()->planPage()->popupMenu()->hide();
    ASSERT_TRUE(plan().object(1).selected);
    SessionProbe(s()).data().tResults.moveToRow(2);

    s().switchLanguage(BaseGE);
    // The coverage speaks the new language at once.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(
                  w()->findChild<CoverageBar*>(QStringLiteral("pbTepelny")))
                  ->text(QAccessible::Value),
              formatText(LanguageText(2124), {s().coverage().pHeat, s().coverage().heat / 1000.0,
                                              s().coverage().required / 1000.0}));
    EXPECT_EQ(w()->currentPage(), tsDraw);
    EXPECT_EQ(w()->pages()->tabText(tsDraw), LanguageText(2003));
    EXPECT_EQ(find<QToolButton>("tbZoomIn")->toolTip(), LanguageText(2203));
    EXPECT_EQ(find<QCheckBox>("cbAlignObjects")->text(), LanguageText(2207));
    EXPECT_DOUBLE_EQ(plan().Scale(), 200);
    EXPECT_EQ(zoom->currentText(), QStringLiteral("200"));
    EXPECT_TRUE(plan().object(1).selected);
    EXPECT_EQ(SessionProbe(s()).data().tResults.currentRow(), 2);
    EXPECT_EQ(w()->unitsPage()->grid()->currentIndex().row(), 2);
    auto* model = static_cast<DatasetModel*>(w()->unitsPage()->grid()->model());
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), LanguageText(2131));
    // The widths the German titles need stay when the table is read again.
    std::vector<int> widths;
    for (int c = 0; c < model->columnCount(); ++c)
        widths.push_back(w()->unitsPage()->grid()->columnWidth(c));
    EXPECT_GT(widths[3], 70) << "a German word wider than the English column";
    SessionProbe(s()).data().tResults.close();
    SessionProbe(s()).data().tResults.open();
    for (int c = 0; c < model->columnCount(); ++c)
        EXPECT_EQ(w()->unitsPage()->grid()->columnWidth(c), widths[size_t(c)]) << c;
    EXPECT_EQ(z->objProp->windowTitle(), LanguageText(2300));
    EXPECT_EQ(z->objProp->list(UnitProperty::Location)->itemText(0), LanguageText(2450));
    page(tsSeznamJednotek);
    EXPECT_EQ(w()->listPage()->panel(0)->list(UnitProperty::Location)->itemText(0),
              LanguageText(2450));
    s().switchLanguage(BaseEN);
}

namespace {

bool interactive(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::ScrollBar:
    case QAccessible::Table:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::PageTabList:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::Canvas:
    case QAccessible::Graphic:
    case QAccessible::ProgressBar:
        return true;
    default:
        return false;
    }
}

// Interactive controls without an accessible name, below an interface; the
// cells of tables and lists are their own names and are not walked.
void unnamed(QAccessibleInterface* iface, QStringList& missing, const QString& path) {
    if (!iface || iface->state().invisible)
        return;
    const QAccessible::Role role = iface->role();
    QString here = path;
    if (QObject* o = iface->object())
        here += QLatin1Char('/') + (o->objectName().isEmpty()
                                        ? QString::fromLatin1(o->metaObject()->className())
                                        : o->objectName());
    if (interactive(role) && iface->text(QAccessible::Name).trimmed().isEmpty())
        missing << here;
    if (role == QAccessible::Table || role == QAccessible::List || role == QAccessible::Tree ||
        role == QAccessible::ComboBox || role == QAccessible::PageTabList ||
        role == QAccessible::ScrollBar)
        return;
    for (int i = 0; i < iface->childCount(); ++i)
        unnamed(iface->child(i), missing, here);
}

} // namespace

TEST_F(ProjectWindowTest, EveryInteractiveControlHasAnAccessibleName) {
    start(ventilated);
    chooseCount(rowOf(warmAir), 2);
    chooseCount(rowOf(destratifier), 1);
    placeUnits();
    for (int base : {BaseEN, BaseCZ, BaseRU}) {
        s().switchLanguage(base);
        for (int p = 0; p < 4; ++p) {
            page(p);
            QStringList missing;
            unnamed(QAccessible::queryAccessibleInterface(w()), missing, QString());
            EXPECT_TRUE(missing.isEmpty()) << "language " << base << " page " << p << ": "
                                           << missing.join(QStringLiteral(", ")).toStdString();
        }
        z->objProp->show();
        QApplication::processEvents();
        QStringList missing;
        unnamed(QAccessible::queryAccessibleInterface(z->objProp.get()), missing, QString());
        EXPECT_TRUE(missing.isEmpty()) << missing.join(QStringLiteral(", ")).toStdString();
        z->objProp->hide();
    }
    s().switchLanguage(BaseEN);
    page(tsDraw);
    QAccessibleInterface* planIface =
        QAccessible::queryAccessibleInterface(w()->planPage()->planWidget());
    EXPECT_EQ(planIface->text(QAccessible::Name), QStringLiteral("Plan of the hall"));
    EXPECT_EQ(planIface->text(QAccessible::Description), QStringLiteral("Units on the plan: 3"));
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(
        w()->findChild<CoverageBar*>(QStringLiteral("pbTepelny")));
    EXPECT_EQ(bar->text(QAccessible::Name).trimmed(), LanguageText(2121).trimmed());
    EXPECT_EQ(bar->text(QAccessible::Value), s().coverage().textHeat());
}

// The whole road: a project from the tool, counts on page 2, Locate, a unit
// dragged on page 3, its location changed on page 4 under Russian, Save; the
// tool's export has the moved position and the chosen texts in every language.
TEST_F(ProjectWindowTest, FromTheToolsProjectToItsExport) {
    start(ventilated);
    const int heat = rowOf(warmAir);
    chooseCount(heat, required(heat));
    chooseCount(rowOf(destratifier), 1);
    placeUnits();
    ASSERT_EQ(w()->currentPage(), tsDraw);
    ASSERT_EQ(plan().object(0).number, 1);
    drag(0, 12.3, 0.7);
    ASSERT_EQ(plan().object(plan().count() - 1).number, 1);

    s().switchLanguage(BaseRU);
    page(tsSeznamJednotek);
    Dataset& u = SessionProbe(s()).data().tJednotky;
    ASSERT_TRUE(u.locate(QStringLiteral("IDJednotky"), 1));
    QApplication::processEvents();
    UnitPanel* panel = w()->listPage()->panelOfRow(u.currentRow());
    ASSERT_TRUE(panel);
    QComboBox* location = panel->list(UnitProperty::Location);
    location->setCurrentIndex(2);
    emit location->activated(2);
    s().switchLanguage(BaseEN);
    z->mainWindow->execute(QStringLiteral("acFileSave"));
    EXPECT_FALSE(Modified);
    z.reset(); // the program ends; the file is closed

    const QJsonObject exported = exportProject(path);
    bool found = false;
    for (const QJsonValue& v : exported.value(QStringLiteral("tJednotky")).toArray()) {
        const QJsonObject o = v.toObject();
        if (o.value(QStringLiteral("IDJednotky")).toInt() != 1)
            continue;
        found = true;
        EXPECT_DOUBLE_EQ(o.value(QStringLiteral("X")).toDouble(), 12);
        EXPECT_DOUBLE_EQ(o.value(QStringLiteral("Y")).toDouble(), 0.25);
        EXPECT_DOUBLE_EQ(o.value(QStringLiteral("Uhel")).toDouble(), 0);
        EXPECT_DOUBLE_EQ(o.value(QStringLiteral("Z")).toDouble(), 3.5) << "the height of units";
        EXPECT_EQ(o.value(QStringLiteral("Umisteni_enum")).toInt(), 2);
        for (const auto& [code, base] :
             {std::pair{"CZ", BaseCZ}, std::pair{"EN", BaseEN}, std::pair{"GE", BaseGE},
              std::pair{"PL", BasePL}, std::pair{"RU", BaseRU}}) {
            const QString text =
                o.value(QStringLiteral("Umisteni_text") + QLatin1String(code)).toString();
            EXPECT_EQ(text, LanguageTextIn(base, 2452)) << code;
            EXPECT_FALSE(text.isEmpty()) << code;
        }
    }
    EXPECT_TRUE(found);
}

// Not a check: the unit properties dialog of a warm-air unit and of a
// destratifier in every language, for a person to look at (ZEFRANT_SHOTS, under
// xvfb-run with QT_QPA_PLATFORM=xcb, and again with QT_SCALE_FACTOR=2).
TEST_F(ProjectWindowTest, PropertiesDialogLook) {
    const QString out = qEnvironmentVariable("ZEFRANT_SHOTS");
    if (out.isEmpty())
        GTEST_SKIP() << "set ZEFRANT_SHOTS to a folder to grab the dialog";
    QDir().mkpath(out);
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    start(ventilated);
    chooseCount(rowOf(warmAir), 2);
    chooseCount(rowOf(destratifier), 1);
    placeUnits();
    const int d = plan().count() - 1;
    const std::pair<const char*, const char*> languages[] = {
        {"acCZ", "CZ"}, {"acEN", "EN"}, {"acGE", "GE"}, {"acPL", "PL"}, {"acRU", "RU"}};
    for (const auto& [command, code] : languages) {
        z->mainWindow->action(QLatin1String(command))->trigger();
        for (const auto& [index, kind] : {std::pair{0, "unit"}, std::pair{d, "destratifier"}}) {
            const QString name = QStringLiteral("%1/objprop-%2-%3-x%4.png")
                                     .arg(out, QLatin1String(kind), QLatin1String(code), scale);
            z->objProp->onShown = [name](TfrmObjProp& dialog) {
                QTest::qWait(150);
                dialog.grab().save(name);
                dialog.reject();
            };
            s().showUnitProperties(index);
        }
        page(tsVstupniUdaje);
        z->mainWindow->grab().save(
            QStringLiteral("%1/summary-%2-x%3.png").arg(out, QLatin1String(code), scale));
    }
    z->objProp->onShown = nullptr;
    z->mainWindow->action(QStringLiteral("acEN"))->trigger();
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
