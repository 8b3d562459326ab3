#include "damage.h"

#include "robustness.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <random>
#include <sqlite3.h>

namespace zf::robustness {

namespace {

using Rng = std::mt19937;

int pick(Rng& rng, int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(rng);
}

const char* const tables[] = {"tRozmery",  "tSteny",     "tStavOtvory",
                              "tJednotky", "tTempTable", "tDBVer"};

// Runs SQL on the scratch file; damage that SQLite itself refuses to write is
// simply not made (the copy then carries the damage made so far).
void exec(sqlite3* db, const QByteArray& sql) {
    sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
}

QStringList columnsOf(sqlite3* db, const char* table) {
    QStringList cols;
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QByteArray("SELECT name FROM pragma_table_info('") + table + "')";
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) == SQLITE_OK)
        while (sqlite3_step(st) == SQLITE_ROW)
            cols << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return cols;
}

QByteArray quoted(const QString& name) {
    return '"' + name.toUtf8().replace("\"", "\"\"") + '"';
}

// A random column of a random project table.
std::pair<const char*, QString> anyColumn(sqlite3* db, Rng& rng) {
    const char* t = tables[pick(rng, 5)];
    const QStringList cols = columnsOf(db, t);
    return {t, cols.isEmpty() ? QStringLiteral("ID") : cols[pick(rng, int(cols.size()))]};
}

void flipBytes(QByteArray& b, Rng& rng) {
    const int n = 1 + pick(rng, 16);
    for (int i = 0; i < n && !b.isEmpty(); ++i)
        b[pick(rng, int(b.size()))] ^= char(1 + pick(rng, 255));
}

void truncate(QByteArray& b, Rng& rng) {
    const int cut = pick(rng, 4) == 0 ? pick(rng, 200) : pick(rng, int(b.size()));
    b.truncate(cut);
}

void zeroPage(QByteArray& b, Rng& rng) {
    const int pageSize = 4096;
    const int pages = int(b.size()) / pageSize;
    if (pages < 1)
        return;
    const int p = pick(rng, pages);
    const int len = pick(rng, 3) == 0 ? 512 : pageSize;
    for (int i = p * pageSize; i < p * pageSize + len && i < b.size(); ++i)
        b[i] = 0;
}

QString schemaSql(sqlite3* db, const char* name) {
    sqlite3_stmt* st = nullptr;
    QString sql;
    if (sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_schema WHERE name = ?1", -1, &st, nullptr) ==
        SQLITE_OK) {
        sqlite3_bind_text(st, 1, name, -1, SQLITE_TRANSIENT);
        if (sqlite3_step(st) == SQLITE_ROW)
            sql = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    }
    sqlite3_finalize(st);
    return sql;
}

void setSchemaSql(sqlite3* db, const char* name, const QString& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "UPDATE sqlite_schema SET sql = ?1 WHERE name = ?2", -1, &st,
                           nullptr) == SQLITE_OK) {
        const QByteArray text = sql.toUtf8();
        sqlite3_bind_text(st, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, name, -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
    }
    sqlite3_finalize(st);
}

// Damages the text of a table's CREATE statement, as a stray write or a
// hand-made file would: a column renamed, given another type or constraints,
// the index on a column that is gone, the statement cut short.
void schemaText(sqlite3* db, Rng& rng) {
    const auto [table, column] = anyColumn(db, rng);
    QString sql = schemaSql(db, table);
    if (sql.isEmpty())
        return;
    static const char* const types[] = {
        "TEXT(99999999999)", "TEXT(0)", "TEXT(2)", "INTEGER",  "BLOB",  "REAL",
        "LONGTEXT",          "DOUBLE",  "LONG",    "CURRENCY", "YESNO", "DATETIME",
        "VARCHAR",           "ANY"};
    // The column's name and its declared type.
    const QString name = QString::fromUtf8(quoted(column));
    const QRegularExpression decl(QRegularExpression::escape(name) +
                                  QStringLiteral("( [A-Za-z]+(\\(\\d+\\))?)?"));
    switch (pick(rng, 5)) {
    case 0:
        sql.replace(decl, QString::fromUtf8(quoted(column + QStringLiteral("X"))) +
                              QStringLiteral("\\1"));
        break;
    case 1:
        sql.replace(decl, name + QLatin1Char(' ') +
                              QLatin1String(types[pick(rng, int(std::size(types)))]));
        break;
    case 2:
        sql.replace(decl, name + QStringLiteral("\\1") +
                              (pick(rng, 2) ? QStringLiteral(" NOT NULL CHECK(0)")
                                            : QStringLiteral(" UNIQUE NOT NULL")));
        break;
    case 3: {
        // An index of the table now names a column that is not there.
        sqlite3_stmt* st = nullptr;
        QByteArray index;
        if (sqlite3_prepare_v2(db,
                               "SELECT name FROM sqlite_schema WHERE type = 'index' AND "
                               "tbl_name = ?1 AND sql IS NOT NULL",
                               -1, &st, nullptr) == SQLITE_OK) {
            sqlite3_bind_text(st, 1, table, -1, SQLITE_TRANSIENT);
            if (sqlite3_step(st) == SQLITE_ROW)
                index = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        }
        sqlite3_finalize(st);
        if (!index.isEmpty()) {
            QString isql = schemaSql(db, index.constData());
            isql.replace(QRegularExpression(QStringLiteral("\\(([^)]*)\\)")),
                         QStringLiteral("(\"NoSuchColumn\")"));
            setSchemaSql(db, index.constData(), isql);
        }
        return;
    }
    default:
        sql.truncate(sql.size() / 2);
        break;
    }
    setSchemaSql(db, table, sql);
}

void triggersAndViews(sqlite3* db, Rng& rng) {
    switch (pick(rng, 4)) {
    case 0:
        exec(db, "CREATE TRIGGER t AFTER UPDATE ON tRozmery BEGIN DELETE FROM tSteny; END");
        break;
    case 1:
        exec(db, "CREATE VIEW v AS SELECT * FROM tRozmery");
        break;
    case 2:
        exec(db,
             "CREATE TRIGGER t2 BEFORE INSERT ON tJednotky BEGIN SELECT RAISE(ABORT, 'x'); END");
        break;
    default:
        exec(db, "INSERT INTO sqlite_schema VALUES ('table', 'vt', 'vt', 0, "
                 "'CREATE VIRTUAL TABLE vt USING fts5(a)')");
        break;
    }
}

void extremeValues(sqlite3* db, Rng& rng) {
    static const char* const values[] = {"1e308",
                                         "-1e308",
                                         "9e999",
                                         "-9e999",
                                         "9223372036854775807",
                                         "-9223372036854775808",
                                         "2147483648",
                                         "-2147483649",
                                         "2147483647",
                                         "-2147483648",
                                         "4e38",
                                         "-4e38",
                                         "1e-320",
                                         "-0.0",
                                         "0",
                                         "-1",
                                         "1e15",
                                         "999999999999999999999",
                                         "NULL"};
    const int n = 1 + pick(rng, 3);
    for (int i = 0; i < n; ++i) {
        const auto [table, column] = anyColumn(db, rng);
        const QByteArray where =
            pick(rng, 2) ? QByteArray()
                         : " WHERE rowid = (SELECT min(rowid) FROM " + QByteArray(table) + ")";
        exec(db, "UPDATE " + QByteArray(table) + " SET " + quoted(column) + " = " +
                     values[pick(rng, int(std::size(values)))] + where);
    }
}

void storageClasses(sqlite3* db, Rng& rng) {
    static const char* const values[] = {"'abc'",  "'12abc'", "''",      "x'00ff10'",
                                         "x''",    "' 5 '",   "'1e400'", "'2026-13-45T99:99:99'",
                                         "'true'", "42",      "4.5",     "'-'"};
    const int n = 1 + pick(rng, 4);
    for (int i = 0; i < n; ++i) {
        const auto [table, column] = anyColumn(db, rng);
        exec(db, "UPDATE " + QByteArray(table) + " SET " + quoted(column) + " = " +
                     values[pick(rng, int(std::size(values)))]);
    }
}

void longTexts(sqlite3* db, Rng& rng) {
    const auto [table, column] = anyColumn(db, rng);
    const int len = pick(rng, 2) ? 300 : 100000;
    exec(db, "UPDATE " + QByteArray(table) + " SET " + quoted(column) + " = printf('%." +
                 QByteArray::number(len) + "c', 'W')");
}

void structure(sqlite3* db, Rng& rng) {
    switch (pick(rng, 8)) {
    case 0:
        exec(db, "DELETE FROM tRozmery");
        break;
    case 1:
        exec(db, "DELETE FROM tDBVer");
        break;
    case 2:
        exec(db, "INSERT INTO tRozmery SELECT * FROM tRozmery");
        break;
    case 3:
        exec(db, "UPDATE tDBVer SET DBVerMajor = 0, DBVerMinor = 0");
        break;
    case 4:
        exec(db, "DROP INDEX IF EXISTS tTempTable_ID");
        exec(db, "DROP INDEX IF EXISTS ID");
        break;
    case 5:
        exec(db, QByteArray("DROP TABLE ") + tables[pick(rng, 6)]);
        break;
    case 6:
        exec(db, "INSERT INTO tTempTable SELECT * FROM tTempTable");
        exec(db,
             "INSERT INTO tJednotky (IDJednotky, ObjType, Typ, X, Y) SELECT IDJednotky, 7, Typ, "
             "-X, 1e30 FROM tJednotky");
        break;
    default:
        exec(db, "UPDATE tStavOtvory SET IDSteny = -5");
        exec(db, "PRAGMA application_id = 12345");
        break;
    }
}

enum Kind {
    ByteFlips,
    Truncation,
    ZeroedPage,
    SchemaText,
    TriggersAndViews,
    ExtremeValues,
    StorageClasses,
    LongTexts,
    Structure,
    KindCount
};
const char* const kindNames[] = {"byte flips",      "truncation",      "zeroed page",
                                 "schema text",     "trigger or view", "extreme values",
                                 "storage classes", "over-long texts", "structure"};
// How often each kind comes up in a cycle of 20 files.
const Kind cycle[] = {ByteFlips,     ByteFlips,        ByteFlips,      ByteFlips,     Truncation,
                      ZeroedPage,    ZeroedPage,       SchemaText,     SchemaText,    SchemaText,
                      SchemaText,    TriggersAndViews, ExtremeValues,  ExtremeValues, ExtremeValues,
                      ExtremeValues, StorageClasses,   StorageClasses, LongTexts,     Structure};

} // namespace

int damageKindCount() {
    return KindCount;
}

Damaged damageProject(const QByteArray& original, unsigned seed, int index,
                      const QString& scratch) {
    Rng rng(seed * 7919u + unsigned(index));
    const Kind kind = cycle[index % int(std::size(cycle))];
    Damaged d{QString::fromLatin1(kindNames[kind]), original};
    switch (kind) {
    case ByteFlips:
        flipBytes(d.bytes, rng);
        return d;
    case Truncation:
        truncate(d.bytes, rng);
        return d;
    case ZeroedPage:
        zeroPage(d.bytes, rng);
        return d;
    default:
        break;
    }
    writeBytes(scratch, original);
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(scratch).constData(), &db);
    exec(db, "PRAGMA writable_schema = ON");
    switch (kind) {
    case SchemaText:
        schemaText(db, rng);
        break;
    case TriggersAndViews:
        triggersAndViews(db, rng);
        break;
    case ExtremeValues:
        extremeValues(db, rng);
        break;
    case StorageClasses:
        storageClasses(db, rng);
        break;
    case LongTexts:
        longTexts(db, rng);
        break;
    default:
        structure(db, rng);
        break;
    }
    sqlite3_close(db);
    d.bytes = fileBytes(scratch);
    return d;
}

} // namespace zf::robustness
