// zefrant-cli as a user runs it: the real program, its output and exit status.
#include "clirun.h"
#include "storage/sqlite.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using CliRun = zf::test::CliRun;

CliRun cli(const QStringList& args) {
    return zf::test::runCliProcess(args, 60000);
}

QString templateCopy(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    QFile::copy(QStringLiteral(ZEFRANT_PROGRAM_DIR "/DB/ZFData.zft"), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

void exec(const QString& file, const char* sqlText) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sqlText, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

} // namespace

TEST(CliExport, EveryTableEveryColumnInReadOrder) {
    QTemporaryDir dir;
    const QString f = templateCopy(dir, QStringLiteral("p.zfp"));
    exec(f, "UPDATE tRozmery SET ProjectName_text = 'Hala \"7\"\nnorth', Cena_Kc_m3 = 123456, "
            "Stena_A = 0.1;"
            "INSERT INTO tSteny (VariantaHaly, CisloSteny) VALUES ('hB', 2), ('hA', 1);"
            "INSERT INTO tStavOtvory (IDSteny, Nazev, Pocet) VALUES (2, 'second', 1), (1, 'first', "
            "2);");
    const QByteArray before = [&] {
        QFile r(f);
        r.open(QIODevice::ReadOnly);
        return r.readAll();
    }();
    const CliRun r = cli({QStringLiteral("export"), f});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out, &pe);
    ASSERT_EQ(pe.error, QJsonParseError::NoError) << r.out.constData();
    const QJsonObject o = doc.object();
    for (const char* t : {"tRozmery", "tSteny", "tStavOtvory", "tJednotky", "tTempTable"})
        EXPECT_TRUE(o.value(QLatin1String(t)).isArray()) << t;
    const QJsonObject project = o[QStringLiteral("tRozmery")].toArray()[0].toObject();
    EXPECT_EQ(project.size(), 98) << "every column of tRozmery";
    EXPECT_EQ(project[QStringLiteral("ProjectName_text")].toString(),
              QStringLiteral("Hala \"7\"\nnorth"));
    EXPECT_EQ(project[QStringLiteral("Stena_A")].toDouble(), 0.1);
    EXPECT_TRUE(project[QStringLiteral("Vytapeni_bool")].isBool());
    EXPECT_TRUE(project[QStringLiteral("Datum_vypracovani")].isNull());
    EXPECT_TRUE(r.out.contains("\"Cena_Kc_m3\": 12.3456")) << "currency with 4 decimals";
    EXPECT_TRUE(r.out.contains("\"Cena_Kc_kWh\": 0.0000"));
    // Columns in stored order.
    EXPECT_LT(r.out.indexOf("\"Typ_strechy_enum\""), r.out.indexOf("\"Stena_A\""));
    // tSteny in storage order, tStavOtvory by IDSteny.
    const QJsonArray walls = o[QStringLiteral("tSteny")].toArray();
    ASSERT_EQ(walls.size(), 2);
    EXPECT_EQ(walls[0].toObject()[QStringLiteral("VariantaHaly")].toString(), QStringLiteral("hB"));
    const QJsonArray openings = o[QStringLiteral("tStavOtvory")].toArray();
    ASSERT_EQ(openings.size(), 2);
    EXPECT_EQ(openings[0].toObject()[QStringLiteral("Nazev")].toString(), QStringLiteral("first"));

    QFile after(f);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before) << "export changes nothing";
    EXPECT_FALSE(QFile::exists(f + QStringLiteral(".tmp"))) << "the backup is removed at exit";
    EXPECT_FALSE(QFile::exists(f + QStringLiteral(".lock")));
}

TEST(CliExport, InvalidFileFailsWithTheProgramsMessage) {
    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("bad.zfp"));
    {
        QFile b(f);
        ASSERT_TRUE(b.open(QIODevice::WriteOnly));
        b.write("not a project");
    }
    CliRun r = cli({QStringLiteral("export"), f});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    const QString err = QString::fromUtf8(r.err);
    EXPECT_TRUE(err.startsWith(
        QStringLiteral("box error: Error while opening the file %1.\n\n#Error message: "
                       "Invalid project file format. ")
            .arg(f)))
        << qPrintable(err);

    const QString v = templateCopy(dir, QStringLiteral("v.zfp"));
    exec(v, "UPDATE tDBVer SET DBVerMajor = 0, DBVerMinor = 0, Version = 'old'");
    r = cli({QStringLiteral("export"), v});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(
        QStringLiteral("Invalid project file version. (Ver: 0.0, old)")));

    // A file another tool switched to a write-ahead log: refused as it is.
    const QString wal = templateCopy(dir, QStringLiteral("wal.zfp"));
    exec(wal, "PRAGMA journal_mode = WAL");
    QFile walFile(wal);
    ASSERT_TRUE(walFile.open(QIODevice::ReadOnly));
    const QByteArray walBytes = walFile.readAll();
    walFile.close();
    r = cli({QStringLiteral("export"), wal});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("uses a write-ahead log")))
        << r.err.constData();
    ASSERT_TRUE(walFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(walFile.readAll(), walBytes);

    r = cli({QStringLiteral("export")});
    EXPECT_EQ(r.status, 2);
    r = cli({QStringLiteral("--lang"), QStringLiteral("XX"), QStringLiteral("texts")});
    EXPECT_EQ(r.status, 2);
}

TEST(CliTexts, EveryLanguageAndRussianOnACentralEuropeanSystem) {
    for (const char* lang : {"CZ", "EN", "GE", "PL", "RU"}) {
        const CliRun r =
            cli({QStringLiteral("--lang"), QLatin1String(lang), QStringLiteral("texts")});
        ASSERT_EQ(r.status, 0) << lang;
        const QList<QByteArray> lines = r.out.split('\n');
        EXPECT_GT(lines.size(), 400) << lang;
        int previous = -1;
        for (const QByteArray& line : lines) {
            if (line.isEmpty())
                continue;
            const int id = line.left(line.indexOf('\t')).toInt();
            EXPECT_GT(id, previous) << "ascending";
            previous = id;
        }
    }
    const CliRun en = cli({QStringLiteral("texts")});
    EXPECT_TRUE(
        en.out.contains("\n124\tZefrant project files (*.zfp)|*.zfp|All files (*.*)|*.*\n"));
    EXPECT_TRUE(en.out.contains("\n505\tProject Name: \n"));

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZEFRANT_CODEPAGE"), QStringLiteral("1250"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZEFRANT_CLI),
            {QStringLiteral("--lang"), QStringLiteral("RU"), QStringLiteral("texts")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.startsWith(QStringLiteral("box warning: * Místní nastavení systému")))
        << qPrintable(err);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("\n86\t&đóńńęčé\n"))) << "the re-encoded \"&русский\"";

    const CliRun cyr =
        cli({QStringLiteral("--lang"), QStringLiteral("RU"), QStringLiteral("texts")});
    EXPECT_TRUE(QString::fromUtf8(cyr.out).contains(QStringLiteral("\n86\t&русский\n")));
}

namespace {

QJsonObject exportOf(const QString& file) {
    const CliRun r = cli({QStringLiteral("export"), file});
    EXPECT_EQ(r.status, 0) << r.err.constData();
    return QJsonDocument::fromJson(r.out).object();
}

QString writeDesign(const QTemporaryDir& dir, const QString& name, const QByteArray& json) {
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(json);
    return path;
}

QByteArray bytesOf(const QString& file) {
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

TEST(CliDesign, NewInputExportEndToEnd) {
    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("hall.zfp"));
    CliRun r = cli({QStringLiteral("new"), f});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    QJsonObject o = exportOf(f);
    EXPECT_EQ(o[QStringLiteral("tSteny")].toArray().size(), 51) << "the surfaces of every variant";
    EXPECT_EQ(o[QStringLiteral("tRozmery")]
                  .toArray()[0]
                  .toObject()[QStringLiteral("Oblast_text")]
                  .toString(),
              QStringLiteral("* not defined"));
    r = cli({QStringLiteral("--lang"), QStringLiteral("CZ"), QStringLiteral("new"),
             dir.filePath(QStringLiteral("cz.zfp"))});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(exportOf(dir.filePath(QStringLiteral("cz.zfp")))[QStringLiteral("tRozmery")]
                  .toArray()[0]
                  .toObject()[QStringLiteral("Oblast_text")]
                  .toString(),
              QStringLiteral("* nezadáno"));

    // A saddle-roof hall 20 x 10 m, 5 m / 3 m, with one gable of brick and four windows.
    const QString design = writeDesign(dir, QStringLiteral("d.json"), R"({
      "project": { "Typ_strechy_enum": 1, "Stena_A": 20, "Stena_B": 10, "Stena_H1": 5, "Stena_H2": 3,
                   "Ti": 18, "Te": -15, "Ttlumena": 10, "Tzeme": 5, "n_enum": 1, "Vytapeni_bool": true,
                   "Oblast_text": "Praha", "ProjectName_text": "Hala 7" },
      "walls": [ { "VariantaHaly": "hB", "CisloSteny": 1, "Material": "Brick wall 300 mm, plastered",
                   "openings": [ { "Nazev": "Window, PVC, double glazing", "Vyska": 2, "Sirka": 1.5, "Pocet": 4 } ] } ] })");
    r = cli({QStringLiteral("input"), f, design});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    EXPECT_TRUE(r.err.contains("box question: Does the")) << "the openings question, answered No";
    o = exportOf(f);
    const QJsonObject p = o[QStringLiteral("tRozmery")].toArray()[0].toObject();
    EXPECT_EQ(p[QStringLiteral("ProjectName_text")].toString(), QStringLiteral("Hala 7"));
    EXPECT_EQ(p[QStringLiteral("Te")].toDouble(), -15) << "the typed Te comes after the region's";
    EXPECT_EQ(p[QStringLiteral("Pocet_dnu_otop_obd")].toInt(), 225);
    EXPECT_EQ(p[QStringLiteral("Vhala")].toDouble(), 1300);
    EXPECT_GT(p[QStringLiteral("Q")].toDouble(), 0);
    EXPECT_GT(p[QStringLiteral("Topny_vykon")].toDouble(), 0);
    EXPECT_EQ(p[QStringLiteral("Typ_strechy_text")].toString(), QStringLiteral("Saddle roof"));
    EXPECT_GT(o[QStringLiteral("tTempTable")].toArray().size(), 3);
    const QJsonArray openings = o[QStringLiteral("tStavOtvory")].toArray();
    ASSERT_EQ(openings.size(), 1);
    const QJsonObject w = openings[0].toObject();
    EXPECT_GT(w[QStringLiteral("k")].toDouble(), 0) << "the name filled U from the catalog";
    EXPECT_NEAR(w[QStringLiteral("Ztrata")].toDouble(), w[QStringLiteral("k")].toDouble() * 12 * 33,
                0.01);
    EXPECT_FALSE(QFile::exists(f + QStringLiteral(".tmp")));
}

TEST(CliDesign, RefusedDesignsLeaveTheFileUnchanged) {
    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("hall.zfp"));
    ASSERT_EQ(cli({QStringLiteral("new"), f}).status, 0);
    const QByteArray before = bytesOf(f);
    struct Case {
        const char* json;
        const char* message;
    };
    for (const Case& c :
         {Case{R"({"project":{"Stena_A":0}})",
               "box warning: Enter a positive nonzero value please."},
          Case{R"({"project":{"Vytapeni_bool":false}})",
               "box warning: Select at least one option of the operating modes."},
          Case{R"({"project":{"Vc_zima":100}})", "disabled"},
          Case{R"({"project":{"Q":5}})", "is not a column the input wizard edits"},
          Case{R"({"project":{"Typ_strechy_enum":7}})", "is not one of 0 to 3"},
          Case{R"({"project":{"Stena_A":"wide"}})", "is not a valid number"},
          Case{R"({"walls":[{"VariantaHaly":"hD","CisloSteny":1,"k":1}]})", "no visible surface"},
          Case{R"({"project":{"Stena_B":12},"extra":1})", "Unknown key"},
          Case{R"(not json)", "is not a design"}}) {
        const QString d = writeDesign(dir, QStringLiteral("bad.json"), c.json);
        const CliRun r = cli({QStringLiteral("input"), f, d});
        EXPECT_EQ(r.status, 1) << c.json;
        EXPECT_TRUE(r.err.contains(c.message)) << c.json << "\n" << r.err.constData();
        EXPECT_EQ(bytesOf(f), before) << c.json;
    }
    EXPECT_EQ(cli({QStringLiteral("input"), f}).status, 2);
}

// The commands that only read a project leave it as it was, down to its
// modification time: opening and closing writes nothing that did not change.
TEST(CliReadOnlyCommands, LeaveTheBytesAndTheModificationTime) {
    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("placed.zfp"));
    ASSERT_EQ(cli({QStringLiteral("new"), f}).status, 0);
    CliRun r =
        cli({QStringLiteral("input"), f, QStringLiteral(ZEFRANT_DESIGNS "/ventilation.json")});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    r = cli(
        {QStringLiteral("units"), f, QStringLiteral(ZEFRANT_DESIGNS "/ventilation-units.json")});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    QFile file(f);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    const QDateTime mtime = QFileInfo(f).fileTime(QFileDevice::FileModificationTime);
    const QList<QStringList> commands = {{QStringLiteral("export"), f},
                                         {QStringLiteral("report"), f, QStringLiteral("--pdf"),
                                          dir.filePath(QStringLiteral("r.pdf"))},
                                         {QStringLiteral("report"), f, QStringLiteral("--rtf"),
                                          dir.filePath(QStringLiteral("r.rtf"))}};
    for (const QStringList& c : commands) {
        SCOPED_TRACE(c.join(QLatin1Char(' ')).toStdString());
        r = cli(c);
        ASSERT_EQ(r.status, 0) << r.err.constData();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), bytes);
        file.close();
        EXPECT_EQ(QFileInfo(f).fileTime(QFileDevice::FileModificationTime), mtime);
        EXPECT_FALSE(QFile::exists(f + QStringLiteral(".tmp")));
    }
}
