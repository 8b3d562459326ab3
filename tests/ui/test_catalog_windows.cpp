// The catalog windows in the running program under the offscreen platform, on a
// private copy of the reference database: the structural elements catalog and
// its new-element dialog driven by clicks and keys, the units catalog viewer
// opened by its shortcut, the document commands of the Catalogs menu.
// (Pictures of these windows for looking at them: tests/catalog_windows_pictures.)
#include "binding/datasetgrid.h"
#include "catalogs/documents.h"
#include "clirun.h"
#include "common/globals.h"
#include "common/resultcodes.h"
#include "elementscatalogwindow.h"
#include "i18n/language.h"
#include "mainwindow.h"
#include "startup.h"
#include "testsupport.h"
#include "unitscatalogwindow.h"
#include "wizard/constructions.h"
#include "wizard/inputwizard.h"
#include "wizard/tfrmzinput.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QShortcut>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

using namespace zf;
using zf::test::TestDialogs;

namespace {

class CatalogWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        settingsFile = dir.filePath(QStringLiteral("settings.ini"));
        QSettings s(settingsFile, QSettings::IniFormat);
        s.setValue(QStringLiteral("Software/Quadrel/Zefrant/1.0/General/Language"),
                   QStringLiteral("EN"));
        s.sync();
        TempPath = withTrailingSlash(dir.path());
        // A copy of the reference database of its own: what the tests add stays
        // out of the program folder.
        oldCommon = qgetenv("ZEFRANT_COMMON_APPDATA");
        QDir(dir.path()).mkpath(QStringLiteral("common/Quadrel/Zefrant"));
        reference = dir.filePath(QStringLiteral("common/Quadrel/Zefrant/ZF.zft"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZEFRANT_PROGRAM_DIR "/DB/ZF.zft"), reference));
        QFile::setPermissions(reference, QFile::ReadOwner | QFile::WriteOwner);
        qputenv("ZEFRANT_COMMON_APPDATA", dir.filePath(QStringLiteral("common")).toUtf8());
        oldUserData = qgetenv("ZEFRANT_USER_DATA");
        qputenv("ZEFRANT_USER_DATA", dir.filePath(QStringLiteral("user")).toUtf8());
        setDocumentOpener([this](const QString& path) {
            opened << path;
            return QFileInfo(path).isFile();
        });
        Zefrant::Options o;
        o.settingsFile = settingsFile;
        o.appFolder = QStringLiteral(ZEFRANT_PROGRAM_DIR);
        o.dialogs = &dlg;
        o.askLanguage = [] { return BaseEN; };
        z = std::make_unique<Zefrant>();
        ASSERT_TRUE(z->start({}, o));
        catalog = z->elementsCatalog.get();
        dialog = z->newElement.get();
        tree = catalog->findChild<QTreeView*>(QStringLiteral("ElTree1"));
        ASSERT_TRUE(tree);
    }
    void TearDown() override {
        z.reset();
        qputenv("ZEFRANT_COMMON_APPDATA", oldCommon);
        qputenv("ZEFRANT_USER_DATA", oldUserData);
        setDocumentOpener({});
        setLanguage(BaseEN);
    }

    template <class T> T* child(QWidget* w, const char* name) {
        T* c = w->findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(c) << name;
        return c;
    }
    // Runs fn as soon as the modal loop that call starts is running; a dialog fn
    // leaves open (a failed check returned early) is closed, so nothing hangs.
    void whileModal(std::function<void()> fn, const std::function<void()>& call) {
        QTimer::singleShot(0, [fn = std::move(fn)] {
            QPointer<QDialog> modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            fn();
            if (modal && modal->isVisible())
                modal->reject();
        });
        call();
    }
    QModelIndex groupIndex(const QString& name) {
        const QAbstractItemModel* m = tree->model();
        for (int g = 0; g < m->rowCount(); ++g)
            if (m->index(g, 0).data().toString() == name)
                return m->index(g, 0);
        return {};
    }
    QModelIndex itemIndex(const QString& group, const QString& name) {
        const QModelIndex g = groupIndex(group);
        const QAbstractItemModel* m = tree->model();
        for (int i = 0; i < m->rowCount(g); ++i)
            if (m->index(i, 0, g).data().toString() == name)
                return m->index(i, 0, g);
        return {};
    }
    void click(const QModelIndex& index) {
        tree->scrollTo(index);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    }
    void doubleClick(const QModelIndex& index) {
        tree->scrollTo(index);
        const QPoint p = tree->visualRect(index).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, p);
    }
    void pressButton(QWidget* w, const char* name) {
        auto* b = w->findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_TRUE(b) << name;
        ASSERT_TRUE(b->isVisible()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void typeInto(const char* name, const QString& text) {
        auto* e = dialog->findChild<QLineEdit*>(QLatin1String(name));
        ASSERT_TRUE(e);
        e->setText(text);
    }
    QVariant stored(const QString& name, const char* column) {
        Dataset& m = SessionProbe(*z->session).data().tMaterialy;
        return m.lookup(QStringLiteral("Material"), name, QLatin1String(column));
    }

    QTemporaryDir dir;
    QString settingsFile, reference;
    QByteArray oldCommon, oldUserData;
    TestDialogs dlg;
    QStringList opened;
    std::unique_ptr<Zefrant> z;
    TfrmPrvky* catalog = nullptr;
    TfrmPrvekNew* dialog = nullptr;
    QTreeView* tree = nullptr;
};

} // namespace

TEST_F(CatalogWindows, CreatedAtStartInTheirOrder) {
    const QStringList& c = z->created;
    EXPECT_LT(c.indexOf(QStringLiteral("TZFData")), c.indexOf(QStringLiteral("TfrmKatalog")));
    EXPECT_LT(c.indexOf(QStringLiteral("TfrmKatalog")), c.indexOf(QStringLiteral("TfrmPrvky")));
    EXPECT_LT(c.indexOf(QStringLiteral("TfrmPrvky")), c.indexOf(QStringLiteral("TfrmPrvekNew")));
    EXPECT_LT(c.indexOf(QStringLiteral("TfrmPrvekNew")), c.indexOf(QStringLiteral("TfrmAbout")));
    EXPECT_TRUE(z->session->elementsCatalogAvailable());
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(z->unitsCatalog->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_GE(z->unitsCatalog->minimumWidth(), 300);
    EXPECT_GE(z->unitsCatalog->minimumHeight(), 300);
    EXPECT_FALSE(catalog->isVisible());
}

TEST_F(CatalogWindows, AddEditDeleteThroughTheWindows) {
    bool ran = false;
    whileModal(
        [&] {
            ran = true;
            EXPECT_TRUE(catalog->isVisible());
            EXPECT_EQ(catalog->windowTitle(), QStringLiteral("Structural elements catalog"));
            EXPECT_EQ(tree->model()->headerData(1, Qt::Horizontal).toString(),
                      QStringLiteral("Heat passage coefficient U [W/m2K]"));
            EXPECT_EQ(tree->accessibleName(), QStringLiteral("Structural elements catalog"));

            // New item under Windows: kind 5, U = 0 accepted.
            click(groupIndex(QStringLiteral("Windows")));
            pressButton(catalog, "tbNew");
            ASSERT_TRUE(dialog->isVisible());
            EXPECT_FALSE(dialog->isModal());
            auto* group = child<QComboBox>(dialog, "cbSkupina");
            EXPECT_EQ(group->currentText(), QStringLiteral("Windows"));
            EXPECT_FALSE(group->isEditable());
            EXPECT_FALSE(child<QCheckBox>(dialog, "cbStavKontrukce")->isVisible());
            EXPECT_EQ(child<QLabel>(dialog, "slbU")->buddy(), child<QLineEdit>(dialog, "fed_k"));
            typeInto("edMaterial", QStringLiteral("Roof window"));
            typeInto("fed_k", QStringLiteral("0"));
            pressButton(dialog, "btAddAndClose");
            EXPECT_FALSE(dialog->isVisible());
            EXPECT_EQ(stored(QStringLiteral("Roof window"), "Typ").toInt(), 5);
            EXPECT_EQ(stored(QStringLiteral("Roof window"), "k").toDouble(), 0.0);
            const QModelIndex added = tree->currentIndex();
            EXPECT_EQ(added.data().toString(), QStringLiteral("Roof window"));
            EXPECT_EQ(added.parent().data().toString(), QStringLiteral("Windows"));
            EXPECT_EQ(added.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));

            // 100 and -0.01 are refused with 5015; the dialog stays open.
            pressButton(catalog, "tbNew");
            typeInto("edMaterial", QStringLiteral("Too much"));
            typeInto("fed_k", QStringLiteral("100"));
            EXPECT_EQ(child<QLineEdit>(dialog, "fed_k")->palette().color(QPalette::Base),
                      QColor(255, 0, 0))
                << "red above 99";
            dlg.boxes.clear();
            pressButton(dialog, "btAddAndNew");
            ASSERT_EQ(dlg.boxes.size(), 1u);
            EXPECT_EQ(dlg.last().text, LanguageText(5015));
            typeInto("fed_k", QStringLiteral("-0.01"));
            pressButton(dialog, "btAddAndNew");
            EXPECT_EQ(dlg.boxes.size(), 2u);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_FALSE(stored(QStringLiteral("Too much"), "k").isValid());
            // Add and new keeps the dialog with its entries.
            typeInto("fed_k", QStringLiteral("1.2"));
            pressButton(dialog, "btAddAndNew");
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(child<QLineEdit>(dialog, "edMaterial")->text(), QStringLiteral("Too much"));
            EXPECT_DOUBLE_EQ(stored(QStringLiteral("Too much"), "k").toDouble(), 1.2);
            pressButton(dialog, "btCancel");
            EXPECT_FALSE(dialog->isVisible());

            // Edit the user item to U = 150: accepted.
            click(itemIndex(QStringLiteral("Windows"), QStringLiteral("Roof window")));
            bool edited = false;
            whileModal(
                [&] {
                    edited = true;
                    EXPECT_TRUE(dialog->isVisible());
                    EXPECT_FALSE(dialog->findChild<QPushButton*>(QStringLiteral("btAddAndClose"))
                                     ->isVisible());
                    EXPECT_EQ(dialog->windowTitle(),
                              QStringLiteral("Edit - New structural element"));
                    EXPECT_EQ(child<QLineEdit>(dialog, "fed_k")->text(), QStringLiteral("0.00"));
                    typeInto("fed_k", QStringLiteral("150"));
                    pressButton(dialog, "btAddAndNew");
                },
                [&] { pressButton(catalog, "tbEdit"); });
            EXPECT_TRUE(edited);
            EXPECT_DOUBLE_EQ(stored(QStringLiteral("Roof window"), "k").toDouble(), 150);
            EXPECT_EQ(tree->currentIndex().data().toString(), QStringLiteral("Roof window"));
            EXPECT_EQ(tree->model()
                          ->index(tree->currentIndex().row(), 1, tree->currentIndex().parent())
                          .data()
                          .toString(),
                      QStringLiteral("150 "));

            // The Delete key asks and deletes; its group keeps its other items.
            dlg.answers = {IdYes};
            tree->setFocus();
            QTest::keyClick(tree, Qt::Key_Delete);
            EXPECT_FALSE(stored(QStringLiteral("Roof window"), "k").isValid());
            EXPECT_TRUE(groupIndex(QStringLiteral("Windows")).isValid());

            // OK on a group does nothing.
            click(groupIndex(QStringLiteral("Walls")));
            pressButton(catalog, "btOK");
            EXPECT_TRUE(catalog->isVisible());
            pressButton(catalog, "btCancel");
        },
        [&] { z->mainWindow->execute(QStringLiteral("acKatalogStavPrvky")); });
    EXPECT_TRUE(ran);
    EXPECT_FALSE(catalog->isVisible());
    EXPECT_EQ(SessionProbe(*z->session).catalog().ElementsCatalogMode, 0);
}

// An item the user adds in the catalog goes to the user's own file, is one of the
// wizard's constructions at once and fills U there, and the tool run on the same
// user's folder knows it as well.
TEST_F(CatalogWindows, AUsersItemIsOfferedByTheWizardAndKnownToTheTool) {
    const auto bytes = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray referenceBefore = bytes(reference);
    whileModal(
        [&] {
            click(groupIndex(QStringLiteral("Walls")));
            pressButton(catalog, "tbNew");
            ASSERT_TRUE(dialog->isVisible());
            EXPECT_EQ(child<QComboBox>(dialog, "cbSkupina")->currentText(),
                      QStringLiteral("Walls"));
            typeInto("edMaterial", QStringLiteral("Own sandwich wall"));
            typeInto("fed_k", QStringLiteral("0.27"));
            pressButton(dialog, "btAddAndClose");
            pressButton(catalog, "btCancel");
        },
        [&] { z->mainWindow->execute(QStringLiteral("acKatalogStavPrvky")); });
    EXPECT_GE(stored(QStringLiteral("Own sandwich wall"), "IDMaterial").toInt(),
              TZFData::UserItemsFirstKey);
    EXPECT_EQ(bytes(reference), referenceBefore) << "the reference is only read";
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("user/ZFUser.zft"))));

    // The constructions page of a new project: the item in the first wall's list.
    ASSERT_EQ(z->session->commandNew(), ResultOk);
    TfrmZInput& wizard = *z->wizard;
    wizard.pageControl()->setCurrentIndex(tsStavebniKonstrukce);
    QApplication::setActiveWindow(&wizard);
    QApplication::processEvents();
    EXPECT_TRUE(SessionProbe(*z->session).wizard().constructions.materialPickList().contains(
        QStringLiteral("Own sandwich wall")));
    auto* grid = wizard.findChild<DatasetGrid*>(QStringLiteral("ExDBGrid_Steny"));
    ASSERT_TRUE(grid);
    const QModelIndex cell = grid->model()->index(0, ConstructionsPage::MaterialColumn);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, ConstructionsPage::MaterialColumn));
    QApplication::processEvents();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    // With the catalog at hand the list waits whether a double click follows.
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    auto* list = qobject_cast<QComboBox*>(QApplication::focusWidget());
    ASSERT_TRUE(list) << "the pick list is open";
    const int at = list->findText(QStringLiteral("Own sandwich wall"));
    ASSERT_GE(at, 0);
    dlg.answers = {IdNo};
    list->setCurrentIndex(at);
    QTest::keyClick(list, Qt::Key_Return);
    QApplication::processEvents();
    Dataset& walls = SessionProbe(*z->session).data().tSteny;
    EXPECT_EQ(walls.asString(QStringLiteral("Material")), QStringLiteral("Own sandwich wall"));
    EXPECT_DOUBLE_EQ(walls.asFloat(QStringLiteral("k")), 0.27) << "U from the user's item";

    // The tool, with this test's user and common folders.
    const QString file = dir.filePath(QStringLiteral("tool.zfp"));
    const QString design = dir.filePath(QStringLiteral("design.json"));
    QFile d(design);
    ASSERT_TRUE(d.open(QIODevice::WriteOnly));
    d.write(R"({"project": {"Typ_strechy_enum": 1, "Stena_A": 20, "Stena_B": 10, "Stena_H1": 5,
                "Stena_H2": 3, "Ti": 18, "Te": -15, "Ttlumena": 10, "Tzeme": 5, "n_enum": 1},
                "walls": [{"VariantaHaly": "hB", "CisloSteny": 1, "Material": "Own sandwich wall"}]})");
    d.close();
    auto tool = [](const QStringList& args) {
        const zf::test::CliRun r = zf::test::runCliProcess(args, 60000);
        EXPECT_EQ(r.status, 0) << r.err.constData();
        return r.out;
    };
    tool({QStringLiteral("new"), file});
    tool({QStringLiteral("input"), file, design});
    bool found = false;
    for (const QJsonValue& v : QJsonDocument::fromJson(tool({QStringLiteral("export"), file}))
                                   .object()[QStringLiteral("tSteny")]
                                   .toArray()) {
        const QJsonObject w = v.toObject();
        if (w[QStringLiteral("Material")] == QStringLiteral("Own sandwich wall")) {
            found = true;
            EXPECT_DOUBLE_EQ(w[QStringLiteral("k")].toDouble(), 0.27);
        }
    }
    EXPECT_TRUE(found);
}

// The U field takes two decimals: a third one typed is not taken.
TEST_F(CatalogWindows, TheUFieldTakesTwoDecimals) {
    whileModal(
        [&] {
            click(groupIndex(QStringLiteral("Windows")));
            pressButton(catalog, "tbNew");
            ASSERT_TRUE(dialog->isVisible());
            auto* u = child<QLineEdit>(dialog, "fed_k");
            u->clear();
            QTest::keyClicks(u, QStringLiteral("1.2345"));
            EXPECT_EQ(u->text(), QStringLiteral("1.23"));
            u->clear();
            QTest::keyClicks(u, QStringLiteral("-0.5x"));
            EXPECT_EQ(u->text(), QStringLiteral("-0.5")) << "a sign, no letters";
            typeInto("edMaterial", QStringLiteral("Two decimals"));
            u->clear();
            QTest::keyClicks(u, QStringLiteral("0.125"));
            pressButton(dialog, "btAddAndClose");
            EXPECT_DOUBLE_EQ(stored(QStringLiteral("Two decimals"), "k").toDouble(), 0.12);
        },
        [&] { z->mainWindow->execute(QStringLiteral("acKatalogStavPrvky")); });
}

// The name of a new item stops at its column's 50 characters, typed or
// pasted, instead of being refused as too long when it is added.
TEST_F(CatalogWindows, TheNameStopsAtItsColumnsLength) {
    const QString fifty = QStringLiteral("Sandwich panel, mineral wool 200 mm, two sheets 06");
    ASSERT_EQ(fifty.size(), 50);
    whileModal(
        [&] {
            click(groupIndex(QStringLiteral("Windows")));
            pressButton(catalog, "tbNew");
            ASSERT_TRUE(dialog->isVisible());
            auto* name = child<QLineEdit>(dialog, "edMaterial");
            name->clear();
            QTest::keyClicks(name, fifty + QStringLiteral(" and more"));
            EXPECT_EQ(name->text(), fifty) << "typing stops at the column's length";
            name->clear();
            QApplication::clipboard()->setText(QStringLiteral("Pasted ") + fifty);
            name->setFocus();
            QTest::keySequence(name, QKeySequence::Paste);
            EXPECT_EQ(name->text(), (QStringLiteral("Pasted ") + fifty).left(50)) << "and pasting";
            name->clear();
            QTest::keyClicks(name, fifty);
            auto* u = child<QLineEdit>(dialog, "fed_k");
            u->clear();
            QTest::keyClicks(u, QStringLiteral("1.1"));
            pressButton(dialog, "btAddAndClose");
            EXPECT_TRUE(dlg.boxes.empty()) << "nothing refused";
            EXPECT_DOUBLE_EQ(stored(fifty, "k").toDouble(), 1.1);
        },
        [&] { z->mainWindow->execute(QStringLiteral("acKatalogStavPrvky")); });
}

TEST_F(CatalogWindows, DeletingTheLastItemOfAGroupRemovesIt) {
    // A group of one user item, in the user's own file.
    {
        Database db;
        db.open(SessionProbe(*z->session).data().userCatalogPath(), {});
        db.exec(QStringLiteral("INSERT INTO tMaterialyEN (IDMaterial, Skupina, Material, k, "
                               "ReadOnly, ShowInCatalogs, Typ) VALUES (1000500, 'Mine', "
                               "'Only one', 1, 0, 3, 5)"));
    }
    SessionProbe(*z->session).data().tMaterialy.refresh();
    SessionProbe(*z->session).catalog().BuildElementsTree();
    whileModal(
        [&] {
            ASSERT_TRUE(groupIndex(QStringLiteral("Mine")).isValid());
            const int groups = tree->model()->rowCount();
            click(itemIndex(QStringLiteral("Mine"), QStringLiteral("Only one")));
            dlg.answers = {IdYes};
            pressButton(catalog, "tbDelete");
            EXPECT_EQ(tree->model()->rowCount(), groups - 1);
            EXPECT_FALSE(groupIndex(QStringLiteral("Mine")).isValid());
            // Expand and collapse all, the tree keeps the focus.
            pressButton(catalog, "tbExpandAll");
            EXPECT_TRUE(tree->isExpanded(groupIndex(QStringLiteral("Gates"))));
            pressButton(catalog, "tbCollapseAll");
            EXPECT_FALSE(tree->isExpanded(groupIndex(QStringLiteral("Walls"))));
            // A double click on a group opens and closes it.
            doubleClick(groupIndex(QStringLiteral("Roofs")));
            EXPECT_TRUE(tree->isExpanded(groupIndex(QStringLiteral("Roofs"))));
            catalog->reject();
        },
        [&] { z->session->openElementsCatalog(); });
}

TEST_F(CatalogWindows, ADoubleClickChoosesInMode0AndEditsInMode1) {
    ASSERT_EQ(z->session->commandNew(), ResultOk);
    Dataset& walls = SessionProbe(*z->session).data().tSteny;
    ASSERT_TRUE(walls.locate(QStringLiteral("TypSteny"), 1));
    dlg.answers = {IdNo}; // no openings
    bool chosen = false;
    whileModal(
        [&] {
            const QModelIndex item = itemIndex(
                QStringLiteral("Walls"), QStringLiteral("Aerated concrete 250 mm, plastered"));
            ASSERT_TRUE(item.isValid());
            doubleClick(item);
        },
        [&] { chosen = z->session->chooseElementForWall(); });
    EXPECT_TRUE(chosen);
    EXPECT_FALSE(catalog->isVisible());
    EXPECT_EQ(walls.asString(QStringLiteral("Material")),
              QStringLiteral("Aerated concrete 250 mm, plastered"));
    EXPECT_DOUBLE_EQ(walls.asFloat(QStringLiteral("k")), 0.45);

    // From the menu a double click edits: a built-in item answers 5016.
    dlg.boxes.clear();
    whileModal(
        [&] {
            doubleClick(itemIndex(QStringLiteral("Walls"),
                                  QStringLiteral("Aerated concrete 250 mm, plastered")));
            EXPECT_TRUE(catalog->isVisible());
            ASSERT_FALSE(dlg.boxes.empty());
            EXPECT_EQ(dlg.last().text, LanguageText(5016));
            catalog->reject();
        },
        [&] { z->session->openElementsCatalog(); });
}

TEST_F(CatalogWindows, AnItemAddedUnderCzechIsAbsentUnderEnglish) {
    z->mainWindow->action(QStringLiteral("acCZ"))->trigger();
    EXPECT_EQ(catalog->windowTitle(), LanguageTextIn(BaseCZ, 2701));
    EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("lbKonstrukce"))->text(),
              LanguageTextIn(BaseCZ, 2753));
    whileModal(
        [&] {
            click(groupIndex(QStringLiteral("Stěny")));
            pressButton(catalog, "tbNew");
            typeInto("edMaterial", QStringLiteral("Česká stěna"));
            typeInto("fed_k", QStringLiteral("0.4"));
            pressButton(dialog, "btAddAndClose");
            EXPECT_TRUE(
                itemIndex(QStringLiteral("Stěny"), QStringLiteral("Česká stěna")).isValid());
            catalog->reject();
        },
        [&] { z->session->openElementsCatalog(); });
    z->mainWindow->action(QStringLiteral("acEN"))->trigger();
    EXPECT_EQ(catalog->windowTitle(), QStringLiteral("Structural elements catalog"));
    EXPECT_EQ(tree->model()->index(0, 0).data().toString(), QStringLiteral("Walls"));
    EXPECT_FALSE(itemIndex(QStringLiteral("Walls"), QStringLiteral("Česká stěna")).isValid());
    z->mainWindow->action(QStringLiteral("acCZ"))->trigger();
    EXPECT_TRUE(itemIndex(QStringLiteral("Stěny"), QStringLiteral("Česká stěna")).isValid());
}

TEST_F(CatalogWindows, TheDocumentCommandsOfTheCatalogsMenu) {
    TfrmZMain& w = *z->mainWindow;
    auto* technical = w.findChild<QAction*>(QStringLiteral("acKatalog_Techicke_podkladyMenu"));
    auto* leaflets = w.findChild<QAction*>(QStringLiteral("acKatalog_LetakyMenu"));
    ASSERT_TRUE(technical && technical->menu() && leaflets && leaflets->menu());
    QStringList items;
    for (QAction* a : technical->menu()->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    ASSERT_EQ(items.size(), 13);
    EXPECT_EQ(items.indexOf(QStringLiteral("-")), 8);
    EXPECT_EQ(leaflets->menu()->actions().size(), 4);
    QAction* ax = w.findChild<QAction*>(QStringLiteral("acBrisant_AX_TD"));
    ASSERT_TRUE(ax);
    EXPECT_EQ(ax->text(), QStringLiteral("Brisant AX - technical documentation"));
    EXPECT_EQ(ax->toolTip(), QStringLiteral("Brisant_AX_TD")) << "the base name is its hint";
    QAction* zr = w.findChild<QAction*>(QStringLiteral("acBrisant_E_ZR1"));
    ASSERT_TRUE(zr);
    EXPECT_EQ(zr->text(), QStringLiteral("ZR-1 Brisant E-Control"));

    // English: every document is there in English, no flag; it opens in English.
    emit technical->menu()->aboutToShow();
    for (QAction* a : technical->menu()->actions())
        EXPECT_TRUE(a->icon().isNull()) << a->objectName().toStdString();
    ax->trigger();
    EXPECT_EQ(opened.last(), AppPath + QStringLiteral("PDF/Sarvin/Brisant_AX_TD_EN.pdf"));

    // German: none there, the Czech flag on each, and the Czech file opens.
    w.action(QStringLiteral("acGE"))->trigger();
    EXPECT_EQ(ax->text(), LanguageTextIn(BaseGE, 106));
    EXPECT_EQ(zr->text(), QStringLiteral("ZR-1 Brisant E-Control"));
    emit leaflets->menu()->aboutToShow();
    for (QAction* a : leaflets->menu()->actions())
        EXPECT_FALSE(a->icon().isNull()) << a->objectName().toStdString();
    w.findChild<QAction*>(QStringLiteral("acLetak_MK"))->trigger();
    EXPECT_EQ(opened.last(), AppPath + QStringLiteral("PDF/Prospekty/Letak_MK_CZ.pdf"));

    // Base 50000: the files of code RU, which the installation has not: flags.
    setSystemCodePage(1250);
    w.action(QStringLiteral("acRU"))->trigger();
    setSystemCodePage(0);
    ASSERT_EQ(LanguageBase, BaseRU1250);
    emit technical->menu()->aboutToShow();
    EXPECT_FALSE(ax->icon().isNull());
    ax->trigger();
    EXPECT_EQ(opened.last(), AppPath + QStringLiteral("PDF/Sarvin/Brisant_AX_TD_CZ.pdf"));

    // Czech: no flags.
    w.action(QStringLiteral("acCZ"))->trigger();
    emit technical->menu()->aboutToShow();
    EXPECT_TRUE(ax->icon().isNull());
    // The project documentation is hidden, and opens the Czech guide.
    EXPECT_FALSE(w.action(QStringLiteral("acKatalogProjDoc"))->isVisible());
    w.execute(QStringLiteral("acKatalogProjDoc"));
    EXPECT_EQ(opened.last(), AppPath + QStringLiteral("PDF/proj-docCZ.pdf"));
}

TEST_F(CatalogWindows, TheUnitsCatalogViewer) {
    TfrmZMain& w = *z->mainWindow;
    TfrmKatalog& k = *z->unitsCatalog;
    EXPECT_FALSE(w.action(QStringLiteral("acKatalogBrisant"))->isVisible()) << "out of the menu";
    // Ctrl+K opens it all the same.
    auto* key = w.findChild<QShortcut*>(QStringLiteral("acKatalogBrisantShortcut"));
    ASSERT_TRUE(key);
    EXPECT_EQ(key->key(), QKeySequence(QStringLiteral("Ctrl+K")));
    w.activateWindow();
    if (QTest::qWaitForWindowActive(&w, 2000))
        QTest::keyClick(&w, Qt::Key_K, Qt::ControlModifier);
    else
        emit key->activated();
    ASSERT_TRUE(k.isVisible());
    EXPECT_FALSE(k.isModal());
    // Within the screen (the offscreen one is 800 by 600, less than its first size).
    const QRect screen = k.screen()->availableGeometry();
    EXPECT_LE(k.width(), screen.width());
    EXPECT_LE(k.height(), screen.height());
    EXPECT_TRUE(SessionProbe(*z->session).data().tRozmery.active());
    EXPECT_EQ(k.windowTitle(), QStringLiteral("Hot-air components catalog"));

    auto* tv = child<QTreeView>(&k, "tvKatalog");
    auto* pages = child<QTabWidget>(&k, "PageControl1");
    auto* lines = child<QTreeWidget>(&k, "lvParams");
    auto* name = child<QLabel>(&k, "DBTextLabel1");
    auto* grid = child<DatasetGrid>(&k, "ExDBGrid1");
    EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("tsParams"));
    EXPECT_FALSE(tv->accessibleName().isEmpty());
    EXPECT_FALSE(grid->accessibleName().isEmpty());
    EXPECT_EQ(child<CatalogPicture>(&k, "imRychlost")->accessibleName(),
              QStringLiteral("Flow velocity at the height of 1.7 m"));
    EXPECT_EQ(child<CatalogPicture>(&k, "im_Legenda_r")->accessibleName(),
              QStringLiteral("Legend: Flow velocity"));

    auto find = [&](const QString& text) {
        const auto hits = tv->model()->match(tv->model()->index(0, 0), Qt::DisplayRole, text, 1,
                                             Qt::MatchExactly | Qt::MatchRecursive);
        return hits.isEmpty() ? QModelIndex() : hits.first();
    };
    tv->setCurrentIndex(find(QStringLiteral("MK 50 - E")));
    EXPECT_EQ(name->text(), QStringLiteral("MK ventilation units with mixing chamber"));
    EXPECT_TRUE(lines->isVisibleTo(&k));
    EXPECT_EQ(lines->topLevelItemCount(), 7);
    EXPECT_TRUE(pages->isTabVisible(pages->indexOf(child<QWidget>(&k, "tsRychlost"))));
    EXPECT_FALSE(child<CatalogPicture>(&k, "imFoto")->isEmpty());
    EXPECT_TRUE(child<CatalogPicture>(&k, "im_Legenda_r")
                    ->file()
                    .endsWith(QLatin1String("legenda_r_mk.svg")));
    EXPECT_EQ(child<QLabel>(&k, "DBTextLabel2")->text(), QStringLiteral("MK 50 - E"));
    EXPECT_EQ(grid->currentIndex().row(), SessionProbe(*z->session).data().tRozmery.currentRow());

    tv->setCurrentIndex(find(QStringLiteral("Destratifikátor K1")));
    EXPECT_FALSE(lines->isVisibleTo(&k)) << "no technical data";
    EXPECT_FALSE(pages->isTabVisible(pages->indexOf(child<QWidget>(&k, "tsRychlost"))));
    EXPECT_FALSE(pages->isTabVisible(pages->indexOf(child<QWidget>(&k, "tsTeplota"))));
    QStringList shown;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (!grid->isColumnHidden(c))
            shown << grid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(shown, (QStringList{"A", "R", "Netto", "Brutto"}));
    EXPECT_FALSE(child<CatalogPicture>(&k, "imRozmery")->isEmpty());
    const QString englishName = name->text();

    // The other view; then the language: the tree of the new code, the texts.
    // On its circle: a radio button takes clicks on its circle and its text only.
    QRadioButton* byApplication = child<QRadioButton>(&k, "rgView_1");
    QTest::mouseClick(byApplication, Qt::LeftButton, {}, QPoint(8, byApplication->height() / 2));
    EXPECT_EQ(tv->model()->index(0, 0).data().toString(),
              QStringLiteral("Heating of production halls"));
    w.action(QStringLiteral("acPL"))->trigger();
    EXPECT_EQ(k.windowTitle(), LanguageTextIn(BasePL, 1500));
    EXPECT_EQ(child<QGroupBox>(&k, "rgView")->title(), LanguageTextIn(BasePL, 1501));
    EXPECT_EQ(pages->tabText(0), LanguageTextIn(BasePL, 1504));
    QFile pl(AppPath + QStringLiteral("DB/tvpPL.txt"));
    ASSERT_TRUE(pl.open(QIODevice::ReadOnly));
    EXPECT_EQ(tv->model()->index(0, 0).data().toString(),
              QString::fromUtf8(pl.readLine()).trimmed());
    EXPECT_NE(name->text(), englishName) << "the name label follows the language";
    EXPECT_EQ(name->text(), SessionProbe(*z->session).unitsCatalog().familyName());
    EXPECT_EQ(child<QPushButton>(&k, "btClose")->text(), LanguageTextIn(BasePL, 153));

    // Closing closes tBrisantRozmery.
    QTest::mouseClick(child<QPushButton>(&k, "btClose"), Qt::LeftButton);
    EXPECT_FALSE(k.isVisible());
    EXPECT_FALSE(SessionProbe(*z->session).data().tRozmery.active());
}

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
