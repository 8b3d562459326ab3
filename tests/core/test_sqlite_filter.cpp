// The SQLite layer and the filter expressions: values are bound, never pasted;
// untrusted files are opened defensively.
#include "storage/dataset.h"
#include "storage/filter.h"
#include "storage/sqlite.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace zf;

namespace {

const QStringList cols = {QStringLiteral("Location"), QStringLiteral("TypeID"),
                          QStringLiteral("Rezim"), QStringLiteral("Umisteni_jednotek"),
                          QStringLiteral("Group")};

void rawExec(const QString& file, const char* sqlText) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sqlText, nullptr, nullptr, &err);
    const std::string msg = err ? err : "";
    sqlite3_free(err);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << msg;
}

} // namespace

TEST(Filter, FormsTranslateToBoundConditions) {
    SqlCondition c = translateFilter(
        QStringLiteral("(Location = 'BLR') OR (Location = 'UKR') OR (Location = 'RUS')"), cols);
    EXPECT_EQ(c.params,
              (QVariantList{QStringLiteral("BLR"), QStringLiteral("UKR"), QStringLiteral("RUS")}));
    EXPECT_FALSE(c.sql.contains(QLatin1String("BLR")));

    c = translateFilter(QStringLiteral("(Umisteni_jednotek = 1) AND (Rezim = 3)"), cols);
    EXPECT_EQ(c.params, (QVariantList{qlonglong(1), qlonglong(3)}));
    EXPECT_TRUE(c.sql.contains(QLatin1String("AND")));

    c = translateFilter(QStringLiteral("TypeID LIKE '*MK*'"), cols);
    EXPECT_EQ(c.params, (QVariantList{QStringLiteral("*MK*")}));

    EXPECT_TRUE(translateFilter(QStringLiteral("   "), cols).sql.isEmpty());
}

TEST(Filter, MalformedOrUnknownIsRefused) {
    EXPECT_THROW(translateFilter(QStringLiteral("Location = 'CZ"), cols), DbError);
    EXPECT_THROW(translateFilter(QStringLiteral("Nowhere = 1"), cols), DbError);
    EXPECT_THROW(translateFilter(QStringLiteral("(Location = 'CZ'"), cols), DbError);
    EXPECT_THROW(translateFilter(QStringLiteral("Location = 'CZ' OR"), cols), DbError);
    EXPECT_THROW(translateFilter(QStringLiteral("Location = 'CZ'; DROP TABLE x"), cols), DbError);
    EXPECT_THROW(translateFilter(QStringLiteral("1 = 1"), cols), DbError);
}

class FilterOnTable : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.filePath(QStringLiteral("t.db"));
        rawExec(path, "CREATE TABLE t (ID INTEGER PRIMARY KEY, \"Group\" TEXT(20), TypeID "
                      "TEXT(50), Rezim LONG);"
                      "INSERT INTO t VALUES (1, 'Rock''n''Roll', 'Brisant AX 25', 1);"
                      "INSERT INTO t VALUES (2, 'Jazz', 'MK 50 - E', 3);"
                      "INSERT INTO t VALUES (3, 'rock''n''roll', 'Brisant RD 60', 1);"
                      "INSERT INTO t VALUES (4, 'Čeština', 'mk 80', 2);");
        Database::OpenOptions o;
        db.open(path, o);
        ds.setDatabase(&db);
        ds.setTableName(QStringLiteral("t"));
        ds.open();
    }
    QStringList ids() {
        QStringList out;
        for (ds.first(); !ds.eof(); ds.next())
            out << ds.asString(QStringLiteral("ID"));
        return out;
    }
    QTemporaryDir dir;
    QString path;
    Database db;
    Dataset ds;
};

TEST_F(FilterOnTable, QuotesWildcardsAndCase) {
    ds.setFilter(QStringLiteral("Group = 'Rock''n''Roll'"));
    ds.setFiltered(true);
    EXPECT_EQ(ids(), (QStringList{"1", "3"})) << "text comparison ignores case";

    ds.setFilter(QStringLiteral("TypeID LIKE '*MK*'"));
    EXPECT_EQ(ids(), (QStringList{"2", "4"}));

    ds.setFilter(QStringLiteral("(TypeID LIKE 'Brisant*') AND (Rezim = 1)"));
    EXPECT_EQ(ids(), (QStringList{"1", "3"}));

    ds.setFilter(QStringLiteral("Group = 'ČEŠTINA'"));
    EXPECT_EQ(ids(), (QStringList{"4"})) << "case folding beyond ASCII";

    ds.setFilter(QStringLiteral("Group = 'x'' OR ''1''=''1'"));
    EXPECT_TRUE(ids().isEmpty()) << "a quote inside a value stays inside the value";

    ds.setFiltered(false);
    EXPECT_EQ(ids().size(), 4);
}

TEST(Database, RefusesWhatItMustNotRun) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("d.db"));
    rawExec(path, "CREATE TABLE a (x LONG); INSERT INTO a VALUES (1);");
    Database db;
    EXPECT_THROW(db.exec(QStringLiteral("SELECT 1")), DbError)
        << "an unopened database fails cleanly";
    db.open(path, {});
    EXPECT_THROW(db.exec(QStringLiteral("DELETE FROM a; DELETE FROM a")), DbError);
    Statement st(db, QStringLiteral("SELECT count(*) FROM a"));
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.columnInt64(0), 1) << "the refused script ran nothing";
}

TEST(Database, UntrustedFilesAreRefusedBeforeUse) {
    QTemporaryDir dir;
    // Not a database.
    const QString text = dir.filePath(QStringLiteral("text.zfp"));
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    Database db;
    try {
        db.open(text, {});
        FAIL() << "opened a text file";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("not a database")))
            << qPrintable(e.message());
    }
    EXPECT_FALSE(db.isOpen());

    // A trigger in the schema: refused, and never run.
    const QString trig = dir.filePath(QStringLiteral("trig.zfp"));
    rawExec(trig, "CREATE TABLE a (x LONG); CREATE TABLE log (y LONG);"
                  "CREATE TRIGGER t AFTER INSERT ON a BEGIN INSERT INTO log VALUES (1); END;");
    EXPECT_THROW(db.open(trig, {}), DbError);
    const QString view = dir.filePath(QStringLiteral("view.zfp"));
    rawExec(view, "CREATE TABLE a (x LONG); CREATE VIEW v AS SELECT * FROM a;");
    EXPECT_THROW(db.open(view, {}), DbError);

    // Another application's file.
    const QString foreign = dir.filePath(QStringLiteral("foreign.zfp"));
    rawExec(foreign, "PRAGMA application_id = 1234; CREATE TABLE a (x LONG);");
    Database::OpenOptions o;
    o.applicationId = ProjectApplicationId;
    EXPECT_THROW(db.open(foreign, o), DbError);

    // A truncated database.
    const QString whole = dir.filePath(QStringLiteral("whole.zfp"));
    rawExec(
        whole,
        "CREATE TABLE a (x LONGTEXT); WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM c "
        "WHERE i < 2000) INSERT INTO a SELECT hex(randomblob(100)) FROM c;");
    QFile f(whole);
    ASSERT_TRUE(f.resize(f.size() / 2));
    EXPECT_THROW(db.open(whole, {}), DbError);
}

TEST(Database, IndexColumnsByQualifiedOrPlainName) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("i.db"));
    rawExec(path, "CREATE TABLE t (ID INTEGER PRIMARY KEY, IDSteny LONG);"
                  "CREATE INDEX t_IDSteny ON t (IDSteny); CREATE INDEX other ON t (ID, IDSteny);");
    Database db;
    db.open(path, {});
    EXPECT_EQ(db.indexColumns(QStringLiteral("t"), QStringLiteral("IDSteny")),
              QStringList{"IDSteny"});
    EXPECT_EQ(db.indexColumns(QStringLiteral("t"), QStringLiteral("other")),
              (QStringList{"ID", "IDSteny"}));
    EXPECT_TRUE(db.indexColumns(QStringLiteral("t"), QStringLiteral("none")).isEmpty());
}
