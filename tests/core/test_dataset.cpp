// Datasets over the project file: cursor, edit states, column kinds, searches,
// master-detail and the notifications the hooks hang on.
#include "common/globals.h"
#include "storage/dataset.h"
#include "storage/schema.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zf;

namespace {

class DatasetTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        initProgramPaths(QStringLiteral(ZEFRANT_PROGRAM_DIR));
        path = dir.filePath(QStringLiteral("p.zfp"));
        ASSERT_TRUE(QFile::copy(TemplatePath, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        Database::OpenOptions o;
        o.applicationId = ProjectApplicationId;
        db.open(path, o);
        walls.setDatabase(&db);
        walls.setTableName(QStringLiteral("tSteny"));
        walls.setDeclaredColumns(
            projectSchema().table(QStringLiteral("tSteny"))->declaredColumns());
        openings.setDatabase(&db);
        openings.setTableName(QStringLiteral("tStavOtvory"));
        openings.setIndexName(QStringLiteral("IDSteny"));
        openings.setMaster(&dsWalls, QStringLiteral("IDSteny"), QStringLiteral("IDSteny"));
        project.setDatabase(&db);
        project.setTableName(QStringLiteral("tRozmery"));
        project.setIndexName(QStringLiteral("ID"));
        project.setDeclaredColumns(
            projectSchema().table(QStringLiteral("tRozmery"))->declaredColumns());
    }

    void addWall(const QString& variant, int number) {
        walls.append();
        walls.setValue(QStringLiteral("VariantaHaly"), variant);
        walls.setValue(QStringLiteral("CisloSteny"), number);
        walls.post();
    }

    QTemporaryDir dir;
    QString path;
    Database db;
    Dataset walls{QStringLiteral("tSteny")};
    DataSource dsWalls{QStringLiteral("dsSteny"), &walls};
    Dataset openings{QStringLiteral("tStavOtvory")};
    Dataset project{QStringLiteral("tADOProject")};
};

} // namespace

TEST_F(DatasetTest, NewRowTakesTheColumnDefaults) {
    project.open();
    ASSERT_EQ(project.recordCount(), 1) << "the template holds one project record";
    EXPECT_EQ(project.asInteger(QStringLiteral("Typ_strechy_enum")), 1);
    EXPECT_DOUBLE_EQ(project.asFloat(QStringLiteral("Stena_A")), 36.0);
    EXPECT_TRUE(project.asBoolean(QStringLiteral("Vytapeni_bool")));
    EXPECT_FALSE(project.asBoolean(QStringLiteral("Chlazeni_bool")));
    EXPECT_TRUE(project.isNull(QStringLiteral("Datum_vypracovani")));

    project.append();
    EXPECT_DOUBLE_EQ(project.asFloat(QStringLiteral("Ti")), 18.0)
        << "defaults show before the post";
    project.post();
    EXPECT_EQ(project.recordCount(), 2);
    EXPECT_GT(project.asInteger(QStringLiteral("ID")), 1) << "AutoNumber assigned";
    EXPECT_DOUBLE_EQ(project.asFloat(QStringLiteral("n")), 0.8);
}

TEST_F(DatasetTest, EditPostCancelAndKinds) {
    project.open();
    project.setValue(QStringLiteral("ProjectName_text"), QStringLiteral("Hala Rock'n'Roll"));
    EXPECT_EQ(project.state(), Dataset::State::Edit);
    project.setValue(QStringLiteral("Cena_Kc_m3"), 12.3456);
    project.setValue(QStringLiteral("Datum_vypracovani"), QDate(2026, 12, 9));
    project.setValue(QStringLiteral("Vetrani_bool"), true);
    project.setValue(QStringLiteral("Provoz_dny_tyden"), QStringLiteral("6"));
    project.post();
    project.close();
    project.open();
    EXPECT_EQ(project.asString(QStringLiteral("ProjectName_text")),
              QStringLiteral("Hala Rock'n'Roll"));
    EXPECT_EQ(project.asCurrency(QStringLiteral("Cena_Kc_m3")), 123456) << "currency is exact";
    EXPECT_EQ(project.asDateTime(QStringLiteral("Datum_vypracovani")),
              QDate(2026, 12, 9).startOfDay());
    EXPECT_TRUE(project.asBoolean(QStringLiteral("Vetrani_bool")));
    EXPECT_EQ(project.asInteger(QStringLiteral("Provoz_dny_tyden")), 6);

    project.setValue(QStringLiteral("Ti"), 21.5);
    project.cancel();
    EXPECT_DOUBLE_EQ(project.asFloat(QStringLiteral("Ti")), 18.0);

    // 0.1 + 0.2 kept exact as money, and the usual halves.
    project.setValue(QStringLiteral("Cena_Kc_kWh"), 0.1 + 0.2);
    project.setValue(QStringLiteral("Cena_Kc_kg"), 2.00005);
    project.post();
    EXPECT_EQ(project.asCurrency(QStringLiteral("Cena_Kc_kWh")), 3000);
    EXPECT_EQ(project.asCurrency(QStringLiteral("Cena_Kc_kg")), 20001);
}

TEST_F(DatasetTest, WrongValuesAreRefusedWithClearErrors) {
    project.open();
    try {
        project.setValue(QStringLiteral("Typ_strechy_text"), QString(51, QLatin1Char('x')));
        FAIL() << "a 51-character text was taken by a Text(50) column";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("at most 50 characters")))
            << qPrintable(e.message());
    }
    project.setValue(QStringLiteral("Typ_strechy_text"), QString(50, QLatin1Char('x')));
    EXPECT_THROW(project.setValue(QStringLiteral("Provoz_dny_tyden"), QStringLiteral("five")),
                 DbError);
    EXPECT_THROW(project.setValue(QStringLiteral("Provoz_dny_tyden"), 1e12), DbError);
    EXPECT_THROW(project.setValue(QStringLiteral("Ti"), std::numeric_limits<double>::quiet_NaN()),
                 DbError);
    EXPECT_THROW(project.setValue(QStringLiteral("ID"), 5), DbError);
    EXPECT_THROW(project.setValue(QStringLiteral("NoSuchColumn"), 5), DbError);
    project.post();
    EXPECT_EQ(project.asString(QStringLiteral("Typ_strechy_text")).size(), 50);
}

TEST_F(DatasetTest, CursorAndStorageOrder) {
    walls.open();
    EXPECT_TRUE(walls.isEmpty());
    EXPECT_TRUE(walls.eof());
    addWall(QStringLiteral("hB"), 2);
    addWall(QStringLiteral("hA"), 1);
    addWall(QStringLiteral("sA"), 3);
    QStringList seen;
    for (walls.first(); !walls.eof(); walls.next())
        seen << walls.asString(QStringLiteral("VariantaHaly"));
    EXPECT_EQ(seen, (QStringList{"hB", "hA", "sA"})) << "storage order";
    walls.last();
    EXPECT_EQ(walls.recNo(), 3);
    walls.prior();
    EXPECT_EQ(walls.asString(QStringLiteral("VariantaHaly")), QStringLiteral("hA"));

    EXPECT_TRUE(walls.locate(QStringLiteral("VariantaHaly"), QStringLiteral("sA")));
    EXPECT_EQ(walls.asInteger(QStringLiteral("CisloSteny")), 3);
    EXPECT_FALSE(walls.locate(QStringLiteral("VariantaHaly"), QStringLiteral("SA")))
        << "locate is exact";
    EXPECT_EQ(walls.asInteger(QStringLiteral("CisloSteny")), 3) << "a failed locate does not move";
    EXPECT_EQ(
        walls.lookup(QStringLiteral("CisloSteny"), 2, QStringLiteral("VariantaHaly")).toString(),
        QStringLiteral("hB"));
    EXPECT_FALSE(
        walls.lookup(QStringLiteral("CisloSteny"), 9, QStringLiteral("VariantaHaly")).isValid());

    walls.first();
    walls.deleteRecord();
    EXPECT_EQ(walls.recordCount(), 2);
    EXPECT_EQ(walls.asString(QStringLiteral("VariantaHaly")), QStringLiteral("hA"));

    // appendRecord: values in column order, an empty entry leaves the default.
    walls.appendRecord({QVariant(), 3, QStringLiteral("hC"), QVariant(), QStringLiteral("Stěna")});
    EXPECT_EQ(walls.asInteger(QStringLiteral("TypSteny")), 3);
    EXPECT_EQ(walls.asString(QStringLiteral("NazevCZ")), QStringLiteral("Stěna"));
    EXPECT_EQ(walls.asInteger(QStringLiteral("CisloSteny")), 0);
    walls.refresh();
    EXPECT_EQ(walls.recordCount(), 3);
}

TEST_F(DatasetTest, MasterDetailFollowsTheCurrentWall) {
    walls.open();
    addWall(QStringLiteral("hA"), 1);
    const int first = walls.asInteger(QStringLiteral("IDSteny"));
    addWall(QStringLiteral("hA"), 2);
    const int second = walls.asInteger(QStringLiteral("IDSteny"));
    openings.open();
    EXPECT_TRUE(openings.isEmpty());
    openings.append();
    openings.setValue(QStringLiteral("Nazev"), QStringLiteral("Gate"));
    openings.post();
    EXPECT_EQ(openings.asInteger(QStringLiteral("IDSteny")), second)
        << "a new detail row takes the master's key";
    walls.first();
    EXPECT_TRUE(openings.isEmpty());
    openings.append();
    openings.setValue(QStringLiteral("Nazev"), QStringLiteral("Window"));
    openings.setValue(QStringLiteral("Pocet"), 4);
    openings.post();
    EXPECT_EQ(openings.asInteger(QStringLiteral("IDSteny")), first);
    walls.next();
    ASSERT_EQ(openings.recordCount(), 1);
    EXPECT_EQ(openings.asString(QStringLiteral("Nazev")), QStringLiteral("Gate"));

    // While the controls are suspended the detail does not follow; resuming
    // brings it up to date.
    walls.disableControls();
    walls.first();
    EXPECT_EQ(openings.asString(QStringLiteral("Nazev")), QStringLiteral("Gate"));
    walls.enableControls();
    EXPECT_EQ(openings.asString(QStringLiteral("Nazev")), QStringLiteral("Window"));
}

TEST_F(DatasetTest, NotificationsBeforeAndAfterAChange) {
    walls.open();
    addWall(QStringLiteral("hA"), 1);
    QStringList events;
    walls.addBeforeFieldChange([&](Dataset& ds, const QString& f) {
        events << QStringLiteral("before %1=%2").arg(f, ds.asString(f));
    });
    dsWalls.addDataChange(
        [&](DataSource&, const QString& f) { events << QStringLiteral("change %1").arg(f); });
    walls.setValue(QStringLiteral("k"), 0.5);
    EXPECT_EQ(events, (QStringList{"before k=0", "change k"}));
    events.clear();
    walls.post();
    EXPECT_EQ(events, QStringList{"change "}) << "a post resynchronizes the row";
    events.clear();
    addWall(QStringLiteral("hA"), 2);
    walls.first();
    EXPECT_TRUE(events.contains(QStringLiteral("change ")));
    events.clear();
    walls.disableControls();
    walls.next();
    walls.setValue(QStringLiteral("k"), 1.0);
    EXPECT_EQ(events, QStringList{"before k=0"}) << "no data change while suspended";
    walls.enableControls();
    EXPECT_EQ(events.last(), QStringLiteral("change "));
}

TEST_F(DatasetTest, TransactionCommitsOnceOrRollsBackWhole) {
    walls.open();
    {
        Database::Transaction transaction(db);
        for (int i = 1; i <= 50; ++i)
            addWall(QStringLiteral("hA"), i);
        EXPECT_TRUE(db.inTransaction());
        transaction.commit();
    }
    EXPECT_FALSE(db.inTransaction());
    walls.close();
    walls.open();
    EXPECT_EQ(walls.recordCount(), 50);
    try {
        Database::Transaction transaction(db);
        addWall(QStringLiteral("hB"), 1);
        walls.setValue(QStringLiteral("VariantaHaly"), QStringLiteral("too long a variant code"));
        transaction.commit();
    } catch (const DbError&) {
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(walls.recordCount(), 50) << "the rows read again after the rollback";
    EXPECT_EQ(walls.state(), Dataset::State::Browse) << "the pending edit went with it";
    walls.refresh();
    EXPECT_EQ(walls.recordCount(), 50) << "nothing of the failed operation is in the file";

    // An inner transaction that fails takes the outer one with it, also when
    // the outer one goes on and commits.
    {
        Database::Transaction outer(db);
        addWall(QStringLiteral("hC"), 1);
        try {
            Database::Transaction inner(db);
            addWall(QStringLiteral("hC"), 2);
            throw DbError(QStringLiteral("inner failure"));
        } catch (const DbError&) {
        }
        EXPECT_THROW(outer.commit(), DbError);
    }
    walls.refresh();
    EXPECT_EQ(walls.recordCount(), 50);
    // A transaction whose commit is never reached ends without a throw.
    EXPECT_NO_THROW({
        Database::Transaction t(db);
        addWall(QStringLiteral("hD"), 1);
    });
    EXPECT_EQ(walls.recordCount(), 50);
}

TEST_F(DatasetTest, DisplayFormats) {
    project.open();
    project.setDisplayFormat(QStringLiteral("Stena_A"), QStringLiteral(",0.##"));
    project.setValue(QStringLiteral("Stena_A"), 12345.678);
    EXPECT_EQ(project.displayText(QStringLiteral("Stena_A")), QStringLiteral("12,345.68"));
    project.setDisplayFormat(QStringLiteral("Q_infiltrace_kW"), QStringLiteral(",0.## kW"));
    project.setValue(QStringLiteral("Q_infiltrace_kW"), 4.488);
    EXPECT_EQ(project.displayText(QStringLiteral("Q_infiltrace_kW")), QStringLiteral("4.49 kW"));
}
