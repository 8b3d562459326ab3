// One project session from New to the re-opened file, without any window: the
// wiring between the wizard, the results, the units and the files.
#include "common/globals.h"
#include "common/resultcodes.h"
#include "i18n/texts.h"
#include "sessionsupport.h"
#include "shell/settings.h"
#include "storage/jsonexport.h"
#include "storage/syncstats.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>

using namespace zf;
using namespace zf::test;

namespace {

class SessionRoadTest : public SessionTest {
protected:
    void enter(const char* edit, const QVariant& v) {
        QString error;
        ASSERT_TRUE(wizard->enterEdit(QLatin1String(edit), v, &error)) << qPrintable(error);
    }
    // A saddle-roofed hall of 30 x 20 m with a skylight, heating and ventilation.
    void enterHall() {
        ASSERT_EQ(session->commandNew(), ResultOk);
        data->openMaterials();
        wizard->chooseRoofType(RoofType::Saddle);
        wizard->chooseSkylightType(SkylightType::Type2);
        wizard->chooseRegion(QStringLiteral("Praha"));
        wizard->setVentilation(true);
        wizard->setFamily(FamilyAX, true);
        for (auto [e, v] : std::vector<std::pair<const char*, double>>{{"DBEd_A", 30},
                                                                       {"DBEd_B", 20},
                                                                       {"DBEd_H1", 6},
                                                                       {"DBEd_H2", 2},
                                                                       {"DBEd_svA", 10},
                                                                       {"DBEd_svB", 3},
                                                                       {"DBEd_svH1", 1},
                                                                       {"DBEd_svH2", 0.5},
                                                                       {"DBEd_Ti", 18},
                                                                       {"DBEd_Vcz", 3000}})
            enter(e, v);
        wizard->setPage(tsStavebniKonstrukce);
        Dataset& walls = data->tSteny;
        for (walls.first(); !walls.eof(); walls.next()) {
            walls.setValue(QStringLiteral("k"), 0.4);
            walls.post();
        }
        walls.first();
        dlg.answers = {IdNo};
        wizard->constructions.openingFromCatalog(QStringLiteral("Gate"), 2.5);
        data->tStavOtvory.setValue(QStringLiteral("Vyska"), 4.0);
        data->tStavOtvory.setValue(QStringLiteral("Sirka"), 4.0);
        data->tStavOtvory.post();
    }
};

} // namespace

TEST_F(SessionRoadTest, NewInputFinishUnitsPlaceSaveAndReopen) {
    RecordingView view(*session);
    enterHall();
    EXPECT_TRUE(view.saw(QStringLiteral("show wizard")));
    ASSERT_TRUE(session->finishWizard(true));
    EXPECT_GT(data->tADOProject.asFloat(QStringLiteral("Q")), 0.0);
    EXPECT_TRUE(session->ventilationLineVisible());
    ASSERT_GT(data->tResults.recordCount(), 3);

    // The first unit type, enough of it to cover the output, and a destratifier.
    data->tResults.first();
    const int first = data->tResults.asInteger(QStringLiteral("ID"));
    const int required = data->tResults.asInteger(QStringLiteral("Max_pocet_jednotek"));
    ASSERT_GT(required, 0);
    ASSERT_TRUE(session->chooseUnitCount(first, required));
    EXPECT_EQ(session->coverage().units, required) << "the coverage follows the count";
    data->tResults.last();
    ASSERT_TRUE(session->chooseUnitCount(data->tResults.asInteger(QStringLiteral("ID")), 2));
    EXPECT_EQ(session->coverage().destr, 2);
    EXPECT_FALSE(session->chooseUnitCount(9999, 1)) << "no such row";

    ASSERT_TRUE(session->setPlacementHeight(QStringLiteral("Vyska_jednotek"), 4.0));
    ASSERT_TRUE(session->setPlacementHeight(QStringLiteral("Vyska_destrat"), 7.0));
    ASSERT_EQ(session->placeUnits(), PlaceResult::Placed);
    EXPECT_EQ(SessionProbe(*session).units().plan.count(), required + 2);
    // A unit moved on the plan goes to the file with the save.
    SessionProbe(*session).units().plan.DropObject(0, 12.3, 0.7);
    const int moved = SessionProbe(*session).units().plan.object(SessionProbe(*session).units().plan.count() - 1).number;

    const QString path = work.filePath(QStringLiteral("road.zfp"));
    dlg.saveNames = {path};
    ASSERT_EQ(session->commandSave(), ResultOk);
    const QByteArray stored = exportProjectJson(data->projectConnection());
    const QJsonObject storedJson = QJsonDocument::fromJson(stored).object();
    bool found = false;
    for (const QJsonValue& u : storedJson.value(QStringLiteral("tJednotky")).toArray()) {
        const QJsonObject o = u.toObject();
        if (o.value(QStringLiteral("IDJednotky")).toInt() == moved) {
            found = true;
            EXPECT_DOUBLE_EQ(o.value(QStringLiteral("X")).toDouble(), 12);
            EXPECT_DOUBLE_EQ(o.value(QStringLiteral("Y")).toDouble(), 0.25);
        }
    }
    EXPECT_TRUE(found) << "the moved unit was stored before the save";
    SessionProbe(*session).files().CloseProject(true);
    session.reset();

    ProjectSession again;
    again.setHelpDisplay(false);
    ASSERT_TRUE(again.start());
    ASSERT_EQ(again.openFile(path), ResultOk);
    EXPECT_EQ(exportProjectJson(SessionProbe(again).data().projectConnection()), stored)
        << "the re-opened project is what was stored";
    EXPECT_EQ(SessionProbe(again).units().plan.count(), required + 2);
    EXPECT_EQ(again.coverage().destr, 2);
    EXPECT_TRUE(again.summary().filled);
    EXPECT_EQ(SessionProbe(again).wizard().state().roofType, RoofType::Saddle);
    EXPECT_FALSE(Modified);
    SessionProbe(again).files().CloseProject(true);
}

namespace {

// The output options answered with German and the printer; what the preview and
// the printer were given is written down, the plan's picture with it.
struct GermanPrinter final : ReportPresenter {
    bool setup(ReportSetup& s) override {
        offered = s.language;
        s.language = QStringLiteral("GE");
        s.destination = ReportDestination::Printer;
        return true;
    }
    void present(ReportDestination, const ReportDocument&, const ResolvedReport& r) override {
        report = r.name;
        for (const ResolvedPage& page : r.pages)
            for (const ResolvedBlock& b : page.blocks)
                if (b.type == ResolvedBlock::Picture &&
                    b.file.endsWith(QLatin1String("Draw.svg"))) {
                    QFile f(b.file);
                    if (f.open(QIODevice::ReadOnly))
                        plan = QString::fromUtf8(f.readAll());
                }
    }
    QString offered, report, plan;
};

} // namespace

TEST_F(SessionRoadTest, TheReportsLanguageIsKeptInTheSettingsAndTheWindowsKeepTheirs) {
    // The report's pages are laid out with fonts.
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_session";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv); // lives until the process ends
    }
    const QString file = work.filePath(QStringLiteral("settings.ini"));
    UserSettings settings(file);
    settings.read([] { return BaseCZ; });
    session->setSettings(&settings);
    enterHall();
    ASSERT_TRUE(session->finishWizard(false));
    setLanguage(BaseCZ);

    GermanPrinter printer;
    ReportRunResult r = session->runReport(ReportKind::Print, QString(), &printer);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(printer.offered, QStringLiteral("CZ")) << "the windows' language at first";
    EXPECT_EQ(printer.report, QStringLiteral("ReportGE"));
    EXPECT_TRUE(printer.plan.contains(QStringLiteral("30,00 m"))) << "the plan's dimensions";
    EXPECT_EQ(LanguageBase, BaseCZ);
    EXPECT_EQ(LanguageCode, QStringLiteral("CZ"));
    {
        QSettings stored(file, QSettings::IniFormat);
        EXPECT_EQ(
            stored.value(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/ReportLanguage"))
                .toString(),
            QStringLiteral("GE"))
            << "written when chosen";
    }
    // The commands without output options print in the kept language.
    r = session->runReport(ReportKind::Preview, QString(), &printer);
    EXPECT_EQ(r.report, QStringLiteral("ReportGE"));
    UserSettings again(file);
    again.read({});
    EXPECT_EQ(again.reportLanguage, QStringLiteral("GE")) << "and read at the next start";
    session->setSettings(nullptr);
    setLanguage(BaseEN);
}

TEST_F(SessionRoadTest, FinishIsOneCommitAndAFailureLeavesNothingBehind) {
    enterHall();
    const qint64 before = syncCounts().database;
    ASSERT_TRUE(session->finishWizard(false));
    // One commit syncs the journal and the file; the backup of a new project is
    // a synced copy of its own.
    EXPECT_LE(syncCounts().database - before, 4) << "the finish step commits once";

    // A finish that cannot be written rolls back whole and says so.
    session->openWizard();
    const double q = data->tADOProject.asFloat(QStringLiteral("Q"));
    enter("DBEd_A", 40);
    StorageTest::sql(files->CurrentFile, QStringLiteral("DROP TABLE tTempTable"));
    const size_t boxes = dlg.boxes.size();
    EXPECT_FALSE(session->finishWizard(false));
    ASSERT_GT(dlg.boxes.size(), boxes);
    EXPECT_TRUE(dlg.last().text.startsWith(QStringLiteral("Cannot write to file")));
    EXPECT_TRUE(wizard->visible()) << "the wizard stays for another try";
    data->tADOProject.refresh();
    EXPECT_DOUBLE_EQ(data->tADOProject.asFloat(QStringLiteral("Q")), q)
        << "nothing of the failed finish is in the file";
}

TEST_F(SessionRoadTest, ResultsBeyondTheCalculationAreRefusedUntilTheInputsAreCorrected) {
    enterHall();
    ASSERT_TRUE(session->finishWizard(false));
    const double q = data->tADOProject.asFloat(QStringLiteral("Q"));
    auto walkAndFinish = [&] {
        wizard->setPage(tsUvodniText);
        while (wizard->activePage() != tsZaver) {
            const int before = wizard->activePage();
            wizard->next();
            if (wizard->activePage() == before)
                break;
        }
        return session->finishWizard(false);
    };

    // A hall of 1e20 x 1e20 m has a floor no single-precision number holds.
    session->openWizard();
    enter("DBEd_A", 1e20);
    enter("DBEd_B", 1e20);
    EXPECT_FALSE(walkAndFinish());
    ASSERT_FALSE(dlg.boxes.empty());
    EXPECT_TRUE(dlg.last().text.startsWith(LanguageText(5029).section(QLatin1Char(':'), 0, 0)))
        << qPrintable(dlg.last().text);
    EXPECT_TRUE(wizard->visible()) << "the wizard stays for the correction";
    data->tADOProject.refresh();
    EXPECT_DOUBLE_EQ(data->tADOProject.asFloat(QStringLiteral("Q")), q)
        << "no result of the refused finish is in the file";

    // Corrected, the same wizard finishes: nothing of the refusal lingers.
    enter("DBEd_A", 40);
    enter("DBEd_B", 20);
    const size_t boxes = dlg.boxes.size();
    EXPECT_TRUE(walkAndFinish());
    EXPECT_EQ(dlg.boxes.size(), boxes);
    EXPECT_GT(data->tADOProject.asFloat(QStringLiteral("Q")), q) << "a larger hall loses more";
}

TEST_F(SessionRoadTest, ViewsUnsubscribeWhenDestroyed) {
    auto view = std::make_unique<RecordingView>(*session);
    RecordingView other(*session);
    view.reset();
    ASSERT_EQ(session->commandNew(), ResultOk);
    EXPECT_TRUE(other.saw(QStringLiteral("show wizard")));
    EXPECT_TRUE(other.saw(QStringLiteral("focus wizard DBEd_ProjectName")));
}

// Opening a project and closing it without a change writes nothing: the file
// keeps its bytes and its modification time.
TEST_F(SessionRoadTest, OpeningAndClosingWithoutAChangeWritesNothing) {
    enterHall();
    ASSERT_TRUE(session->finishWizard(true));
    data->tResults.first();
    ASSERT_TRUE(session->chooseUnitCount(data->tResults.asInteger(QStringLiteral("ID")), 3));
    ASSERT_EQ(session->placeUnits(), PlaceResult::Placed);
    const QString path = work.filePath(QStringLiteral("quiet.zfp"));
    dlg.saveNames = {path};
    ASSERT_EQ(session->commandSave(), ResultOk);
    ASSERT_EQ(session->commandClose(), ResultOk);
    const QByteArray bytes = readAll(path);
    const QDateTime mtime = QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        ASSERT_EQ(session->openFile(path), ResultOk);
        EXPECT_FALSE(Modified);
        const size_t boxes = dlg.boxes.size();
        ASSERT_EQ(session->commandClose(), ResultOk);
        EXPECT_EQ(dlg.boxes.size(), boxes) << "nothing to ask";
        EXPECT_EQ(readAll(path), bytes);
        EXPECT_EQ(QFileInfo(path).fileTime(QFileDevice::FileModificationTime), mtime);
    }
}
