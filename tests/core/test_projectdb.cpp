// The data module: the validity check of project files, the edit hooks, the
// reference database and its location.
#include "common/globals.h"
#include "common/resultcodes.h"
#include "i18n/texts.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <cmath>

using namespace zf;
using namespace zf::test;

namespace {

class ProjectDbTest : public StorageTest {
protected:
    // Connects the data module to a file and runs the validity check.
    int check(const QString& file) {
        data->openProjectConnection(file);
        return data->OpenProjectTables();
    }
};

} // namespace

TEST_F(ProjectDbTest, TemplateIsAValidProject) {
    const QString f = copyTemplate(QStringLiteral("a.zfp"));
    EXPECT_EQ(check(f), ResultOk) << qPrintable(LastError);
    for (Dataset* ds : data->projectTables())
        EXPECT_TRUE(ds->active()) << qPrintable(ds->name());
    EXPECT_FALSE(data->tDBVer.active()) << "tDBVer is open only during the check";
    data->CloseProjectTables();
    for (Dataset* ds : data->projectTables())
        EXPECT_FALSE(ds->active());
}

TEST_F(ProjectDbTest, MissingVersionTableOrColumn) {
    QString f = copyTemplate(QStringLiteral("nover.zfp"));
    sql(f, QStringLiteral("DROP TABLE tDBVer"));
    EXPECT_EQ(check(f), ResultInvalidFile);
    EXPECT_TRUE(LastError.startsWith(QLatin1String("Invalid project file format. ")))
        << qPrintable(LastError);
    EXPECT_GT(LastError.size(), QStringLiteral("Invalid project file format. ").size())
        << "the engine's message follows";

    f = copyTemplate(QStringLiteral("nosl.zfp"));
    sql(f, QStringLiteral("ALTER TABLE tSteny DROP COLUMN NazevStenySL"));
    EXPECT_EQ(check(f), ResultInvalidFile);
    EXPECT_TRUE(LastError.startsWith(QLatin1String("Invalid project file format. ")));
    EXPECT_TRUE(LastError.contains(QLatin1String("NazevStenySL")));
    for (Dataset* ds : data->projectTables())
        EXPECT_FALSE(ds->active()) << "a failed check leaves no table open";

    f = copyTemplate(QStringLiteral("type.zfp"));
    sql(f, QStringLiteral(
               "ALTER TABLE tJednotky DROP COLUMN dp; ALTER TABLE tJednotky ADD COLUMN dp DOUBLE"));
    EXPECT_EQ(check(f), ResultInvalidFile);
    EXPECT_TRUE(LastError.contains(QLatin1String("dp"))) << qPrintable(LastError);

    f = copyTemplate(QStringLiteral("extra.zfp"));
    sql(f, QStringLiteral(
               "ALTER TABLE tSteny ADD COLUMN Poznamka TEXT(20); CREATE TABLE tMine (x LONG)"));
    EXPECT_EQ(check(f), ResultOk) << "extra columns and tables are ignored";
}

TEST_F(ProjectDbTest, VersionRuleReadsTheLastRow) {
    QString f = copyTemplate(QStringLiteral("v00.zfp"));
    sql(f, QStringLiteral(
               "INSERT INTO tDBVer (DBVerMajor, DBVerMinor, Version) VALUES (0, 0, 'beta')"));
    EXPECT_EQ(check(f), ResultInvalidFile);
    EXPECT_EQ(LastError, QStringLiteral("Invalid project file version. (Ver: 0.0, beta)"));

    f = copyTemplate(QStringLiteral("v01.zfp"));
    sql(f, QStringLiteral("DELETE FROM tDBVer; INSERT INTO tDBVer (DBVerMajor, DBVerMinor, "
                          "Version) VALUES (0, 1, 'x')"));
    EXPECT_EQ(check(f), ResultOk);
}

TEST_F(ProjectDbTest, OnlyTheFirstProjectRecordCounts) {
    const QString f = copyTemplate(QStringLiteral("two.zfp"));
    sql(f, QStringLiteral("INSERT INTO tRozmery (ProjectName_text) VALUES ('second')"));
    ASSERT_EQ(check(f), ResultOk);
    EXPECT_EQ(data->tADOProject.recordCount(), 2);
    data->tADOProject.first();
    EXPECT_EQ(data->tADOProject.asString(QStringLiteral("ProjectName_text")), QString());
}

TEST_F(ProjectDbTest, ModifiedIsSetByAnyProjectColumnChange) {
    const QString f = copyTemplate(QStringLiteral("m.zfp"));
    ASSERT_EQ(check(f), ResultOk);
    for (Dataset* ds : data->projectTables()) {
        Modified = false;
        ds->append();
        EXPECT_FALSE(Modified) << "appending changes no column";
        ds->setValue(ds->fields()[1].name, ds->fields()[1].type == JetType::Text
                                               ? QVariant(QStringLiteral("x"))
                                               : QVariant(1));
        EXPECT_TRUE(Modified) << qPrintable(ds->name());
        ds->post();
    }
}

namespace {

// A project with one wall, open.
class HookTest : public ProjectDbTest {
protected:
    void SetUp() override {
        ProjectDbTest::SetUp();
        file = copyTemplate(QStringLiteral("h.zfp"));
        ASSERT_EQ(check(file), ResultOk);
        data->tSteny.appendRecord({QVariant(), 1, QStringLiteral("hB"), 1});
    }
    QString file;
};

} // namespace

TEST_F(HookTest, EmptyOpeningTest) {
    EXPECT_FALSE(data->IsEmptyOpening()) << "no opening row";
    data->tStavOtvory.append();
    data->tStavOtvory.setValue(QStringLiteral("k"), 0.3);
    data->tStavOtvory.post();
    EXPECT_TRUE(data->IsEmptyOpening());
    data->tStavOtvory.setValue(QStringLiteral("k"), 0.5);
    EXPECT_TRUE(data->IsEmptyOpening()) << "0.5 rounds to even 0";
    data->tStavOtvory.setValue(QStringLiteral("k"), 0.7);
    EXPECT_FALSE(data->IsEmptyOpening());
    data->tStavOtvory.setValue(QStringLiteral("k"), 0.0);
    data->tStavOtvory.setValue(QStringLiteral("Nazev"), QStringLiteral("x"));
    EXPECT_FALSE(data->IsEmptyOpening());
    data->tStavOtvory.post();
}

TEST_F(HookTest, ClearTableDeletesEveryRow) {
    for (int i = 0; i < 5; ++i)
        data->tJednotky.appendRecord({QVariant(), i + 1});
    data->ClearTable(data->tJednotky);
    EXPECT_TRUE(data->tJednotky.isEmpty());
    data->tJednotky.refresh();
    EXPECT_TRUE(data->tJednotky.isEmpty());
}

TEST_F(ProjectDbTest, ReferenceDatabaseLocation) {
    const QString common = work.filePath(QStringLiteral("common"));
    qputenv("ZEFRANT_COMMON_APPDATA", common.toUtf8());
    EXPECT_EQ(TZFData::locateReference(), AppPath + QStringLiteral("DB/ZF.zft"));
    ASSERT_TRUE(QDir().mkpath(common + QStringLiteral("/Quadrel/Zefrant")));
    const QString shared = common + QStringLiteral("/Quadrel/Zefrant/ZF.zft");
    ASSERT_TRUE(QFile::copy(AppPath + QStringLiteral("DB/ZF.zft"), shared));
    QFile::setPermissions(shared, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(TZFData::locateReference(), shared) << "the common folder comes first";
    TZFData other;
    EXPECT_TRUE(other.startUp());
    EXPECT_EQ(other.referencePath(), shared);
    qunsetenv("ZEFRANT_COMMON_APPDATA");
}

TEST_F(ProjectDbTest, FatalStartWithoutReferenceDatabase) {
    const QString saved = AppPath;
    AppPath = withTrailingSlash(work.path());
    qputenv("ZEFRANT_COMMON_APPDATA", work.filePath(QStringLiteral("no-common")).toUtf8());
    TZFData other;
    dlg.boxes.clear();
    EXPECT_FALSE(other.startUp());
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_TRUE(dlg.last().text.startsWith(QLatin1String(
        "Application fatal error. Please do the following:\n"
        " 1. Reinstall the MS Data Access Components (Folder MDAC on the install CD).\n"
        " 2. Reinstall the applicaiton.\n\n#Error message: Cannot open program database. ")))
        << qPrintable(dlg.last().text);
    EXPECT_EQ(dlg.last().flags, MbError);
    EXPECT_TRUE(LastError.isEmpty()) << "the error box consumed the detail";
    AppPath = saved;
}

TEST_F(ProjectDbTest, ReferenceTablesAndLanguageColumns) {
    EXPECT_TRUE(data->tTeploty.active());
    EXPECT_TRUE(data->tTridaPrace.active());
    EXPECT_TRUE(data->tGeneral.active());
    for (const char* t :
         {"tMaterialyCZ", "tMaterialyEN", "tMaterialyGE", "tMaterialyPL", "tMaterialyRU",
          "tMaterialyRU_1250", "tBrisant", "tBrisantRozmery", "tDefPerson"})
        EXPECT_TRUE(data->catalogConnection().tableExists(QString::fromLatin1(t))) << t;
    for (const char* c : {"Misto", "Misto_1250", "Location", "Otop_obd", "Tes", "Te"})
        EXPECT_TRUE(data->tTeploty.hasField(QString::fromLatin1(c))) << c;
    for (const char* c : {"NameCZ", "NameRU_1250", "PopisEN", "PopisRU_1250", "imFoto", "TypeID"})
        EXPECT_TRUE(data->tGeneral.hasField(QString::fromLatin1(c))) << c;
    data->tMaterialy.setTableName(QStringLiteral("tMaterialyRU_1250"));
    data->tMaterialy.open();
    EXPECT_FALSE(data->tMaterialy.isEmpty());
    // The re-encoded copy holds no Cyrillic letters.
    for (data->tMaterialy.first(); !data->tMaterialy.eof(); data->tMaterialy.next())
        for (QChar ch : data->tMaterialy.asString(QStringLiteral("Material")))
            EXPECT_FALSE(ch.script() == QChar::Script_Cyrillic);
    EXPECT_TRUE(data->tDefPerson.database()->tableExists(QStringLiteral("tDefPerson")));
    EXPECT_EQ(data->tSteny.displayFormat(QStringLiteral("Plocha")), QStringLiteral(",0.##"));
    EXPECT_EQ(data->tADOProject.displayFormat(QStringLiteral("Q_infiltrace_kW")),
              QStringLiteral(",0.## kW"));
}

TEST_F(HookTest, ClearingTheWholeDetailTable) {
    data->tStavOtvory.appendRecord({QVariant(), QVariant(), QStringLiteral("first wall's")});
    data->tSteny.appendRecord({QVariant(), 1, QStringLiteral("hB"), 2});
    data->tStavOtvory.appendRecord({QVariant(), QVariant(), QStringLiteral("second wall's")});
    sql(file,
        QStringLiteral("INSERT INTO tStavOtvory (IDSteny, Nazev) VALUES (999, 'of no wall')"));
    data->ClearTable(data->tStavOtvory);
    EXPECT_TRUE(data->tStavOtvory.isEmpty()) << "the current wall's openings";
    data->tSteny.first();
    EXPECT_EQ(data->tStavOtvory.recordCount(), 1) << "the other wall keeps its own";
    data->ClearTable(data->tStavOtvory, true);
    Statement st(data->projectConnection(), QStringLiteral("SELECT count(*) FROM tStavOtvory"));
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.columnInt64(0), 0);
}
