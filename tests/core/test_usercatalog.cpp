// The user's own file beside the reference database: made at the first start,
// one catalog with the supplied items, brought up to a newer reference with a
// backup kept, and left alone when it cannot be used.
#include "common/globals.h"
#include "i18n/texts.h"
#include "storage/operation.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace zf;
using namespace zf::test;

namespace {

class UserCatalogTest : public StorageTest {
protected:
    QString user() const { return data->userCatalogPath(); }
    QString reference() const { return data->referencePath(); }
    qint64 pragma(const QString& file, const char* name) {
        Database db;
        Database::OpenOptions o;
        o.readOnly = true;
        db.open(file, o);
        Statement st(db, QStringLiteral("PRAGMA %1").arg(QLatin1String(name)));
        return st.step() ? st.columnInt64(0) : -1;
    }
    QVariant scalar(const QString& file, const QString& sqlText) {
        Database db;
        Database::OpenOptions o;
        o.readOnly = true;
        db.open(file, o);
        Statement st(db, sqlText);
        return st.step() ? st.column(0) : QVariant();
    }
    // Adds a user item to the English catalog as the catalog does.
    int addItem(const QString& name, double k) {
        Dataset& m = data->tMaterialy;
        int id = 0;
        EXPECT_TRUE(runOperation(data->catalogConnection(), [&] {
            m.appendRecord({QVariant(), QStringLiteral("Walls"), name, k, 0, 3, 1});
            id = m.value(QStringLiteral("IDMaterial")).toInt();
        }));
        return id;
    }
    void reconnect() {
        ASSERT_EQ(data->ConnectReference(reference()), 0) << qPrintable(LastError);
        data->openMaterials();
        ASSERT_TRUE(data->tMaterialy.active());
    }
    QVariant item(const QString& name, const char* column) {
        return data->tMaterialy.lookup(QStringLiteral("Material"), name, QLatin1String(column));
    }
};

} // namespace

TEST_F(UserCatalogTest, MadeAtTheFirstStartAndTheReferenceIsNeverWritten) {
    ASSERT_TRUE(QFileInfo::exists(user()));
    EXPECT_EQ(QFileInfo(user()).absolutePath(), QFileInfo(tmp.filePath("user")).absoluteFilePath());
    EXPECT_EQ(pragma(user(), "application_id"), UserCatalogApplicationId);
    EXPECT_EQ(pragma(user(), "user_version"), pragma(reference(), "user_version"));
    for (const char* t : {"tMaterialyCZ", "tMaterialyEN", "tMaterialyGE", "tMaterialyPL",
                          "tMaterialyRU", "tMaterialyRU_1250", "tDefPerson"})
        EXPECT_EQ(scalar(user(), QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(t)))
                      .toInt(),
                  0)
            << t;
    EXPECT_TRUE(data->userCatalogWritable());

    const QByteArray before = readAll(reference());
    data->openMaterials();
    const int supplied = data->tMaterialy.recordCount();
    ASSERT_GT(supplied, 50);
    const int id = addItem(QStringLiteral("Own wall"), 0.25);
    EXPECT_GE(id, TZFData::UserItemsFirstKey) << "never meets a supplied key";
    EXPECT_EQ(addItem(QStringLiteral("Second own wall"), 0.3), id + 1);
    EXPECT_EQ(data->tMaterialy.recordCount(), supplied + 2);
    EXPECT_EQ(item(QStringLiteral("Own wall"), "ReadOnly").toInt(), 0);
    EXPECT_EQ(scalar(user(), QStringLiteral("SELECT k FROM tMaterialyEN WHERE IDMaterial = %1")
                                 .arg(id))
                  .toDouble(),
              0.25);
    // Edited and deleted by key in the user's table.
    ASSERT_TRUE(data->tMaterialy.locate(QStringLiteral("IDMaterial"), id + 1));
    data->tMaterialy.edit();
    data->tMaterialy.setValue(QStringLiteral("k"), 0.35);
    data->tMaterialy.post();
    EXPECT_EQ(scalar(user(), QStringLiteral("SELECT k FROM tMaterialyEN WHERE IDMaterial = %1")
                                 .arg(id + 1))
                  .toDouble(),
              0.35);
    data->tMaterialy.deleteRecord();
    EXPECT_EQ(scalar(user(), QStringLiteral("SELECT count(*) FROM tMaterialyEN")).toInt(), 1);

    // A supplied row is never written, whatever the dataset is asked.
    data->tMaterialy.first();
    const double k1 = data->tMaterialy.asFloat(QStringLiteral("k"));
    data->tMaterialy.edit();
    data->tMaterialy.setValue(QStringLiteral("k"), 7.0);
    EXPECT_THROW(data->tMaterialy.post(), DbError);
    data->tMaterialy.cancel();
    EXPECT_THROW(data->tMaterialy.deleteRecord(), DbError);
    data->tMaterialy.refresh();
    data->tMaterialy.first();
    EXPECT_EQ(data->tMaterialy.asFloat(QStringLiteral("k")), k1);

    // The compiler's defaults go to the user's file as well.
    data->tDefPerson.open();
    data->tDefPerson.appendRecord({QVariant(), QStringLiteral("Jan Novák")});
    data->tDefPerson.close();
    EXPECT_EQ(scalar(user(), QStringLiteral("SELECT Person FROM tDefPerson")).toString(),
              QStringLiteral("Jan Novák"));
    EXPECT_EQ(readAll(reference()), before) << "the reference database is only read";

    // Another instance sees the user's item and the defaults.
    TZFData other;
    ASSERT_TRUE(other.startUp());
    other.openMaterials();
    EXPECT_EQ(other.tMaterialy.lookup(QStringLiteral("IDMaterial"), id, QStringLiteral("k"))
                  .toDouble(),
              0.25);
}

TEST_F(UserCatalogTest, ANewFileStartsWithTheReferencesDefaults) {
    const QString ref = reference();
    data.reset();
    QFile::remove(tmp.filePath(QStringLiteral("user/ZFUser.zft")));
    sql(ref, QStringLiteral("INSERT INTO tDefPerson (Person, Phone) VALUES ('Office', '123')"));
    data = std::make_unique<TZFData>();
    ASSERT_TRUE(data->startUp());
    EXPECT_EQ(scalar(user(), QStringLiteral("SELECT Person || '/' || Phone FROM tDefPerson"))
                  .toString(),
              QStringLiteral("Office/123"));
}

// A newer package ships a reference with a changed and a new item and a new
// column: the user's items stay, the shipped changes show, and the user's file
// gets the column after a backup of it was written beside it.
TEST_F(UserCatalogTest, ANewerReferenceKeepsTheUsersItemsAndShowsItsChanges) {
    data->openMaterials();
    const int own = addItem(QStringLiteral("Own wall"), 0.25);
    const QString first = data->tMaterialy.lookup(QStringLiteral("IDMaterial"), 1,
                                                  QStringLiteral("Material")).toString();
    ASSERT_FALSE(first.isEmpty());
    const qint64 oldVersion = pragma(user(), "user_version");
    const QByteArray oldFile = readAll(user());

    sql(reference(), QStringLiteral("UPDATE tMaterialyEN SET k = 0.99 WHERE IDMaterial = 1"));
    sql(reference(), QStringLiteral("INSERT INTO tMaterialyEN (Skupina, Material, k, ReadOnly, "
                                    "ShowInCatalogs, Typ) VALUES ('Walls', 'New supplied wall', "
                                    "0.2, 1, 3, 1)"));
    sql(reference(), QStringLiteral("ALTER TABLE tMaterialyEN ADD COLUMN Note TEXT(50) DEFAULT ''"));
    sql(reference(), QStringLiteral("PRAGMA user_version = %1").arg(oldVersion + 1));
    reconnect();

    EXPECT_EQ(item(QStringLiteral("Own wall"), "IDMaterial").toInt(), own);
    EXPECT_EQ(item(QStringLiteral("Own wall"), "k").toDouble(), 0.25);
    EXPECT_EQ(item(QStringLiteral("Own wall"), "Note").toString(), QString());
    EXPECT_EQ(item(first, "k").toDouble(), 0.99);
    EXPECT_LT(item(QStringLiteral("New supplied wall"), "IDMaterial").toInt(),
              TZFData::UserItemsFirstKey);
    EXPECT_NE(item(QStringLiteral("New supplied wall"), "ReadOnly").toInt(), 0);

    EXPECT_EQ(pragma(user(), "user_version"), oldVersion + 1);
    const QString backup = user() + QStringLiteral(".v%1.bak").arg(oldVersion);
    EXPECT_EQ(data->userCatalogBackup(), backup);
    EXPECT_EQ(readAll(backup), oldFile) << "the file as it was";
    // Still taking items, the new column too.
    EXPECT_EQ(addItem(QStringLiteral("Newer own wall"), 0.5), own + 1);

    // The next start has nothing to bring up: no other backup, the first kept.
    reconnect();
    EXPECT_TRUE(data->userCatalogBackup().isEmpty());
    EXPECT_EQ(QDir(tmp.filePath(QStringLiteral("user")))
                  .entryList({QStringLiteral("*.bak")}, QDir::Files)
                  .size(),
              1);
    EXPECT_TRUE(QFileInfo::exists(backup));
}

// A file of an earlier layout (one table, a column short, no version) is
// brought up in place; its backup holds it as it was.
TEST_F(UserCatalogTest, AnOlderUserFileIsBroughtUpWithItsBackupKept) {
    data.reset();
    const QString file = tmp.filePath(QStringLiteral("user/ZFUser.zft"));
    QFile::remove(file);
    {
        Database db;
        Database::OpenOptions o;
        o.create = true;
        db.open(file, o);
        db.exec(QStringLiteral("CREATE TABLE tMaterialyEN (IDMaterial INTEGER PRIMARY KEY, "
                               "Skupina TEXT(50) DEFAULT '', Material TEXT(50) DEFAULT '', "
                               "k DOUBLE DEFAULT 0, ReadOnly LONG DEFAULT 0, "
                               "ShowInCatalogs LONG DEFAULT 0)"));
        db.exec(QStringLiteral("INSERT INTO tMaterialyEN VALUES (1000000, 'Walls', 'Old own wall', "
                               "0.4, 0, 3)"));
    }
    const QByteArray old = readAll(file);
    data = std::make_unique<TZFData>();
    ASSERT_TRUE(data->startUp());
    EXPECT_TRUE(dlg.boxes.empty());
    data->openMaterials();
    EXPECT_EQ(item(QStringLiteral("Old own wall"), "k").toDouble(), 0.4);
    EXPECT_EQ(item(QStringLiteral("Old own wall"), "Typ").toInt(), 0);
    // The sixth column is still the sixth: items are appended by position.
    ASSERT_EQ(data->tMaterialy.fields().size(), 7u);
    EXPECT_EQ(data->tMaterialy.fields()[5].name, QStringLiteral("ShowInCatalogs"));
    EXPECT_EQ(data->tMaterialy.fields()[6].name, QStringLiteral("Typ"));
    EXPECT_EQ(scalar(file, QStringLiteral("SELECT count(*) FROM tMaterialyCZ")).toInt(), 0);
    EXPECT_EQ(pragma(file, "user_version"), pragma(reference(), "user_version"));
    EXPECT_EQ(pragma(file, "application_id"), UserCatalogApplicationId);
    EXPECT_EQ(readAll(file + QStringLiteral(".v0.bak")), old);
}

// A user's file that is no database is left byte for byte as it is: the start
// says so, and the catalog shows the supplied items and takes no change.
TEST_F(UserCatalogTest, AFileThatCannotBeUsedIsLeftAsItIs) {
    data.reset();
    const QString file = tmp.filePath(QStringLiteral("user/ZFUser.zft"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(4096, 'x'));
    f.close();
    const QByteArray garbage = readAll(file);
    dlg.boxes.clear();
    data = std::make_unique<TZFData>();
    ASSERT_TRUE(data->startUp());
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_TRUE(dlg.last().text.startsWith(
        QStringLiteral("Your own structural elements and the compiler's defaults in the file %1 "
                       "cannot be used: ")
            .arg(file)))
        << qPrintable(dlg.last().text);
    EXPECT_FALSE(data->userCatalogWritable());
    data->openMaterials();
    EXPECT_GT(data->tMaterialy.recordCount(), 50);
    EXPECT_FALSE(runOperation(data->catalogConnection(), [&] {
        data->tMaterialy.appendRecord({QVariant(), QStringLiteral("Walls"), QStringLiteral("X"),
                                       1.0, 0, 3, 1});
    }));
    EXPECT_EQ(readAll(file), garbage);
    EXPECT_TRUE(QDir(tmp.filePath(QStringLiteral("user")))
                    .entryList({QStringLiteral("*.bak")}, QDir::Files)
                    .isEmpty());
}
