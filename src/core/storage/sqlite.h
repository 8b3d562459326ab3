#pragma once

#include <QMultiHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace zf {

// An error of the database layer. Operations of the layer throw it; the callers
// catch it where a failure has a result of its own.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message, bool storage = false)
        : std::runtime_error(message.toStdString()), message_(message), storage_(storage) {}
    const QString& message() const { return message_; }
    // The file could not be read or written (a full disk, an I/O error, no
    // permission), as opposed to a file whose content is refused.
    bool storage() const { return storage_; }

private:
    QString message_;
    bool storage_ = false;
};

// Application ids in the SQLite header: our files can be told from other SQLite
// files.
inline constexpr int ProjectApplicationId = 0x5A465031;   // "ZFP1"
inline constexpr int ReferenceApplicationId = 0x5A465231; // "ZFR1"
inline constexpr int UserCatalogApplicationId = 0x5A465531; // "ZFU1"

class Database;

// A prepared statement. Values are always bound, never pasted into the SQL.
class Statement {
public:
    Statement(Database& db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const QVariant& value); // 1-based
    void bindAll(const QVariantList& values);
    bool step(); // true while a row is available
    void reset();
    int columnCount() const;
    QVariant column(int index) const; // 0-based; null as an invalid QVariant
    qint64 columnInt64(int index) const;
    QString columnText(int index) const;
    bool columnIsNull(int index) const;

private:
    Database& db_;
    QString sql_;
    sqlite3_stmt* stmt_ = nullptr;
};

struct TableColumn {
    QString name;
    QString declaredType; // upper case, as declared
    bool notNull = false;
    QString defaultSql; // the DEFAULT clause as written, empty if none
    bool primaryKey = false;
};

// One connection to an SQLite file. Files are opened defensively: the schema is
// not trusted, triggers and views are refused, the file is checked before use.
class Database {
public:
    struct OpenOptions {
        bool readOnly = false;
        bool create = false;   // create the file when it does not exist
        int applicationId = 0; // a non-zero foreign application id is refused
        bool quickCheck = true;
        int attachments = 0; // how many files attach() may add
        // The name messages give the connection instead of its path (an
        // in-memory database standing in for a file that cannot be used).
        QString shownPath;
    };

    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Throws DbError with the engine's message on failure; the connection is then
    // closed.
    void open(const QString& path, const OpenOptions& options);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    const QString& path() const { return path_; }
    sqlite3* handle() const { return db_; }

    // Runs one statement (several in one string are refused).
    void exec(const QString& sql, const QVariantList& params = {});
    qint64 lastInsertRowId() const;
    int changes() const;
    // Rows inserted, changed or deleted through this connection since it opened.
    qint64 totalChanges() const;
    // A digest of every row (with its rowid) of every table, as this connection
    // sees them: equal digests mean equal contents. Empty when a table cannot be
    // read so.
    QByteArray contentDigest();

    // Attaches another file under a schema name, read-only, checked as open()
    // checks a file: no triggers or views, our application id, not damaged.
    void attachReadOnly(const QString& path, const QString& schema, int applicationId);

    // A view of the connection's own (in the temp schema) that stands for the
    // table `base` of the main database: its rows are read through the view,
    // while a dataset on it writes the base table by the key column, which
    // names each row of the view once. Column types are the base table's. New rows get keys from firstKey up, apart from the rows the
    // view shows from elsewhere.
    struct ViewTable {
        QString base;
        QString key;
        qint64 firstKey = 1;
        // Where the indexes that order the view are found: the base table's
        // schema, or the one the view's first rows come from.
        QString indexSchema = QStringLiteral("main");
    };
    void registerView(const QString& name, const ViewTable& table);
    void clearViews() { views_.clear(); }
    const ViewTable* viewTable(const QString& name) const;
    // The key of a new row of the view's base table: above every key it has,
    // at least firstKey.
    qint64 nextViewKey(const QString& name);

    bool tableExists(const QString& table);
    std::vector<TableColumn> tableColumns(const QString& table);
    // Columns of the index `name` of the table, looked up as "<table>_<name>" or
    // "<name>"; empty when there is no such index.
    QStringList indexColumns(const QString& table, const QString& name);

    // One transaction: the writes of one operation reach the file together, with
    // one synced write, or not at all. Transactions nest: an inner one joins the
    // outer one. A transaction that ends without commit() (an exception passed)
    // rolls back, an inner one taking the outer one with it; after a rollback
    // every dataset on the connection reads its rows again.
    class Transaction {
    public:
        enum Mode { Write, Read };
        explicit Transaction(Database& db, Mode mode = Write);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        // The outermost commit writes; a failed commit rolls back and throws.
        void commit();

    private:
        Database* db_;
        bool done_ = false;
    };
    bool inTransaction() const { return transactionDepth_ > 0; }
    // Told after a rollback undid the writes of a transaction; returns a handle.
    int addRollbackListener(std::function<void()> listener);
    void removeRollbackListener(int handle);

    // Quotes an identifier for SQL: "name" with embedded quotes doubled.
    static QString quoteIdentifier(const QString& name);

private:
    friend class Statement;
    [[noreturn]] void fail(const QString& context) const;
    QString errorText(const QString& context) const;
    void checkSchema(const OpenOptions& options);
    void checkSchemaOf(const QString& schema, int applicationId, bool quickCheck);
    QString schemaOf(const QString& table);

    sqlite3_stmt* takeCached(const QString& sql);
    void giveBack(const QString& sql, sqlite3_stmt* stmt);
    void clearCache();

    void rollback();

    sqlite3* db_ = nullptr;
    QString path_;
    std::vector<std::pair<QString, ViewTable>> views_;
    int transactionDepth_ = 0;
    bool doomed_ = false; // an inner transaction failed: the outer one rolls back
    // The first failure to read or write the file in the transaction under way:
    // what a later statement reports when the engine has ended the transaction.
    mutable QString lastStorageError_;
    std::vector<std::pair<int, std::function<void()>>> rollbackListeners_;
    int nextListener_ = 1;
    // Prepared statements for reuse: the same few statements run for every row.
    QMultiHash<QString, sqlite3_stmt*> cache_;
};

} // namespace zf
