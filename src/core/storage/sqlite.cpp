#include "storage/sqlite.h"

#include "storage/syncstats.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <sqlite3.h>

namespace zf {

namespace {

// Case-insensitive comparison of texts, as the filters of the datasets compare.
int noCaseCollation(void*, int len1, const void* s1, int len2, const void* s2) {
    const QString a = QString::fromUtf8(static_cast<const char*>(s1), len1);
    const QString b = QString::fromUtf8(static_cast<const char*>(s2), len2);
    return a.compare(b, Qt::CaseInsensitive);
}

// zf_like(pattern, value): the LIKE of the filter expressions. '*' and '%' stand
// for any run of characters, '?' and '_' for one; the comparison ignores case.
bool likeMatch(QStringView pattern, QStringView text) {
    qsizetype p = 0, t = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size()) {
            const QChar pc = pattern[p];
            if (pc == QLatin1Char('*') || pc == QLatin1Char('%')) {
                starP = p++;
                starT = t;
                continue;
            }
            if (pc == QLatin1Char('?') || pc == QLatin1Char('_') ||
                pattern.mid(p, 1).compare(text.mid(t, 1), Qt::CaseInsensitive) == 0) {
                ++p;
                ++t;
                continue;
            }
        }
        if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
            continue;
        }
        return false;
    }
    while (p < pattern.size() && (pattern[p] == QLatin1Char('*') || pattern[p] == QLatin1Char('%')))
        ++p;
    return p == pattern.size();
}

void likeFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const auto* v = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const QString pattern = QString::fromUtf8(p, sqlite3_value_bytes(argv[0]));
    const QString value = QString::fromUtf8(v, sqlite3_value_bytes(argv[1]));
    sqlite3_result_int(ctx, likeMatch(pattern, value) ? 1 : 0);
}

} // namespace

// --- Statement ---------------------------------------------------------------

Statement::Statement(Database& db, const QString& sql) : db_(db), sql_(sql) {
    if (!db.db_)
        throw DbError(QStringLiteral("The database is not open."));
    stmt_ = db.takeCached(sql);
    if (stmt_)
        return;
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db.db_, utf8.constData(), int(utf8.size()), &stmt_, &tail) != SQLITE_OK)
        db.fail(QString());
    if (tail && *tail) {
        QByteArray rest(tail);
        if (!rest.trimmed().isEmpty() && rest.trimmed() != ";") {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
            throw DbError(QStringLiteral("Only one SQL statement may be run at a time."));
        }
    }
}

Statement::~Statement() {
    if (stmt_)
        db_.giveBack(sql_, stmt_);
}

void Statement::bind(int index, const QVariant& value) {
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(stmt_, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(stmt_, index, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Short:
        case QMetaType::Char:
            rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(stmt_, index, value.toDouble());
            break;
        case QMetaType::QDateTime:
        case QMetaType::QDate: {
            const QByteArray t =
                value.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toUtf8();
            rc = sqlite3_bind_text(stmt_, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QByteArray: {
            const QByteArray b = value.toByteArray();
            rc = sqlite3_bind_blob(stmt_, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray t = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        db_.fail(QString());
}

void Statement::bindAll(const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values[i]);
}

bool Statement::step() {
    if (db_.transactionDepth_ > 0 && sqlite3_get_autocommit(db_.db_)) {
        // The engine rolled the transaction back after a failure (a full disk);
        // running on would write the rest of the operation on its own.
        db_.doomed_ = true;
        if (!db_.lastStorageError_.isEmpty())
            throw DbError(db_.lastStorageError_, true);
        throw DbError(QStringLiteral("The operation was ended by an earlier error."));
    }
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    db_.fail(QString());
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

QVariant Statement::column(int index) const {
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt_, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, index));
    case SQLITE_TEXT:
        return QVariant(columnText(index));
    case SQLITE_BLOB: {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, index));
        return QVariant(QByteArray(p, sqlite3_column_bytes(stmt_, index)));
    }
    default:
        return QVariant();
    }
}

qint64 Statement::columnInt64(int index) const {
    return sqlite3_column_int64(stmt_, index);
}

QString Statement::columnText(int index) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
    return QString::fromUtf8(p, sqlite3_column_bytes(stmt_, index));
}

bool Statement::columnIsNull(int index) const {
    return sqlite3_column_type(stmt_, index) == SQLITE_NULL;
}

// --- Database ----------------------------------------------------------------

Database::~Database() {
    close();
}

namespace {
bool isStorageError(int code) {
    return code == SQLITE_IOERR || code == SQLITE_FULL || code == SQLITE_CANTOPEN ||
           code == SQLITE_READONLY;
}
} // namespace

QString Database::errorText(const QString& context) const {
    QString msg =
        db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("database not open");
    // The system's reason ("No space left on device") says more than the engine's.
    // The engine keeps no error number for a full disk: it is always ENOSPC.
    const int code = db_ ? sqlite3_errcode(db_) & 0xff : 0;
    int err = db_ ? sqlite3_system_errno(db_) : 0;
    if (code == SQLITE_FULL)
        err = ENOSPC;
    if (isStorageError(code)) {
        if (err != 0)
            msg += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(err)));
        if (!path_.isEmpty())
            msg = path_ + QStringLiteral(": ") + msg;
    }
    if (!context.isEmpty())
        msg = context + QStringLiteral(": ") + msg;
    return msg;
}

void Database::fail(const QString& context) const {
    const QString text = errorText(context);
    const bool storage = db_ && isStorageError(sqlite3_errcode(db_) & 0xff);
    if (storage)
        lastStorageError_ = text;
    throw DbError(text, storage);
}

// A file some other tool switched to a write-ahead log keeps part of its data
// beside it: never ours, and copying it alone would lose that part.
static void refuseWriteAheadLog(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QByteArray head = f.read(20);
    if (head.size() == 20 && head.startsWith(QByteArrayLiteral("SQLite format 3")) &&
        (head.at(18) == 2 || head.at(19) == 2))
        throw DbError(
            QStringLiteral("The file %1 uses a write-ahead log, which a Zefrant file never does.")
                .arg(path));
}

void Database::open(const QString& path, const OpenOptions& options) {
    close();
    if (!options.create && !QFileInfo::exists(path))
        throw DbError(QStringLiteral("Could not find file '%1'.").arg(path));
    if (!options.create) {
        refuseWriteAheadLog(path);
    }
    int flags = options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (options.create)
        flags |= SQLITE_OPEN_CREATE;
    // Attached files are named by URIs, which say read-only; the main file's
    // path is never one (it is absolute, or ":memory:").
    if (options.attachments > 0)
        flags |= SQLITE_OPEN_URI;
    flags |= SQLITE_OPEN_NOMUTEX;
    const QByteArray p = path.toUtf8();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(p.constData(), &db, flags, countingVfsName());
    db_ = db;
    path_ = options.shownPath.isEmpty() ? path : options.shownPath;
    views_.clear();
    if (rc != SQLITE_OK) {
        const QString msg =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        close();
        throw DbError(msg);
    }
    try {
        sqlite3_extended_result_codes(db_, 1);
        // Untrusted files: no SQL stored in the file is run.
        sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
        if (!options.create || options.attachments > 0)
            sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, options.attachments);
        sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, 64 * 1024 * 1024);
        sqlite3_busy_timeout(db_, 2000);
        sqlite3_create_collation(db_, "ZFNOCASE", SQLITE_UTF8, nullptr, noCaseCollation);
        sqlite3_create_function(db_, "zf_like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                likeFunction, nullptr, nullptr);
        exec(QStringLiteral("PRAGMA cell_size_check = ON"));
        exec(QStringLiteral("PRAGMA mmap_size = 0"));
        if (!options.readOnly && sqlite3_db_readonly(db_, "main") == 1)
            throw DbError(QStringLiteral("The file cannot be opened for writing."));
        {
            Transaction reads(*this, Transaction::Read);
            checkSchema(options);
            reads.commit();
        }
        if (!options.readOnly) {
            // One self-contained file between operations; WAL fails on network shares.
            Statement jm(*this, QStringLiteral("PRAGMA journal_mode = DELETE"));
            jm.step();
            exec(QStringLiteral("PRAGMA synchronous = FULL"));
        }
    } catch (...) {
        close();
        throw;
    }
}

void Database::checkSchema(const OpenOptions& options) {
    checkSchemaOf(QStringLiteral("main"), options.applicationId, options.quickCheck);
}

void Database::attachReadOnly(const QString& path, const QString& schema, int applicationId) {
    if (!db_)
        throw DbError(QStringLiteral("The database is not open."));
    if (!QFileInfo::exists(path))
        throw DbError(QStringLiteral("Could not find file '%1'.").arg(path));
    refuseWriteAheadLog(path);
    // The path as a URI: every character that means something in one escaped.
    const QString uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())
                            .toString(QUrl::FullyEncoded) +
                        QStringLiteral("?mode=ro");
    exec(QStringLiteral("ATTACH DATABASE ?1 AS %1").arg(quoteIdentifier(schema)), {uri});
    try {
        Transaction reads(*this, Transaction::Read);
        checkSchemaOf(schema, applicationId, true);
        reads.commit();
    } catch (...) {
        try {
            exec(QStringLiteral("DETACH DATABASE %1").arg(quoteIdentifier(schema)));
        } catch (const DbError&) {
        }
        throw;
    }
}

void Database::checkSchemaOf(const QString& schema, int applicationId, bool quickCheck) {
    const QString s = quoteIdentifier(schema);
    // Reading the schema is the first read of the file: a file that is not a
    // database fails here with the engine's message.
    Statement st(*this, QStringLiteral("SELECT type, name, sql FROM %1.sqlite_schema").arg(s));
    while (st.step()) {
        const QString type = st.columnText(0);
        const QString sql = st.columnText(2).trimmed();
        if (type == QLatin1String("trigger") || type == QLatin1String("view"))
            throw DbError(QStringLiteral("The file contains a %1 (%2); such files are not opened.")
                              .arg(type, st.columnText(1)));
        if (type == QLatin1String("table") &&
            sql.startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive))
            throw DbError(
                QStringLiteral("The file contains a virtual table (%1); such files are not opened.")
                    .arg(st.columnText(1)));
    }
    if (applicationId != 0) {
        Statement app(*this, QStringLiteral("PRAGMA %1.application_id").arg(s));
        const qint64 id = app.step() ? app.columnInt64(0) : 0;
        if (id != 0 && id != applicationId)
            throw DbError(QStringLiteral("The file belongs to another application."));
    }
    if (quickCheck) {
        Statement qc(*this, QStringLiteral("PRAGMA %1.quick_check(1)").arg(s));
        const QString result = qc.step() ? qc.columnText(0) : QString();
        if (result != QLatin1String("ok"))
            throw DbError(QStringLiteral("The database file is damaged (%1).").arg(result));
    }
}

sqlite3_stmt* Database::takeCached(const QString& sql) {
    auto it = cache_.find(sql);
    if (it == cache_.end())
        return nullptr;
    sqlite3_stmt* s = it.value();
    cache_.erase(it);
    return s;
}

void Database::giveBack(const QString& sql, sqlite3_stmt* stmt) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (!db_ || cache_.size() >= 200) {
        sqlite3_finalize(stmt);
        return;
    }
    cache_.insert(sql, stmt);
}

void Database::clearCache() {
    for (sqlite3_stmt* s : std::as_const(cache_))
        sqlite3_finalize(s);
    cache_.clear();
}

void Database::close() {
    clearCache();
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    transactionDepth_ = 0;
    doomed_ = false;
}

void Database::exec(const QString& sql, const QVariantList& params) {
    Statement st(*this, sql);
    st.bindAll(params);
    while (st.step()) {
    }
}

qint64 Database::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(db_);
}

int Database::changes() const {
    return sqlite3_changes(db_);
}

qint64 Database::totalChanges() const {
    return db_ ? qint64(sqlite3_total_changes64(db_)) : 0;
}

QString Database::quoteIdentifier(const QString& name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// The schema in which an unqualified name finds the table: temp, main, then
// the attached files in the order they were attached.
QString Database::schemaOf(const QString& table) {
    QStringList schemas;
    {
        Statement st(*this, QStringLiteral("SELECT name FROM pragma_database_list ORDER BY seq"));
        while (st.step())
            schemas << st.columnText(0);
    }
    // temp is searched first, whatever its place in the list.
    if (schemas.removeAll(QStringLiteral("temp")) > 0)
        schemas.prepend(QStringLiteral("temp"));
    for (const QString& s : schemas) {
        Statement st(*this, QStringLiteral("SELECT 1 FROM %1.sqlite_schema WHERE type IN "
                                           "('table', 'view') AND name = ?1 COLLATE NOCASE")
                                .arg(quoteIdentifier(s)));
        st.bind(1, table);
        if (st.step())
            return s;
    }
    return QStringLiteral("main");
}

// A table of the main database or of an attached one, or a view of ours that
// stands for one.
bool Database::tableExists(const QString& table) {
    if (viewTable(table))
        return true;
    QStringList schemas;
    {
        Statement st(*this, QStringLiteral("SELECT name FROM pragma_database_list"));
        while (st.step())
            schemas << st.columnText(0);
    }
    schemas.removeAll(QStringLiteral("temp"));
    for (const QString& s : schemas) {
        Statement st(*this, QStringLiteral("SELECT 1 FROM %1.sqlite_schema WHERE type = 'table' "
                                           "AND name = ?1 COLLATE NOCASE")
                                .arg(quoteIdentifier(s)));
        st.bind(1, table);
        if (st.step())
            return true;
    }
    return false;
}

void Database::registerView(const QString& name, const ViewTable& table) {
    std::erase_if(views_, [&](const auto& v) { return v.first.compare(name, Qt::CaseInsensitive) == 0; });
    views_.emplace_back(name, table);
}

const Database::ViewTable* Database::viewTable(const QString& name) const {
    for (const auto& [n, t] : views_)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

qint64 Database::nextViewKey(const QString& name) {
    const ViewTable* v = viewTable(name);
    if (!v)
        throw DbError(QStringLiteral("'%1' is no view of this connection.").arg(name));
    Statement st(*this, QStringLiteral("SELECT max(%1) FROM main.%2")
                            .arg(quoteIdentifier(v->key), quoteIdentifier(v->base)));
    qint64 next = v->firstKey;
    if (st.step() && !st.columnIsNull(0))
        next = std::max(next, st.columnInt64(0) + 1);
    return next;
}

std::vector<TableColumn> Database::tableColumns(const QString& table) {
    std::vector<TableColumn> cols;
    // A view of ours has its own columns in its own order, with the types and
    // defaults its base table gives them.
    const ViewTable* view = viewTable(table);
    Statement st(*this,
                 view ? QStringLiteral("SELECT v.name, b.type, b.\"notnull\", b.dflt_value, b.pk "
                                       "FROM pragma_table_info(?1, 'temp') AS v "
                                       "JOIN pragma_table_info(?2, 'main') AS b "
                                       "ON b.name = v.name COLLATE NOCASE ORDER BY v.cid")
                      : QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk "
                                       "FROM pragma_table_info(?1)"));
    st.bind(1, table);
    if (view)
        st.bind(2, view->base);
    while (st.step()) {
        TableColumn c;
        c.name = st.columnText(0);
        c.declaredType = st.columnText(1).trimmed().toUpper();
        c.notNull = st.columnInt64(2) != 0;
        c.defaultSql = st.columnIsNull(3) ? QString() : st.columnText(3);
        c.primaryKey = st.columnInt64(4) != 0;
        cols.push_back(c);
    }
    return cols;
}

QStringList Database::indexColumns(const QString& table, const QString& name) {
    QString found;
    // A view of ours is in the order of the indexes its ViewTable names.
    const ViewTable* view = viewTable(table);
    const QString schema = view ? view->indexSchema : schemaOf(table);
    const QString base = view ? view->base : table;
    {
        Statement st(*this, QStringLiteral("SELECT name FROM pragma_index_list(?1, ?2)"));
        st.bind(1, base);
        st.bind(2, schema);
        const QString qualified = table + QLatin1Char('_') + name;
        while (st.step()) {
            const QString n = st.columnText(0);
            if (n.compare(qualified, Qt::CaseInsensitive) == 0 ||
                (found.isEmpty() && n.compare(name, Qt::CaseInsensitive) == 0))
                found = n;
        }
    }
    QStringList cols;
    if (found.isEmpty())
        return cols;
    Statement st(*this,
                 QStringLiteral("SELECT name FROM pragma_index_info(?1, ?2) ORDER BY seqno"));
    st.bind(1, found);
    st.bind(2, schema);
    while (st.step()) {
        if (st.columnIsNull(0))
            return {}; // an index on an expression is not an order we use
        cols << st.columnText(0);
    }
    return cols;
}

Database::Transaction::Transaction(Database& db, Mode mode) : db_(&db) {
    if (!db_->db_)
        throw DbError(QStringLiteral("The database is not open."));
    if (db_->transactionDepth_ == 0) {
        db_->lastStorageError_.clear();
        db_->exec(mode == Write ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
        db_->doomed_ = false;
    }
    ++db_->transactionDepth_;
}

Database::Transaction::~Transaction() {
    if (done_ || db_->transactionDepth_ == 0)
        return;
    if (--db_->transactionDepth_ > 0) {
        db_->doomed_ = true;
        return;
    }
    db_->rollback();
}

void Database::Transaction::commit() {
    if (done_ || db_->transactionDepth_ == 0)
        return;
    done_ = true;
    if (--db_->transactionDepth_ > 0)
        return;
    if (!db_->db_)
        throw DbError(QStringLiteral("The database is not open."));
    if (db_->doomed_) {
        const QString storageError = db_->lastStorageError_;
        db_->rollback();
        if (!storageError.isEmpty())
            throw DbError(storageError, true);
        throw DbError(QStringLiteral("A part of the operation failed; nothing of it was written."));
    }
    if (sqlite3_exec(db_->db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString msg = db_->errorText(QStringLiteral("Commit failed"));
        const bool storage = isStorageError(sqlite3_errcode(db_->db_) & 0xff);
        db_->rollback();
        throw DbError(msg, storage);
    }
}

void Database::rollback() {
    doomed_ = false;
    // The engine may have rolled back already (a full disk, an I/O error).
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    const auto listeners = rollbackListeners_;
    for (const auto& [handle, listener] : listeners) {
        try {
            listener();
        } catch (...) {
            // A dataset that cannot read its rows again stays as it is.
        }
    }
}

QByteArray Database::contentDigest() {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QStringList tables;
    try {
        Statement names(*this, QStringLiteral("SELECT name FROM sqlite_schema WHERE type = "
                                              "'table' ORDER BY name"));
        while (names.step())
            tables << names.columnText(0);
    } catch (const DbError&) {
        return {};
    }
    for (const QString& table : tables) {
        hash.addData(table.toUtf8());
        const QByteArray sql =
            QStringLiteral("SELECT rowid, * FROM %1").arg(quoteIdentifier(table)).toUtf8();
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK) {
            sqlite3_finalize(st);
            return {};
        }
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const int n = sqlite3_column_count(st);
            for (int i = 0; i < n; ++i) {
                const char type = char(sqlite3_column_type(st, i));
                hash.addData(QByteArrayView(&type, 1));
                if (type == SQLITE_INTEGER) {
                    const sqlite3_int64 v = sqlite3_column_int64(st, i);
                    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&v), sizeof v));
                } else if (type == SQLITE_FLOAT) {
                    const double v = sqlite3_column_double(st, i);
                    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&v), sizeof v));
                } else if (type != SQLITE_NULL) {
                    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(st, i));
                    const int size = sqlite3_column_bytes(st, i);
                    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&size), sizeof size));
                    if (bytes)
                        hash.addData(QByteArrayView(bytes, size));
                }
            }
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            return {};
    }
    return hash.result();
}

int Database::addRollbackListener(std::function<void()> listener) {
    const int h = nextListener_++;
    rollbackListeners_.emplace_back(h, std::move(listener));
    return h;
}

void Database::removeRollbackListener(int handle) {
    std::erase_if(rollbackListeners_, [handle](const auto& p) { return p.first == handle; });
}

} // namespace zf
