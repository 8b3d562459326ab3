// zefrant-cli report: two projects built with new, input and units in every
// language, printed to PDF and RTF, and their text compared with reviewed golden
// files in tests/cli/report/golden (ZEFRANT_UPDATE_GOLDEN=1 writes them anew).
#include "rtftext.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

struct CliRun {
    int status = -1;
    QByteArray out, err;
};

QProcessEnvironment cliEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Russian with real Cyrillic letters, whatever the machine's locale.
    env.insert(QStringLiteral("ZEFRANT_CODEPAGE"), QStringLiteral("65001"));
    return env;
}

CliRun cli(const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(cliEnvironment());
    p.start(QStringLiteral(ZEFRANT_CLI), args);
    p.waitForFinished(120000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
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
