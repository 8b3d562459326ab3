// The table of usable unit types and the coverage of the chosen units.
#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/texts.h"
#include "testsupport.h"
#include "units/unittypes.h"

using namespace zf;
using namespace zf::test;

namespace {

class UnitTableTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        file = copyTemplate(QStringLiteral("u.zfp"));
        data->openProjectConnection(file);
        ASSERT_EQ(data->OpenProjectTables(), 0);
    }
    void project(const char* column, const QVariant& v) {
        data->tADOProject.setValue(QLatin1String(column), v);
        data->tADOProject.post();
    }
    QStringList types() {
        QStringList out;
        for (data->tResults.first(); !data->tResults.eof(); data->tResults.next())
            out << data->tResults.asString(QStringLiteral("Typ"));
        return out;
    }
    // A table of our own rows: (type, kW, m3/h).
    void rows(const std::vector<std::tuple<const char*, double, double>>& r) {
        data->ClearTable(data->tResults);
        int id = 1;
        for (const auto& [typ, kw, flow] : r)
            data->tResults.appendRecord({id++, QString::fromUtf8(typ), 0, 0, kw, 0.0, flow});
    }
    void choose(int id, int count) {
        ASSERT_TRUE(data->tResults.locate(QStringLiteral("ID"), id));
        data->tResults.setValue(QStringLiteral("Pocet_jednotek"), count);
        data->tResults.post();
    }
    int required(int id) {
        EXPECT_TRUE(data->tResults.locate(QStringLiteral("ID"), id));
        return data->tResults.asInteger(QStringLiteral("Max_pocet_jednotek"));
    }
    QString file;
};

} // namespace

TEST_F(UnitTableTest, FamiliesInTheirOrder) {
    project("Vetrani_bool", false);
    project("PouziteJednotky", 0);
    BuildUnitTypesTable(*data, 0, 0);
    EXPECT_EQ(types(),
              (QStringList{"Destratifikátor K1", "Destratifikátor K2", "Destratifikátor K3"}));
    data->tResults.first();
    EXPECT_EQ(data->tResults.asInteger(QStringLiteral("ID")), 1);
    data->tResults.last();
    EXPECT_EQ(data->tResults.asInteger(QStringLiteral("ID")), 3);
    EXPECT_EQ(data->tResults.asString(QStringLiteral("Group")), QStringLiteral("K3"));
    EXPECT_DOUBLE_EQ(data->tResults.asFloat(QStringLiteral("Prutok_vzduchu")), 9000);
    EXPECT_TRUE(data->tResults.isNull(QStringLiteral("Tep_vykon")));

    // Ventilation with only AX: MK first, then AX, then the destratifiers.
    project("Vetrani_bool", true);
    project("PouziteJednotky", 1);
    BuildUnitTypesTable(*data, 0, 0);
    QStringList t = types();
    ASSERT_GT(t.size(), 3);
    int i = 0;
    while (i < t.size() && t[i].contains(QLatin1String("MK")))
        ++i;
    EXPECT_GT(i, 0) << "MK types first";
    while (i < t.size() && t[i].contains(QLatin1String("AX")))
        ++i;
    EXPECT_EQ(t.mid(i),
              (QStringList{"Destratifikátor K1", "Destratifikátor K2", "Destratifikátor K3"}));
    for (data->tResults.first(); !data->tResults.eof(); data->tResults.next())
        EXPECT_EQ(data->tResults.asInteger(QStringLiteral("ID")), data->tResults.recNo())
            << "IDs 1, 2, 3 ...";

    // Without ventilation MK comes last and only with its bit; 8 selects AX too.
    project("Vetrani_bool", false);
    project("PouziteJednotky", 8 | 4);
    BuildUnitTypesTable(*data, 0, 0);
    t = types();
    EXPECT_TRUE(t.first().contains(QLatin1String("AX")));
    EXPECT_TRUE(t[t.size() - 4].contains(QLatin1String("MK")));
    EXPECT_FALSE(t.join(QLatin1Char(' ')).contains(QLatin1String("RD")));
}

TEST_F(UnitTableTest, RequiredNumbersAndPercentages) {
    project("Vetrani_bool", false);
    project("Topny_vykon", 20000.0);
    project("Cirkulacni_vykon_m3_hod", 10000.0);
    rows({{"Brisant AX 20", 20, 2000},
          {"Brisant AX 15", 15, 1500},
          {"Destratifikátor K1", 0, 4500}});
    CoverageState s = UpdateCoverage(*data);
    EXPECT_EQ(required(1), 1);
    EXPECT_EQ(required(2), 2) << "20000 / 15000 = 1.33 rounds up";
    EXPECT_EQ(required(3), 3) << "10000 / 4500 = 2.2";
    EXPECT_EQ(s.pHeat, 0);
    EXPECT_EQ(s.textHeat(), formatText(LanguageText(2124), {0, 0.0, 20.0}));

    rows({{"Brisant AX 10", 10, 2000}});
    project("Topny_vykon", 25000.0);
    choose(1, 2);
    s = UpdateCoverage(*data);
    EXPECT_EQ(required(1), 3) << "2 + 0.5 rounds up to 3";
    EXPECT_EQ(s.pHeat, 80);
    EXPECT_EQ(s.units, 2);
    EXPECT_EQ(data->tADOProject.asInteger(QStringLiteral("Pocet_jednotek_celkem")), 2);

    // Halves to even: 62.5 % gives 62, 37.5 % gives 38.
    rows({{"Brisant AX 25", 25, 1000}});
    project("Topny_vykon", 40000.0);
    choose(1, 1);
    EXPECT_EQ(UpdateCoverage(*data).pHeat, 62);
    project("Topny_vykon", 200000.0 / 3.0);
    EXPECT_EQ(UpdateCoverage(*data).pHeat, 38);

    // P = 0: everything required is 0 without ventilation; the bar reports 0 %.
    project("Topny_vykon", 0.0);
    choose(1, 0);
    s = UpdateCoverage(*data);
    EXPECT_EQ(s.pHeat, 0);
    EXPECT_EQ(required(1), 0);
    EXPECT_TRUE(
        s.textHeat().startsWith(QStringLiteral("Covered 0% of heat output (0.00 of 0.00 kW)")))
        << qPrintable(s.textHeat());
}

TEST_F(UnitTableTest, DestratifiersCoverTheCirculation) {
    project("Vetrani_bool", false);
    project("Topny_vykon", 20000.0);
    project("Cirkulacni_vykon_m3_hod", 10000.0);
    rows({{"Brisant AX 20", 20, 2000}, {"Destratifikátor K1", 0, 4500}});
    choose(1, 1);
    CoverageState s = UpdateCoverage(*data);
    EXPECT_EQ(s.pHeat, 100);
    EXPECT_EQ(s.pCirc, 20);
    EXPECT_TRUE(s.hintCirculation);
    EXPECT_FALSE(s.placeButtonRed);
    EXPECT_EQ(required(1), 0) << "the heat is covered";
    EXPECT_EQ(required(2), 2) << "(10000 - 2000) / 4500 = 1.78";
    choose(2, 2);
    s = UpdateCoverage(*data);
    EXPECT_EQ(s.pCirc, 110);
    EXPECT_FALSE(s.hintCirculation);
    EXPECT_EQ(required(2), 0);
    EXPECT_TRUE(s.placeButtonRed);
    EXPECT_EQ(s.destr, 2);
    EXPECT_EQ(data->tADOProject.asInteger(QStringLiteral("Pocet_destrat_celkem")), 2);
    EXPECT_EQ(s.barCirc, 100) << "a bar stops at 100";
}

TEST_F(UnitTableTest, VentilationCountsOnlyMixingUnits) {
    project("Vetrani_bool", true);
    project("Topny_vykon", 20000.0);
    project("Cirkulacni_vykon_m3_hod", 4000.0);
    project("Vetraci_vykon_m3_hod", 3000.0);
    rows({{"Brisant AX 20", 20, 2000}, {"MK 20 - E", 20, 1500}});
    choose(1, 1);
    CoverageState s = UpdateCoverage(*data);
    EXPECT_TRUE(s.ventilation);
    EXPECT_EQ(s.pVent, 0);
    EXPECT_TRUE(s.hintVentilation);
    EXPECT_EQ(required(1), 3)
        << "1 + (3000 - 0) / 2000 = 2.5: the ventilation share counts for every family";
    EXPECT_EQ(required(2), 2);
    choose(2, 2);
    s = UpdateCoverage(*data);
    EXPECT_EQ(s.pVent, 100);
    EXPECT_FALSE(s.hintVentilation);
}

TEST_F(UnitTableTest, CountPickList) {
    EXPECT_EQ(countPickList(0, 0), QStringList{"0"});
    EXPECT_EQ(countPickList(3, 0), (QStringList{"0", "1", "2", "3"}));
    EXPECT_EQ(countPickList(0, 2), (QStringList{"0", "1", "2"}))
        << "N falls back to the chosen number";
    const QStringList big = countPickList(250, 0);
    ASSERT_EQ(big.size(), 101);
    EXPECT_EQ(big[1], QStringLiteral("2"));
    EXPECT_EQ(big[99], QStringLiteral("198"));
    EXPECT_EQ(big.last(), QStringLiteral("250"));
    EXPECT_EQ(roundRequired(2.0), 2);
    EXPECT_EQ(roundRequired(2.01), 3);
    EXPECT_EQ(roundRequired(-0.5), 0) << "towards zero after adding one";
}
