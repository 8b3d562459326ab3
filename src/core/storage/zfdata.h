#pragma once

#include "storage/dataset.h"
#include "storage/sqlite.h"

namespace zf {

// A dataset as the report engine sees it.
struct ReportConnection {
    QString name;
    Dataset* dataset = nullptr;
};

// The data module: the two connections, one dataset per table, the data sources
// of the bound controls and the rule that every change of a project column marks
// the project modified. The rules that react to edits of a table belong to the
// part that owns the table (the wizard's constructions page, the units pages);
// they listen to the data sources here. One instance lives from start-up to exit.
class TZFData {
public:
    TZFData();
    ~TZFData();
    TZFData(const TZFData&) = delete;
    TZFData& operator=(const TZFData&) = delete;

    // The module's creation: locates and opens the reference database. False after
    // the fatal message has been shown; the program must then end.
    bool startUp();

    // The folder shared by all users of the machine: ZEFRANT_COMMON_APPDATA when
    // set, else the first system data folder (XDG_DATA_DIRS); with a trailing '/'
    // (empty when there is none).
    static QString commonAppDataFolder();
    // The reference database to use: the common folder's Quadrel/Zefrant/ZF.zft
    // when it exists, else AppPath + DB/ZF.zft.
    static QString locateReference();
    // The user's own data folder: ZEFRANT_USER_DATA when set, else
    // $XDG_DATA_HOME (~/.local/share) + Quadrel/Zefrant/; with a trailing '/'.
    static QString userDataFolder();
    // The user's file in it: the structural elements the user added and the
    // compiler's defaults, in tables named and built as the reference's.
    static QString locateUserCatalog();
    // The first key of the user's structural elements: keys below it belong to
    // the supplied catalog.
    static constexpr qint64 UserItemsFirstKey = 1000000;

    int OpenProjectTables(); // 0 or -8 with LastError
    void CloseProjectTables();
    // Opens the user's file (made at the first start, brought up to the
    // reference's tables when older, with a backup beside it) and the
    // reference database read-only beside it, and shows the two as one: the
    // reference's tables, the compiler's defaults of the user, and each
    // materials table as the supplied items followed by the user's. 0, or -8
    // with LastError when the reference database cannot be opened; the user's
    // file never stops the start (see userCatalogProblem).
    int ConnectReference(const QString& path);
    // Why the user's items cannot be changed now (empty when they can): the
    // user's file or its folder cannot be written, or the file cannot be used.
    const QString& userCatalogProblem() const { return userCatalogProblem_; }
    bool userCatalogWritable() const {
        return catalogConnection_.isOpen() && userCatalogProblem_.isEmpty();
    }
    // The backup the last start made before it brought the user's file up to
    // the reference's tables; empty when none was needed.
    const QString& userCatalogBackup() const { return userCatalogBackup_; }
    // Deletes all rows of the dataset; wholeTable also those a filter or the
    // master's current row hide (the openings of every wall).
    void ClearTable(Dataset& dataset, bool wholeTable = false);
    void SetFloatFormats(Dataset& dataset);
    bool IsEmptyOpening() const;

    // Re-opens the materials table under the current language's name
    // ("tMaterialy" + code + suffix); a failure leaves it closed.
    void openMaterials();

    // The project connection (opened and closed by the project file operations).
    void openProjectConnection(const QString& path); // throws DbError
    void closeProjectConnection();
    bool projectConnected() const { return projectConnection_.isOpen(); }
    // The project file, for the transactions and reads of the project datasets.
    Database& projectConnection() { return projectConnection_; }
    // The user's file with the reference database attached: the catalogs.
    Database& catalogConnection() { return catalogConnection_; }

    // The reference database the start opened (see locateReference) and the
    // user's file the last ConnectReference opened (see locateUserCatalog).
    const QString& referencePath() const { return referencePath_; }
    const QString& userCatalogPath() const { return userCatalogPath_; }

private:
    // Declared before the datasets: a dataset still open at the end lets go of
    // its connection when it is destroyed, so the connections outlive them.
    Database projectConnection_;
    Database catalogConnection_;

public:
    Dataset tADOProject{QStringLiteral("tADOProject")};
    Dataset tSteny{QStringLiteral("tSteny")};
    Dataset tStavOtvory{QStringLiteral("tStavOtvory")};
    Dataset tJednotky{QStringLiteral("tJednotky")};
    Dataset tResults{QStringLiteral("tResults")};
    Dataset tDBVer{QStringLiteral("tDBVer")};

    Dataset tTeploty{QStringLiteral("tTeploty")};
    Dataset tTridaPrace{QStringLiteral("tTridaPrace")};
    Dataset tGeneral{QStringLiteral("tGeneral")};
    Dataset tMaterialy{QStringLiteral("tMaterialy")};
    Dataset tDefPerson{QStringLiteral("tDefPerson")};
    Dataset tRozmery{QStringLiteral("tRozmery")}; // the catalog's tBrisantRozmery
    Dataset tTmp{QStringLiteral("tTmp")};

    DataSource dsADOProject{QStringLiteral("dsADOProject"), &tADOProject};
    DataSource dsSteny{QStringLiteral("dsSteny"), &tSteny};
    DataSource dsStavOtvory{QStringLiteral("dsStavOtvory"), &tStavOtvory};
    DataSource dsJednotky{QStringLiteral("dsJednotky"), &tJednotky};
    DataSource dsResults{QStringLiteral("dsResults"), &tResults};
    DataSource dsTeploty{QStringLiteral("dsTeploty"), &tTeploty};
    DataSource dsTridaPrace{QStringLiteral("dsTridaPrace"), &tTridaPrace};
    DataSource dsGeneral{QStringLiteral("dsGeneral"), &tGeneral};
    DataSource dsMaterialy{QStringLiteral("dsMaterialy"), &tMaterialy};
    DataSource dsRozmery{QStringLiteral("dsRozmery"), &tRozmery};

    ReportConnection dcProject{QStringLiteral("dcProject"), &tADOProject};
    ReportConnection dcSteny{QStringLiteral("dcSteny"), &tSteny};
    ReportConnection dcStavOtvory{QStringLiteral("dcStavOtvory"), &tStavOtvory};
    ReportConnection dcJednotky{QStringLiteral("dcJednotky"), &tJednotky};

    // The five project datasets in the order they are opened.
    std::vector<Dataset*> projectTables();

private:
    bool openUserCatalog();
    void openStandInCatalog();
    void prepareUserTables(bool backup);
    void createCatalogViews();

    QString referencePath_;
    QString userCatalogPath_;
    int languageHandle_ = 0;
    QString userCatalogProblem_;
    bool usingStandIn_ = false;
    QString userCatalogBackup_;
    // The tables the user's file holds: the materials of every language and
    // the compiler's defaults, as the reference has them.
    QStringList userTables_;
};

} // namespace zf
