#include "storage/zfdata.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "common/resultcodes.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "storage/filecopy.h"
#include "storage/schema.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cmath>
#include <optional>
#include <sqlite3.h>

namespace zf {

TZFData::TZFData() {
    const Schema& schema = projectSchema();
    struct Setup {
        Dataset* ds;
        const char* table;
        const char* index;
        bool declared;
    };
    const Setup project[] = {
        {&tADOProject, "tRozmery", "ID", true},         {&tSteny, "tSteny", "", true},
        {&tStavOtvory, "tStavOtvory", "IDSteny", true}, {&tJednotky, "tJednotky", "ID", true},
        {&tResults, "tTempTable", "ID", false},         {&tDBVer, "tDBVer", "ID", false}};
    for (const Setup& s : project) {
        s.ds->setDatabase(&projectConnection_);
        s.ds->setTableName(QString::fromLatin1(s.table));
        s.ds->setIndexName(QString::fromLatin1(s.index));
        if (s.declared)
            s.ds->setDeclaredColumns(schema.table(QString::fromLatin1(s.table))->declaredColumns());
    }
    tDBVer.setReadOnly(true);
    tStavOtvory.setMaster(&dsSteny, QStringLiteral("IDSteny"), QStringLiteral("IDSteny"));

    const Setup reference[] = {
        {&tTeploty, "tTeploty", "ID", false},     {&tTridaPrace, "tTridaPrace", "ID", false},
        {&tGeneral, "tGeneral", "ID", false},     {&tMaterialy, "tMaterialyEN", "ID", false},
        {&tDefPerson, "tDefPerson", "ID", false}, {&tRozmery, "tBrisantRozmery", "", false},
        {&tTmp, "tBrisant", "ID", false}};
    for (const Setup& s : reference) {
        s.ds->setDatabase(&catalogConnection_);
        s.ds->setTableName(QString::fromLatin1(s.table));
        s.ds->setIndexName(QString::fromLatin1(s.index));
    }
    for (Dataset* ds : {&tTeploty, &tTridaPrace, &tGeneral, &tRozmery, &tTmp})
        ds->setReadOnly(true);

    // Every change of a project column marks the project as modified.
    for (Dataset* ds : projectTables())
        ds->addBeforeFieldChange([](Dataset&, const QString&) { Modified = true; });

    // A language switch re-opens the materials of the new language.
    languageHandle_ = registerLanguageApplier([this](int) {
        if (catalogConnection_.isOpen())
            openMaterials();
    });
}

TZFData::~TZFData() {
    unregisterLanguageApplier(languageHandle_);
    CloseProjectTables();
    closeProjectConnection();
}

std::vector<Dataset*> TZFData::projectTables() {
    return {&tADOProject, &tSteny, &tStavOtvory, &tJednotky, &tResults};
}

QString TZFData::commonAppDataFolder() {
    const QString env = qEnvironmentVariable("ZEFRANT_COMMON_APPDATA");
    if (!env.isEmpty())
        return withTrailingSlash(env);
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/usr/local/share/:/usr/share/");
    const QString first = dirs.section(QLatin1Char(':'), 0, 0);
    return withTrailingSlash(first);
}

QString TZFData::locateReference() {
    const QString common = commonAppDataFolder();
    QString shared = common + QStringLiteral("Quadrel/Zefrant/ZF.zft");
    if (!common.isEmpty() && QFileInfo::exists(shared))
        return shared;
    return AppPath + QStringLiteral("DB/ZF.zft");
}

namespace {
void showFatalStartMessage() {
    ShowErrorBox(
        QStringLiteral(
            "Application fatal error. Please do the following:\n"
            " 1. Reinstall the MS Data Access Components (Folder MDAC on the install CD).\n"
            " 2. Reinstall the applicaiton."),
        QString::fromLatin1(ProductName), MbError);
}
} // namespace

bool TZFData::startUp() {
    referencePath_ = locateReference();
    if (ConnectReference(referencePath_) != ResultOk) {
        showFatalStartMessage();
        return false;
    }
    // A file of the user's that is there but cannot be used is said at once:
    // the user's items are missing from the catalog until it can be.
    if (usingStandIn_ && QFileInfo::exists(userCatalogPath_))
        ShowMessageBox(formatText(LanguageText(3601), {userCatalogPath_, userCatalogProblem_}),
                       QString::fromLatin1(ProductName), MbWarning);
    closeProjectConnection();
    try {
        tTeploty.open();
        tTridaPrace.open();
        tGeneral.open();
    } catch (const DbError& e) {
        LastError = QStringLiteral("Cannot open program database. ") + e.message();
        showFatalStartMessage();
        return false;
    }
    for (Dataset* ds : {&tSteny, &tStavOtvory, &tJednotky, &tADOProject})
        SetFloatFormats(*ds);
    tADOProject.setDisplayFormat(QStringLiteral("Q_infiltrace_kW"), QStringLiteral(",0.## kW"));
    return true;
}

QString TZFData::userDataFolder() {
    const QString env = qEnvironmentVariable("ZEFRANT_USER_DATA");
    if (!env.isEmpty())
        return withTrailingSlash(QDir::cleanPath(QDir(env).absolutePath()));
    // The application's data folder (organisation Quadrel, application Zefrant),
    // whatever names the running program has given itself.
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return withTrailingSlash(base) + QStringLiteral("Quadrel/Zefrant/");
}

QString TZFData::locateUserCatalog() {
    return userDataFolder() + QStringLiteral("ZFUser.zft");
}

namespace {

const QString RefSchema = QStringLiteral("ref");

QString q(const QString& name) {
    return Database::quoteIdentifier(name);
}

// A declared type as a column definition may carry it: letters, digits, blanks
// and a length in parentheses; anything else is left out.
QString safeType(const QString& declared) {
    static const QRegularExpression ok(QStringLiteral("^[A-Za-z][A-Za-z0-9 ]*(\\(\\s*\\d+\\s*\\))?$"));
    return ok.match(declared).hasMatch() ? declared : QString();
}

// A DEFAULT clause of literals only: a number, a quoted text or NULL.
QString safeDefault(const QString& sql) {
    static const QRegularExpression ok(
        QStringLiteral("^\\(?\\s*(NULL|[-+]?\\d+(\\.\\d+)?([eE][-+]?\\d+)?|'([^']|'')*')\\s*\\)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return ok.match(sql.trimmed()).hasMatch() ? sql.trimmed() : QString();
}

QString columnDefinition(const TableColumn& c, bool withKey) {
    QString d = q(c.name);
    const QString type = safeType(c.declaredType);
    if (!type.isEmpty())
        d += QLatin1Char(' ') + type;
    if (withKey && c.primaryKey)
        d += QStringLiteral(" PRIMARY KEY");
    const QString def = safeDefault(c.defaultSql);
    if (!def.isEmpty())
        d += QStringLiteral(" DEFAULT ") + def;
    return d;
}

std::vector<TableColumn> columnsIn(Database& db, const QString& schema, const QString& table) {
    std::vector<TableColumn> cols;
    Statement st(db, QStringLiteral("SELECT name, type, dflt_value, pk FROM pragma_table_info(?1, ?2)"));
    st.bind(1, table);
    st.bind(2, schema);
    while (st.step()) {
        TableColumn c;
        c.name = st.columnText(0);
        c.declaredType = st.columnText(1).trimmed().toUpper();
        c.defaultSql = st.columnIsNull(2) ? QString() : st.columnText(2);
        c.primaryKey = st.columnInt64(3) != 0;
        cols.push_back(c);
    }
    return cols;
}

bool hasColumn(const std::vector<TableColumn>& cols, const QString& name) {
    return std::any_of(cols.begin(), cols.end(), [&](const TableColumn& c) {
        return c.name.compare(name, Qt::CaseInsensitive) == 0;
    });
}

// The one INTEGER PRIMARY KEY column (the rowid) of a table; empty when it has none.
QString rowKeyOf(const std::vector<TableColumn>& cols) {
    QString key;
    int keys = 0;
    for (const TableColumn& c : cols)
        if (c.primaryKey) {
            ++keys;
            key = c.name;
            if (c.declaredType != QLatin1String("INTEGER"))
                return {};
        }
    return keys == 1 ? key : QString();
}

qint64 pragmaValue(Database& db, const QString& schema, const char* pragma) {
    Statement st(db, QStringLiteral("PRAGMA %1.%2").arg(q(schema), QLatin1String(pragma)));
    return st.step() ? st.columnInt64(0) : 0;
}

// What the user's file lacks of the reference's tables: tables, or columns of
// tables it has.
struct UserTablesPlan {
    QStringList newTables;
    std::vector<std::pair<QString, TableColumn>> newColumns;
    bool fresh = false; // the file has no table yet
    bool empty() const { return newTables.isEmpty() && newColumns.empty(); }
};

UserTablesPlan planUserTables(Database& db, const QStringList& tables) {
    UserTablesPlan plan;
    {
        Statement st(db, QStringLiteral("SELECT count(*) FROM main.sqlite_schema WHERE type = 'table'"));
        plan.fresh = st.step() && st.columnInt64(0) == 0;
    }
    for (const QString& t : tables) {
        const std::vector<TableColumn> have = columnsIn(db, QStringLiteral("main"), t);
        if (have.empty()) {
            plan.newTables << t;
            continue;
        }
        for (const TableColumn& c : columnsIn(db, RefSchema, t))
            if (!hasColumn(have, c.name))
                plan.newColumns.emplace_back(t, c);
    }
    return plan;
}

void applyUserTablesPlan(Database& db, const UserTablesPlan& plan) {
    for (const QString& t : plan.newTables) {
        QStringList defs;
        for (const TableColumn& c : columnsIn(db, RefSchema, t))
            defs << columnDefinition(c, true);
        db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS main.%1 (%2)")
                    .arg(q(t), defs.join(QLatin1String(", "))));
        // The reference's indexes, so that the table reads in the same orders.
        QStringList indexes;
        {
            Statement st(db, QStringLiteral("SELECT name FROM pragma_index_list(?1, ?2) "
                                            "WHERE origin = 'c'"));
            st.bind(1, t);
            st.bind(2, RefSchema);
            while (st.step())
                indexes << st.columnText(0);
        }
        for (const QString& index : indexes) {
            QStringList cols;
            Statement st(db, QStringLiteral("SELECT name FROM pragma_index_info(?1, ?2) ORDER BY seqno"));
            st.bind(1, index);
            st.bind(2, RefSchema);
            while (st.step())
                if (!st.columnIsNull(0))
                    cols << q(st.columnText(0));
            if (!cols.isEmpty())
                db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS main.%1 ON %2 (%3)")
                            .arg(q(index), q(t), cols.join(QLatin1String(", "))));
        }
    }
    for (const auto& [t, c] : plan.newColumns)
        db.exec(QStringLiteral("ALTER TABLE main.%1 ADD COLUMN %2").arg(q(t), columnDefinition(c, false)));
}

// A name beside the file that no file has yet: <file>.v<version>.bak, then
// <file>.v<version>-2.bak and so on.
QString freeBackupName(const QString& file, qint64 version) {
    const QString base = file + QStringLiteral(".v%1").arg(version);
    QString name = base + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = base + QStringLiteral("-%1.bak").arg(n);
    return name;
}

} // namespace

// The user's file as the connection's main database: read-write when it and its
// folder can be written, made when it is not there yet; else read-only, with the
// reason kept. Throws when the file cannot be used at all.
bool TZFData::openUserCatalog() {
    const QString folder = QFileInfo(userCatalogPath_).absolutePath();
    const bool exists = QFileInfo::exists(userCatalogPath_);
    QDir().mkpath(folder);
    Database::OpenOptions o;
    o.applicationId = UserCatalogApplicationId;
    o.attachments = 1;
    if (!QFileInfo(folder).isDir())
        throw DbError(QStringLiteral("The folder %1 cannot be made.").arg(folder));
    if (!exists && !QFileInfo(folder).isWritable())
        throw DbError(QStringLiteral("The folder %1 cannot be written.").arg(folder));
    QString readOnlyReason;
    if (exists && !QFileInfo(folder).isWritable())
        readOnlyReason = QStringLiteral("The folder %1 cannot be written.").arg(folder);
    else if (exists && !QFileInfo(userCatalogPath_).isWritable())
        readOnlyReason = QStringLiteral("The file %1 cannot be written.").arg(userCatalogPath_);
    if (readOnlyReason.isEmpty()) {
        o.create = !exists;
        try {
            catalogConnection_.open(userCatalogPath_, o);
            return true;
        } catch (const DbError& e) {
            if (!exists || !QFileInfo::exists(userCatalogPath_))
                throw;
            readOnlyReason = e.message();
        }
    }
    o.create = false;
    o.readOnly = true;
    catalogConnection_.open(userCatalogPath_, o);
    userCatalogProblem_ = readOnlyReason;
    return false;
}

// The user's file cannot be used: an empty catalog of the user's in memory, which
// takes no change, stands in for it.
void TZFData::openStandInCatalog() {
    Database::OpenOptions o;
    o.create = true;
    o.attachments = 1;
    o.quickCheck = false;
    o.shownPath = userCatalogPath_;
    catalogConnection_.open(QStringLiteral(":memory:"), o);
}

// Brings the user's file up to the reference's tables: a new file gets them all
// (and the reference's compiler defaults as its first); an older one the tables
// and columns it lacks, after a backup of it has been written beside it.
void TZFData::prepareUserTables(bool backup) {
    Database& db = catalogConnection_;
    const qint64 refVersion = pragmaValue(db, RefSchema, "user_version");
    const qint64 userVersion = pragmaValue(db, QStringLiteral("main"), "user_version");
    const UserTablesPlan plan = planUserTables(db, userTables_);
    if (!plan.fresh && plan.empty() && userVersion >= refVersion)
        return;
    if (sqlite3_db_readonly(db.handle(), "main") == 1) {
        if (!plan.empty())
            throw DbError(QStringLiteral("The file %1 is of an older version and cannot be "
                                         "brought up to this one: %2")
                              .arg(userCatalogPath_, userCatalogProblem_));
        return;
    }
    if (backup && !plan.fresh) {
        const QString name = freeBackupName(userCatalogPath_, userVersion);
        QString error;
        if (!copyFileReplacing(userCatalogPath_, name, &error))
            throw DbError(error);
        userCatalogBackup_ = name;
    }
    Database::Transaction write(db);
    // Another instance may have done it meanwhile: planned again under the lock.
    const UserTablesPlan now = planUserTables(db, userTables_);
    applyUserTablesPlan(db, now);
    if (pragmaValue(db, QStringLiteral("main"), "application_id") == 0)
        db.exec(QStringLiteral("PRAGMA main.application_id = %1").arg(UserCatalogApplicationId));
    if (now.fresh) {
        const QString defaults = QStringLiteral("tDefPerson");
        if (userTables_.contains(defaults)) {
            QStringList cols;
            for (const TableColumn& c : columnsIn(db, RefSchema, defaults))
                cols << q(c.name);
            db.exec(QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM %3.%1")
                        .arg(q(defaults), cols.join(QLatin1String(", ")), q(RefSchema)));
        }
    }
    const qint64 version = std::max(refVersion, pragmaValue(db, QStringLiteral("main"), "user_version"));
    db.exec(QStringLiteral("PRAGMA main.user_version = %1").arg(version));
    write.commit();
}

// Each materials table as one: the reference's items, which the user may not
// change whatever they say, followed by the user's. A dataset on it writes the
// user's table.
void TZFData::createCatalogViews() {
    Database& db = catalogConnection_;
    for (const QString& t : userTables_) {
        const std::vector<TableColumn> cols = columnsIn(db, RefSchema, t);
        const QString key = rowKeyOf(cols);
        if (key.isEmpty() || t.compare(QLatin1String("tDefPerson"), Qt::CaseInsensitive) == 0)
            continue;
        QStringList supplied, own;
        for (const TableColumn& c : cols) {
            own << q(c.name);
            if (c.name.compare(QLatin1String("ReadOnly"), Qt::CaseInsensitive) == 0)
                supplied << QStringLiteral("CASE WHEN %1 <> 0 THEN %1 ELSE 1 END AS %1").arg(q(c.name));
            else
                supplied << q(c.name);
        }
        db.exec(QStringLiteral("CREATE TEMP VIEW %1 AS SELECT %2 FROM %3.%1 UNION ALL "
                               "SELECT %4 FROM main.%1")
                    .arg(q(t), supplied.join(QLatin1String(", ")), q(RefSchema),
                         own.join(QLatin1String(", "))));
        db.registerView(t, {t, key, UserItemsFirstKey, RefSchema});
    }
}

int TZFData::ConnectReference(const QString& path) {
    for (Dataset* ds :
         {&tTeploty, &tTridaPrace, &tGeneral, &tMaterialy, &tDefPerson, &tRozmery, &tTmp})
        ds->close();
    catalogConnection_.close();
    userCatalogPath_ = locateUserCatalog();
    userCatalogProblem_.clear();
    userCatalogBackup_.clear();
    usingStandIn_ = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const bool standIn = attempt == 1;
        usingStandIn_ = standIn;
        try {
            if (standIn)
                openStandInCatalog();
            else
                openUserCatalog();
        } catch (const DbError& e) {
            userCatalogProblem_ = e.message();
            continue;
        }
        try {
            catalogConnection_.attachReadOnly(path, RefSchema, ReferenceApplicationId);
        } catch (const DbError& e) {
            catalogConnection_.close();
            LastError = QStringLiteral("Cannot open program database. ") + e.message();
            return ResultInvalidFile;
        }
        try {
            // The reference's tables the user has own rows of: the materials of
            // every language (with a row key) and the compiler's defaults.
            userTables_.clear();
            {
                Statement st(
                    catalogConnection_,
                    QStringLiteral("SELECT name FROM %1.sqlite_schema WHERE type = 'table' "
                                   "ORDER BY name")
                        .arg(q(RefSchema)));
                while (st.step()) {
                    const QString name = st.columnText(0);
                    if (name.startsWith(QLatin1String("tMaterialy")) ||
                        name == QLatin1String("tDefPerson"))
                        userTables_ << name;
                }
            }
            prepareUserTables(!standIn);
            createCatalogViews();
            if (standIn)
                catalogConnection_.exec(QStringLiteral("PRAGMA query_only = 1"));
        } catch (const DbError& e) {
            catalogConnection_.close();
            if (standIn) {
                LastError = QStringLiteral("Cannot open program database. ") + e.message();
                return ResultInvalidFile;
            }
            userCatalogProblem_ = e.message();
            continue;
        }
        return ResultOk;
    }
    return ResultInvalidFile;
}

void TZFData::openMaterials() {
    tMaterialy.close();
    tMaterialy.setTableName(QStringLiteral("tMaterialy") + LanguageCode + LanguageCodeSuffix);
    try {
        tMaterialy.open();
    } catch (const DbError&) {
        // The catalog of a language without a table stays closed.
    }
}

void TZFData::openProjectConnection(const QString& path) {
    Database::OpenOptions o;
    o.applicationId = ProjectApplicationId;
    projectConnection_.open(path, o);
}

void TZFData::closeProjectConnection() {
    projectConnection_.close();
}

namespace {

// The table of usable unit types declares no columns of its own, yet the program
// writes these: each must be there and hold what the template's column holds.
void checkUnitTypesColumns(const Dataset& ds) {
    const SchemaTable* t = projectSchema().table(ds.tableName());
    if (!t)
        return;
    for (const ColumnDecl& want : t->declaredColumns()) {
        const int i = ds.fieldIndex(want.name);
        if (i < 0)
            throw DbError(QStringLiteral("The column '%1' of the table '%2' is missing.")
                              .arg(want.name, ds.tableName()));
        const Dataset::Field& have = ds.fields()[size_t(i)];
        bool holds = have.type == want.type;
        if (want.type == JetType::Long)
            holds = have.type == JetType::Long || have.type == JetType::AutoNumber;
        else if (want.type == JetType::Text)
            holds = have.type == JetType::Memo ||
                    (have.type == JetType::Text && have.size >= want.size);
        if (!holds)
            throw DbError(
                QStringLiteral("The column '%1' of the table '%2' is of the type %3, not %4.")
                    .arg(want.name, ds.tableName(), jetTypeName(have.type, have.size),
                         jetTypeName(want.type, want.size)));
    }
}

} // namespace

int TZFData::OpenProjectTables() {
    LastError.clear();
    // One shared lock for all the reads of the check and the five tables.
    std::optional<Database::Transaction> reads;
    try {
        reads.emplace(projectConnection_, Database::Transaction::Read);
    } catch (const DbError& e) {
        LastError = QStringLiteral("Invalid project file format. ") + e.message();
        return ResultInvalidFile;
    }
    int major = 0, minor = 0;
    QString version;
    try {
        tDBVer.open();
        tDBVer.last();
        major = tDBVer.asInteger(QStringLiteral("DBVerMajor"));
        minor = tDBVer.asInteger(QStringLiteral("DBVerMinor"));
        version = tDBVer.asString(QStringLiteral("Version"));
        tDBVer.close();
    } catch (const DbError& e) {
        tDBVer.close();
        LastError = QStringLiteral("Invalid project file format. ") + e.message();
        return ResultInvalidFile;
    }
    if (major < 1 && minor < 1) {
        LastError = QStringLiteral("Invalid project file version. (Ver: %1.%2, %3)")
                        .arg(major)
                        .arg(minor)
                        .arg(version);
        return ResultInvalidFile;
    }
    for (Dataset* ds : projectTables()) {
        try {
            ds->open();
            if (ds == &tResults)
                checkUnitTypesColumns(*ds);
        } catch (const DbError& e) {
            CloseProjectTables();
            LastError = QStringLiteral("Invalid project file format. ") + e.message();
            return ResultInvalidFile;
        }
    }
    try {
        reads->commit();
    } catch (const DbError& e) {
        CloseProjectTables();
        LastError = QStringLiteral("Invalid project file format. ") + e.message();
        return ResultInvalidFile;
    }
    return ResultOk;
}

void TZFData::CloseProjectTables() {
    for (Dataset* ds : projectTables())
        ds->close();
}

void TZFData::ClearTable(Dataset& dataset, bool wholeTable) {
    if (wholeTable) {
        dataset.checkBrowseMode();
        dataset.database()->exec(
            QStringLiteral("DELETE FROM %1").arg(Database::quoteIdentifier(dataset.tableName())));
        dataset.refresh();
        return;
    }
    dataset.refresh();
    if (dataset.isEmpty())
        return;
    Database::Transaction transaction(*dataset.database());
    {
        Dataset::ControlsSuspended quiet(dataset);
        dataset.first();
        try {
            while (!dataset.isEmpty())
                dataset.deleteRecord();
        } catch (const DbError&) {
            // A row that cannot be deleted ends the loop.
        }
        dataset.first();
    }
    transaction.commit();
}

// Formats the declared columns (known while the dataset is closed) and the
// columns of an open dataset.
void TZFData::SetFloatFormats(Dataset& dataset) {
    for (const ColumnDecl& c : dataset.declaredColumns())
        if (c.type == JetType::Double)
            dataset.setDisplayFormat(c.name, QString::fromLatin1(FloatDisplayFormat));
    for (const Dataset::Field& f : dataset.fields())
        if (f.type == JetType::Double)
            dataset.setDisplayFormat(f.name, QString::fromLatin1(FloatDisplayFormat));
}

bool TZFData::IsEmptyOpening() const {
    if (!tStavOtvory.active() || tStavOtvory.isEmpty())
        return false;
    return tStavOtvory.asString(QStringLiteral("Nazev")).isEmpty() &&
           std::nearbyint(tStavOtvory.asFloat(QStringLiteral("k"))) == 0.0;
}

} // namespace zf
