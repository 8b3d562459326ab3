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

    int OpenProjectTables(); // 0 or -8 with LastError
    void CloseProjectTables();
    int ConnectReference(const QString& path); // 0 or -8 with LastError
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
    bool projectConnected() const { return ADOConnectionProject.isOpen(); }

    Database ADOConnectionProject;
    Database ADOConnectionData;

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

    QString ReferencePath;

    // The five project datasets in the order they are opened.
    std::vector<Dataset*> projectTables();

private:
    int languageHandle_ = 0;
};

} // namespace zf
