#include "storage/zfdata.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "common/resultcodes.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "storage/schema.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cmath>
#include <optional>

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
        s.ds->setDatabase(&ADOConnectionProject);
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
        s.ds->setDatabase(&ADOConnectionData);
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
        if (ADOConnectionData.isOpen())
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
    const QString shared = common + QStringLiteral("Quadrel/Zefrant/ZF.zft");
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
    ReferencePath = locateReference();
    if (ConnectReference(ReferencePath) != ResultOk) {
        showFatalStartMessage();
        return false;
    }
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

int TZFData::ConnectReference(const QString& path) {
    for (Dataset* ds :
         {&tTeploty, &tTridaPrace, &tGeneral, &tMaterialy, &tDefPerson, &tRozmery, &tTmp})
        ds->close();
    ADOConnectionData.close();
    Database::OpenOptions o;
    o.applicationId = ReferenceApplicationId;
    try {
        ADOConnectionData.open(path, o);
    } catch (const DbError& e) {
        // A copy the user may only read (a shared installation) still serves
        // everything; changing the user's structural elements then says so.
        try {
            o.readOnly = true;
            ADOConnectionData.open(path, o);
        } catch (const DbError&) {
            LastError = QStringLiteral("Cannot open program database. ") + e.message();
            return ResultInvalidFile;
        }
    }
    return ResultOk;
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
    ADOConnectionProject.open(path, o);
}

void TZFData::closeProjectConnection() {
    ADOConnectionProject.close();
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
        reads.emplace(ADOConnectionProject, Database::Transaction::Read);
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
