// The session's operations on whole project files and the exports of the open
// project, driven on a session with no window and no tool: the test dialogs
// answer and record what the program says.
#include "common/globals.h"
#include "common/numberformat.h"
#include "common/resultcodes.h"
#include "exchangesupport.h"
#include "i18n/texts.h"
#include "sessionsupport.h"
#include "shell/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace zf;
using namespace zf::test;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A ventilated hall with a skylight, entered and placed by the operations
// themselves from the designs of the tool's tests.
class OperationsTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        session->setHelpDisplay(false);
        file = work.filePath(QStringLiteral("hall.zfp"));
        ASSERT_TRUE(session->newProjectFile(file));
        Design design;
        QString error;
        ASSERT_TRUE(parseDesign(fileBytes(QStringLiteral(ZEFRANT_DESIGNS "/ventilation.json")),
                                &design, &error))
            << qPrintable(error);
        ASSERT_TRUE(session->applyDesign(file, design))
            << qPrintable(dlg.boxes.empty() ? QString() : dlg.last().text);
        ASSERT_TRUE(parseUnitsInput(
            fileBytes(QStringLiteral(ZEFRANT_DESIGNS "/ventilation-units.json")),
            QStringLiteral("units.json"), &units, &error))
            << qPrintable(error);
        ASSERT_TRUE(session->applyUnits(file, units));
        dlg.boxes.clear();
    }
    void TearDown() override {
        if (data->projectConnected())
            files->CloseProject(true);
        SessionTest::TearDown();
    }
    // Nothing of an operation stays open: no connection, no backup, no lock.
    void expectClosed() const {
        EXPECT_FALSE(data->projectConnected());
        EXPECT_FALSE(QFile::exists(file + QStringLiteral(".tmp")));
        EXPECT_FALSE(QFile::exists(ProjectFiles::lockFileOf(file)));
    }
    QJsonObject coverage(double spread) {
        QByteArray json;
        EXPECT_TRUE(session->coverageReport(file, spread, &json));
        return QJsonDocument::fromJson(json).object();
    }

    QString file;
    UnitsInput units;
};

} // namespace

TEST_F(OperationsTest, DesignAndUnitsAreEnteredFinishedPlacedAndSaved) {
    expectClosed();
    ASSERT_EQ(session->openFile(file), ResultOk);
    const Dataset& p = data->tADOProject;
    EXPECT_EQ(p.asString(QStringLiteral("ProjectName_text")), QString::fromUtf8("Montážní hala 7"));
    EXPECT_GT(p.asFloat(QStringLiteral("Topny_vykon")), 0.0) << "Finish ran the results chain";
    int chosen = 0;
    for (const auto& [id, n] : units.counts)
        chosen += n;
    EXPECT_EQ(data->tJednotky.recordCount(), chosen) << "every chosen unit placed";
    files->CloseProject(true);

    // Placing again over a placed plan asks whether to replace it; the operation
    // answers Yes although the test dialogs would say No.
    const QByteArray before = fileBytes(file);
    units.longerSide = false;
    ASSERT_TRUE(session->applyUnits(file, units));
    ASSERT_FALSE(dlg.boxes.empty());
    EXPECT_EQ(dlg.last().text, LanguageText(5014));
    EXPECT_NE(fileBytes(file), before) << "placed anew along the shorter side";
    expectClosed();
}

TEST_F(OperationsTest, RefusalsLeaveTheFileByteForByte) {
    const QByteArray before = fileBytes(file);
    Design design;
    QString error;
    // A negative height is set back with an error box: the design is refused.
    ASSERT_TRUE(parseDesign(R"({ "walls": [ { "VariantaHaly": "hB", "CisloSteny": 1,
        "openings": [ { "Nazev": "Gate", "k": 2, "Vyska": -3, "Sirka": 2, "Pocet": 1 } ] } ] })",
                            &design, &error))
        << qPrintable(error);
    EXPECT_FALSE(session->applyDesign(file, design));
    EXPECT_EQ(dlg.last().flags, MbError);
    EXPECT_EQ(fileBytes(file), before);
    expectClosed();

    // A unit type the project does not offer.
    UnitsInput in;
    in.counts = {{999, 1}};
    in.source = QStringLiteral("u.json");
    EXPECT_FALSE(session->applyUnits(file, in));
    EXPECT_EQ(dlg.last().text, formatText(LanguageText(3159), {QStringLiteral("u.json"), 999}));
    EXPECT_EQ(fileBytes(file), before);
    expectClosed();
}

TEST_F(OperationsTest, CoverageOfTheStoredUnits) {
    const QByteArray before = fileBytes(file);
    const QJsonObject c40 = coverage(40);
    expectClosed();
    EXPECT_EQ(fileBytes(file), before);
    const double floor = c40[QStringLiteral("floor_area")].toDouble();
    const double covered = c40[QStringLiteral("covered_area")].toDouble();
    EXPECT_DOUBLE_EQ(floor, 36.0 * 18.0) << "the hall of the design";
    EXPECT_GT(covered, 0.0);
    EXPECT_LE(covered, floor);
    EXPECT_NEAR(c40[QStringLiteral("covered_percent")].toDouble(), 100 * covered / floor, 0.01);
    EXPECT_EQ(c40[QStringLiteral("spread_deg")].toDouble(), 40.0);
    const QJsonArray list = c40[QStringLiteral("units")].toArray();
    ASSERT_FALSE(list.isEmpty());
    int last = 0;
    double largest = 0;
    for (const QJsonValue& v : list) {
        const QJsonObject u = v.toObject();
        EXPECT_GT(u[QStringLiteral("IDJednotky")].toInt(), last) << "by number";
        last = u[QStringLiteral("IDJednotky")].toInt();
        EXPECT_GT(u[QStringLiteral("throw")].toDouble(), 0.0);
        largest = std::max(largest, u[QStringLiteral("zone_area")].toDouble());
    }
    EXPECT_GE(covered + 0.01, largest) << "the union holds each zone";
    // Wider sectors of the same throws hold the narrower ones.
    const QJsonObject c90 = coverage(90);
    EXPECT_GT(c90[QStringLiteral("covered_area")].toDouble(), covered);
    EXPECT_EQ(c90[QStringLiteral("units")].toArray().size(), list.size());

    // An angle no sector has is refused before the file is opened.
    for (const double bad : {0.0, -5.0, 181.0, std::nan("")}) {
        dlg.boxes.clear();
        QByteArray json;
        EXPECT_FALSE(session->coverageReport(file, bad, &json)) << bad;
        ASSERT_EQ(dlg.boxes.size(), 1u);
        EXPECT_EQ(dlg.last().flags, MbError);
        EXPECT_TRUE(json.isEmpty());
    }
    EXPECT_EQ(fileBytes(file), before);
}

TEST_F(OperationsTest, ExportProjectReadsTheTablesAsStored) {
    const QByteArray before = fileBytes(file);
    QByteArray json;
    ASSERT_TRUE(session->exportProject(file, &json));
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    EXPECT_EQ(o[QStringLiteral("tJednotky")].toArray().size(), 5);
    EXPECT_EQ(o[QStringLiteral("tRozmery")].toArray()[0].toObject()[QStringLiteral("Stena_A")],
              36);
    EXPECT_EQ(fileBytes(file), before);
    expectClosed();
    EXPECT_FALSE(session->exportProject(work.filePath(QStringLiteral("none.zfp")), &json));
    EXPECT_FALSE(dlg.boxes.empty());
}

TEST_F(OperationsTest, PlanAndWorkbookOfAFileInTwoLanguages) {
    const QByteArray before = fileBytes(file);
    for (const int base : {BaseEN, BaseGE}) {
        setLanguage(base);
        const QString code = languageCodeOfBase(base);
        const QString dxf = work.filePath(QStringLiteral("plan-%1.dxf").arg(code));
        const QString xlsx = work.filePath(QStringLiteral("book-%1.xlsx").arg(code));
        ASSERT_TRUE(session->writePlanDxf(file, dxf));
        ASSERT_TRUE(session->writeWorkbook(file, xlsx));
        expectClosed();
        const DxfDrawing d = readDxf(dxf);
        ASSERT_TRUE(d.read);
        int inserts = 0;
        for (const auto& i : d.model.inserts)
            inserts += i.layer == QLatin1String("UNITS");
        EXPECT_EQ(inserts, 5);
        const XlsxBook book = readXlsx(xlsx);
        ASSERT_TRUE(book.read) << qPrintable(book.error);
        ASSERT_EQ(book.sheets.size(), 5u);
        const XlsxSheet& placed = book.sheets[4];
        int numbered = 0;
        for (int r = placed.frozenRows; r <= placed.lastRow(); ++r)
            numbered += placed.cell(r, 0) && placed.cell(r, 0)->isNumber() &&
                        !placed.cell(r, 0)->value.isEmpty();
        EXPECT_EQ(numbered, 5) << "one row per placed unit";
    }
    EXPECT_NE(readXlsx(work.filePath(QStringLiteral("book-EN.xlsx"))).sheets[1].name,
              readXlsx(work.filePath(QStringLiteral("book-GE.xlsx"))).sheets[1].name)
        << "the sheets are named in the language";
    setLanguage(BaseEN);
    EXPECT_EQ(fileBytes(file), before);
}

TEST_F(OperationsTest, AnOutputOverTheProjectOrItsBackupIsRefused) {
    const QByteArray before = fileBytes(file);
    for (const QString& out : {file, file + QStringLiteral(".tmp"),
                               work.filePath(QStringLiteral("./hall.zfp"))}) {
        dlg.boxes.clear();
        EXPECT_FALSE(session->writePlanDxf(file, out)) << qPrintable(out);
        EXPECT_FALSE(session->writeWorkbook(file, out));
        EXPECT_FALSE(session->writeReport(file, ReportKind::Pdf, out));
        ASSERT_EQ(dlg.boxes.size(), 3u);
        EXPECT_TRUE(dlg.last().text.startsWith(QDir::toNativeSeparators(file)))
            << qPrintable(dlg.last().text);
        EXPECT_EQ(fileBytes(file), before);
        expectClosed();
    }
}

// --- the exports of the open project ------------------------------------------------

// The report of the open project into its own file or its backup, asked by the
// File commands or by the output options: the program's message, no report.
TEST_F(OperationsTest, TheReportIsNotWrittenOverTheOpenProject) {
    struct ToFile : ReportPresenter {
        QString file;
        bool written = false;
        bool setup(ReportSetup& s) override {
            s.destination = ReportDestination::PdfFile;
            return true;
        }
        void present(ReportDestination, const ReportDocument& doc,
                     const ResolvedReport& report) override {
            written = writeReportFile(doc, report, false, file, this);
        }
    };
    ASSERT_EQ(session->openFile(file), ResultOk);
    const QString backup = SessionProbe(*session).files().BackupFile;
    const QByteArray before = fileBytes(file);
    for (const QString& out : {file, backup}) {
        SCOPED_TRACE(qPrintable(out));
        for (const ReportKind kind : {ReportKind::Pdf, ReportKind::Rtf}) {
            dlg.boxes.clear();
            dlg.saveNames = {out};
            EXPECT_FALSE(session->reportCommand(kind, nullptr).ok);
            ASSERT_EQ(dlg.boxes.size(), 1u);
            EXPECT_EQ(dlg.last().text,
                      formatText(LanguageText(3555), {QDir::toNativeSeparators(out)}));
        }
        ToFile presenter;
        presenter.file = out;
        dlg.boxes.clear();
        session->reportCommand(ReportKind::Print, &presenter);
        EXPECT_FALSE(presenter.written);
        ASSERT_EQ(dlg.boxes.size(), 1u);
        EXPECT_EQ(dlg.last().flags, MbError);
    }
    EXPECT_EQ(fileBytes(file), before);
    EXPECT_EQ(session->commandSave(), ResultOk) << "the project still saves";

    ToFile elsewhere;
    elsewhere.file = work.filePath(QStringLiteral("report.pdf"));
    session->reportCommand(ReportKind::Print, &elsewhere);
    EXPECT_TRUE(elsewhere.written);
    EXPECT_TRUE(fileBytes(elsewhere.file).startsWith("%PDF"));
}

TEST_F(OperationsTest, TheExportShowsThePlansMovesNotYetStored) {
    ASSERT_EQ(session->openFile(file), ResultOk);
    SessionProbe(*session).units().plan.AutoAlign = false;
    SessionProbe(*session).units().plan.DropObject(0, 11.5, 9.25);
    const QString dxf = work.filePath(QStringLiteral("moved.dxf"));
    ASSERT_TRUE(session->exportPlan(dxf));
    const DxfDrawing d = readDxf(dxf);
    bool found = false;
    for (const auto& i : d.model.inserts)
        found = found || (std::abs(i.at.x() - 11.5) < 1e-9 && std::abs(i.at.y() - 9.25) < 1e-9);
    EXPECT_TRUE(found) << "the moved unit where it was dropped";
}

TEST_F(OperationsTest, ExportCommandsAskInTheLanguageAndRememberTheFolder) {
    UserSettings settings(work.filePath(QStringLiteral("settings.ini")));
    session->setSettings(&settings);
    EXPECT_FALSE(session->commandExportPlan()) << "no project";
    EXPECT_TRUE(dlg.saveDialogs.empty());

    ASSERT_EQ(session->openFile(file), ResultOk);
    QDir().mkpath(work.filePath(QStringLiteral("out")));
    const QString dxf = work.filePath(QStringLiteral("out/hall plan.dxf"));
    dlg.saveNames = {dxf};
    ASSERT_TRUE(session->commandExportPlan());
    ASSERT_EQ(dlg.saveDialogs.size(), 1u);
    EXPECT_EQ(dlg.saveDialogs[0].title, LanguageText(3551));
    EXPECT_EQ(dlg.saveDialogs[0].filter, LanguageText(3552));
    EXPECT_EQ(dlg.saveDialogs[0].defaultSuffix, QStringLiteral("dxf"));
    EXPECT_EQ(dlg.saveDialogs[0].initialFolder, work.filePath(QStringLiteral("hall.dxf")))
        << "the project's folder and name the first time";
    EXPECT_TRUE(readDxf(dxf).read);

    // Cancelled: nothing written, the folder kept.
    dlg.saveNames = {QString()};
    EXPECT_FALSE(session->commandExportWorkbook());
    EXPECT_EQ(dlg.saveDialogs[1].initialFolder, work.filePath(QStringLiteral("out/hall.xlsx")));
    EXPECT_EQ(dlg.saveDialogs[1].title, LanguageText(3553));

    // A refused write: the program's message, no file, and the folder stays the
    // last one that took an export.
    dlg.boxes.clear();
    const QString gone = work.filePath(QStringLiteral("gone/book.xlsx"));
    dlg.saveNames = {gone};
    EXPECT_FALSE(session->commandExportWorkbook());
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_EQ(dlg.last().flags, MbError);
    EXPECT_FALSE(QFile::exists(gone));
    files->CloseProject(true);

    UserSettings again(work.filePath(QStringLiteral("settings.ini")));
    again.read([] { return BaseEN; });
    EXPECT_EQ(again.exportFolder, withTrailingSlash(work.filePath(QStringLiteral("out"))));
    session->setSettings(nullptr);
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
