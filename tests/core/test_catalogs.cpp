// The catalogs without their windows, on a private copy of the reference
// database: the structural elements catalog (tree, kinds by group position,
// adding, editing, deleting, its messages and modes, the languages, the wizard's
// pick lists), the units catalog viewer (tree files, the look-ups of a node,
// pictures, tabs and columns) and the documents of the Catalogs menu.
#include "catalogs/documents.h"
#include "catalogs/elementscatalog.h"
#include "catalogs/unitscatalog.h"
#include "common/globals.h"
#include "common/resultcodes.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "session/sessioncommands.h"
#include "sessionsupport.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QLocale>
#include <QStandardItemModel>

using namespace zf;
using namespace zf::test;

namespace {

// A view that answers the catalog's dialogs as a user would.
class CatalogView : public SessionView {
public:
    using SessionView::SessionView;
    std::function<bool()> onCatalog;    // the catalog window, modal
    std::function<bool()> onNewElement; // the modal edit dialog
    QStringList events;
    std::optional<bool> execDialog(Window w) override {
        if (w == Window::ElementsCatalog) {
            events << QStringLiteral("catalog");
            return onCatalog ? onCatalog() : false;
        }
        if (w == Window::NewElement) {
            events << QStringLiteral("edit");
            return onNewElement ? onNewElement() : false;
        }
        return std::nullopt;
    }
    bool providesDialog(Window w) const override {
        return w == Window::ElementsCatalog || w == Window::NewElement;
    }
    void showWindow(Window w, bool shown) override {
        if (w == Window::NewElement)
            events << (shown ? QStringLiteral("show new") : QStringLiteral("hide new"));
    }
    void focusControl(Window, const QString& control) override {
        events << QStringLiteral("focus ") + control;
    }
};

// The session on a copy of the reference database in a folder of its own, so
// that what the tests add never reaches the program folder's database.
class CatalogTest : public SessionTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(common.isValid());
        oldCommon = qgetenv("ZEFRANT_COMMON_APPDATA");
        QDir(common.path()).mkpath(QStringLiteral("Quadrel/Zefrant"));
        reference = common.filePath(QStringLiteral("Quadrel/Zefrant/ZF.zft"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZEFRANT_PROGRAM_DIR "/DB/ZF.zft"), reference));
        QFile::setPermissions(reference, QFile::ReadOwner | QFile::WriteOwner);
        prepareReference();
        qputenv("ZEFRANT_COMMON_APPDATA", common.path().toUtf8());
        SessionTest::SetUp();
        ASSERT_EQ(data->referencePath(), reference);
        view = std::make_unique<CatalogView>(*session);
        dlg.boxes.clear();
    }
    void TearDown() override {
        view.reset();
        SessionTest::TearDown();
        qputenv("ZEFRANT_COMMON_APPDATA", oldCommon);
        setLanguage(BaseEN);
        QLocale::setDefault(QLocale::c());
        setDocumentOpener({});
    }
    virtual void prepareReference() {}

    ElementsCatalog& catalog() { return SessionProbe(*session).catalog(); }
    // Where the user's own items are kept.
    QString userFile() const { return data->userCatalogPath(); }
    int groupOf(const QString& name) {
        const auto& g = catalog().groups();
        for (size_t i = 0; i < g.size(); ++i)
            if (readableText(g[i].name) == name)
                return int(i);
        return -1;
    }
    // Fills the new-element dialog as a user types into it.
    void type(const QString& group, const QString& name, const QString& u) {
        catalog().dialog.group = int(catalog().dialog.groupCaptions().indexOf(group));
        catalog().dialog.name = name;
        catalog().dialog.uText = u;
    }
    int rows() { return data->tMaterialy.recordCount(); }
    QVariant stored(int id, const char* column) {
        return data->tMaterialy.lookup(QStringLiteral("IDMaterial"), id, QLatin1String(column));
    }
    // Adds a user item through the dialog: its IDMaterial, or 0.
    int add(const QString& group, const QString& name, const QString& u) {
        catalog().newItem();
        type(group, name, u);
        if (!catalog().addAndClose())
            return 0;
        const CatalogElement* e = catalog().currentElement();
        return e ? e->id : 0;
    }
    void select(const QString& group, int item = -1) {
        catalog().setCurrent({groupOf(group), item});
    }
    const std::vector<TestDialogs::Box>& boxes() { return dlg.boxes; }

    QTemporaryDir common;
    QByteArray oldCommon;
    QString reference;
    std::unique_ptr<CatalogView> view;
};

// A materials table of six groups A to F, for the kinds by position.
class SixGroupsTest : public CatalogTest {
protected:
    void prepareReference() override {
        sql(reference, QStringLiteral("DELETE FROM tMaterialyEN"));
        int n = 0;
        for (const char* g : {"A", "B", "C", "D", "E", "F"})
            sql(reference,
                QStringLiteral("INSERT INTO tMaterialyEN (Skupina, Material, k, ReadOnly, "
                               "ShowInCatalogs, Typ) VALUES ('%1', 'Built-in %2', 1.5, 1, 3, 1)")
                    .arg(QLatin1String(g))
                    .arg(++n));
    }
};

} // namespace

// ------------------------------------------------------------------ the tree

TEST_F(CatalogTest, TreeGroupsInTableOrderWithBoldGroupsAndGreenUserItems) {
    ElementsTreeModel& model = catalog().model();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(model.rowCount(), 7);
    QStringList groups;
    for (int g = 0; g < model.rowCount(); ++g)
        groups << model.index(g, 0).data().toString();
    EXPECT_EQ(groups,
              (QStringList{"Walls", "Roofs", "Floors", "Skylights", "Windows", "Doors", "Gates"}));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Engineering construction name"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("Heat passage coefficient U [W/m2K]"));
    const QModelIndex walls = model.index(0, 0);
    EXPECT_TRUE(walls.data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(walls.data(ElementsTreeModel::IdRole).isValid());
    const QModelIndex first = model.index(0, 0, walls);
    EXPECT_EQ(first.data().toString(), QStringLiteral("Brick wall 150 mm, plastered"));
    EXPECT_EQ(model.index(0, 1, walls).data().toString(), QStringLiteral("2.6 "));
    EXPECT_EQ(first.data(ElementsTreeModel::IdRole).toInt(), 1);
    EXPECT_FALSE(first.data(Qt::ForegroundRole).isValid()) << "built-in items keep the colour";
    // Items in table order within their group, not sorted.
    EXPECT_EQ(model.index(1, 0, walls).data().toString(),
              QStringLiteral("Brick wall 300 mm, plastered"));

    // A user item: green, under its group, selected by its id.
    const int id = add(QStringLiteral("Roofs"), QStringLiteral("My roof"), QStringLiteral("0.2"));
    ASSERT_GT(id, 0);
    const QModelIndex item = model.indexOf(catalog().current());
    EXPECT_EQ(item.parent().data().toString(), QStringLiteral("Roofs"));
    EXPECT_EQ(item.data().toString(), QStringLiteral("My roof"));
    EXPECT_EQ(item.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
    EXPECT_EQ(item.data(ElementsTreeModel::IdRole).toInt(), id);
    EXPECT_EQ(item.row(), model.rowCount(item.parent()) - 1) << "appended, in table order";

    // SelectElementById: an unknown id changes nothing.
    catalog().setCurrent({0, 0});
    EXPECT_FALSE(catalog().SelectElementById(99999));
    EXPECT_EQ(catalog().current(), (CatalogRow{0, 0}));
    EXPECT_TRUE(catalog().SelectElementById(id));
    EXPECT_EQ(model.indexOf(catalog().current()).data().toString(), QStringLiteral("My roof"));
}

TEST_F(SixGroupsTest, GroupPositionGivesTheKindOfAddedItems) {
    ASSERT_EQ(catalog().groups().size(), 6u);
    const QStringList groups{"A", "B", "C", "D", "E", "F"};
    const QList<int> kinds{1, 2, 3, 4, 5, 5};
    for (int i = 0; i < groups.size(); ++i) {
        const int id = add(groups[i], QStringLiteral("User %1").arg(i), QStringLiteral("1"));
        ASSERT_GT(id, 0) << i;
        EXPECT_EQ(stored(id, "Typ").toInt(), kinds[i]) << groups[i].toStdString();
        EXPECT_EQ(stored(id, "ReadOnly").toInt(), 0);
        EXPECT_EQ(stored(id, "ShowInCatalogs").toInt(), 3) << "both hidden boxes checked";
        EXPECT_EQ(stored(id, "Skupina").toString(), groups[i]);
    }
    EXPECT_TRUE(boxes().empty());
}

// ------------------------------------------------------------------ adding

TEST_F(CatalogTest, AddingChecksUAndTheInput) {
    const int before = rows();
    const QString range = LanguageText(5015);
    // 0 is allowed, 100 and -0.01 are not; nothing is written then.
    EXPECT_GT(add(QStringLiteral("Walls"), QStringLiteral("Zero"), QStringLiteral("0")), 0);
    EXPECT_EQ(rows(), before + 1);
    for (const char* u : {"100", "-0.01", "150"}) {
        catalog().newItem();
        type(QStringLiteral("Walls"), QStringLiteral("Out of range"), QLatin1String(u));
        EXPECT_FALSE(catalog().addAndClose()) << u;
        ASSERT_FALSE(boxes().empty());
        EXPECT_EQ(boxes().back().text, range);
        EXPECT_EQ(boxes().back().flags, MbError);
        EXPECT_TRUE(catalog().newElementShown()) << "the dialog stays open";
        EXPECT_EQ(rows(), before + 1);
    }
    EXPECT_GT(add(QStringLiteral("Walls"), QStringLiteral("Just below"), QStringLiteral("99.99")),
              0);

    // Bad input: the program's message, the catalog as it was.
    dlg.boxes.clear();
    struct Case {
        QString name, u, message;
    };
    const std::vector<Case> cases = {
        {QString(), QStringLiteral("1"), LanguageText(2760)},
        {QStringLiteral("   "), QStringLiteral("1"), LanguageText(2760)},
        {QString(300, QLatin1Char('x')), QStringLiteral("1"),
         QStringLiteral("The name is too long: at most 50 characters.")},
        {QStringLiteral("Letters"), QStringLiteral("abc"),
         QStringLiteral("Enter the U value as a number (for example 1.25).")},
        {QStringLiteral("Czech separator"), QStringLiteral("1,5"),
         QStringLiteral("Enter the U value as a number (for example 1.25).")},
        {QStringLiteral("Empty U"), QString(),
         QStringLiteral("Enter the U value as a number (for example 1.25).")},
    };
    const int now = rows();
    for (const Case& c : cases) {
        catalog().newItem();
        type(QStringLiteral("Walls"), c.name, c.u);
        EXPECT_FALSE(catalog().addAndClose()) << c.name.toStdString();
        ASSERT_FALSE(boxes().empty());
        EXPECT_EQ(boxes().back().text, c.message);
        EXPECT_EQ(rows(), now);
    }
    // In the user's locale: the Czech decimal comma, and the point refused.
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    const int id = add(QStringLiteral("Walls"), QStringLiteral("Czech"), QStringLiteral("1,5"));
    ASSERT_GT(id, 0);
    EXPECT_DOUBLE_EQ(stored(id, "k").toDouble(), 1.5);
    catalog().newItem();
    type(QStringLiteral("Walls"), QStringLiteral("Point"), QStringLiteral("1.5"));
    EXPECT_FALSE(catalog().addAndClose());
    EXPECT_EQ(boxes().back().text,
              QStringLiteral("Enter the U value as a number (for example 1,25)."));
    // A name is stored without the blanks around it.
    QLocale::setDefault(QLocale::c());
    const int trimmed =
        add(QStringLiteral("Walls"), QStringLiteral("  Padded  "), QStringLiteral("1"));
    EXPECT_EQ(stored(trimmed, "Material").toString(), QStringLiteral("Padded"));
}

TEST_F(CatalogTest, TheNewElementDialog) {
    // Preselects the group of the current row (a group row or an item's parent).
    select(QStringLiteral("Floors"));
    catalog().newItem();
    EXPECT_EQ(view->events.last(), QStringLiteral("show new"));
    EXPECT_EQ(catalog().dialog.groupCaptions().value(catalog().dialog.group),
              QStringLiteral("Floors"));
    EXPECT_EQ(catalog().dialog.caption(), QStringLiteral("New structural element"));
    EXPECT_TRUE(catalog().dialog.addAndCloseVisible());
    EXPECT_EQ(catalog().dialog.addAndNewCaption(), QStringLiteral("Add and new"));
    select(QStringLiteral("Doors"), 0);
    catalog().newItem();
    EXPECT_EQ(catalog().dialog.groupCaptions().value(catalog().dialog.group),
              QStringLiteral("Doors"));
    // The groups only, in order of first occurrence.
    EXPECT_EQ(catalog().dialog.groupCaptions().size(), 7);

    // Add and new: the dialog stays with its entries, in front.
    type(QStringLiteral("Doors"), QStringLiteral("Door A"), QStringLiteral("2"));
    view->events.clear();
    EXPECT_TRUE(catalog().addAndNew());
    EXPECT_TRUE(catalog().newElementShown());
    EXPECT_EQ(view->events, QStringList{"show new"});
    EXPECT_EQ(catalog().dialog.name, QStringLiteral("Door A"));
    // Add and close closes it; so does closing the catalog.
    catalog().dialog.name = QStringLiteral("Door B");
    EXPECT_TRUE(catalog().addAndClose());
    EXPECT_FALSE(catalog().newElementShown());
    EXPECT_EQ(view->events.last(), QStringLiteral("hide new"));
    catalog().newItem();
    view->onCatalog = [] { return false; };
    session->openElementsCatalog();
    EXPECT_FALSE(catalog().newElementShown());
    EXPECT_EQ(catalog().ElementsCatalogMode, 0);

    // fed_k is red above 99; U is shown with two decimals.
    EXPECT_FALSE(NewElementState::uIsRed(QStringLiteral("99")));
    EXPECT_TRUE(NewElementState::uIsRed(QStringLiteral("99.01")));
    EXPECT_FALSE(NewElementState::uIsRed(QStringLiteral("abc")));
    EXPECT_EQ(NewElementState::formatU(0.3), QStringLiteral("0.30"));
}

TEST_F(CatalogTest, AGroupThatNoLongerExists) {
    // A group whose only item is the user's: deleting it removes the group while
    // the new-element dialog still offers it.
    const int id = add(QStringLiteral("Gates"), QStringLiteral("Only"), QStringLiteral("1"));
    ASSERT_GT(id, 0);
    sql(userFile(),
        QStringLiteral("UPDATE tMaterialyEN SET Skupina = 'Extra' WHERE IDMaterial = %1").arg(id));
    data->tMaterialy.refresh();
    catalog().BuildElementsTree();
    ASSERT_GE(groupOf(QStringLiteral("Extra")), 0);
    catalog().newItem();
    type(QStringLiteral("Extra"), QStringLiteral("Late"), QStringLiteral("1"));
    catalog().SelectElementById(id);
    dlg.answers = {IdYes};
    catalog().deleteItem();
    EXPECT_EQ(groupOf(QStringLiteral("Extra")), -1);
    const int before = rows();
    EXPECT_FALSE(catalog().addAndClose());
    EXPECT_EQ(boxes().back().text,
              QStringLiteral("The group \"Extra\" is no longer in the catalog. Select a group "
                             "from the list."));
    EXPECT_EQ(rows(), before);
    EXPECT_FALSE(catalog().dialog.groupCaptions().contains(QStringLiteral("Extra")))
        << "the list shows the groups there are";
}

// ------------------------------------------------------------------ editing

TEST_F(CatalogTest, EditingOnlyUserItemsWithoutRangeCheck) {
    // A built-in item: 5016, no dialog.
    select(QStringLiteral("Walls"), 0);
    catalog().editItem();
    EXPECT_EQ(boxes().back().text, LanguageText(5016));
    EXPECT_EQ(boxes().back().flags, MbError);
    EXPECT_FALSE(view->events.contains(QStringLiteral("edit")));
    // A group row or nothing: nothing happens.
    dlg.boxes.clear();
    select(QStringLiteral("Walls"));
    catalog().editItem();
    catalog().setCurrent({});
    catalog().editItem();
    EXPECT_TRUE(boxes().empty());

    const int id = add(QStringLiteral("Walls"), QStringLiteral("Mine"), QStringLiteral("0.5"));
    ASSERT_GT(id, 0);
    // The dialog comes filled from the row; U = 150 and another group are taken.
    view->onNewElement = [this] {
        NewElementState& d = catalog().dialog;
        EXPECT_EQ(d.caption(), QStringLiteral("Edit - New structural element"));
        EXPECT_FALSE(d.addAndCloseVisible());
        EXPECT_EQ(d.addAndNewCaption(), QStringLiteral("OK"));
        EXPECT_EQ(d.name, QStringLiteral("Mine"));
        EXPECT_EQ(d.uText, QStringLiteral("0.50"));
        EXPECT_EQ(d.groupCaptions().value(d.group), QStringLiteral("Walls"));
        d.uText = QStringLiteral("150");
        d.name = QStringLiteral("Mine, edited");
        d.group = int(d.groupCaptions().indexOf(QStringLiteral("Windows")));
        return true;
    };
    catalog().editItem();
    EXPECT_DOUBLE_EQ(stored(id, "k").toDouble(), 150);
    EXPECT_EQ(stored(id, "Material").toString(), QStringLiteral("Mine, edited"));
    EXPECT_EQ(stored(id, "Skupina").toString(), QStringLiteral("Windows"));
    EXPECT_EQ(stored(id, "Typ").toInt(), 5);
    ASSERT_TRUE(catalog().currentElement());
    EXPECT_EQ(catalog().currentElement()->id, id) << "selected again";
    EXPECT_EQ(catalog().current().group, groupOf(QStringLiteral("Windows")));

    // An unchanged U keeps its value to the last digit, though shown with two decimals.
    sql(userFile(),
        QStringLiteral("UPDATE tMaterialyEN SET k = 0.125 WHERE IDMaterial = %1").arg(id));
    data->tMaterialy.refresh();
    catalog().BuildElementsTree();
    catalog().SelectElementById(id);
    view->onNewElement = [this] {
        EXPECT_EQ(catalog().dialog.uText, QStringLiteral("0.13"));
        catalog().dialog.name = QStringLiteral("Renamed");
        return true;
    };
    catalog().editItem();
    EXPECT_DOUBLE_EQ(stored(id, "k").toDouble(), 0.125);

    // Cancel writes nothing; a bad U is refused with its message.
    view->onNewElement = [this] {
        catalog().dialog.name = QStringLiteral("Cancelled");
        return false;
    };
    catalog().editItem();
    EXPECT_EQ(stored(id, "Material").toString(), QStringLiteral("Renamed"));
    view->onNewElement = [this] {
        catalog().dialog.uText = QStringLiteral("many");
        return true;
    };
    catalog().editItem();
    EXPECT_EQ(boxes().back().text,
              QStringLiteral("Enter the U value as a number (for example 1.25)."));
    EXPECT_DOUBLE_EQ(stored(id, "k").toDouble(), 0.125);

    // The row is gone from the table behind the tree: "Index not found!".
    data->tMaterialy.locate(QStringLiteral("IDMaterial"), id);
    data->tMaterialy.deleteRecord();
    view->events.clear();
    catalog().editItem();
    EXPECT_EQ(boxes().back().text, QStringLiteral("Index not found!"));
    EXPECT_FALSE(view->events.contains(QStringLiteral("edit")));
}

// Another instance of the program deleted the item behind this one's tree:
// editing and deleting it say "Index not found!" and write nothing, also when
// it goes while the edit dialog is open; the tree then shows the table as it is.
TEST_F(CatalogTest, AnItemAnotherInstanceDeletedIsNotFound) {
    auto deleteElsewhere = [this](int id) {
        sql(userFile(), QStringLiteral("DELETE FROM tMaterialyEN WHERE IDMaterial = %1").arg(id));
    };
    int id = add(QStringLiteral("Walls"), QStringLiteral("Gone"), QStringLiteral("0.5"));
    ASSERT_GT(id, 0);
    deleteElsewhere(id);
    view->events.clear();
    catalog().editItem();
    EXPECT_EQ(boxes().back().text, QStringLiteral("Index not found!"));
    EXPECT_FALSE(view->events.contains(QStringLiteral("edit")));
    for (const CatalogGroup& g : catalog().groups())
        for (const CatalogElement& e : g.items)
            EXPECT_NE(e.id, id) << "the tree no longer shows it";

    id = add(QStringLiteral("Walls"), QStringLiteral("Gone too"), QStringLiteral("0.5"));
    ASSERT_GT(id, 0);
    dlg.answers = {IdYes};
    deleteElsewhere(id);
    const int before = rows();
    catalog().deleteItem();
    EXPECT_EQ(boxes().back().text, QStringLiteral("Index not found!"));
    EXPECT_EQ(rows(), before - 1) << "the table as it is now";

    id = add(QStringLiteral("Walls"), QStringLiteral("Going"), QStringLiteral("0.5"));
    ASSERT_GT(id, 0);
    view->onNewElement = [&] {
        catalog().dialog.name = QStringLiteral("Edited");
        deleteElsewhere(id);
        return true;
    };
    const size_t boxesBefore = boxes().size();
    catalog().editItem();
    ASSERT_EQ(boxes().size(), boxesBefore + 1);
    EXPECT_EQ(boxes().back().text, QStringLiteral("Index not found!"));
    EXPECT_FALSE(stored(id, "Material").isValid()) << "nothing written back";
}

// U is typed with at most two decimals, in the user's locale.
TEST(NewElementU, TakesTwoDecimals) {
    using T = NewElementState::UTyping;
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const QLocale cz(QLocale::Czech, QLocale::CzechRepublic);
    struct Case {
        const char* text;
        const QLocale& locale;
        T expected;
    };
    const Case cases[] = {{"", en, T::Intermediate},       {"-", en, T::Intermediate},
                          {".", en, T::Intermediate},      {"0", en, T::Acceptable},
                          {"1.2", en, T::Acceptable},      {"1.25", en, T::Acceptable},
                          {"1.255", en, T::Invalid},       {"-0.01", en, T::Acceptable},
                          {"1,234.50", en, T::Acceptable}, {"150", en, T::Acceptable},
                          {"1e3", en, T::Invalid},         {"abc", en, T::Invalid},
                          {"1.2.3", en, T::Invalid},       {"1,25", cz, T::Acceptable},
                          {"1,255", cz, T::Invalid},       {"1.25", cz, T::Invalid},
                          {"1 234,5", cz, T::Acceptable},  {"\u22121,5", cz, T::Acceptable}};
    for (const Case& c : cases) {
        EXPECT_EQ(NewElementState::checkUTyping(QString::fromUtf8(c.text), c.locale), c.expected)
            << c.text;
    }
}

// ------------------------------------------------------------------ deleting

TEST_F(CatalogTest, DeletingAndItsMessages) {
    // A group: 5017, a warning.
    select(QStringLiteral("Walls"));
    catalog().deleteItem();
    EXPECT_EQ(boxes().back().text, LanguageText(5017));
    EXPECT_EQ(boxes().back().flags, MbWarning);
    // A built-in item: 5018.
    select(QStringLiteral("Walls"), 2);
    const int before = rows();
    catalog().deleteItem();
    EXPECT_EQ(boxes().back().text, LanguageText(5018));
    EXPECT_EQ(rows(), before);

    const int a = add(QStringLiteral("Doors"), QStringLiteral("Door A"), QStringLiteral("2"));
    const int b = add(QStringLiteral("Doors"), QStringLiteral("Door B"), QStringLiteral("2"));
    ASSERT_GT(b, 0);
    // The question names the group and the item; No keeps it.
    catalog().SelectElementById(b);
    dlg.boxes.clear();
    catalog().deleteItem();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes().back().text, QStringLiteral("Do you really wish to delete the catalog item?"
                                                  "\n\nGroup: Doors\n Item: Door B"));
    EXPECT_EQ(boxes().back().flags, MbWarningYesNo);
    EXPECT_EQ(rows(), before + 2);
    // Yes: the row goes, its previous sibling is selected and focused.
    ElementsTreeModel& model = catalog().model();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const int doorRows = model.rowCount(model.index(groupOf(QStringLiteral("Doors")), 0));
    dlg.answers = {IdYes};
    view->events.clear();
    catalog().deleteItem();
    EXPECT_EQ(rows(), before + 1);
    EXPECT_FALSE(stored(b, "Material").isValid());
    EXPECT_EQ(model.rowCount(model.index(groupOf(QStringLiteral("Doors")), 0)), doorRows - 1);
    ASSERT_TRUE(catalog().currentElement());
    EXPECT_EQ(catalog().currentElement()->id, a);
    EXPECT_TRUE(view->events.contains(QStringLiteral("focus ElTree1")));
}

TEST_F(CatalogTest, DeletingTheLastItemOfAGroupRemovesTheGroup) {
    // A group of user items only.
    const int id = add(QStringLiteral("Gates"), QStringLiteral("Gate"), QStringLiteral("3"));
    sql(userFile(),
        QStringLiteral("UPDATE tMaterialyEN SET Skupina = 'Mine' WHERE IDMaterial = %1").arg(id));
    const int second = add(QStringLiteral("Gates"), QStringLiteral("Gate 2"), QStringLiteral("3"));
    sql(userFile(), QStringLiteral("UPDATE tMaterialyEN SET Skupina = 'Mine' WHERE IDMaterial = %1")
                       .arg(second));
    data->tMaterialy.refresh();
    catalog().BuildElementsTree();
    ASSERT_EQ(catalog().groups().size(), 8u);
    // The first of two: the next one is selected.
    catalog().SelectElementById(id);
    dlg.answers = {IdYes};
    catalog().deleteItem();
    ASSERT_TRUE(catalog().currentElement());
    EXPECT_EQ(catalog().currentElement()->id, second);
    // The last: the group is gone.
    dlg.answers = {IdYes};
    catalog().deleteItem();
    EXPECT_EQ(catalog().groups().size(), 7u);
    EXPECT_EQ(groupOf(QStringLiteral("Mine")), -1);
    EXPECT_TRUE(catalog().current().isNone());
}

// ------------------------------------------------------------------ modes

TEST_F(CatalogTest, OkAndDoubleClickByMode) {
    // OK on a group or on nothing does not close.
    select(QStringLiteral("Walls"));
    EXPECT_FALSE(catalog().confirm());
    catalog().setCurrent({});
    EXPECT_FALSE(catalog().confirm());
    EXPECT_EQ(catalog().doubleClick(), ElementsCatalog::DoubleClick::Nothing);
    select(QStringLiteral("Walls"));
    EXPECT_EQ(catalog().doubleClick(), ElementsCatalog::DoubleClick::Toggle);
    EXPECT_TRUE(catalog().ChosenElementName.isEmpty());

    // Mode 0 (the wizard): a double click on an item chooses it.
    view->onCatalog = [this] {
        EXPECT_EQ(catalog().ElementsCatalogMode, 0);
        select(QStringLiteral("Walls"), 1);
        return catalog().doubleClick() == ElementsCatalog::DoubleClick::Chosen;
    };
    ASSERT_EQ(session->commandNew(), ResultOk);
    EXPECT_TRUE(session->chooseElementForWall());
    EXPECT_EQ(catalog().ChosenElementName, QStringLiteral("Brick wall 300 mm, plastered"));
    EXPECT_EQ(catalog().ChosenElementU, QStringLiteral("1.45 "));
    EXPECT_EQ(catalog().ElementsCatalogMode, 0) << "after closing";

    // Mode 1 (the menu): a double click on an item edits it.
    view->onCatalog = [this] {
        EXPECT_EQ(catalog().ElementsCatalogMode, 1);
        select(QStringLiteral("Walls"), 1);
        EXPECT_EQ(catalog().doubleClick(), ElementsCatalog::DoubleClick::Edited);
        return false;
    };
    dlg.boxes.clear();
    session->openElementsCatalog();
    ASSERT_FALSE(boxes().empty());
    EXPECT_EQ(boxes().back().text, LanguageText(5016)) << "a built-in item cannot be edited";
    EXPECT_EQ(catalog().ElementsCatalogMode, 0);

    // Cancelled: nothing chosen, the wall as it was.
    view->onCatalog = [] { return false; };
    EXPECT_FALSE(session->chooseElementForOpening());
    EXPECT_TRUE(catalog().ChosenElementName.isEmpty());
}

// ------------------------------------------------------------------ the wizard

TEST_F(CatalogTest, AUserItemReachesTheWizardAtOnce) {
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    ASSERT_EQ(session->commandNew(), ResultOk);
    ASSERT_TRUE(wizard->visible());
    Dataset& walls = data->tSteny;
    ASSERT_TRUE(walls.locate(QStringLiteral("TypSteny"), 1));
    wizard->constructions.refresh();
    QStringList wallStates;
    RecordingView wizardView(*session);
    const int before = int(wizard->constructions.materialPickList().size());

    view->onCatalog = [&] {
        // A wall construction and an opening, added through the dialog.
        catalog().newItem();
        type(QStringLiteral("Walls"), QStringLiteral("My sandwich wall"), QStringLiteral("0,37"));
        EXPECT_TRUE(catalog().addAndClose());
        EXPECT_TRUE(
            wizard->constructions.materialPickList().contains(QStringLiteral("My sandwich wall")))
            << "offered for the wall at once";
        EXPECT_EQ(int(wizard->constructions.materialPickList().size()), before + 1);
        catalog().newItem();
        type(QStringLiteral("Windows"), QStringLiteral("Aaa window"), QStringLiteral("1,1"));
        EXPECT_TRUE(catalog().addAndClose());
        QStringList openings = wizard->constructions.openingPickList();
        EXPECT_EQ(openings.first(), QStringLiteral("Aaa window")) << "sorted";
        EXPECT_EQ(openings.removeDuplicates(), 0);
        // Choose the wall construction.
        catalog().SelectElementById(data->tMaterialy
                                        .lookup(QStringLiteral("Material"),
                                                QStringLiteral("My sandwich wall"),
                                                QStringLiteral("IDMaterial"))
                                        .toInt());
        return catalog().confirm();
    };
    EXPECT_TRUE(session->chooseElementForWall());
    EXPECT_EQ(catalog().ChosenElementU, QStringLiteral("0,37 ")) << "the text in the locale";
    EXPECT_EQ(walls.asString(QStringLiteral("Material")), QStringLiteral("My sandwich wall"));
    EXPECT_DOUBLE_EQ(walls.asFloat(QStringLiteral("k")), 0.37);
    {
        // Written to the project file, not only to the row in memory.
        Database check;
        Database::OpenOptions o;
        o.readOnly = true;
        check.open(files->CurrentFile, o);
        Statement st(check, QStringLiteral("SELECT k FROM tSteny WHERE Material = ?"));
        st.bind(1, QStringLiteral("My sandwich wall"));
        ASSERT_TRUE(st.step());
        EXPECT_DOUBLE_EQ(st.column(0).toDouble(), 0.37);
    }

    // An opening from the catalog: a new opening row with its U.
    view->onCatalog = [&] {
        catalog().SelectElementById(data->tMaterialy
                                        .lookup(QStringLiteral("Material"),
                                                QStringLiteral("Aaa window"),
                                                QStringLiteral("IDMaterial"))
                                        .toInt());
        return catalog().confirm();
    };
    dlg.answers = {IdNo};
    EXPECT_TRUE(session->chooseElementForOpening());
    EXPECT_EQ(data->tStavOtvory.asString(QStringLiteral("Nazev")), QStringLiteral("Aaa window"));
    EXPECT_DOUBLE_EQ(data->tStavOtvory.asFloat(QStringLiteral("k")), 1.1);

    // Deleting it takes it out of the openings' list too.
    catalog().SelectElementById(data->tMaterialy
                                    .lookup(QStringLiteral("Material"),
                                            QStringLiteral("Aaa window"),
                                            QStringLiteral("IDMaterial"))
                                    .toInt());
    dlg.answers = {IdYes};
    catalog().deleteItem();
    EXPECT_FALSE(wizard->constructions.openingPickList().contains(QStringLiteral("Aaa window")));
}

// ------------------------------------------------------------------ languages

TEST_F(CatalogTest, UserItemsBelongToTheTableOfTheirLanguage) {
    session->switchLanguage(BaseCZ);
    ASSERT_EQ(data->tMaterialy.tableName(), QStringLiteral("tMaterialyCZ"));
    EXPECT_EQ(catalog().model().index(0, 0).data().toString(), QStringLiteral("Stěny"));
    EXPECT_EQ(catalog().model().headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Název stavební konstrukce"));
    ASSERT_GT(add(QStringLiteral("Stěny"), QStringLiteral("Moje stěna"), QStringLiteral("0.3")), 0);
    auto present = [this] {
        return !data->tMaterialy
                    .lookup(QStringLiteral("Material"), QStringLiteral("Moje stěna"),
                            QStringLiteral("IDMaterial"))
                    .isNull() &&
               data->tMaterialy
                   .lookup(QStringLiteral("Material"), QStringLiteral("Moje stěna"),
                           QStringLiteral("IDMaterial"))
                   .isValid();
    };
    EXPECT_TRUE(present());
    // A new-element dialog left open: name emptied, U 0, the groups of the new table.
    catalog().newItem();
    catalog().dialog.name = QStringLiteral("Half typed");
    session->switchLanguage(BaseEN);
    EXPECT_FALSE(present());
    EXPECT_EQ(catalog().model().index(0, 0).data().toString(), QStringLiteral("Walls"));
    EXPECT_TRUE(catalog().dialog.name.isEmpty());
    EXPECT_EQ(catalog().dialog.uText, QStringLiteral("0.00"));
    EXPECT_EQ(catalog().dialog.groupCaptions().first(), QStringLiteral("Walls"));
    for (const CatalogGroup& g : catalog().groups())
        for (const CatalogElement& e : g.items)
            EXPECT_NE(e.name, QStringLiteral("Moje stěna"));
    session->switchLanguage(BaseCZ);
    EXPECT_TRUE(present());
}

TEST_F(CatalogTest, RussianOnACentralEuropeanSystemStoresTheReencodedText) {
    setSystemCodePage(1250);
    session->switchLanguage(BaseRU);
    setSystemCodePage(0);
    ASSERT_EQ(LanguageBase, BaseRU1250);
    ASSERT_EQ(data->tMaterialy.tableName(), QStringLiteral("tMaterialyRU_1250"));
    const QString group = catalog().model().index(0, 0).data().toString();
    ASSERT_FALSE(group.isEmpty());
    EXPECT_GE(group.at(0).unicode(), 0x0400) << "shown readable: " << group.toStdString();
    const int id = add(group, QStringLiteral("Стена"), QStringLiteral("0.3"));
    ASSERT_GT(id, 0);
    EXPECT_EQ(stored(id, "Material").toString(), storedText(QStringLiteral("Стена")));
    EXPECT_EQ(catalog().model().indexOf(catalog().current()).data().toString(),
              QStringLiteral("Стена"));
    session->switchLanguage(BaseEN);
}

// ------------------------------------------------------------------ a catalog the user cannot change

// The user's data folder cannot be made (a file stands where it should be):
// the program starts without a word, shows the supplied catalog, and every
// change says why it cannot be made. An office's own item in a machine-wide
// reference database (ReadOnly 0 there) is part of the supplied catalog.
TEST_F(CatalogTest, AUserFolderThatCannotBeMade) {
    sql(reference, QStringLiteral("UPDATE tMaterialyEN SET ReadOnly = 0 WHERE IDMaterial = 1"));
    QFile blocker(tmp.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("ZEFRANT_USER_DATA", tmp.filePath(QStringLiteral("blocker/user")).toUtf8());
    dlg.boxes.clear();
    ASSERT_EQ(data->ConnectReference(data->referencePath()), 0);
    data->openMaterials();
    catalog().BuildElementsTree();
    EXPECT_TRUE(boxes().empty()) << "no word at the start";
    EXPECT_FALSE(data->userCatalogWritable());
    const auto groups = catalog().groups().size();
    const int before = rows();
    ASSERT_GT(before, 50) << "the supplied items are all there";
    const QString message =
        QStringLiteral("The structural elements catalog cannot be changed: your own items are "
                       "kept in the file %1, which cannot be written now.\n\nThe folder %2 "
                       "cannot be made.")
            .arg(userFile(), tmp.filePath(QStringLiteral("blocker/user")));

    catalog().newItem();
    ASSERT_FALSE(boxes().empty());
    EXPECT_EQ(boxes().back().text, message);
    EXPECT_FALSE(catalog().newElementShown());
    select(QStringLiteral("Walls"), 0);
    ASSERT_TRUE(catalog().currentElement());
    EXPECT_TRUE(catalog().currentElement()->readOnly) << "the office's item is not the user's";
    catalog().deleteItem();
    EXPECT_EQ(boxes().back().text, LanguageText(5018));
    view->events.clear();
    catalog().editItem();
    EXPECT_EQ(boxes().back().text, LanguageText(5016));
    EXPECT_FALSE(view->events.contains(QStringLiteral("edit")));
    // Written past the catalog's checks, the data layer refuses too.
    data->tMaterialy.first();
    EXPECT_THROW(
        {
            data->tMaterialy.edit();
            data->tMaterialy.setValue(QStringLiteral("k"), 9.0);
            data->tMaterialy.post();
        },
        DbError);
    data->tMaterialy.cancel();
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(catalog().groups().size(), groups);
    EXPECT_FALSE(QFileInfo::exists(userFile()));
}

TEST_F(CatalogTest, AFailedWriteLeavesTheCatalogAsItWas) {
    const int before = rows();
    // Another program holds the database: the write fails, is rolled back and
    // reported, and the tree shows the table as it is.
    Database other;
    Database::OpenOptions o;
    other.open(userFile(), o);
    Database::Transaction hold(other);
    other.exec(QStringLiteral("UPDATE tDefPerson SET Person = Person"));
    catalog().newItem();
    type(QStringLiteral("Walls"), QStringLiteral("Blocked"), QStringLiteral("1"));
    EXPECT_FALSE(catalog().addAndClose());
    ASSERT_FALSE(boxes().empty());
    EXPECT_TRUE(boxes().back().text.startsWith(QLatin1String("Cannot write to file")))
        << boxes().back().text.toStdString();
    EXPECT_EQ(rows(), before);
    EXPECT_TRUE(catalog().newElementShown()) << "the entries stay for another try";
    for (const CatalogGroup& g : catalog().groups())
        for (const CatalogElement& e : g.items)
            EXPECT_NE(e.name, QStringLiteral("Blocked"));
}

// ------------------------------------------------------------------ the units catalog

TEST(UnitsCatalogRules, KeysAndFamilies) {
    EXPECT_EQ(UnitsCatalog::brisantKey(QStringLiteral("Brisant AX 20 - E")),
              QStringLiteral("Brisant AX 20"));
    EXPECT_EQ(UnitsCatalog::brisantKey(QStringLiteral("AX 20 - E")), QStringLiteral("AX 20"));
    EXPECT_EQ(UnitsCatalog::brisantKey(QStringLiteral("MK 50 - E")), QStringLiteral("MK 50 - E"));
    EXPECT_EQ(UnitsCatalog::brisantKey(QStringLiteral("Destratifikátor K1")),
              QStringLiteral("Destratifikátor K1"));
    EXPECT_EQ(UnitsCatalog::brisantKey(QStringLiteral("-x")), QString());
    struct Case {
        const char* node;
        const char* key;
        bool matched;
    };
    for (const Case& c :
         {Case{"Brisant Blenda AX 25 M - E", "BLENDA", true}, Case{"Brisant AX 10 - S", "AX", true},
          Case{"Brisant RD 30 - E", "RD", true}, Case{"MK 20 - E", "MK-I", true},
          Case{"Destratifikátor K2", "K", true},
          Case{"Heating of halls", "Heating of halls", false}}) {
        bool matched = false;
        EXPECT_EQ(UnitsCatalog::familyKey(QString::fromUtf8(c.node), &matched),
                  QString::fromUtf8(c.key));
        EXPECT_EQ(matched, c.matched) << c.node;
    }
    EXPECT_EQ(UnitsCatalog::familyColumns(QStringLiteral("K")),
              (QStringList{"A", "R", "Netto", "Brutto"}));
    EXPECT_TRUE(UnitsCatalog::familyColumns(QStringLiteral("RD")).contains(QStringLiteral("B2")));
    EXPECT_FALSE(UnitsCatalog::familyColumns(QStringLiteral("RD")).contains(QStringLiteral("B1")));
    for (const char* f : {"BLENDA", "AX", "RD", "MK-I", "K"})
        EXPECT_EQ(UnitsCatalog::familyColumns(QLatin1String(f)).first(), QStringLiteral("A"));
}

TEST(UnitsCatalogRules, TreeFilesAndPictures) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("tv.txt"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xef\xbb\xbfRoot\r\n\tChild 1\n  Grandchild\n\n\t\t\t\tToo deep\n Child 2\nSecond\n");
    f.close();
    QStandardItemModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_TRUE(UnitsCatalog::loadTree(file, model));
    ASSERT_EQ(model.rowCount(), 2);
    const QModelIndex root = model.index(0, 0);
    EXPECT_EQ(root.data().toString(), QStringLiteral("Root"));
    ASSERT_EQ(model.rowCount(root), 2);
    const QModelIndex child = model.index(0, 0, root);
    ASSERT_EQ(model.rowCount(child), 1);
    const QModelIndex grand = model.index(0, 0, child);
    EXPECT_EQ(grand.data().toString(), QStringLiteral("Grandchild"));
    EXPECT_EQ(model.index(0, 0, grand).data().toString(), QStringLiteral("Too deep"))
        << "a line deeper than the next level goes under the last node";
    EXPECT_EQ(model.index(1, 0, root).data().toString(), QStringLiteral("Child 2"));
    EXPECT_FALSE(UnitsCatalog::loadTree(dir.filePath(QStringLiteral("none.txt")), model));

    // Pictures: a bitmap name stands for the SVG or PNG of its base name.
    QFile(dir.filePath(QStringLiteral("legend.svg"))).open(QIODevice::WriteOnly);
    QFile(dir.filePath(QStringLiteral("photo.jpg"))).open(QIODevice::WriteOnly);
    EXPECT_EQ(resolvePictureFile(dir.filePath(QStringLiteral("legend.bmp"))),
              dir.filePath(QStringLiteral("legend.svg")));
    EXPECT_EQ(resolvePictureFile(dir.filePath(QStringLiteral("photo.jpg"))),
              dir.filePath(QStringLiteral("photo.jpg")));
    EXPECT_TRUE(resolvePictureFile(dir.path() + QLatin1Char('/')).isEmpty()) << "a folder";
    EXPECT_TRUE(resolvePictureFile(QString()).isEmpty());
    PictureMemory p;
    EXPECT_TRUE(LoadPictureOnce(dir.filePath(QStringLiteral("legend.bmp")), p));
    EXPECT_TRUE(LoadPictureOnce(dir.filePath(QStringLiteral("legend.svg")), p));
    EXPECT_EQ(p.loads, 1) << "the same file is not loaded twice in a row";
    EXPECT_TRUE(LoadPictureOnce(dir.filePath(QStringLiteral("photo.jpg")), p));
    EXPECT_EQ(p.loads, 2);
    EXPECT_FALSE(LoadPictureOnce(dir.filePath(QStringLiteral("missing.bmp")), p));
    EXPECT_TRUE(p.file.isEmpty()) << "cleared and forgotten";
    EXPECT_TRUE(LoadPictureOnce(dir.filePath(QStringLiteral("photo.jpg")), p));
    EXPECT_EQ(p.loads, 3);
}

TEST_F(CatalogTest, UnitsCatalogShowsATypeAndItsFamily) {
    UnitsCatalog& uc = session->unitsCatalog();
    QAbstractItemModelTester tester(&uc.tree(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    session->openUnitsCatalog();
    EXPECT_EQ(uc.tree().index(0, 0).data().toString(), QStringLiteral("Brisant warm-air units"));
    EXPECT_TRUE(uc.familyName().isEmpty());

    uc.selectNode(QStringLiteral("Brisant AX 20 - S"));
    EXPECT_EQ(uc.familyName(), QStringLiteral("Brisant AX warm-air units"));
    EXPECT_FALSE(uc.description().isEmpty());
    EXPECT_TRUE(uc.photo().file.endsWith(QLatin1String("Images/foto_ax.svg")));
    EXPECT_EQ(uc.dimensionType(), QStringLiteral("Brisant AX 20 - S"));
    ASSERT_TRUE(uc.specVisible());
    ASSERT_EQ(uc.specLines().size(), 8u);
    EXPECT_EQ(uc.specLines()[0].caption, QStringLiteral("Effective heat output"));
    EXPECT_EQ(uc.specLines()[0].value, QStringLiteral("20.1 kW"));
    EXPECT_EQ(uc.specLines()[2].value, QStringLiteral("1,800 m3/h"));
    EXPECT_EQ(uc.specLines()[4].value, QStringLiteral("16 m"));
    EXPECT_EQ(uc.specLines()[5].value, QStringLiteral("33 \u00b0C"));
    EXPECT_TRUE(uc.drawing().file.endsWith(QLatin1String("Images/Sizes/ax20_sizes.svg")));
    EXPECT_TRUE(uc.tabVelocityVisible());
    EXPECT_TRUE(uc.tabTemperatureVisible());
    EXPECT_TRUE(uc.velocityLegend().file.endsWith(QLatin1String("legenda_r.svg")));
    EXPECT_TRUE(uc.visibleColumns().contains(QStringLiteral("B1")));
    EXPECT_FALSE(uc.visibleColumns().contains(QStringLiteral("O")));

    // MK is looked up unchanged, and has no range: seven lines, the legend of MK.
    uc.selectNode(QStringLiteral("MK 50 - E"));
    ASSERT_TRUE(uc.specVisible());
    ASSERT_EQ(uc.specLines().size(), 7u);
    EXPECT_EQ(uc.specLines()[4].caption,
              QStringLiteral("Increase in air temperature (at maximum output)"));
    EXPECT_TRUE(uc.velocityLegend().file.endsWith(QLatin1String("legenda_r_mk.svg")));
    EXPECT_EQ(uc.visibleColumns(), UnitsCatalog::familyColumns(QStringLiteral("MK-I")));

    // A destratifier: no air pictures (their tabs hide), no technical data.
    const int photoLoads = uc.photo().loads;
    uc.selectNode(QStringLiteral("Destratifikátor K1"));
    EXPECT_FALSE(uc.tabVelocityVisible());
    EXPECT_FALSE(uc.tabTemperatureVisible());
    EXPECT_TRUE(uc.velocity().file.isEmpty());
    EXPECT_FALSE(uc.specVisible());
    EXPECT_EQ(uc.visibleColumns(), (QStringList{"A", "R", "Netto", "Brutto"}));
    uc.selectNode(QStringLiteral("Destratifikátor K2"));
    EXPECT_EQ(uc.photo().loads, photoLoads + 1) << "one family, one photo loaded";

    // A group node: no dimension row (everything there stays), a family found
    // by its text or not.
    const QString drawing = uc.drawing().file;
    const QString description = uc.description();
    uc.selectNode(QStringLiteral("Heating of production halls"));
    EXPECT_EQ(uc.drawing().file, drawing);
    EXPECT_EQ(uc.visibleColumns(), (QStringList{"A", "R", "Netto", "Brutto"}));
    EXPECT_EQ(uc.description(), description) << "no family: the description stays";
    EXPECT_TRUE(uc.photo().file.isEmpty()) << "and the photo is cleared";
    EXPECT_FALSE(uc.specVisible());

    // Closing closes tBrisantRozmery; showing again keeps the type.
    session->unitsCatalogClosed();
    EXPECT_FALSE(data->tRozmery.active());
    session->openUnitsCatalog();
    EXPECT_EQ(uc.dimensionType(), QStringLiteral("Destratifikátor K2"));
}

class UnitsCatalogDataTest : public CatalogTest {
protected:
    void prepareReference() override {
        sql(reference, QStringLiteral("UPDATE tBrisant SET Dosah = '', dB = '', dp = '' WHERE "
                                      "Typ = 'Brisant AX 10'"));
        sql(reference, QStringLiteral("UPDATE tBrisant SET dB = '', dp = '' WHERE "
                                      "Typ = 'Brisant AX 15'"));
        sql(reference, QStringLiteral("UPDATE tBrisant SET dp = '' WHERE Typ = 'Brisant AX 20'"));
    }
};

TEST_F(UnitsCatalogDataTest, OptionalTechnicalDataLines) {
    UnitsCatalog& uc = session->unitsCatalog();
    const std::pair<const char*, size_t> cases[] = {
        {"Brisant AX 10 - S", 5}, {"Brisant AX 15 - S", 6}, {"Brisant AX 20 - S", 7}};
    for (const auto& [node, lines] : cases) {
        uc.selectNode(QLatin1String(node));
        ASSERT_EQ(uc.specLines().size(), lines) << node;
        bool temperature = false;
        for (const SpecLine& l : uc.specLines())
            temperature |= l.caption == LanguageText(1515);
        EXPECT_TRUE(temperature) << "never without the increase in air temperature";
    }
}

TEST_F(CatalogTest, UnitsCatalogViewsAndLanguages) {
    UnitsCatalog& uc = session->unitsCatalog();
    uc.chooseView(UnitsCatalog::ByApplication);
    EXPECT_EQ(uc.tree().index(0, 0).data().toString(),
              QStringLiteral("Heating of production halls"));
    uc.chooseView(UnitsCatalog::ByType);
    EXPECT_EQ(uc.tree().index(0, 0).data().toString(), QStringLiteral("Brisant warm-air units"));
    uc.selectNode(QStringLiteral("Brisant RD 30 - E"));
    const QString nameEN = uc.familyName();

    session->switchLanguage(BaseCZ);
    EXPECT_NE(uc.familyName(), nameEN) << "the label follows the column of the language";
    EXPECT_EQ(uc.familyName(), QStringLiteral("Teplovzdušné jednotky Brisant RD"));
    EXPECT_NE(uc.tree().index(0, 0).data().toString(), QStringLiteral("Brisant warm-air units"));
    EXPECT_FALSE(uc.specLines().empty()) << "the lines stay until another node is chosen";
    EXPECT_EQ(uc.specLines()[0].caption, QStringLiteral("Effective heat output"));

    // Base 50000 reads the RU files and the re-encoded name column, shown readable.
    setSystemCodePage(1250);
    session->switchLanguage(BaseRU);
    setSystemCodePage(0);
    ASSERT_EQ(LanguageBase, BaseRU1250);
    EXPECT_EQ(UnitsCatalog::treeFile(UnitsCatalog::ByType), QStringLiteral("DB/tvRU.txt"));
    QFile ru(AppPath + QStringLiteral("DB/tvRU.txt"));
    ASSERT_TRUE(ru.open(QIODevice::ReadOnly));
    EXPECT_EQ(uc.tree().index(0, 0).data().toString(), QString::fromUtf8(ru.readLine()).trimmed());
    EXPECT_TRUE(uc.familyName().contains(QStringLiteral("Brisant RD")));
    EXPECT_TRUE(uc.familyName().at(0).unicode() >= 0x0400) << uc.familyName().toStdString();

    // A language without tree files keeps the tree it has.
    const QString first = uc.tree().index(0, 0).data().toString();
    session->switchLanguage(BaseSL);
    EXPECT_EQ(uc.tree().index(0, 0).data().toString(), first);
    session->switchLanguage(BaseEN);
}

// ------------------------------------------------------------------ documents

class DocumentsTest : public CatalogTest {
protected:
    void SetUp() override {
        CatalogTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        programFolder = AppPath;
        AppPath = withTrailingSlash(folder.path());
        setDocumentOpener([this](const QString& path) {
            opened << path;
            return QFileInfo(path).isFile();
        });
    }
    void TearDown() override {
        AppPath = programFolder;
        CatalogTest::TearDown();
    }
    void put(const QString& rel) {
        QDir(folder.path()).mkpath(QFileInfo(folder.filePath(rel)).path());
        QFile f(folder.filePath(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("%PDF-1.4\n");
    }
    QTemporaryDir folder;
    QString programFolder;
    QStringList opened;
};

TEST_F(DocumentsTest, TheMenuList) {
    const auto technical = documentCommands(DocumentGroup::Technical);
    const auto leaflets = documentCommands(DocumentGroup::Leaflets);
    ASSERT_EQ(technical.size(), 12u);
    ASSERT_EQ(leaflets.size(), 4u);
    QList<int> ids;
    for (size_t i = 0; i < technical.size(); ++i) {
        EXPECT_EQ(technical[i]->separatorBefore, i == 8) << "before the four appendices";
        EXPECT_EQ(technical[i]->folder, QStringLiteral("PDF/Sarvin/"));
        if (technical[i]->captionId)
            ids << technical[i]->captionId;
        else
            EXPECT_FALSE(technical[i]->caption().isEmpty());
    }
    EXPECT_EQ(ids, (QList<int>{106, 107, 108, 109, 110, 111, 112, 113}));
    EXPECT_EQ(technical[0]->command, QStringLiteral("acBrisant_AX_TD"));
    EXPECT_EQ(technical[0]->caption(), QStringLiteral("Brisant AX - technical documentation"));
    ids.clear();
    for (const DocumentCommand* d : leaflets) {
        EXPECT_EQ(d->folder, QStringLiteral("PDF/Prospekty/"));
        EXPECT_FALSE(d->separatorBefore);
        if (d->captionId)
            ids << d->captionId;
    }
    EXPECT_EQ(ids, (QList<int>{114, 115}));
    EXPECT_EQ(findDocumentCommand(QStringLiteral("acLetak_MK")), leaflets[2]);
    EXPECT_EQ(findDocumentCommand(QStringLiteral("acKatalogProjDoc")), nullptr);
}

TEST_F(DocumentsTest, TheLanguageOfTheDocumentAndTheCzechFallback) {
    const DocumentCommand& both = *findDocumentCommand(QStringLiteral("acBrisant_AX_TD"));
    const DocumentCommand& czech = *findDocumentCommand(QStringLiteral("acBrisant_RD_TD"));
    const DocumentCommand& none = *findDocumentCommand(QStringLiteral("acLetak_MK"));
    put(QStringLiteral("PDF/Sarvin/Brisant_AX_TD_EN.pdf"));
    put(QStringLiteral("PDF/Sarvin/Brisant_AX_TD_CZ.pdf"));
    put(QStringLiteral("PDF/Sarvin/Brisant_RD_TD_CZ.pdf"));
    put(QStringLiteral("PDF/Sarvin/Brisant_RD_TD_RU.pdf"));
    EXPECT_TRUE(DocumentExists(QStringLiteral("Brisant_AX_TD"), QStringLiteral("EN"),
                               QStringLiteral("PDF/Sarvin"), QStringLiteral("pdf")));
    EXPECT_FALSE(DocumentExists(QStringLiteral("Brisant_AX_TD"), QStringLiteral("EN"),
                                QStringLiteral("PDF/Sarvin"), QStringLiteral("PDF")));

    // English: both exist, the English one opens, no flag.
    EXPECT_FALSE(documentShowsFlag(both));
    CommandHandlers h;
    registerSessionCommands(h, *session);
    ASSERT_TRUE(h.run(both.command));
    EXPECT_EQ(opened.last(), AppPath + QStringLiteral("PDF/Sarvin/Brisant_AX_TD_EN.pdf"));
    // Only Czech: it opens, with the flag.
    EXPECT_TRUE(documentShowsFlag(czech));
    h.run(czech.command);
    EXPECT_EQ(opened.last(), AppPath + QStringLiteral("PDF/Sarvin/Brisant_RD_TD_CZ.pdf"));
    EXPECT_TRUE(boxes().empty()) << "the fallback says nothing";
    // Neither: the flag, and 5003 with the path of the Czech file.
    EXPECT_TRUE(documentShowsFlag(none));
    h.run(none.command);
    const QString path = AppPath + QStringLiteral("PDF/Prospekty/Letak_MK_CZ.pdf");
    EXPECT_EQ(opened.last(), path);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes().back().text,
              QStringLiteral("Error during file opening. File not found.\r\n") + path);
    EXPECT_EQ(boxes().back().flags, MbError);
    EXPECT_EQ(boxes().back().caption, QStringLiteral("Zefrant"));

    // Base 50000 uses the files of code RU.
    setSystemCodePage(1250);
    session->switchLanguage(BaseRU);
    setSystemCodePage(0);
    ASSERT_EQ(LanguageBase, BaseRU1250);
    EXPECT_FALSE(documentShowsFlag(czech));
    EXPECT_TRUE(documentShowsFlag(both));
    h.run(czech.command);
    EXPECT_EQ(opened.last(), AppPath + QStringLiteral("PDF/Sarvin/Brisant_RD_TD_RU.pdf"));

    // Czech: every document that exists has no flag.
    session->switchLanguage(BaseCZ);
    for (const DocumentCommand& d : documentCommands())
        EXPECT_EQ(documentShowsFlag(d),
                  !QFileInfo::exists(AppPath + d.folder + d.base + QStringLiteral("_CZ.pdf")))
            << d.base.toStdString();
    session->switchLanguage(BaseEN);
}

TEST_F(DocumentsTest, ProjectDocumentationAndTheDesktopHandler) {
    CommandHandlers h;
    registerSessionCommands(h, *session);
    h.run(QStringLiteral("acKatalogProjDoc"));
    EXPECT_EQ(opened.last(), AppPath + QStringLiteral("PDF/proj-docCZ.pdf"));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes().back().text, LanguageText(5003)) << "the message alone, without the path";
    put(QStringLiteral("PDF/proj-docCZ.pdf"));
    dlg.boxes.clear();
    session->switchLanguage(BaseGE);
    h.run(QStringLiteral("acKatalogProjDoc"));
    EXPECT_EQ(opened.last(), AppPath + QStringLiteral("PDF/proj-docCZ.pdf")) << "in any language";
    EXPECT_TRUE(boxes().empty());
    session->switchLanguage(BaseEN);

    // The desktop's handler is not asked for a file that is not there.
    setDocumentOpener({});
    EXPECT_FALSE(OpenDocument(AppPath + QStringLiteral("PDF/none_EN.pdf")));
    EXPECT_EQ(boxes().back().text, LanguageText(5003) + QStringLiteral("\r\n") + AppPath +
                                       QStringLiteral("PDF/none_EN.pdf"));
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
