// zefrant-cli report: two projects built with new, input and units in every
// language, printed to PDF and RTF, and their text compared with reviewed golden
// files in tests/cli/report/golden (ZEFRANT_UPDATE_GOLDEN=1 writes them anew).
#include "clirun.h"
#include "rtftext.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using CliRun = zf::test::CliRun;

QProcessEnvironment cliEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Russian with real Cyrillic letters, whatever the machine's locale.
    env.insert(QStringLiteral("ZEFRANT_CODEPAGE"), QStringLiteral("65001"));
    return env;
}

CliRun cli(const QStringList& args) {
    return zf::test::runCliProcess(args, 120000, cliEnvironment());
}

QString data(const QString& name) {
    return QStringLiteral(ZEFRANT_REPORT_TESTDATA "/") + name;
}

QByteArray readAll(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// The date of compilation is today's when a project is created: the golden files
// hold a fixed one.
void fixDate(const QString& file) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE tRozmery SET Datum_vypracovani = '2024-03-15 00:00:00';",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
}

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Compares with the golden file line by line and names the first difference.
void compareGolden(const QString& actual, const QString& goldenName) {
    const QString path = data(QStringLiteral("golden/") + goldenName);
    if (qEnvironmentVariableIsSet("ZEFRANT_UPDATE_GOLDEN")) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(actual.toUtf8());
        return;
    }
    const QByteArray golden = readAll(path);
    ASSERT_FALSE(golden.isEmpty()) << "no golden file " << path.toStdString();
    const QStringList want = QString::fromUtf8(golden).split(u'\n');
    const QStringList got = actual.split(u'\n');
    for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i) {
        if (want.value(i) != got.value(i)) {
            ADD_FAILURE() << goldenName.toStdString() << " line " << i + 1
                          << "\n  golden: " << want.value(i).toStdString()
                          << "\n  actual: " << got.value(i).toStdString();
            return;
        }
    }
}

class ReportGolden : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        ASSERT_TRUE(dir.isValid());
        lang = QString::fromLatin1(GetParam());
    }

    // new, input and (when given) units, in the language; the date fixed.
    QString build(const QString& name, const QString& design, const QString& units = {}) {
        const QString f = dir.filePath(name + QStringLiteral(".zfp"));
        const QStringList l{QStringLiteral("--lang"), lang};
        CliRun r = cli(l + QStringList{QStringLiteral("new"), f});
        EXPECT_EQ(r.status, 0) << r.err.constData();
        r = cli(l + QStringList{QStringLiteral("input"), f, data(design)});
        EXPECT_EQ(r.status, 0) << r.err.constData();
        if (!units.isEmpty()) {
            r = cli(l + QStringList{QStringLiteral("units"), f, data(units)});
            EXPECT_EQ(r.status, 0) << r.err.constData();
        }
        fixDate(f);
        return f;
    }

    void reportBoth(const QString& project, const QString& name) {
        const QStringList l{QStringLiteral("--lang"), lang};
        const QByteArray before = readAll(project);
        const QString pdf = dir.filePath(name + QStringLiteral(".pdf"));
        const QString rtf = dir.filePath(name + QStringLiteral(".rtf"));
        CliRun r =
            cli(l + QStringList{QStringLiteral("report"), project, QStringLiteral("--pdf"), pdf});
        ASSERT_EQ(r.status, 0) << r.err.constData();
        EXPECT_FALSE(r.err.contains("box ")) << r.err.constData();
        r = cli(l + QStringList{QStringLiteral("report"), project, QStringLiteral("--rtf"), rtf});
        ASSERT_EQ(r.status, 0) << r.err.constData();
        EXPECT_EQ(readAll(project), before) << "the report leaves the project as it was";
        EXPECT_TRUE(readAll(pdf).contains("/Producer <FEFF005A0065006600720061006E0074>"))
            << "Zefrant as the producer";
        const QByteArray rtfBytes = readAll(rtf);
        EXPECT_TRUE(zf::test::rtfBalanced(rtfBytes));
        const QString suffix = name + QLatin1Char('-') + lang;
        compareGolden(pdfText(pdf), suffix + QStringLiteral(".pdf.txt"));
        compareGolden(zf::test::rtfText(rtfBytes), suffix + QStringLiteral(".rtf.txt"));
    }

    QTemporaryDir dir;
    QString lang;
};

} // namespace

TEST_P(ReportGolden, HeatingOnlyFlatRoofEstimatedLoss) {
    const QString f = build(QStringLiteral("heating"), QStringLiteral("heating.json"));
    reportBoth(f, QStringLiteral("heating"));
}

TEST_P(ReportGolden, HeatingAndVentilationSaddleRoofSkylightCalculatedPlacedUnits) {
    const QString f = build(QStringLiteral("ventilation"), QStringLiteral("ventilation.json"),
                            QStringLiteral("ventilation-units.json"));
    reportBoth(f, QStringLiteral("ventilation"));
}

INSTANTIATE_TEST_SUITE_P(Languages, ReportGolden, ::testing::Values("CZ", "EN", "GE", "PL", "RU"),
                         [](const auto& info) { return std::string(info.param); });

namespace {

QJsonObject exported(const QString& project) {
    const CliRun r = cli({QStringLiteral("export"), project});
    EXPECT_EQ(r.status, 0) << r.err.constData();
    return QJsonDocument::fromJson(r.out).object();
}

// The text table of a language as `texts` prints it.
QHash<int, QString> texts(const QString& lang) {
    const CliRun r = cli({QStringLiteral("--lang"), lang, QStringLiteral("texts")});
    EXPECT_EQ(r.status, 0);
    QHash<int, QString> out;
    for (const QString& line : QString::fromUtf8(r.out).split(u'\n')) {
        const qsizetype tab = line.indexOf(u'\t');
        if (tab > 0)
            out.insert(line.left(tab).toInt(), line.mid(tab + 1));
    }
    return out;
}

QString rtfReport(const QString& project, const QString& lang, const QString& out) {
    const CliRun r = cli({QStringLiteral("--lang"), lang, QStringLiteral("report"), project,
                          QStringLiteral("--rtf"), out});
    EXPECT_EQ(r.status, 0) << r.err.constData();
    return zf::test::rtfText(readAll(out));
}

} // namespace

// An estimated or own-value loss: the infiltration loss in the file is the one
// of the temperatures typed, and the report prints that one.
TEST(CliReport, TheInfiltrationLossOnPaperIsTheStoredOne) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    QJsonObject design =
        QJsonDocument::fromJson(readAll(data(QStringLiteral("heating.json")))).object();
    for (int way : {1, 2}) {
        SCOPED_TRACE(way);
        QJsonObject project = design.value(QStringLiteral("project")).toObject();
        project.insert(QStringLiteral("Tepelne_ztraty_enum"), way);
        if (way == 2)
            project.insert(QStringLiteral("Q_kW"), 80);
        design.insert(QStringLiteral("project"), project);
        const QString json = dir.filePath(QStringLiteral("design.json"));
        {
            QFile f(json);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QJsonDocument(design).toJson());
        }
        const QString f = dir.filePath(QStringLiteral("p%1.zfp").arg(way));
        ASSERT_EQ(cli({QStringLiteral("new"), f}).status, 0);
        const CliRun in = cli({QStringLiteral("input"), f, json});
        ASSERT_EQ(in.status, 0) << in.err.constData();

        const QJsonObject row =
            exported(f).value(QStringLiteral("tRozmery")).toArray().at(0).toObject();
        auto v = [&](const char* c) { return float(row.value(QLatin1String(c)).toDouble()); };
        const float fresh =
            v("Vtotal") / 3600.0f * 0.8f * 1020.0f * 1.2f * v("n") * (v("Ti") - v("Te"));
        EXPECT_FLOAT_EQ(v("Ti"), 16);
        EXPECT_NEAR(v("Q_infiltrace"), fresh, 0.5) << "stored for the typed temperatures";
        EXPECT_NEAR(v("Q_infiltrace_kW"), fresh / 1000, 1e-3);

        const QString pdf = dir.filePath(QStringLiteral("p%1.pdf").arg(way));
        const CliRun r = cli({QStringLiteral("report"), f, QStringLiteral("--pdf"), pdf});
        ASSERT_EQ(r.status, 0) << r.err.constData();
        const QRegularExpression line(
            QStringLiteral("Thermal losses due to infiltration \\[kW\\]:\\s+([0-9.,]+)"));
        const QRegularExpressionMatch m = line.match(pdfText(pdf));
        ASSERT_TRUE(m.hasMatch());
        EXPECT_EQ(m.captured(1).remove(u',').toDouble(),
                  std::round(v("Q_infiltrace_kW") * 1000.0) / 1000.0)
            << "the report and the file agree";
    }
}

// Units placed while English was chosen have no Russian texts stored: the
// Russian report prints their choices from the indexes, as it does the posture.
TEST(CliReport, UnitChoicesPrintInTheReportsLanguageWhereverTheyWereMade) {
    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("units.zfp"));
    ASSERT_EQ(cli({QStringLiteral("new"), f}).status, 0);
    ASSERT_EQ(cli({QStringLiteral("input"), f, data(QStringLiteral("ventilation.json"))}).status,
              0);
    ASSERT_EQ(
        cli({QStringLiteral("units"), f, data(QStringLiteral("ventilation-units.json"))}).status,
        0);
    const QJsonArray units = exported(f).value(QStringLiteral("tJednotky")).toArray();
    ASSERT_GE(units.size(), 4);
    EXPECT_TRUE(
        units.at(0).toObject().value(QStringLiteral("Umisteni_textRU")).toString().isEmpty())
        << "placed under English";
    struct Choice {
        const char* index;
        int first;
    };
    for (const char* lang : {"RU", "GE", "CZ"}) {
        SCOPED_TRACE(lang);
        const QHash<int, QString> t = texts(QLatin1String(lang));
        const QString text =
            rtfReport(f, QLatin1String(lang), dir.filePath(QStringLiteral("%1.rtf").arg(lang)));
        for (const QJsonValue& u : units) {
            const QJsonObject o = u.toObject();
            for (const Choice& c :
                 {Choice{"Umisteni_enum", 2450}, Choice{"Odvod_spalin_enum", 2400},
                  Choice{"Privod_vzduchu_enum", 2500}, Choice{"Zpusob_regulace_enum", 671}}) {
                const int i = o.value(QLatin1String(c.index)).toInt(-1);
                if (i < 0)
                    continue; // a destratifier has only its location
                const QString expected = t.value(c.first + i);
                ASSERT_FALSE(expected.isEmpty());
                EXPECT_TRUE(text.contains(expected)) << c.index << " " << expected.toStdString();
            }
        }
    }
}

TEST(CliReport, RefusedAndFailedRuns) {
    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("p.zfp"));
    ASSERT_EQ(cli({QStringLiteral("new"), f}).status, 0);
    EXPECT_EQ(cli({QStringLiteral("report"), f}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("report"), f, QStringLiteral("--doc"), dir.filePath("x")}).status,
              2);

    CliRun r = cli({QStringLiteral("report"), dir.filePath(QStringLiteral("missing.zfp")),
                    QStringLiteral("--pdf"), dir.filePath(QStringLiteral("m.pdf"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("m.pdf"))));

    // A target in a folder that does not exist: the program's error, no file.
    const QString target = dir.filePath(QStringLiteral("no/such/folder/r.pdf"));
    r = cli({QStringLiteral("report"), f, QStringLiteral("--pdf"), target});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("box error: Cannot write to file")) << r.err.constData();
    EXPECT_FALSE(QFile::exists(target));

    // An existing file that cannot be replaced keeps its content.
    QDir().mkpath(dir.filePath(QStringLiteral("locked")));
    const QString kept = dir.filePath(QStringLiteral("locked/r.rtf"));
    {
        QFile k(kept);
        ASSERT_TRUE(k.open(QIODevice::WriteOnly));
        k.write("old");
    }
    QFile::setPermissions(dir.filePath(QStringLiteral("locked")),
                          QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(dir.filePath(QStringLiteral("locked"))).isWritable()) {
        // Running as root: folder permissions do not hold.
        QFile::setPermissions(dir.filePath(QStringLiteral("locked")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return;
    }
    r = cli({QStringLiteral("report"), f, QStringLiteral("--rtf"), kept});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(readAll(kept), QByteArray("old"));
    QFile::setPermissions(dir.filePath(QStringLiteral("locked")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
