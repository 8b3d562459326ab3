// The building model and the thermal calculation on projects made from the
// template: wall records, geometry, heat losses, required outputs and costs.
#include "building/buildingmodel.h"
#include "building/hallgeometry.h"
#include "building/operatingcosts.h"
#include "building/requiredoutputs.h"
#include "common/globals.h"
#include "common/resultcodes.h"
#include "storage/sqlite.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QTemporaryDir>
#include <cmath>
#include <memory>

using namespace zf;
using namespace zf::test;

namespace {

constexpr double Pi = 3.14159265358979;

class BuildingTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        data->openProjectConnection(copyTemplate(QStringLiteral("hall.zfp")));
        ASSERT_EQ(data->OpenProjectTables(), ResultOk) << qPrintable(LastError);
        model = std::make_unique<BuildingModel>(*data, hall);
        model->GenerateWallRecords(-1);
    }
    void TearDown() override {
        model.reset();
        StorageTest::TearDown();
    }

    void set(const char* column, const QVariant& v) {
        data->tADOProject.setValue(QString::fromLatin1(column), v);
        data->tADOProject.post();
    }
    double stored(const char* column) const {
        return data->tADOProject.asFloat(QString::fromLatin1(column));
    }
    qint64 currency(const char* column) const {
        return data->tADOProject.asCurrency(QString::fromLatin1(column));
    }
    void dimensions(double A, double B, double H1, double H2) {
        set("Stena_A", A);
        set("Stena_B", B);
        set("Stena_H1", H1);
        set("Stena_H2", H2);
    }
    // What choosing a roof and a skylight type in the wizard runs.
    void choose(int roof, int sky) {
        set("Typ_strechy_enum", roof);
        set("Typ_svetliku_enum", sky);
        model->FilterWallVariants(roof, sky);
        model->ApplyProjectTemperatures();
        model->ComputeHallGeometry();
    }
    Dataset& wallAt(int position) {
        Dataset& w = data->tSteny;
        w.first();
        for (int i = 1; i < position; ++i)
            w.next();
        return w;
    }
    double wall(int position, const char* column) {
        return wallAt(position).asFloat(QString::fromLatin1(column));
    }
    void setWall(int position, const char* column, const QVariant& v) {
        wallAt(position).setValue(QString::fromLatin1(column), v);
        data->tSteny.post();
    }
    void addOpening(int position, const QString& name, double k, double h, double w, int n) {
        wallAt(position);
        data->tStavOtvory.appendRecord({QVariant(), QVariant(), name, k, h, w, n,
                                        data->tSteny.value(QStringLiteral("Ti")),
                                        data->tSteny.value(QStringLiteral("Te"))});
    }
    // The openings of a wall as "name:k:loss".
    QString openingsOf(int position) {
        wallAt(position);
        QStringList items;
        Dataset& o = data->tStavOtvory;
        for (o.first(); !o.eof(); o.next())
            items << QStringLiteral("%1:%2:%3")
                         .arg(o.asString(QStringLiteral("Nazev")), o.asString(QStringLiteral("k")))
                         .arg(o.asFloat(QStringLiteral("Ztrata")), 0, 'f', 2);
        return items.join(QLatin1Char(' '));
    }
    static bool isSingle(double v) { return v == double(float(v)); }

    TProject hall;
    std::unique_ptr<BuildingModel> model;
};

using GeometryTest = BuildingTest;
using LossTest = BuildingTest;
using OutputTest = BuildingTest;
using CostTest = BuildingTest;

} // namespace

// The hall's geometry in memory follows the project record by itself: a typed
// value, a cancelled edit, a rolled-back operation and the wizard's unsaved type
// choice all reach it without anyone refreshing it by hand.
TEST_F(BuildingTest, TheGeometryFollowsTheProjectRecord) {
    const TProject& t = model->project();
    set("Stena_A", 42.5);
    EXPECT_FLOAT_EQ(t.StenaA, 42.5f);
    data->tADOProject.setValue(QStringLiteral("Stena_B"), 24.0);
    EXPECT_FLOAT_EQ(t.StenaB, 24.0f) << "the value being typed counts before it is posted";
    data->tADOProject.cancel();
    EXPECT_FLOAT_EQ(t.StenaB, float(stored("Stena_B"))) << "a cancelled edit is forgotten";
    set("Vetrani_bool", true);
    EXPECT_TRUE(t.Vetrani);

    const float before = t.StenaH1;
    {
        Database::Transaction tx(data->projectConnection());
        set("Stena_H1", before + 3);
        EXPECT_FLOAT_EQ(t.StenaH1, before + 3);
    } // not committed: rolled back
    data->tADOProject.refresh();
    EXPECT_FLOAT_EQ(t.StenaH1, before) << "a rolled-back operation leaves the stored geometry";

    set("Typ_strechy_enum", 0);
    model->setTypeChoices(2, -1);
    EXPECT_EQ(t.TypStrechy, 2) << "the wizard's choice stands over the stored type";
    model->setTypeChoices(-1, -1);
    EXPECT_EQ(t.TypStrechy, 0);
}

TEST_F(GeometryTest, NewProjectHoldsEveryVariantsRecords) {
    EXPECT_EQ(data->tSteny.recordCount(), 0) << "roof index -1 shows nothing";
    model->FilterWallVariants(-1, -1);
    Dataset& w = data->tSteny;
    QStringList order;
    QHash<QString, QString> names;
    int floors = 0;
    for (w.first(); !w.eof(); w.next()) {
        const QString key =
            w.asString(QStringLiteral("VariantaHaly")) + w.asString(QStringLiteral("CisloSteny"));
        order << key + QLatin1Char(':') + w.asString(QStringLiteral("TypSteny"));
        QStringList n;
        for (const char* c : {"NazevCZ", "NazevEN", "NazevGE", "NazevPL", "NazevRU", "NazevSL"})
            n << (w.isNull(QLatin1String(c)) ? QStringLiteral("-") : w.asString(QLatin1String(c)));
        names.insert(key, n.join(QLatin1Char('|')));
        const bool floor = w.asInteger(QStringLiteral("TypSteny")) == 3;
        EXPECT_EQ(w.asBoolean(QStringLiteral("Prilehla_k_zemi")), floor) << qPrintable(key);
        EXPECT_EQ(w.isNull(QStringLiteral("Plocha")), floor) << qPrintable(key);
        EXPECT_EQ(w.isNull(QStringLiteral("Material")), floor) << qPrintable(key);
        floors += floor;
    }
    EXPECT_EQ(floors, 4);
    EXPECT_EQ(order.join(QLatin1Char(' ')),
              QStringLiteral("hA1:1 hA2:1 hA3:1 hA4:1 hA5:2 hA6:3 "
                             "hB1:1 hB2:1 hB3:1 hB4:1 hB5:1 hB6:2 hB7:1 hB8:2 hB9:3 "
                             "hC1:1 hC2:1 hC3:1 hC4:1 hC5:1 hC6:2 hC7:1 hC8:2 hC9:3 "
                             "hD1:1 hD2:1 hD3:1 hD4:1 hD5:1 hD6:2 hD7:1 hD8:3 "
                             "sA1:4 sA2:4 sA3:4 sA4:4 sB1:4 sB2:4 sB3:4 sB4:4 sB5:4 sB6:4 sB7:4 "
                             "sB8:4 sC1:4 sC2:4 sC3:4 sC4:4 sD1:4 sD2:4 sD3:4"));
    EXPECT_EQ(names[QStringLiteral("hA1")],
              QStringLiteral("Stěna 1|Wall 1|Wand 1|Ściana 1|Стена 1|SL"));
    EXPECT_EQ(names[QStringLiteral("hB6")],
              QStringLiteral("Střecha 6|Roof 6|Dach 6|Dach 6|Крыша  6|SL"));
    EXPECT_EQ(names[QStringLiteral("hB8")],
              QStringLiteral("Střecha 8|Roof 8|Dach 8|Dach 8|Крыша 8|SL"));
    EXPECT_EQ(names[QStringLiteral("sB6")],
              QStringLiteral("Světlík - Střecha 6|Skylight - Surface 6|Oberlicht - Dach 6|"
                             "Świetlik - Dach 6|Фонарь - Крыша  6|-"));
    EXPECT_EQ(names[QStringLiteral("sC4")],
              QStringLiteral("Světlík - Stěna 4|Skylight - Surface 4|Oberlicht - Dach 4|"
                             "Świetlik - Ściana 4|Фонарь - Стена 4|-"));
    // The names the windows size their name columns by are the stored ones.
    QStringList german;
    for (w.first(); !w.eof(); w.next())
        german << w.asString(QStringLiteral("NazevGE"));
    EXPECT_EQ(generatedSurfaceNames(QStringLiteral("GE")), german);
    EXPECT_TRUE(generatedSurfaceNames(QStringLiteral("SL")).isEmpty());
}

TEST_F(GeometryTest, FilterAndRegeneration) {
    const int cases[][3] = {{0, 0, 6},  {1, 2, 17}, {3, 4, 11},  {2, 1, 13},
                            {-1, 0, 0}, {5, 1, 4},  {-1, -1, 51}};
    for (const auto& c : cases) {
        model->FilterWallVariants(c[0], c[1]);
        EXPECT_EQ(data->tSteny.recordCount(), c[2]) << c[0] << "/" << c[1];
    }
    choose(1, 0);
    addOpening(1, QStringLiteral("Gate"), 2, 4, 4, 1);
    addOpening(2, QStringLiteral("Gate"), 2, 4, 4, 1);
    model->GenerateWallRecords(0);
    EXPECT_EQ(data->tSteny.recordCount(), 6);
    Statement st(data->projectConnection(),
                 QStringLiteral("SELECT (SELECT COUNT(*) FROM tSteny), COUNT(*) FROM tStavOtvory"));
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.columnInt64(0), 51);
    EXPECT_EQ(st.columnInt64(1), 0) << "the openings go with their walls";
}

TEST_F(GeometryTest, CircularSegment) {
    CircularSegmentResult s = zf::CircularSegment(10, 2);
    EXPECT_EQ(s.status, 0);
    EXPECT_FLOAT_EQ(s.R, 7.25);
    EXPECT_NEAR(s.theta, 1.52203, 1e-5);
    EXPECT_NEAR(s.S, 13.7507, 1e-3);
    s = zf::CircularSegment(10, 6);
    EXPECT_EQ(s.status, SegmentTooHigh);
    EXPECT_FLOAT_EQ(s.R, 5);
    EXPECT_EQ(s.theta + s.S, 0);
    s = zf::CircularSegment(10, 0);
    EXPECT_EQ(s.status + s.R + s.theta + s.S, 0);
    // A half circle whose ratio rounds above 1 in single precision stays defined.
    EXPECT_FALSE(std::isnan(zf::CircularSegment(0.3f, 0.15f).theta));
}

TEST_F(GeometryTest, SaddleAndSinglePlaneRoofs) {
    dimensions(20, 10, 5, 3);
    choose(1, 0);
    const double saddle[][3] = {{50, 5, 10},  {100, 5, 20},     {50, 5, 10},
                                {100, 5, 20}, {15, 3, 10},      {116.619, 3, 20},
                                {15, 3, 10},  {116.619, 3, 20}, {200, 20, 10}};
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(wall(i + 1, "Plocha"), saddle[i][0], 5e-4) << i + 1;
        EXPECT_EQ(wall(i + 1, "Vyska"), saddle[i][1]) << i + 1;
        EXPECT_EQ(wall(i + 1, "Sirka"), saddle[i][2]) << i + 1;
    }
    // The single-precision root, not the double 116.61903789...
    EXPECT_EQ(wall(6, "Plocha"), double(20.0f * std::sqrt(34.0f)));
    EXPECT_NEAR(stored("Shala_steny"), 563.24, 0.005);
    EXPECT_TRUE(isSingle(stored("Shala_steny")));
    EXPECT_EQ(stored("Shala_podlaha"), 200);
    EXPECT_EQ(stored("Vhala"), 1300);
    EXPECT_EQ(stored("Vtotal"), 1300);

    choose(2, 0);
    EXPECT_NEAR(wall(6, "Plocha"), 208.806, 5e-4);
    EXPECT_EQ(wall(8, "Plocha"), 60);
    EXPECT_EQ(stored("Vhala"), 1300);

    set("Stena_A", 1e39); // beyond single precision
    EXPECT_NO_THROW(model->ComputeHallGeometry());
    EXPECT_EQ(wall(2, "Plocha"), 0) << "stored as 0, never as an infinity";
    EXPECT_EQ(wall(1, "Plocha"), 50);
    EXPECT_EQ(stored("Vtotal"), 0);
}

TEST_F(GeometryTest, ArcRoofAndItsLimit) {
    dimensions(20, 10, 5, 5);
    choose(3, 0);
    EXPECT_NEAR(wall(5, "Plocha"), 39.27, 0.005);
    EXPECT_NEAR(wall(6, "Plocha"), 5 * Pi * 20, 1e-3);
    EXPECT_NEAR(wall(7, "Plocha"), 39.27, 0.005);
    EXPECT_EQ(wall(8, "Plocha"), 200) << "the floor";
    EXPECT_NEAR(stored("Vhala"), 1785.40, 0.005);
    EXPECT_TRUE(dlg.boxes.empty());

    const QString decimals = QLocale().decimalPoint() + QStringLiteral("00");
    set("Stena_H2", 6.0);
    model->ComputeHallGeometry();
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_EQ(dlg.last().text, QStringLiteral("The value of H2 is too high. H2 must be less than "
                                              "or equal to 5%1. (H2 <= B/2)")
                                   .arg(decimals));
    EXPECT_EQ(dlg.last().flags, MbError);
    EXPECT_EQ(wall(5, "Plocha") + wall(6, "Plocha") + wall(7, "Plocha"), 0);
    EXPECT_EQ(stored("Vhala"), 1000);
    model->ComputeHallGeometry();
    EXPECT_EQ(dlg.boxes.size(), 2u) << "again at every recomputation";

    set("Stena_H2", 0.0);
    model->ComputeHallGeometry();
    EXPECT_EQ(dlg.boxes.size(), 2u);
    EXPECT_EQ(wall(5, "Plocha") + wall(6, "Plocha"), 0);

    set("Svetlik_A", 6.0);
    set("Svetlik_B", 4.0);
    set("Svetlik_H1", 3.0);
    choose(3, 4);
    EXPECT_EQ(dlg.last().text, QStringLiteral("The value of H1 is too high. H1 must be less than "
                                              "or equal to 2%1. (H1 <= B/2)")
                                   .arg(decimals));
    EXPECT_EQ(stored("Vsvetlik"), 0);
}

TEST_F(GeometryTest, SkylightTypes) {
    dimensions(20, 10, 5, 0);
    const struct {
        int type;
        double b, h1, h2;
        std::vector<double> areas;
        double volume;
    } cases[] = {{1, 4, 1.5, 0, {3, 15, 3, 15}, 18},
                 {2, 4, 1, 1.5, {4, 6, 4, 6, 3, 15, 3, 15}, 42},
                 {3, 4, 3, 0, {6, 30, 6, 18}, 36},
                 {4, 10, 5, 0, {39.27, 5 * Pi * 6, 39.27}, 39.27 * 6}};
    for (const auto& c : cases) {
        set("Svetlik_A", 6.0);
        set("Svetlik_B", c.b);
        set("Svetlik_H1", c.h1);
        set("Svetlik_H2", c.h2);
        choose(0, c.type);
        ASSERT_EQ(data->tSteny.recordCount(), 6 + int(c.areas.size())) << c.type;
        double sum = 0;
        for (size_t i = 0; i < c.areas.size(); ++i) {
            EXPECT_NEAR(wall(7 + int(i), "Plocha"), c.areas[i], 0.005) << c.type << "/" << i;
            sum += c.areas[i];
        }
        EXPECT_NEAR(stored("Vsvetlik"), c.volume, 0.03) << c.type;
        EXPECT_NEAR(stored("Vtotal"), 1000 + c.volume, 0.03) << c.type;
        EXPECT_NEAR(stored("Ssvetlik_steny"), sum, 0.01) << c.type;
        EXPECT_EQ(stored("Ssvetlik_podlaha"), 6 * c.b) << c.type;
        EXPECT_EQ(stored("Shala_steny"), 500) << "the roof keeps its full area";
    }
    EXPECT_EQ(wall(8, "Vyska"), 5);
    EXPECT_EQ(wall(8, "Sirka"), 6);
    choose(0, 0);
    EXPECT_EQ(stored("Vsvetlik") + stored("Ssvetlik_steny") + stored("Ssvetlik_podlaha"), 0);
}

TEST_F(GeometryTest, TemperaturesAndSwitchingRoofTypes) {
    set("Ti", 20.0);
    set("Te", -12.0);
    set("Tzeme", 4.0);
    choose(1, 1);
    Dataset& w = data->tSteny;
    for (w.first(); !w.eof(); w.next()) {
        EXPECT_EQ(w.asFloat(QStringLiteral("Ti")), 20);
        EXPECT_EQ(w.asFloat(QStringLiteral("Te")),
                  w.asBoolean(QStringLiteral("Prilehla_k_zemi")) ? 4 : -12);
    }
    setWall(2, "Te", 7.0);
    set("Te", -15.0);
    model->ApplyProjectTemperatures();
    EXPECT_EQ(wall(2, "Te"), -15) << "a typed value goes at the next assignment";

    setWall(6, "Material", QStringLiteral("Sandwich panel"));
    setWall(6, "k", 0.35);
    addOpening(6, QStringLiteral("Strip"), 2.8, 1, 10, 1);
    wallAt(12);
    const int current = w.asInteger(QStringLiteral("IDSteny"));
    model->ComputeHallGeometry();
    EXPECT_EQ(w.asInteger(QStringLiteral("IDSteny")), current) << "the current wall is kept";
    choose(0, 0);
    choose(1, 0);
    EXPECT_EQ(wallAt(6).asString(QStringLiteral("Material")), QStringLiteral("Sandwich panel"));
    EXPECT_EQ(w.asFloat(QStringLiteral("k")), 0.35);
    EXPECT_EQ(openingsOf(6), QStringLiteral("Strip:2.8:0.00"));
}

TEST_F(GeometryTest, PictureFiles) {
    QTemporaryDir images;
    ImagesPath = withTrailingSlash(images.path());
    QDir().mkpath(ImagesPath + QStringLiteral("Building"));
    for (const char* f : {"hb.svg", "sd.svg"}) {
        QFile file(ImagesPath + QStringLiteral("Building/") + QLatin1String(f));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(BuildingPictureFile(1, true), ImagesPath + QStringLiteral("Building/hb.svg"));
    EXPECT_EQ(BuildingPictureFile(4, false), ImagesPath + QStringLiteral("Building/sd.svg"));
    EXPECT_EQ(BuildingPictureFile(0, true), QString()) << "no such file";
    EXPECT_EQ(BuildingPictureFile(0, false), QString()) << "no skylight, no picture";
}

// The losses run on a flat-roofed hall 20 x 20 x 5 m: walls of 100 m2, roof and
// floor of 400 m2; only the records given a U-value lose heat.
TEST_F(LossTest, Infiltration) {
    dimensions(20, 5, 10, 0);
    set("n", 0.5);
    set("Ti", 18.0);
    set("Te", -15.0);
    set("Ttlumena", 10.0);
    choose(0, 0); // 1000 m3
    EXPECT_NEAR(stored("Q_infiltrace"), 4488, 0.01);
    EXPECT_NEAR(stored("Q_infiltrace_kW"), 4.488, 1e-5);
    EXPECT_TRUE(isSingle(stored("Q_infiltrace")));
    EXPECT_NE(stored("Q_infiltrace"), 4488.0) << "a double product comes out exact";
    EXPECT_NEAR(model->ComputeHeatLosses(false), 4488, 0.01);
    EXPECT_NEAR(stored("Q_tlumeny"), 3400, 0.01);
    EXPECT_NEAR(stored("Q_tlumeny_kW"), 3.4, 1e-5);

    set("n", 0.0); // "Not subject to infiltration"
    EXPECT_EQ(model->ComputeHeatLosses(true), 0);
    EXPECT_EQ(stored("Q_infiltrace"), 0);
}

TEST_F(LossTest, WallsAndOpenings) {
    dimensions(20, 20, 5, 0);
    set("Ti", 18.0);
    set("Te", -15.0);
    set("Ttlumena", 10.0);
    set("n", 0.0);
    choose(0, 0);
    setWall(1, "k", 0.5);
    addOpening(1, QStringLiteral("Window"), 2.8, 2, 1.5, 4);
    setWall(2, "k", 1.0);
    setWall(2, "Te", 25.0); // warmer outside: no gain
    setWall(6, "k", 0.4);   // the floor, over the ground at 5 degC
    const float total = model->ComputeHeatLosses(false);
    EXPECT_EQ(data->tSteny.recNo(), 1) << "the first wall is current afterwards";

    EXPECT_EQ(openingsOf(1), QStringLiteral("Window:2.8:1108.80"));
    EXPECT_NEAR(data->tStavOtvory.asFloat(QStringLiteral("Ztrata_kW")), 1.1088, 1e-6);
    EXPECT_NEAR(wall(1, "Ztraty_konstrukci"), 1452, 1e-3);
    EXPECT_NEAR(wall(1, "Ztraty_konstrukci_kW"), 1.452, 1e-6);
    EXPECT_NEAR(wall(1, "Ztraty_otvory_kW"), 1.1088, 1e-6);
    EXPECT_EQ(wall(2, "Ztraty_konstrukci"), 0);
    EXPECT_NEAR(wall(6, "Ztraty_konstrukci"), 0.4 * 400 * 13, 1e-3);
    EXPECT_NEAR(total, 1452 + 1108.8 + 2080, 1e-2);
    EXPECT_NEAR(stored("Q_tlumeny"), 0.5 * 88 * 25 + 2.8 * 12 * 25 + 0.4 * 400 * 5, 1e-2);
    EXPECT_TRUE(dlg.boxes.empty());

    set("Ttlumena", -20.0);
    model->ComputeHeatLosses(false);
    EXPECT_EQ(stored("Q_tlumeny"), 0);
}

TEST_F(LossTest, OpeningsLargerThanTheirWall) {
    dimensions(20, 20, 5, 0);
    set("Ti", 18.0);
    set("Te", -15.0);
    choose(0, 0);
    setWall(1, "k", 0.5);
    setWall(1, "Plocha", 10.0);
    addOpening(1, QStringLiteral("Gate"), 1, 3, 4, 1);
    setWall(2, "Plocha", 12.0);
    addOpening(2, QStringLiteral("Gate"), 1, 3, 2, 2); // fills its wall exactly
    model->ComputeHeatLosses(false);
    EXPECT_EQ(wall(1, "Ztraty_konstrukci"), 0);
    EXPECT_NEAR(wall(1, "Ztraty_otvory"), 12 * 33, 1e-3) << "the openings count in full";
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_EQ(dlg.last().text,
              QStringLiteral("The total surface of the construction openings in some walls is "
                             "greater than the wall surface. Unless you correct the situation, "
                             "the calculation of heat loss in the building will be false.\r\n\r\n"
                             " * Wall 1: wall surface 10 m2, total surface of the construction "
                             "openings 12 m2\r\n"));
    EXPECT_EQ(dlg.last().flags, MbWarning);
}

TEST_F(LossTest, BlankLastOpeningAndUntouchedRecords) {
    choose(0, 0);
    addOpening(1, QStringLiteral("Window"), 2.8, 1, 1, 1);
    addOpening(1, QString(), 0.3, 0, 0, 1);
    addOpening(2, QString(), 0.7, 0, 0, 1);
    addOpening(3, QString(), 0.3, 0, 0, 1);
    addOpening(3, QStringLiteral("Door"), 1.5, 2, 1, 1);
    addOpening(4, QString(), 0.5, 0, 0, 1); // rounds to 0, halves to even
    set("Q", 1234.0);
    model->ComputeHeatLosses(true);
    EXPECT_EQ(openingsOf(1), QStringLiteral("Window:2.8:0.00 :0.3:0.00"))
        << "the infiltration alone touches no opening";

    model->FilterWallVariants(1, 0);
    setWall(6, "k", 1.0);
    setWall(6, "Ztraty_konstrukci", 77.0);
    model->FilterWallVariants(0, 0);
    model->ComputeHeatLosses(false);
    EXPECT_EQ(openingsOf(1), QStringLiteral("Window:2.8:84.00"));
    EXPECT_EQ(openingsOf(2), QStringLiteral(":0.7:0.00"));
    EXPECT_EQ(openingsOf(3), QStringLiteral(":0.3:0.00 Door:1.5:90.00"));
    EXPECT_EQ(openingsOf(4), QString());
    EXPECT_EQ(stored("Q"), 1234) << "the commit, not the calculation, stores Q";
    model->FilterWallVariants(1, 0);
    EXPECT_EQ(wall(6, "Ztraty_konstrukci"), 77) << "hidden variants keep their losses";
}

TEST_F(OutputTest, HeatingOnly) {
    set("Q", 20000.0);
    set("Q_tlumeny", 15000.0);
    set("Vhala", 1500.0);
    set("Vsvetlik", 0.0);
    const RequiredOutputs out = CalculateRequiredOutputs(*data);
    EXPECT_EQ(out.heatingOutputW, 20000.0f);
    EXPECT_NEAR(out.ventilationFlowM3h, 1740.4, 0.05);
    EXPECT_NEAR(stored("Vetraci_vykon_m3_hod"), 1740.408, 1e-3);
    EXPECT_NEAR(stored("Vetraci_vykon"), 1740.408 / 3600, 1e-6);
    EXPECT_EQ(stored("Cirkulacni_vykon_m3_hod"), 6750);
    EXPECT_EQ(stored("Cirkulacni_vykon"), 1.875);
    EXPECT_EQ(stored("Topny_vykon_kW"), 20);
    EXPECT_EQ(stored("Topny_vykon_tlumeny"), 15000);
    EXPECT_EQ(stored("Q_vetrani"), 0);

    const double bounds[][2] = {{1000, 5},   {1000.1, 4.5}, {2000, 4.5},   {4000, 3.5},
                                {8000, 2.5}, {10000, 2},    {10000.1, 1.5}};
    for (const auto& b : bounds)
        EXPECT_EQ(circulationAirChanges(float(b[0])), float(b[1])) << b[0];
    set("Vhala", 900.0);
    set("Vsvetlik", 100.0);
    CalculateRequiredOutputs(*data);
    EXPECT_EQ(stored("Cirkulacni_vykon_m3_hod"), 5000) << "1000 m3 with the skylight";
}

TEST_F(OutputTest, Ventilation) {
    set("Q", 20000.0);
    set("Vetrani_bool", true);
    set("Vc_zima", 2000.0);
    set("Vc_leto", 3000.0);
    set("Ti", 18.0);
    set("Te", -12.0);
    set("Rekuperace", 50.0);
    CalculateRequiredOutputs(*data);
    EXPECT_NEAR(stored("Q_vetrani"), 10773.3, 0.05);
    EXPECT_NEAR(stored("Topny_vykon"), 30773.3, 0.05);
    EXPECT_EQ(stored("Vetraci_vykon_m3_hod"), 3000) << "the fresh air exceeds 1740 m3/h";
    set("Q", 100000.0);
    CalculateRequiredOutputs(*data);
    EXPECT_NEAR(stored("Vetraci_vykon_m3_hod"), 8702.04, 0.01);
}

TEST_F(OutputTest, PermanentGains) {
    set("Q", 25000.0);
    set("Q_tlumeny", 15000.0);
    set("TZ_technologie", 20.0);
    set("TZ_ostatni", 5.0);
    CalculateRequiredOutputs(*data);
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_EQ(dlg.last().text,
              QStringLiteral("The required heating output is completely covered by permanent "
                             "heat gains. It is not necessary to heat the building more."));
    EXPECT_EQ(dlg.last().flags, MbWarning);
    EXPECT_EQ(stored("Topny_vykon"), 0);
    EXPECT_EQ(stored("Topny_vykon_tlumeny_kW"), -10) << "not limited below";
    EXPECT_EQ(stored("TZ_total"), 25);

    set("Tepelne_ztraty_enum", 2); // the loss the user entered
    CalculateRequiredOutputs(*data);
    EXPECT_EQ(dlg.boxes.size(), 1u);
    EXPECT_EQ(stored("TZ_total"), 0);
    EXPECT_EQ(stored("Topny_vykon"), 25000);
    EXPECT_EQ(stored("Topny_vykon_tlumeny"), 15000);
}

// 100 kW and 50 kW reduced, 18/-12 degC with a season mean of 4 degC, 5 days of
// 10 hours, 1.00 per kWh, 220 days.
TEST_F(CostTest, WorkedExampleAndControlFactor) {
    set("Topny_vykon_kW", 100.0);
    set("Topny_vykon_tlumeny_kW", 50.0);
    set("Provoz_dny_tyden", 5);
    set("Provoz_hodiny_den", 10);
    set("Cena_enum", 1);
    set("Cena_Kc_kWh", 1.0);
    set("Pocet_dnu_otop_obd", 220);
    set("Ucinnost_regulace", 1.0);
    CalculateOperatingCosts(*data);
    EXPECT_EQ(currency("Cena_den"), 7266667);
    EXPECT_EQ(currency("Cena_mesic"), 218000000);
    // 159866.6719 in single precision; a double calculation gives 159866.6667.
    EXPECT_EQ(currency("Cena_rok"), 1598666719);

    for (double eta : {1.1, 0.9}) {
        set("Ucinnost_regulace", eta);
        CalculateOperatingCosts(*data);
        EXPECT_NEAR(currency("Cena_den") / 1e4, 726.6667 / eta, 1e-3) << eta;
    }
    set("Ucinnost_regulace", 0.0);
    CalculateOperatingCosts(*data);
    EXPECT_EQ(currency("Cena_den"), 7266667) << "a factor of 0 divides nothing";

    set("Ucinnost_regulace", 1.0);
    set("Topny_vykon_tlumeny_kW", -20.0);
    CalculateOperatingCosts(*data);
    EXPECT_NEAR(currency("Cena_den") / 1e4, 100 * 14.0 / 30 * 50 / 7, 1e-3)
        << "a negative reduced output costs nothing";
    set("Provoz_dny_tyden", 7);
    set("Provoz_hodiny_den", 24);
    set("Topny_vykon_tlumeny_kW", 80.0);
    CalculateOperatingCosts(*data);
    EXPECT_NEAR(currency("Cena_den") / 1e4, 100 * 14.0 / 30 * 24, 1e-3) << "no reduced hours";
}

TEST_F(CostTest, GuardsAndPriceUnits) {
    set("Topny_vykon_kW", 100.0);
    set("Cena_enum", 1);
    set("Cena_Kc_kWh", 2.5);
    const double guards[][2] = {{18, -12}, {25, -12}, {4, 18}, {4, 30}}; // Tes, Te
    for (const auto& g : guards) {
        set("Tes", g[0]);
        set("Te", g[1]);
        CalculateOperatingCosts(*data);
        EXPECT_EQ(currency("Cena_den") + currency("Cena_mesic") + currency("Cena_rok"), 0)
            << g[0] << "/" << g[1];
    }

    set("Cena_Kc_m3", 10.1975211);
    set("Cena_Kc_kg", 116.0);
    set("Cena_enum", 0);
    EXPECT_NEAR(PricePerKWh(*data), 1.0, 1e-5) << "the price is stored to 4 decimals";
    set("Cena_enum", 1);
    EXPECT_EQ(PricePerKWh(*data), 2.5f);
    set("Cena_enum", 2);
    EXPECT_EQ(PricePerKWh(*data), 9.0f);
    set("Cena_enum", 3);
    EXPECT_EQ(PricePerKWh(*data), 0.0f);
    set("Tes", 4.0);
    set("Te", -12.0);
    CalculateOperatingCosts(*data);
    EXPECT_EQ(currency("Cena_rok"), 0) << "an unknown price unit prices at 0";
}
