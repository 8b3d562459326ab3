// The automatic placement, the plan's storage in tJednotky and the unit
// properties, on projects made from the template.
#include "common/globals.h"
#include "common/resultcodes.h"
#include "i18n/codepage.h"
#include "i18n/texts.h"
#include "testsupport.h"
#include "units/projectunits.h"
#include "units/unittypes.h"

#include <cmath>
#include <memory>

using namespace zf;
using namespace zf::test;

namespace {

struct Row {
    const char* typ;
    int chosen;
};

struct Expected {
    int kind;
    double x, y;
    int angle;
};

// What the units pages tell their views, written down; the properties dialog
// answers as the test says.
class Recorder : public ViewEvents {
public:
    QStringList events;
    std::function<bool(UnitPropertiesDialog&)> dialog;
    UnitPropertiesDialog* properties = nullptr;
    void pageChanged(Window, int page) override { events << QStringLiteral("page %1").arg(page); }
    void focusControl(Window, const QString& control) override {
        events << QStringLiteral("focus ") + control;
    }
    std::optional<bool> execDialog(Window) override {
        if (!dialog)
            return std::nullopt;
        return dialog(*properties);
    }
};

class UnitsTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        data->openProjectConnection(copyTemplate(QStringLiteral("units.zfp")));
        ASSERT_EQ(data->OpenProjectTables(), ResultOk) << qPrintable(LastError);
        units = std::make_unique<ProjectUnits>(*data, project);
        recorder.properties = &units->propertiesDialog();
        units->setViewEvents(&recorder);
        setProject("Stena_A", 30);
        setProject("Stena_B", 20);
        project.StenaA = 30;
        project.StenaB = 20;
        units->setHallFromProject();
    }
    void TearDown() override {
        units.reset();
        StorageTest::TearDown();
    }

    void setProject(const char* column, const QVariant& v) {
        data->tADOProject.setValue(QString::fromLatin1(column), v);
        data->tADOProject.post();
    }
    // Rows of tTempTable as BuildUnitTypesTable appends them, with chosen numbers;
    // a "Destratifikátor Kn" row gets its group and no heat output.
    void addTypes(const std::vector<Row>& rows) {
        Dataset& t = data->tResults;
        for (const Row& r : rows) {
            const QString typ = QString::fromUtf8(r.typ);
            const bool destr = typ.startsWith(QLatin1String("Destr"));
            t.append();
            t.setValue(QStringLiteral("ID"), ++lastId);
            t.setValue(QStringLiteral("Typ"), typ);
            t.setValue(QStringLiteral("Pocet_jednotek"), r.chosen);
            t.setValue(QStringLiteral("Tep_vykon"), destr ? QVariant() : QVariant(22.5));
            t.setValue(QStringLiteral("Prutok_vzduchu"), 2100);
            t.setValue(QStringLiteral("Dosah"), QStringLiteral("18"));
            t.setValue(QStringLiteral("Group"), destr ? typ.right(2) : QString());
            t.post();
        }
    }
    PlaceResult place(int variant = 0, bool longer = true) {
        UpdateCoverage(*data);
        units->setVariantIndex(variant);
        units->towardsLongerSide = longer;
        return units->PlaceUnits();
    }
    // tJednotky and the symbols hold the expected units, numbered 1, 2, ... in
    // placing order; positions to the two decimals given.
    void expectPlaced(const std::vector<Expected>& expected) {
        Dataset& u = data->tJednotky;
        ASSERT_EQ(u.recordCount(), int(expected.size()));
        ASSERT_EQ(units->plan.count(), int(expected.size()));
        u.first();
        for (size_t i = 0; i < expected.size(); ++i, u.next()) {
            SCOPED_TRACE(testing::Message() << "unit " << i + 1);
            const Expected& e = expected[i];
            EXPECT_EQ(u.asInteger(QStringLiteral("IDJednotky")), int(i) + 1);
            EXPECT_EQ(u.asInteger(QStringLiteral("ObjType")), e.kind);
            EXPECT_NEAR(u.asFloat(QStringLiteral("X")), e.x, 0.005);
            EXPECT_NEAR(u.asFloat(QStringLiteral("Y")), e.y, 0.005);
            EXPECT_EQ(u.asInteger(QStringLiteral("Uhel")), e.angle);
            const PlanSymbol& s = units->plan.object(int(i));
            EXPECT_EQ(s.number, int(i) + 1);
            EXPECT_EQ(s.kind, e.kind);
            EXPECT_NEAR(s.x, e.x, 0.005);
            EXPECT_NEAR(s.y, e.y, 0.005);
            EXPECT_EQ(s.angle, e.angle);
        }
    }

    int lastId = 0;
    TProject project;
    Recorder recorder;
    std::unique_ptr<ProjectUnits> units;
};

using PlacementTest = UnitsTest;
using PlanStorageTest = UnitsTest;
using UnitPropertiesTest = UnitsTest;

constexpr int W = ObjWarmAirUnit, M = ObjMixingUnit, D = ObjDestratifier;

} // namespace

TEST_F(PlacementTest, WorkedExamplesIn30By20Hall) {
    struct Case {
        const char* name;
        std::vector<Row> rows;
        int variant;
        bool longer;
        std::vector<Expected> expected;
    };
    const double mk = 20 / (4.0 / 3 + 1); // 8.57
    const std::vector<Case> cases = {
        {"5 units, variant 1, two rows",
         {{"Brisant AX 20", 3}, {"Brisant RD 30", 2}},
         0,
         true,
         {{W, 5, 0.25, 0},
          {W, 15, 0.25, 0},
          {W, 25, 0.25, 0},
          {W, 20, 19.75, 180},
          {W, 10, 19.75, 180}}},
        {"4 units, variant 1",
         {{"Brisant AX 20", 4}},
         0,
         true,
         {{W, 6, 0.25, 0}, {W, 18, 0.25, 0}, {W, 24, 19.75, 180}, {W, 12, 19.75, 180}}},
        {"5 units, variant 2",
         {{"Brisant AX 20", 5}},
         1,
         true,
         {{W, 5, 0.25, 0}, {W, 10, 0.25, 0}, {W, 15, 0.25, 0}, {W, 20, 0.25, 0}, {W, 25, 0.25, 0}}},
        {"4 units towards the shorter side",
         {{"Brisant AX 20", 4}},
         0,
         false,
         {{W, 0.25, 4, 90}, {W, 0.25, 12, 90}, {W, 29.75, 16, 270}, {W, 29.75, 8, 270}}},
        {"1 unit", {{"Brisant AX 20", 1}}, 1, true, {{W, 0.25, 0.25, 45}}},
        {"2 units, variant 7",
         {{"Brisant AX 20", 2}},
         6,
         true,
         {{W, 0.25, 0.25, 45}, {W, 29.75, 19.75, 225}}},
        {"variant 5 places as variant 1",
         {{"Brisant AX 20", 4}},
         4,
         true,
         {{W, 6, 0.25, 0}, {W, 18, 0.25, 0}, {W, 24, 19.75, 180}, {W, 12, 19.75, 180}}},
        {"a unit row without the product name",
         {{"Brisant AX 20", 2}, {"Calora AX 30", 1}},
         1,
         true,
         {{W, 7.5, 0.25, 0}, {W, 15, 0.25, 0}, {W, 22.5, 0.25, 0}}},
        {"variant 3, 10 units",
         {{"Brisant AX 20", 4}, {"Brisant AX 25", 6}},
         2,
         true,
         {{W, 0.25, 0.25, 45},
          {W, 10, 0.25, 0},
          {W, 20, 0.25, 0},
          {W, 29.75, 0.25, 315},
          {W, 29.75, 6.92, 270},
          {W, 29.75, 13.58, 270},
          {W, 19.75, 19.75, 180},
          {W, 9.75, 19.75, 180},
          {W, 0.25, 13.08, 90},
          {W, 0.25, 6.42, 90}}},
        {"variant 3, 3 units",
         {{"Brisant AX 20", 3}},
         2,
         true,
         {{W, 0.25, 0.25, 45}, {W, 29.75, 0.25, 315}, {W, 29.75, 19.75, 225}}},
        {"4 MK units after the wall units",
         {{"MK 40 - E", 1}, {"Brisant AX 20", 1}, {"MK 60 - E", 3}},
         0,
         true,
         {{W, 0.25, 0.25, 45},
          {M, 7.5, mk, 0},
          {M, 15, mk, 0},
          {M, 22.5, mk, 0},
          {M, 7.5, 2 * mk, 0}}},
        {"destratifiers K1 and twice K3 in rows of two",
         {{"Destratifikátor K1", 1}, {"Destratifikátor K2", 0}, {"Destratifikátor K3", 2}},
         0,
         true,
         {{D, 10, 8, 0}, {D, 20, 8, 0}, {D, 10, 16, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        data->ClearTable(data->tResults);
        addTypes(c.rows);
        dlg.answers = {IdYes}; // replacing the previous case's plan
        ASSERT_EQ(place(c.variant, c.longer), PlaceResult::Placed);
        expectPlaced(c.expected);
    }
    EXPECT_NEAR(mk, 8.57, 0.005);
}

TEST_F(PlacementTest, PlacedRowsCarryTheTypeDataAndDefaultChoices) {
    setProject("Ucinnost_regulace_enum", 4);
    setProject("Vyska_jednotek", 3.5);
    setProject("Vyska_destrat", 8);
    addTypes({{"Brisant AX 20", 1}, {"MK 40 - E", 1}, {"Destratifikátor K1", 1}});
    ASSERT_EQ(place(0), PlaceResult::Placed);

    Dataset& u = data->tJednotky;
    auto choices = [&] {
        QString s;
        for (UnitProperty p : AllUnitProperties)
            s += QString::number(u.asInteger(unitPropertyIndexColumn(p))) + QLatin1Char(' ');
        return s.trimmed();
    };
    u.first();
    EXPECT_EQ(u.asString(QStringLiteral("Typ")), QStringLiteral("Brisant AX 20"));
    EXPECT_EQ(u.asInteger(QStringLiteral("Tep_vykon")), 22) << "whole kW, halves to even";
    EXPECT_DOUBLE_EQ(u.asFloat(QStringLiteral("Prutok_vzduchu")), 2100);
    EXPECT_EQ(u.asString(QStringLiteral("Dosah")), QStringLiteral("18"));
    EXPECT_DOUBLE_EQ(u.asFloat(QStringLiteral("Z")), 3.5);
    EXPECT_EQ(choices(), QStringLiteral("0 0 0 4")) << "the project's control method";
    EXPECT_EQ(u.asString(QStringLiteral("Zpusob_regulace_textEN")),
              QStringLiteral("Two-stage with thermostat"));
    u.next();
    EXPECT_EQ(choices(), QStringLiteral("2 4 2 4"));
    EXPECT_EQ(u.asString(QStringLiteral("Odvod_spalin_textEN")),
              QStringLiteral("Into the roof - option 1"));
    u.next();
    EXPECT_EQ(choices(), QStringLiteral("3 -1 -1 -1"));
    EXPECT_EQ(u.asString(QStringLiteral("Odvod_spalin_textEN")), QString());
    EXPECT_TRUE(u.isNull(QStringLiteral("Tep_vykon")));
    EXPECT_DOUBLE_EQ(u.asFloat(QStringLiteral("Z")), 8);
}

TEST_F(PlacementTest, ChecksAndQuestions) {
    addTypes({{"Brisant AX 20", 0}, {"Destratifikátor K1", 0}});
    EXPECT_EQ(place(), PlaceResult::NothingChosen);
    EXPECT_EQ(dlg.last().text, LanguageText(5011));
    EXPECT_EQ(dlg.last().caption, QStringLiteral("Zefrant"));
    EXPECT_EQ(dlg.last().flags, MbWarning);

    // The unit height is asked about also when only destratifiers are chosen.
    data->tResults.last();
    data->tResults.setValue(QStringLiteral("Pocet_jednotek"), 1);
    setProject("Vyska_jednotek", 0);
    setProject("Vyska_destrat", -1);
    EXPECT_EQ(place(), PlaceResult::NoUnitHeight);
    EXPECT_EQ(dlg.last().text, LanguageText(5012));
    EXPECT_EQ(dlg.last().flags, MbWarningYesNo);
    EXPECT_EQ(recorder.events.last(), QStringLiteral("focus DBEd_VyskaJednotek"));
    dlg.answers = {IdYes, IdNo};
    EXPECT_EQ(place(), PlaceResult::NoDestratifierHeight);
    EXPECT_EQ(dlg.last().text, LanguageText(5013));
    EXPECT_EQ(recorder.events.last(), QStringLiteral("focus DBEd_VyskaDestrat"));
    EXPECT_EQ(data->tJednotky.recordCount(), 0);

    dlg.answers = {IdYes, IdYes};
    ASSERT_EQ(place(), PlaceResult::Placed);
    data->tJednotky.first();
    EXPECT_DOUBLE_EQ(data->tJednotky.asFloat(QStringLiteral("Z")), -1) << "placed as it is";
}

TEST_F(PlacementTest, ANonEmptyPlanIsReplacedOnlyAfterYes) {
    addTypes({{"Brisant AX 20", 4}});
    ASSERT_EQ(place(), PlaceResult::Placed);
    EXPECT_EQ(recorder.events.last(), QStringLiteral("page 2")) << "the plan page is shown";
    EXPECT_TRUE(dlg.boxes.empty());
    data->tJednotky.first();
    SetUnitChoice(UnitProperty::Location, 4, data->tJednotky);
    data->tJednotky.post();
    data->tResults.first();
    data->tResults.setValue(QStringLiteral("Pocet_jednotek"), 5);

    EXPECT_EQ(place(), PlaceResult::Declined);
    EXPECT_EQ(dlg.last().text, LanguageText(5014));
    EXPECT_EQ(recorder.events.last(), QStringLiteral("page 1")) << "back to the selection";
    EXPECT_EQ(units->plan.count(), 4);
    data->tJednotky.first();
    EXPECT_EQ(data->tJednotky.asInteger(QStringLiteral("Umisteni_enum")), 4);

    dlg.answers = {IdYes};
    EXPECT_EQ(place(), PlaceResult::Placed);
    EXPECT_EQ(units->plan.count(), 5);
    data->tJednotky.first();
    EXPECT_EQ(data->tJednotky.asInteger(QStringLiteral("Umisteni_enum")), 0);
}

TEST_F(PlacementTest, VariantIsStoredAndRestored) {
    Modified = false;
    units->setVariantIndex(5);
    EXPECT_TRUE(Modified);
    ProjectUnits fresh(*data, project);
    fresh.restoreVariant();
    EXPECT_EQ(fresh.variantIndex(), 5);
    setProject("Varianta_rozmisteni_enum", 9);
    fresh.restoreVariant();
    EXPECT_EQ(fresh.variantIndex(), 0) << "outside the list: the first entry";
    EXPECT_EQ(ProjectUnits::variantEntries().at(2), QStringLiteral("Varianta 3"));
    EXPECT_EQ(ProjectUnits::variantPictureFile(0), ImagesPath + QStringLiteral("Umisteni1.svg"));
    EXPECT_EQ(ProjectUnits::variantPictureFile(7), QString()) << "no such picture";
}

TEST_F(PlanStorageTest, SymbolsRoundTripThroughTheTable) {
    addTypes({{"Brisant AX 20", 2}, {"MK 40 - E", 1}, {"Destratifikátor K1", 1}});
    ASSERT_EQ(place(1), PlaceResult::Placed);
    Dataset& u = data->tJednotky;
    u.first();
    u.setValue(QStringLiteral("Uhel"), 89.5); // whole degrees, halves to even
    u.next();
    u.setValue(QStringLiteral("Uhel"), 90.5);
    u.post();

    ProjectUnits reopened(*data, project);
    reopened.showProject();
    const PlanView& plan = reopened.plan;
    ASSERT_EQ(plan.count(), 4);
    EXPECT_EQ(plan.zoomText(), QStringLiteral("100"));
    EXPECT_EQ(plan.object(0).angle, 90);
    EXPECT_EQ(plan.object(1).angle, 90);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(plan.object(i).number, i + 1);
        EXPECT_EQ(plan.object(i).kind, units->plan.object(i).kind);
        EXPECT_FLOAT_EQ(plan.object(i).x, units->plan.object(i).x);
        EXPECT_FLOAT_EQ(plan.object(i).y, units->plan.object(i).y);
        EXPECT_EQ(plan.object(i).typeText, units->plan.object(i).typeText);
    }
}

TEST_F(PlanStorageTest, DroppedUnitsAreWrittenBackByNumber) {
    addTypes({{"Brisant AX 20", 10}});
    ASSERT_EQ(place(2), PlaceResult::Placed);
    units->StoreObjectsToTable(); // the floats of the plan, 20/3 and so on
    Modified = false;
    units->StoreObjectsToTable();
    EXPECT_FALSE(Modified) << "an unchanged plan changes nothing";

    PlanView& plan = units->plan;
    plan.DropObject(0, 12.3, 0.7); // symbol 1 goes to the end of the list
    EXPECT_TRUE(Modified);
    Dataset& u = data->tJednotky;
    ASSERT_TRUE(u.locate(QStringLiteral("IDJednotky"), 3));
    u.deleteRecord();
    u.last();
    units->storePlanIfChanged();
    EXPECT_FALSE(plan.PlanChanged);
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_EQ(dlg.last().text, QStringLiteral("ID 3 not found"));
    EXPECT_EQ(u.asInteger(QStringLiteral("IDJednotky")), 10) << "back on the remembered row";
    ASSERT_TRUE(u.locate(QStringLiteral("IDJednotky"), 1));
    EXPECT_DOUBLE_EQ(u.asFloat(QStringLiteral("X")), 12);
    EXPECT_DOUBLE_EQ(u.asFloat(QStringLiteral("Y")), 0.25);
    EXPECT_DOUBLE_EQ(u.asFloat(QStringLiteral("Uhel")), 0);
}

TEST_F(UnitPropertiesTest, ChoiceTextsByLanguage) {
    Dataset& u = data->tJednotky;
    u.append();
    u.setValue(QStringLiteral("Odvod_spalin_textRU"), QStringLiteral("kept"));
    u.setValue(QStringLiteral("Odvod_spalin_textSL"), QStringLiteral("old"));
    SetUnitChoice(UnitProperty::FlueGasExhaust, 6, u);
    EXPECT_EQ(u.asInteger(QStringLiteral("Odvod_spalin_enum")), 6);
    EXPECT_EQ(u.asString(QStringLiteral("Odvod_spalin_textEN")), QStringLiteral("Other"));
    EXPECT_EQ(u.asString(QStringLiteral("Odvod_spalin_textCZ")), QStringLiteral("jiný"));
    EXPECT_EQ(u.asString(QStringLiteral("Odvod_spalin_textGE")), QStringLiteral("andere"));
    EXPECT_EQ(u.asString(QStringLiteral("Odvod_spalin_textPL")), QStringLiteral("inne"));
    EXPECT_EQ(u.asString(QStringLiteral("Odvod_spalin_textRU")), QStringLiteral("kept"));
    EXPECT_EQ(u.asString(QStringLiteral("Odvod_spalin_textSL")), QString());

    setLanguage(BaseRU);
    SetUnitChoice(UnitProperty::Location, 3, u);
    const QString cyrillic = u.asString(QStringLiteral("Umisteni_textRU"));
    ASSERT_FALSE(cyrillic.isEmpty());
    EXPECT_TRUE(cyrillic.at(0).unicode() >= 0x0400 && cyrillic.at(0).unicode() <= 0x04ff);
    setLanguage(BaseRU1250);
    SetUnitChoice(UnitProperty::Location, 3, u);
    EXPECT_EQ(u.asString(QStringLiteral("Umisteni_textRU")), reencode1251As1250(cyrillic));
    EXPECT_NE(u.asString(QStringLiteral("Umisteni_textRU")), cyrillic);

    SetUnitChoice(UnitProperty::Location, -1, u);
    EXPECT_EQ(u.asInteger(QStringLiteral("Umisteni_enum")), -1);
    EXPECT_EQ(u.asString(QStringLiteral("Umisteni_textEN")),
              QStringLiteral("Suspending under the ceiling"))
        << "a negative index writes only the index";
}

TEST_F(UnitPropertiesTest, OkMovesAndTurnsTheSymbolCancelDiscards) {
    addTypes({{"Brisant AX 20", 2}});
    ASSERT_EQ(place(1), PlaceResult::Placed);
    PlanView& plan = units->plan;
    plan.DropObject(0, 20.2, 10.4); // unit 1, now last, at (20, 10)
    double seenX = 0;
    recorder.dialog = [&](UnitPropertiesDialog& d) {
        seenX = d.row().asFloat(QStringLiteral("X"));
        EXPECT_EQ(d.number(), 1);
        EXPECT_TRUE(d.setNumber(QStringLiteral("X"), 5));
        EXPECT_TRUE(d.setNumber(QStringLiteral("Uhel"), 90.5));
        EXPECT_FALSE(d.setNumber(QStringLiteral("Y"), 1e10));
        return true;
    };
    units->ShowUnitProperties(1);
    EXPECT_DOUBLE_EQ(seenX, 20) << "the plan is stored before the dialog opens";
    EXPECT_FLOAT_EQ(plan.object(1).x, 5);
    EXPECT_FLOAT_EQ(plan.object(1).y, 10);
    EXPECT_EQ(plan.object(1).angle, 90) << "90.5 rounds to the even 90";

    recorder.dialog = [&](UnitPropertiesDialog& d) {
        d.choose(UnitProperty::Location, 4);
        d.setNumber(QStringLiteral("X"), 7);
        return false;
    };
    units->ShowUnitProperties(1);
    Dataset& u = data->tJednotky;
    u.refresh();
    ASSERT_TRUE(u.locate(QStringLiteral("IDJednotky"), 1));
    EXPECT_EQ(u.asInteger(QStringLiteral("Umisteni_enum")), 0);
    EXPECT_EQ(u.asString(QStringLiteral("Umisteni_textEN")),
              QStringLiteral("Cantilever fixed + hinged"));
    EXPECT_DOUBLE_EQ(u.asFloat(QStringLiteral("X")), 5);
    EXPECT_FLOAT_EQ(plan.object(1).x, 5);
}

TEST_F(UnitPropertiesTest, DestratifierListsAndMissingRows) {
    addTypes({{"Brisant AX 20", 1}, {"Destratifikátor K1", 1}});
    ASSERT_EQ(place(1), PlaceResult::Placed);
    int opened = 0;
    recorder.dialog = [&](UnitPropertiesDialog& d) {
        ++opened;
        EXPECT_TRUE(d.listEnabled(UnitProperty::Location));
        EXPECT_FALSE(d.listEnabled(UnitProperty::FlueGasExhaust));
        EXPECT_FALSE(d.listEnabled(UnitProperty::AirSupply));
        EXPECT_FALSE(d.listEnabled(UnitProperty::ControlMethod));
        return false;
    };
    units->ShowUnitProperties(1);
    EXPECT_EQ(opened, 1);

    data->tJednotky.first();
    data->tJednotky.deleteRecord();
    units->ShowUnitProperties(0);
    EXPECT_EQ(opened, 1);
    ASSERT_EQ(dlg.boxes.size(), 2u);
    EXPECT_EQ(dlg.boxes[0].text, QStringLiteral("ID 1 not found"));
    EXPECT_EQ(dlg.boxes[1].text, QStringLiteral("Object not found"));
}

TEST_F(UnitPropertiesTest, ListPagePicturesFollowTheCurrentRow) {
    addTypes({{"Brisant AX 20", 1}, {"Destratifikátor K1", 1}});
    ASSERT_EQ(place(1), PlaceResult::Placed);
    Dataset& u = data->tJednotky;
    u.first();
    SetUnitChoice(UnitProperty::Location, 2, u);
    u.post();
    units->plan.DropObject(0, 10, 10);
    units->activateListPage();
    EXPECT_FALSE(units->plan.PlanChanged) << "a changed plan is stored first";
    EXPECT_EQ(units->locationPicture().file(), ImagesPath + QStringLiteral("Montaz3.svg"));
    EXPECT_EQ(units->flueGasPicture().file(), ImagesPath + QStringLiteral("Odvod1.svg"));
    EXPECT_TRUE(units->locationPicture().exists()) << "the build draws the mounting pictures";

    SetUnitChoice(UnitProperty::FlueGasExhaust, 5, u);
    const ProjectUnits::ListPictures changed = units->refreshUnitPictures();
    EXPECT_FALSE(changed.locationChanged) << "the same file is not loaded again";
    EXPECT_TRUE(changed.flueGasChanged);
    u.cancel();
    u.last();
    units->refreshUnitPictures();
    EXPECT_EQ(units->locationPicture().file(), ImagesPath + QStringLiteral("Dest.svg"));
    EXPECT_EQ(units->flueGasPicture().file(), ImagesPath + QStringLiteral("Sizes/Rozv1.svg"));
}

TEST_F(PlacementTest, AFailedPlacementKeepsTheSymbolsWithTheirNumbers) {
    addTypes({{"Brisant AX 20", 3}});
    ASSERT_EQ(place(1), PlaceResult::Placed);
    units->plan.DropObject(0, 12.3, 0.7); // unit 1 goes to the end: 2, 3, 1
    sql(data->projectConnection().path(), QStringLiteral("DROP TABLE tJednotky"));
    dlg.answers = {IdYes};
    EXPECT_ANY_THROW(place(1));
    ASSERT_EQ(units->plan.count(), 3);
    EXPECT_EQ(units->plan.object(0).number, 2);
    EXPECT_EQ(units->plan.object(1).number, 3);
    EXPECT_EQ(units->plan.object(2).number, 1) << "each symbol keeps the row it belongs to";
    EXPECT_FLOAT_EQ(units->plan.object(2).x, 12);
}

TEST_F(PlanStorageTest, UndoAndRedoOfMovesAndTheSavedState) {
    addTypes({{"Brisant AX 20", 3}});
    ASSERT_EQ(place(1), PlaceResult::Placed);
    PlanView& plan = units->plan;
    PlanHistory& history = units->history;
    EXPECT_EQ(history.count(), 0) << "a placement starts the history again";
    Modified = false; // as after a save
    history.projectSaved();
    const PlanSymbol first = plan.object(0);

    plan.DropObject(0, 12.3, 0.7);
    EXPECT_TRUE(Modified);
    ASSERT_TRUE(history.canUndo());
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(plan.object(0).number, 1) << "back in its place in the list";
    EXPECT_FLOAT_EQ(plan.object(0).x, first.x);
    EXPECT_FLOAT_EQ(plan.object(0).y, first.y);
    EXPECT_EQ(plan.object(0).angle, first.angle);
    EXPECT_TRUE(history.isClean());
    EXPECT_FALSE(Modified) << "back at the saved plan with nothing else changed";
    EXPECT_FALSE(plan.PlanChanged);

    ASSERT_TRUE(history.redo());
    EXPECT_EQ(plan.object(2).number, 1);
    EXPECT_FLOAT_EQ(plan.object(2).x, 12);
    EXPECT_FLOAT_EQ(plan.object(2).y, 0.25f);
    EXPECT_TRUE(Modified);
    EXPECT_TRUE(plan.PlanChanged);

    // Once the moved plan reached the file, the saved plan is no longer the
    // file's: stepping back keeps the project modified and the plan to store.
    units->storePlanIfChanged();
    ASSERT_TRUE(history.undo());
    EXPECT_TRUE(history.isClean());
    EXPECT_TRUE(Modified);
    EXPECT_TRUE(plan.PlanChanged);
    units->storePlanIfChanged();
    Dataset& u = data->tJednotky;
    ASSERT_TRUE(u.locate(QStringLiteral("IDJednotky"), 1));
    EXPECT_NEAR(u.asFloat(QStringLiteral("X")), first.x, 1e-5) << "the undone move is stored";

    // A new move drops what was undone.
    ASSERT_TRUE(history.canRedo());
    plan.DropObject(1, 20.2, 10.4);
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.count(), 1);

    // A unit placed by its properties dialog is a step too.
    recorder.dialog = [](UnitPropertiesDialog& d) {
        EXPECT_TRUE(d.setNumber(QStringLiteral("X"), 5));
        return true;
    };
    const int index = 0;
    const float before = plan.object(index).x;
    ASSERT_TRUE(units->ShowUnitProperties(index));
    EXPECT_FLOAT_EQ(plan.object(index).x, 5);
    EXPECT_EQ(history.count(), 2);
    ASSERT_TRUE(history.undo());
    EXPECT_FLOAT_EQ(plan.object(index).x, before);

    dlg.answers = {IdYes};
    ASSERT_EQ(place(1), PlaceResult::Placed);
    EXPECT_EQ(history.count(), 0);
    EXPECT_FALSE(history.isClean()) << "the new plan is not the saved one";
}

TEST_F(UnitPropertiesTest, NumberFieldsRefuseTextAndNumbersOutOfRange) {
    addTypes({{"Brisant AX 20", 1}});
    ASSERT_EQ(place(1), PlaceResult::Placed);
    UnitPropertiesDialog& d = units->propertiesDialog();
    Dataset& u = data->tJednotky;
    u.first();
    d.load();
    QString error;
    EXPECT_FALSE(d.enterNumber(QStringLiteral("X"), QStringLiteral("wide"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("'wide' is not a valid number for X.")))
        << qPrintable(error);
    EXPECT_FALSE(d.enterNumber(QStringLiteral("Y"), 1e10, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("is out of range for Y."))) << qPrintable(error);
    EXPECT_FALSE(d.enterNumber(QStringLiteral("Z"), QStringLiteral("-1e9.5"), &error));
    EXPECT_EQ(u.state(), Dataset::State::Browse) << "nothing refused was written";
    EXPECT_TRUE(d.enterNumber(QStringLiteral("X"), QStringLiteral("999999999"), &error));
    EXPECT_TRUE(d.enterNumber(QStringLiteral("Uhel"), 270, &error));
    EXPECT_DOUBLE_EQ(u.asFloat(QStringLiteral("X")), 999999999);
    EXPECT_DOUBLE_EQ(u.asFloat(QStringLiteral("Uhel")), 270);
    u.cancel();
}

TEST_F(UnitPropertiesTest, ListsShowTheLanguagesTextElseTheIndex) {
    addTypes({{"Brisant AX 20", 1}});
    ASSERT_EQ(place(1), PlaceResult::Placed); // under English: no Russian texts
    Dataset& u = data->tJednotky;
    u.first();
    EXPECT_EQ(shownUnitChoice(u, 0, UnitProperty::Location), 0);
    // A text of the language names its entry, whatever the index says.
    u.setValue(QStringLiteral("Umisteni_textEN"), QStringLiteral("Other"));
    u.post();
    EXPECT_EQ(shownUnitChoice(u, 0, UnitProperty::Location), 4);
    setLanguage(BaseRU);
    EXPECT_TRUE(u.asString(QStringLiteral("Umisteni_textRU")).isEmpty());
    EXPECT_EQ(shownUnitChoice(u, 0, UnitProperty::Location), 0) << "no Russian text: the index";
    setLanguage(BaseEN);
    u.setValue(QStringLiteral("Umisteni_textEN"), QStringLiteral("unknown"));
    u.setValue(QStringLiteral("Umisteni_enum"), 9);
    u.post();
    EXPECT_EQ(shownUnitChoice(u, 0, UnitProperty::Location), -1);
    EXPECT_EQ(shownUnitChoice(u, 1, UnitProperty::Location), -1) << "no such row";
}
