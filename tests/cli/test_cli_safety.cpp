// zefrant-cli against what users and attackers give it: locks left behind,
// projects left open by a crash, damaged tables, values at the ends of their
// ranges, and input files that are not designs at all.
#include "clirun.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zf::test;

namespace {

const char* const design = R"({
  "project": { "Typ_strechy_enum": 1, "Stena_A": 30, "Stena_B": 15, "Stena_H1": 6, "Stena_H2": 8,
               "Ti": 18, "Te": -15, "ProjectName_text": "saved" },
  "walls": [ { "VariantaHaly": "hB", "CisloSteny": 1, "Material": "Brick wall 300 mm, plastered",
               "openings": [ { "Nazev": "Window, PVC, double glazing", "Vyska": 2, "Sirka": 1.5,
                               "Pocet": 4 } ] } ] })";

class CliSafety : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        project = dir.filePath(QStringLiteral("hall.zfp"));
        ASSERT_EQ(runCliProcess({QStringLiteral("new"), project}).status, 0);
        const CliRun r = runCliProcess({QStringLiteral("input"), project, write("d.json", design)});
        ASSERT_EQ(r.status, 0) << r.err.constData();
        saved = fileBytes(project);
    }

    QString write(const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QLatin1String(name));
        EXPECT_TRUE(writeBytes(path, bytes));
        return path;
    }
    void sql(const char* statements) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(project).constData(), &db), SQLITE_OK);
        char* err = nullptr;
        const int rc = sqlite3_exec(db, statements, nullptr, nullptr, &err);
        const std::string msg = err ? err : "";
        sqlite3_free(err);
        sqlite3_close(db);
        ASSERT_EQ(rc, SQLITE_OK) << msg;
    }
    QJsonObject exported() {
        const CliRun r = runCliProcess({QStringLiteral("export"), project});
        EXPECT_EQ(r.status, 0) << r.err.constData();
        QJsonParseError pe;
        const QJsonDocument doc = QJsonDocument::fromJson(r.out, &pe);
        EXPECT_EQ(pe.error, QJsonParseError::NoError) << r.out.left(400).constData();
        return doc.object();
    }
    QString projectName() {
        return exported()[QStringLiteral("tRozmery")]
            .toArray()[0]
            .toObject()[QStringLiteral("ProjectName_text")]
            .toString();
    }
    QString lock() const { return project + QStringLiteral(".lock"); }
    QString backup() const { return project + QStringLiteral(".tmp"); }

    QTemporaryDir dir;
    QString project;
    QByteArray saved;
};

// A lock file made by a process that has died.
void leaveDeadLock(const QString& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        QLockFile lock(path);
        lock.tryLock(0);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

} // namespace

TEST_F(CliSafety, ARunRefusedByTheLockLeavesTheOtherInstancesBackup) {
    QLockFile other(lock());
    ASSERT_TRUE(other.tryLock(0));
    ASSERT_TRUE(writeBytes(backup(), "the other instance's last saved state"));
    for (const char* command : {"export", "units"}) {
        QStringList args = {QLatin1String(command), project};
        if (QLatin1String(command) == QLatin1String("units"))
            args << write("u.json", "{}");
        const CliRun r = runCliProcess(args);
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_TRUE(r.err.contains("is open in another instance of Zefrant")) << r.err.constData();
        EXPECT_EQ(fileBytes(backup()), QByteArray("the other instance's last saved state"))
            << command;
        EXPECT_EQ(fileBytes(project), saved) << command;
    }
}

TEST_F(CliSafety, ALockThatNamesNoRunningProcessIsTakenOver) {
    struct Case {
        const char* what;
        std::function<void()> make;
    };
    const Case cases[] = {
        {"empty", [&] { writeBytes(lock(), QByteArray()); }},
        {"garbage",
         [&] {
             writeBytes(lock(), QByteArray("\x7f"
                                           "ELF garbage\n\n"));
         }},
        {"process 0", [&] { writeBytes(lock(), QByteArray("0\n\n\n")); }},
        {"a folder", [&] { QDir().mkdir(lock()); }},
        {"a dead process", [&] { leaveDeadLock(lock()); }},
    };
    for (const Case& c : cases) {
        c.make();
        const CliRun r = runCliProcess({QStringLiteral("export"), project});
        EXPECT_EQ(r.status, 0) << c.what << ": " << r.err.constData();
        EXPECT_FALSE(QFileInfo::exists(lock())) << c.what;
        EXPECT_EQ(fileBytes(project), saved) << c.what;
    }
}

TEST_F(CliSafety, AProjectLeftOpenByACrashReturnsToItsLastSavedState) {
    // The session before saved, changed the project and died without closing it.
    ASSERT_TRUE(QFile::copy(project, backup()));
    sql("UPDATE tRozmery SET ProjectName_text = 'unsaved'");
    leaveDeadLock(lock());
    const CliRun r = runCliProcess({QStringLiteral("export"), project});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    EXPECT_TRUE(r.err.contains("box question: The file hall.zfp was not closed properly last "
                               "time."))
        << r.err.constData();
    EXPECT_TRUE(r.err.contains("has been returned to its last saved state")) << r.err.constData();
    EXPECT_TRUE(r.out.contains("\"ProjectName_text\": \"saved\"")) << "the export shows it";
    EXPECT_EQ(fileBytes(project), saved);
    EXPECT_FALSE(QFileInfo::exists(backup())) << "the tool closed the project";

    // The same for a command that writes: it starts from the last saved state.
    ASSERT_TRUE(QFile::copy(project, backup()));
    sql("UPDATE tRozmery SET ProjectName_text = 'unsaved'");
    leaveDeadLock(lock());
    const CliRun in = runCliProcess(
        {QStringLiteral("input"), project, write("n.json", R"({"project":{"Stena_A":31}})")});
    ASSERT_EQ(in.status, 0) << in.err.constData();
    EXPECT_EQ(projectName(), QStringLiteral("saved"));
}

TEST_F(CliSafety, ADamagedUnitTypesTableIsRefusedWhenOpened) {
    const QByteArray intact = fileBytes(project);
    for (const char* damage :
         {"UPDATE sqlite_schema SET sql = replace(sql, '\"Typ\" TEXT(255)', '\"Typ\" "
          "TEXT(99999999999)') WHERE name = 'tTempTable'",
          "UPDATE sqlite_schema SET sql = replace(sql, '\"Tep_vykon\"', '\"Tep_vykonX\"') WHERE "
          "name = 'tTempTable'",
          "UPDATE sqlite_schema SET sql = replace(sql, '\"Pocet_jednotek\" LONG', "
          "'\"Pocet_jednotek\" TEXT(5)') WHERE name = 'tTempTable'"}) {
        ASSERT_TRUE(writeBytes(project, intact));
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(project).constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "PRAGMA writable_schema = ON", nullptr, nullptr, nullptr);
        ASSERT_EQ(sqlite3_exec(db, damage, nullptr, nullptr, nullptr), SQLITE_OK) << damage;
        ASSERT_GT(sqlite3_changes(db), 0) << damage;
        sqlite3_close(db);
        const QByteArray damaged = fileBytes(project);
        for (const char* command : {"export", "input", "units"}) {
            QStringList args = {QLatin1String(command), project};
            if (QLatin1String(command) == QLatin1String("input"))
                args << write("d.json", design);
            if (QLatin1String(command) == QLatin1String("units"))
                args << write("u.json", R"({"counts":[{"ID":1,"Pocet_jednotek":2}]})");
            const CliRun r = runCliProcess(args);
            EXPECT_EQ(r.status, 1) << damage << " " << command;
            EXPECT_TRUE(r.err.contains("#Error message: Invalid project file format. "))
                << r.err.constData();
            EXPECT_EQ(fileBytes(project), damaged) << damage << " " << command;
        }
    }
}

TEST_F(CliSafety, ValuesAtTheEndsOfTheirRangesDoNotOverflow) {
    sql("UPDATE tRozmery SET Cena_Kc_m3 = -9223372036854775808, Cena_Kc_kWh = 1e300, "
        "Cena_Kc_kg = -1e999, Pocet_jednotek_celkem = 1e300");
    const QJsonObject p = exported()[QStringLiteral("tRozmery")].toArray()[0].toObject();
    for (const char* c : {"Cena_Kc_m3", "Cena_Kc_kWh", "Cena_Kc_kg", "Pocet_jednotek_celkem"})
        EXPECT_TRUE(p[QLatin1String(c)].isNull()) << c << " is no value of its column";

    // Counts no hall takes: refused, in no time, with the file as it was.
    sql("UPDATE tTempTable SET Pocet_jednotek = 2147483647 WHERE ID <= 2");
    const QByteArray before = fileBytes(project);
    const CliRun r = runCliProcess(
        {QStringLiteral("units"), project, write("u.json", R"({"Vyska_jednotek":3,"place":true})")},
        20000);
    ASSERT_TRUE(r.finished) << "the placement never ended";
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("too large to be placed")) << r.err.constData();
    EXPECT_EQ(fileBytes(project), before);
}

TEST_F(CliSafety, InputThatIsNoDesignIsRefusedAndLeavesTheFileUnchanged) {
    struct Case {
        const char* json;
        const char* message;
    };
    const Case cases[] = {
        {R"({"project":{"Stena_A":true}})", "Stena_A of the project takes a number, not true"},
        {R"({"project":[{"Stena_A":20}]})", "project must be an object"},
        {R"({"walls":{}})", "walls must be an array"},
        {R"({"walls":[{"VariantaHaly":"hB","CisloSteny":1,"openings":[2]}]})",
         "Every opening must be an object"},
        {R"({"walls":[{"VariantaHaly":"hB","CisloSteny":1,"openings":{"Vyska":2}}]})",
         "openings of surface 1 of the walls must be an array"},
        {R"({"project":{"stena_a":20}})", "stena_a is not a column the input wizard edits"},
        {R"({"project":{"Stena_A":1e308}})", "is too large a number"},
        {R"({"project":{"Stena_A":1e20,"Stena_B":1e20}})", "The values entered are too large"},
        // Costs beyond what the file can hold are refused, not cut to the limit.
        {R"({"project":{"Cena_Kc_m3":900000000000000,"Provoz_dny_tyden":7,"Provoz_hodiny_den":24}})",
         "The values entered are too large: Cena_"},
        {R"({"project":{"Oblast_text":"123456789012345678901234567890123456789012345678901"}})",
         "box error: The text for Oblast_text is too long"},
        {R"({"project":{"Datum_vypracovani":"yesterday"}})", "Datum_vypracovani takes a date"},
        {R"({"walls":[{"VariantaHaly":"hB","CisloSteny":1,
              "openings":[{"Nazev":"x","k":2,"Vyska":2,"Sirka":1,"Pocet":1.5}]}]})",
         "takes a whole number, not 1.5"},
        {R"({"walls":[{"VariantaHaly":"hB","CisloSteny":1,
              "openings":[{"Nazev":"x","k":1,"Vyska":-2,"Sirka":1,"Pocet":1}]}]})",
         "box error: Entered value must be greater than zero."},
    };
    for (const Case& c : cases) {
        const CliRun r =
            runCliProcess({QStringLiteral("input"), project, write("bad.json", c.json)});
        EXPECT_EQ(r.status, 1) << c.json;
        EXPECT_TRUE(r.err.contains(c.message)) << c.json << "\n" << r.err.constData();
        EXPECT_EQ(fileBytes(project), saved) << c.json;
    }

    // Neither endless input nor input that never comes: refused at once.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0600),
              0);
    for (const QString& path :
         {QStringLiteral("/dev/zero"), dir.filePath(QStringLiteral("fifo"))}) {
        const CliRun r = runCliProcess({QStringLiteral("input"), project, path}, 20000);
        ASSERT_TRUE(r.finished) << qPrintable(path);
        EXPECT_EQ(r.status, 1) << qPrintable(path);
        EXPECT_TRUE(r.err.contains("not a regular file")) << r.err.constData();
    }
    const CliRun big = runCliProcess({QStringLiteral("input"), project,
                                      write("big.json", "{\"project\":{\"ProjectDesc_memo\":\"" +
                                                            QByteArray(65 << 20, 'x') + "\"}}")});
    EXPECT_EQ(big.status, 1);
    EXPECT_TRUE(big.err.contains("larger than 64 MB")) << big.err.constData();
    EXPECT_EQ(fileBytes(project), saved);

    // A byte order mark before the object is welcome.
    const CliRun bom =
        runCliProcess({QStringLiteral("input"), project,
                       write("bom.json", "\xEF\xBB\xBF{\"project\":{\"Stena_A\":32}}")});
    EXPECT_EQ(bom.status, 0) << bom.err.constData();
}

TEST_F(CliSafety, ChosenCountsOutsideTheirRangeAreRefused) {
    for (const char* json : {R"({"counts":[{"ID":1,"Pocet_jednotek":-1}]})",
                             R"({"counts":[{"ID":1,"Pocet_jednotek":2147483647}],"place":true})"}) {
        const CliRun r =
            runCliProcess({QStringLiteral("units"), project, write("u.json", json)}, 20000);
        ASSERT_TRUE(r.finished) << json;
        EXPECT_EQ(r.status, 1) << json;
        EXPECT_TRUE(r.err.contains("\"Pocet_jednotek\" must be 0 to 9999")) << r.err.constData();
        EXPECT_EQ(fileBytes(project), saved) << json;
    }
}
