// zefrant-cli coverage, plan and sheet as a user runs them: what they print and
// write, and that FILE never changes and a refused OUT is never left behind.
#include "clirun.h"
#include "i18n/texts.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zf;
using namespace zf::test;

namespace {

// One placed hall for all tests of this file.
class CliExportsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new QTemporaryDir;
        file = new QString(dir->filePath(QStringLiteral("hall.zfp")));
        ASSERT_EQ(runCliProcess({QStringLiteral("new"), *file}).status, 0);
        CliRun r = runCliProcess(
            {QStringLiteral("input"), *file, QStringLiteral(ZEFRANT_DESIGNS "/ventilation.json")});
        ASSERT_EQ(r.status, 0) << r.err.constData();
        r = runCliProcess({QStringLiteral("units"), *file,
                           QStringLiteral(ZEFRANT_DESIGNS "/ventilation-units.json")});
        ASSERT_EQ(r.status, 0) << r.err.constData();
    }
    static void TearDownTestSuite() {
        delete file;
        delete dir;
    }
    void SetUp() override {
        before = fileBytes(*file);
        mtime = QFileInfo(*file).fileTime(QFileDevice::FileModificationTime);
    }
    // FILE as it was, with nothing of a run left beside it.
    void expectUnchanged() const {
        EXPECT_EQ(fileBytes(*file), before);
        EXPECT_EQ(QFileInfo(*file).fileTime(QFileDevice::FileModificationTime), mtime);
        EXPECT_FALSE(QFile::exists(*file + QStringLiteral(".tmp")));
    }
    static QString out(const QString& name) { return dir->filePath(name); }

    static QTemporaryDir* dir;
    static QString* file;
    QByteArray before;
    QDateTime mtime;
};

QTemporaryDir* CliExportsTest::dir = nullptr;
QString* CliExportsTest::file = nullptr;

QString utf8(const QByteArray& b) {
    return QString::fromUtf8(b);
}

// One part of a workbook, as a spreadsheet program unpacks it.
QByteArray zipPart(const QString& zip, const QString& part) {
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, part});
    p.waitForFinished(30000);
    return p.readAllStandardOutput();
}

} // namespace

TEST_F(CliExportsTest, CoveragePrintsTheZonesAndLeavesTheFile) {
    const CliRun r = runCliProcess({QStringLiteral("coverage"), *file});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
    QJsonParseError pe;
    const QJsonObject o = QJsonDocument::fromJson(r.out, &pe).object();
    ASSERT_EQ(pe.error, QJsonParseError::NoError) << r.out.constData();
    EXPECT_EQ(o[QStringLiteral("floor_area")].toDouble(), 648.0);
    EXPECT_EQ(o[QStringLiteral("spread_deg")].toDouble(), 40.0);
    const double covered = o[QStringLiteral("covered_area")].toDouble();
    EXPECT_GT(covered, 0.0);
    EXPECT_NEAR(o[QStringLiteral("covered_percent")].toDouble(), 100 * covered / 648.0, 0.01);
    const QJsonArray units = o[QStringLiteral("units")].toArray();
    ASSERT_EQ(units.size(), 2) << "the warm-air units only: no MK unit, no destratifier";
    for (const QJsonValue& u : units)
        for (const char* key : {"IDJednotky", "throw", "zone_area"})
            EXPECT_TRUE(u.toObject()[QLatin1String(key)].isDouble()) << key;
    expectUnchanged();

    const CliRun wide = runCliProcess(
        {QStringLiteral("coverage"), *file, QStringLiteral("--spread"), QStringLiteral("75.5")});
    ASSERT_EQ(wide.status, 0) << wide.err.constData();
    const QJsonObject w = QJsonDocument::fromJson(wide.out).object();
    EXPECT_EQ(w[QStringLiteral("spread_deg")].toDouble(), 75.5);
    EXPECT_GT(w[QStringLiteral("covered_area")].toDouble(), covered);
    expectUnchanged();
}

TEST_F(CliExportsTest, WithoutSpreadTheToolTakesTheUsersSettingAsTheProgramDoes) {
    const QString settings = out(QStringLiteral("settings/Zefrant.ini"));
    QDir().mkpath(QFileInfo(settings).path());
    auto coverageWith = [&](const QByteArray& ini, const QStringList& extra) {
        EXPECT_TRUE(writeBytes(settings, ini));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZEFRANT_SETTINGS"), settings);
        const CliRun r =
            runCliProcess(QStringList{QStringLiteral("coverage"), *file} + extra, 60000, env);
        EXPECT_EQ(r.status, 0) << r.err.constData();
        return QJsonDocument::fromJson(r.out).object()[QStringLiteral("spread_deg")].toDouble();
    };
    const QByteArray ini = "[Software]\nQuadrel\\Zefrant\\1.0\\General\\ThrowSpread=60\n";
    EXPECT_EQ(coverageWith(ini, {}), 60.0);
    EXPECT_EQ(coverageWith(ini, {QStringLiteral("--spread"), QStringLiteral("30")}), 30.0)
        << "--spread overrides it";
    EXPECT_EQ(coverageWith("[Software]\nQuadrel\\Zefrant\\1.0\\General\\ThrowSpread=150\n", {}),
              40.0)
        << "a stored spread the settings do not take reads as the default";
    EXPECT_EQ(fileBytes(settings),
              QByteArray("[Software]\nQuadrel\\Zefrant\\1.0\\General\\ThrowSpread=150\n"))
        << "the tool writes no settings";
    expectUnchanged();
}

TEST_F(CliExportsTest, CoverageOfAProjectWithoutUnitsCoversNothing) {
    const QString empty = out(QStringLiteral("empty.zfp"));
    ASSERT_EQ(runCliProcess({QStringLiteral("new"), empty}).status, 0);
    const CliRun r = runCliProcess({QStringLiteral("coverage"), empty});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o[QStringLiteral("covered_area")].toDouble(), 0.0);
    EXPECT_TRUE(o[QStringLiteral("units")].isArray());
    EXPECT_TRUE(o[QStringLiteral("units")].toArray().isEmpty());
}

TEST_F(CliExportsTest, ABadSpreadIsAUsageErrorOrARefusalInTheLanguage) {
    // Not a number: the call is wrong.
    CliRun r =
        runCliProcess({QStringLiteral("--lang"), QStringLiteral("CZ"), QStringLiteral("coverage"),
                       *file, QStringLiteral("--spread"), QStringLiteral("wide")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(utf8(r.err).contains(
        LanguageTextIn(BaseCZ, 3190).replace(QStringLiteral("%s"), QStringLiteral("wide"))))
        << r.err.constData();
    EXPECT_TRUE(r.out.isEmpty());
    for (const QStringList& args :
         {QStringList{QStringLiteral("coverage"), *file, QStringLiteral("--spread")},
          QStringList{QStringLiteral("coverage"), *file, QStringLiteral("--angle"),
                      QStringLiteral("40")},
          QStringList{QStringLiteral("coverage")}})
        EXPECT_EQ(runCliProcess(args).status, 2) << args.join(QLatin1Char(' ')).toStdString();
    // A number that makes no sector: refused, with the program's message.
    for (const char* bad : {"0", "-10", "180.5"}) {
        r = runCliProcess({QStringLiteral("--lang"), QStringLiteral("GE"),
                           QStringLiteral("coverage"), *file, QStringLiteral("--spread"),
                           QLatin1String(bad)});
        EXPECT_EQ(r.status, 1) << bad;
        EXPECT_TRUE(r.err.startsWith("box error: ")) << r.err.constData();
        EXPECT_TRUE(
            utf8(r.err).contains(LanguageTextIn(BaseGE, 3546).section(QLatin1Char('%'), 0, 0)))
            << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty());
    }
    expectUnchanged();
}

TEST_F(CliExportsTest, PlanAndSheetInTwoLanguages) {
    QByteArray workbooks[2];
    int i = 0;
    for (const char* lang : {"EN", "PL"}) {
        SCOPED_TRACE(lang);
        const QString dxf = out(QStringLiteral("plan-%1.dxf").arg(QLatin1String(lang)));
        const QString xlsx = out(QStringLiteral("book-%1.xlsx").arg(QLatin1String(lang)));
        CliRun r = runCliProcess({QStringLiteral("--lang"), QLatin1String(lang),
                                  QStringLiteral("plan"), *file, QStringLiteral("--dxf"), dxf});
        ASSERT_EQ(r.status, 0) << r.err.constData();
        const QByteArray drawing = fileBytes(dxf);
        EXPECT_TRUE(drawing.startsWith("  0\r\nSECTION") || drawing.startsWith("  0\nSECTION") ||
                    drawing.startsWith("0\nSECTION"))
            << drawing.left(40).constData();
        for (const char* layer : {"HALL", "UNITS", "NUMBERS", "THROW", "DIMENSIONS"})
            EXPECT_TRUE(drawing.contains(layer)) << layer;
        EXPECT_TRUE(drawing.contains("EOF"));
        r = runCliProcess({QStringLiteral("--lang"), QLatin1String(lang), QStringLiteral("sheet"),
                           *file, QStringLiteral("--xlsx"), xlsx});
        ASSERT_EQ(r.status, 0) << r.err.constData();
        EXPECT_TRUE(fileBytes(xlsx).startsWith("PK")) << "a zip package";
        workbooks[i] = zipPart(xlsx, QStringLiteral("xl/workbook.xml"));
        EXPECT_EQ(workbooks[i].count("<sheet "), 5);
        ++i;
        expectUnchanged();
    }
    EXPECT_NE(workbooks[0], workbooks[1]) << "the sheets are named in the language";
}

TEST_F(CliExportsTest, ARefusedWriteLeavesNoFileAndFileAsItWas) {
    QDir locked(out(QStringLiteral("locked")));
    ASSERT_TRUE(locked.mkpath(QStringLiteral(".")));
    QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::ExeOwner);
    QStringList targets = {out(QStringLiteral("gone/x")), QStringLiteral("/proc/zefrant-x"),
                           // a path through a file, which no folder is
                           *file + QStringLiteral("/x")};
    if (!QFileInfo(locked.path()).isWritable()) // root writes into read-only folders
        targets << locked.filePath(QStringLiteral("x"));
    for (const QString& target : targets) {
        for (const auto& [command, option, ext] :
             {std::tuple{"plan", "--dxf", ".dxf"}, std::tuple{"sheet", "--xlsx", ".xlsx"}}) {
            const QString outFile = target + QLatin1String(ext);
            SCOPED_TRACE(outFile.toStdString());
            const CliRun r =
                runCliProcess({QLatin1String(command), *file, QLatin1String(option), outFile});
            EXPECT_EQ(r.status, 1);
            EXPECT_TRUE(r.err.startsWith("box error: ")) << r.err.constData();
            EXPECT_FALSE(QFileInfo::exists(outFile));
            expectUnchanged();
        }
    }
    EXPECT_TRUE(locked.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // OUT naming FILE itself would replace the project with the drawing.
    for (const char* command : {"plan", "sheet"}) {
        const CliRun r = runCliProcess(
            {QLatin1String(command), *file,
             QLatin1String(QByteArray(command) == "plan" ? "--dxf" : "--xlsx"), *file});
        EXPECT_EQ(r.status, 1) << command;
        expectUnchanged();
    }
}

TEST_F(CliExportsTest, UsageErrorsOpenNothing) {
    for (const QStringList& args :
         {QStringList{QStringLiteral("plan"), *file},
          QStringList{QStringLiteral("plan"), *file, QStringLiteral("--xlsx"),
                      out(QStringLiteral("a"))},
          QStringList{QStringLiteral("sheet"), *file, QStringLiteral("--dxf"),
                      out(QStringLiteral("a"))},
          QStringList{QStringLiteral("sheet"), *file, QStringLiteral("--xlsx")}}) {
        const CliRun r = runCliProcess(args);
        EXPECT_EQ(r.status, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains("usage: zefrant-cli"));
        EXPECT_FALSE(QFileInfo::exists(out(QStringLiteral("a"))));
    }
    expectUnchanged();
}
