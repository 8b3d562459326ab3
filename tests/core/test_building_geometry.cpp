// The wall records of every hall and skylight variant, the variant filter, the
// areas and volumes of each roof and skylight type, and the wall temperatures.
#include "building/buildingmodel.h"
#include "building/hallgeometry.h"
#include "common/globals.h"
#include "common/resultcodes.h"
#include "i18n/texts.h"
#include "storage/sqlite.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <cmath>
#include <memory>

using namespace zf;
using namespace zf::test;

namespace {

constexpr double Pi = 3.14159265358979;

class GeometryTest : public StorageTest {
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
    void dimensions(double A, double B, double H1, double H2) {
        set("Stena_A", A);
        set("Stena_B", B);
        set("Stena_H1", H1);
        set("Stena_H2", H2);
    }
    void skylight(double a, double b, double h1, double h2) {
        set("Svetlik_A", a);
        set("Svetlik_B", b);
        set("Svetlik_H1", h1);
        set("Svetlik_H2", h2);
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
    qint64 count(const char* table) {
        Statement st(data->ADOConnectionProject,
                     QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)));
        st.step();
        return st.columnInt64(0);
    }
    // Every stored result of the geometry is a single-precision number.
    void expectSinglePrecision() {
        for (const char* c : {"Vhala", "Vsvetlik", "Vtotal", "Shala_steny", "Shala_podlaha",
                              "Ssvetlik_steny", "Ssvetlik_podlaha"})
            EXPECT_EQ(stored(c), double(float(stored(c)))) << c;
        Dataset& w = data->tSteny;
        for (w.first(); !w.eof(); w.next())
            EXPECT_EQ(w.asFloat(QStringLiteral("Plocha")),
                      double(float(w.asFloat(QStringLiteral("Plocha")))));
    }

    TProject hall;
    std::unique_ptr<BuildingModel> model;
};

} // namespace

TEST_F(GeometryTest, NewProjectHoldsTheRecordsOfAllVariantsInOrder) {
    EXPECT_EQ(data->tSteny.recordCount(), 0) << "roof index -1 shows nothing";
    model->FilterWallVariants(-1, -1);
    Dataset& w = data->tSteny;
    ASSERT_EQ(w.recordCount(), 51);
    QStringList seen;
    int lastId = 0;
    for (w.first(); !w.eof(); w.next()) {
        seen << w.asString(QStringLiteral("VariantaHaly")) +
                    w.asString(QStringLiteral("CisloSteny")) + QLatin1Char(':') +
                    w.asString(QStringLiteral("TypSteny"));
        EXPECT_GT(w.asInteger(QStringLiteral("IDSteny")), lastId);
        lastId = w.asInteger(QStringLiteral("IDSteny"));
    }
    EXPECT_EQ(seen.join(QLatin1Char(' ')),
              QStringLiteral("hA1:1 hA2:1 hA3:1 hA4:1 hA5:2 hA6:3 "
                             "hB1:1 hB2:1 hB3:1 hB4:1 hB5:1 hB6:2 hB7:1 hB8:2 hB9:3 "
                             "hC1:1 hC2:1 hC3:1 hC4:1 hC5:1 hC6:2 hC7:1 hC8:2 hC9:3 "
                             "hD1:1 hD2:1 hD3:1 hD4:1 hD5:1 hD6:2 hD7:1 hD8:3 "
                             "sA1:4 sA2:4 sA3:4 sA4:4 "
                             "sB1:4 sB2:4 sB3:4 sB4:4 sB5:4 sB6:4 sB7:4 sB8:4 "
                             "sC1:4 sC2:4 sC3:4 sC4:4 sD1:4 sD2:4 sD3:4"));
}

TEST_F(GeometryTest, NamesInEveryLanguageWithTheirExceptions) {
    model->FilterWallVariants(-1, -1);
    Dataset& w = data->tSteny;
    auto names = [&](const char* variant, int number) {
        for (w.first(); !w.eof(); w.next()) {
            if (w.asString(QStringLiteral("VariantaHaly")) != QLatin1String(variant) ||
                w.asInteger(QStringLiteral("CisloSteny")) != number)
                continue;
            QStringList n;
            for (const char* c : {"NazevCZ", "NazevEN", "NazevGE", "NazevPL", "NazevRU", "NazevSL"})
                n << (w.isNull(QString::fromLatin1(c)) ? QStringLiteral("<null>")
                                                       : w.asString(QString::fromLatin1(c)));
            return n.join(QLatin1Char('|'));
        }
        return QStringLiteral("<missing>");
    };
    EXPECT_EQ(names("hA", 1), QStringLiteral("Stěna 1|Wall 1|Wand 1|Ściana 1|Стена 1|SL"));
    EXPECT_EQ(names("hA", 6), QStringLiteral("Podlaha 6|Floor 6|Fußboden 6|Podłoga 6|Пол 6|SL"));
    EXPECT_EQ(names("hB", 5), QStringLiteral("Štít 5|Gable 5|Dachgiebel 5|Szczyt 5|Фронтон 5|SL"));
    EXPECT_EQ(names("hB", 6), QStringLiteral("Střecha 6|Roof 6|Dach 6|Dach 6|Крыша  6|SL"));
    EXPECT_EQ(names("hB", 8), QStringLiteral("Střecha 8|Roof 8|Dach 8|Dach 8|Крыша 8|SL"));
    EXPECT_EQ(names("hC", 6), QStringLiteral("Střecha 6|Roof 6|Dach 6|Dach 6|Крыша 6|SL"));
    EXPECT_EQ(names("sA", 1), QStringLiteral("Světlík - Plocha 1|Skylight - Surface 1|"
                                             "Oberlicht - Fläche 1|Świetlik - Ściana 1|"
                                             "Фонарь - Стена 1|<null>"));
    EXPECT_EQ(names("sA", 2), QStringLiteral("Světlík - Střecha 2|Skylight - Surface 2|"
                                             "Oberlicht - Dach 2|Świetlik - Dach 2|"
                                             "Фонарь - Крыша  2|<null>"));
    EXPECT_EQ(names("sB", 3), QStringLiteral("Světlík - Stěna 3|Skylight - Surface 3|"
                                             "Oberlicht - Wand 3|Świetlik - Ściana 3|"
                                             "Фонарь - Стена 3|<null>"));
    EXPECT_EQ(names("sC", 4), QStringLiteral("Světlík - Stěna 4|Skylight - Surface 4|"
                                             "Oberlicht - Dach 4|Świetlik - Ściana 4|"
                                             "Фонарь - Стена 4|<null>"));
}

TEST_F(GeometryTest, FloorRecordsAdjoinTheGround) {
    model->FilterWallVariants(-1, -1);
    Dataset& w = data->tSteny;
    int floors = 0;
    for (w.first(); !w.eof(); w.next()) {
        const bool floor = w.asInteger(QStringLiteral("TypSteny")) == 3;
        EXPECT_EQ(w.asBoolean(QStringLiteral("Prilehla_k_zemi")), floor);
        for (const char* c : {"Material", "k", "Plocha", "Vyska", "Sirka", "Ti", "Te"})
            EXPECT_EQ(w.isNull(QString::fromLatin1(c)), floor) << c;
        floors += floor;
    }
    EXPECT_EQ(floors, 4);
}

TEST_F(GeometryTest, RegeneratingDeletesWallsAndOpenings) {
    choose(1, 0);
    for (int wallNo : {1, 2}) {
        wallAt(wallNo);
        data->tStavOtvory.appendRecord({QVariant(), QVariant(), QStringLiteral("Gate")});
    }
    ASSERT_EQ(count("tStavOtvory"), 2);
    model->GenerateWallRecords(0);
    EXPECT_EQ(count("tSteny"), 51);
    EXPECT_EQ(count("tStavOtvory"), 0);
    EXPECT_EQ(data->tSteny.recordCount(), 6) << "the roof type's records, no skylight";
}

TEST_F(GeometryTest, FilterShowsOneHallAndOneSkylightVariant) {
    const struct {
        int roof, sky, visible;
    } cases[] = {{0, 0, 6},  {1, 2, 17}, {2, 3, 13}, {3, 4, 11},
                 {3, 1, 12}, {-1, 0, 0}, {5, 1, 4},  {-1, -1, 51}};
    for (const auto& c : cases) {
        model->FilterWallVariants(c.roof, c.sky);
        EXPECT_EQ(data->tSteny.recordCount(), c.visible) << c.roof << "/" << c.sky;
        EXPECT_EQ(data->tSteny.recNo(), c.visible ? 1 : 0);
    }
    EXPECT_EQ(wallVariantFilter(1, 2),
              QStringLiteral("VariantaHaly = 'hB' OR VariantaHaly = 'sB'"));
    EXPECT_EQ(wallVariantFilter(0, 0),
              QStringLiteral("VariantaHaly = 'hA' OR VariantaHaly = 'xx'"));
    EXPECT_EQ(wallVariantFilter(4, 9), QString());
}

TEST_F(GeometryTest, CircularSegmentWorkedExamples) {
    CircularSegmentResult s = CircularSegment(10, 5);
    EXPECT_EQ(s.status, 0);
    EXPECT_FLOAT_EQ(s.R, 5);
    EXPECT_NEAR(s.theta, Pi, 1e-6);
    EXPECT_NEAR(s.S, 39.27, 0.005);

    s = CircularSegment(10, 2);
    EXPECT_EQ(s.status, 0);
    EXPECT_FLOAT_EQ(s.R, 7.25);
    EXPECT_NEAR(s.theta, 1.52203, 1e-5);
    EXPECT_NEAR(s.S, 13.7507, 1e-3);

    s = CircularSegment(10, 6);
    EXPECT_EQ(s.status, SegmentTooHigh);
    EXPECT_FLOAT_EQ(s.R, 5);
    EXPECT_EQ(s.theta, 0);
    EXPECT_EQ(s.S, 0);

    for (auto [c, h] : {std::pair{0.0f, 2.0f}, {10.0f, 0.0f}, {-4.0f, 1.0f}, {4.0f, -1.0f}}) {
        s = CircularSegment(c, h);
        EXPECT_EQ(s.status, 0);
        EXPECT_EQ(s.R, 0);
        EXPECT_EQ(s.theta, 0);
        EXPECT_EQ(s.S, 0);
    }
    // A half circle of a chord whose halves round in single precision.
    s = CircularSegment(0.3f, 0.15f);
    EXPECT_FALSE(std::isnan(s.theta));
}

TEST_F(GeometryTest, SaddleRoof) {
    dimensions(20, 10, 5, 3);
    choose(1, 0);
    const double expected[][3] = {{50, 5, 10},  {100, 5, 20},     {50, 5, 10},
                                  {100, 5, 20}, {15, 3, 10},      {116.619, 3, 20},
                                  {15, 3, 10},  {116.619, 3, 20}, {200, 20, 10}};
    ASSERT_EQ(data->tSteny.recordCount(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(wall(i + 1, "Plocha"), expected[i][0], 5e-4) << "record " << i + 1;
        EXPECT_NEAR(wall(i + 1, "Vyska"), expected[i][1], 1e-9) << "record " << i + 1;
        EXPECT_NEAR(wall(i + 1, "Sirka"), expected[i][2], 1e-9) << "record " << i + 1;
    }
    // The single-precision root, not the double one (116.61903789...).
    EXPECT_EQ(wall(6, "Plocha"), double(20.0f * std::sqrt(34.0f)));
    EXPECT_NEAR(stored("Shala_steny"), 563.24, 0.005);
    EXPECT_NEAR(stored("Shala_podlaha"), 200, 1e-9);
    EXPECT_NEAR(stored("Vhala"), 1300, 1e-9);
    EXPECT_NEAR(stored("Vtotal"), 1300, 1e-9);
    EXPECT_EQ(stored("Vsvetlik"), 0);
    EXPECT_EQ(stored("Ssvetlik_steny"), 0);
    EXPECT_EQ(stored("Ssvetlik_podlaha"), 0);
    expectSinglePrecision();
}

TEST_F(GeometryTest, SinglePlaneAndFlatRoofs) {
    dimensions(20, 10, 5, 3);
    choose(2, 0);
    EXPECT_NEAR(wall(5, "Plocha"), 15, 1e-9);
    EXPECT_NEAR(wall(6, "Plocha"), 208.806, 5e-4);
    EXPECT_NEAR(wall(8, "Plocha"), 60, 1e-9);
    EXPECT_NEAR(wall(8, "Sirka"), 20, 1e-9);
    EXPECT_NEAR(stored("Vhala"), 1300, 1e-9);
    expectSinglePrecision();

    choose(0, 0);
    ASSERT_EQ(data->tSteny.recordCount(), 6);
    EXPECT_NEAR(wall(5, "Plocha"), 200, 1e-9);
    EXPECT_NEAR(wall(5, "Vyska"), 20, 1e-9);
    EXPECT_NEAR(stored("Shala_steny"), 500, 1e-9);
    EXPECT_NEAR(stored("Vhala"), 1000, 1e-9);
}

TEST_F(GeometryTest, ArcRoof) {
    dimensions(20, 10, 5, 5);
    choose(3, 0);
    ASSERT_EQ(data->tSteny.recordCount(), 8);
    EXPECT_NEAR(wall(5, "Plocha"), 39.27, 0.005);
    EXPECT_NEAR(wall(7, "Plocha"), 39.27, 0.005);
    EXPECT_NEAR(wall(6, "Plocha"), 5 * Pi * 20, 1e-3);
    EXPECT_NEAR(wall(8, "Plocha"), 200, 1e-9) << "the floor";
    EXPECT_NEAR(stored("Vhala"), 1785.40, 0.005);
    EXPECT_TRUE(dlg.boxes.empty());
    expectSinglePrecision();

    set("Stena_H2", 2.0);
    model->ComputeHallGeometry();
    EXPECT_NEAR(wall(5, "Plocha"), 13.7507, 1e-3);
    EXPECT_NEAR(wall(6, "Plocha"), 7.25 * 1.52203 * 20, 5e-3);
}

TEST_F(GeometryTest, ArcHigherThanHalfItsChord) {
    dimensions(20, 10, 5, 6);
    choose(3, 0);
    ASSERT_EQ(dlg.boxes.size(), 1u);
    EXPECT_EQ(dlg.last().text,
              QStringLiteral("The value of H2 is too high. H2 must be less than or equal to "
                             "5%1. (H2 <= B/2)")
                  .arg(QLocale().decimalPoint() + QStringLiteral("00")));
    EXPECT_EQ(dlg.last().caption, QStringLiteral("Zefrant"));
    EXPECT_EQ(dlg.last().flags, MbError);
    EXPECT_EQ(wall(5, "Plocha"), 0);
    EXPECT_EQ(wall(6, "Plocha"), 0);
    EXPECT_EQ(wall(7, "Plocha"), 0);
    EXPECT_NEAR(stored("Vhala"), 1000, 1e-9);

    model->ComputeHallGeometry();
    EXPECT_EQ(dlg.boxes.size(), 2u) << "again at every recomputation";

    set("Stena_H2", 0.0);
    model->ComputeHallGeometry();
    EXPECT_EQ(dlg.boxes.size(), 2u) << "a zero rise is no error";
    EXPECT_EQ(wall(5, "Plocha"), 0);
    EXPECT_EQ(wall(6, "Plocha"), 0);

    // The skylight's arc over its width b.
    skylight(6, 4, 3, 0);
    choose(0, 4);
    ASSERT_EQ(dlg.boxes.size(), 3u);
    EXPECT_EQ(dlg.last().text,
              QStringLiteral("The value of H1 is too high. H1 must be less than or equal to "
                             "2%1. (H1 <= B/2)")
                  .arg(QLocale().decimalPoint() + QStringLiteral("00")));
    EXPECT_EQ(stored("Vsvetlik"), 0);
    EXPECT_EQ(stored("Ssvetlik_steny"), 0);
    EXPECT_NEAR(stored("Ssvetlik_podlaha"), 24, 1e-9);
}

TEST_F(GeometryTest, SkylightTypes) {
    dimensions(20, 10, 5, 0);
    const struct {
        int type;
        double h1, h2;
        std::vector<double> areas;
        double volume;
    } cases[] = {
        {1, 1.5, 0, {3, 15, 3, 15}, 18},
        {2, 1, 1.5, {4, 6, 4, 6, 3, 15, 3, 15}, 42},
        {3, 3, 0, {6, 30, 6, 18}, 36},
    };
    for (const auto& c : cases) {
        skylight(6, 4, c.h1, c.h2);
        choose(0, c.type);
        ASSERT_EQ(data->tSteny.recordCount(), 6 + int(c.areas.size())) << c.type;
        double sum = 0;
        for (size_t i = 0; i < c.areas.size(); ++i) {
            EXPECT_NEAR(wall(7 + int(i), "Plocha"), c.areas[i], 1e-5)
                << "type " << c.type << " record " << i + 1;
            sum += c.areas[i];
        }
        EXPECT_NEAR(stored("Vsvetlik"), c.volume, 1e-5) << c.type;
        EXPECT_NEAR(stored("Vtotal"), 1000 + c.volume, 1e-4) << c.type;
        EXPECT_NEAR(stored("Ssvetlik_steny"), sum, 1e-4) << c.type;
        EXPECT_NEAR(stored("Ssvetlik_podlaha"), 24, 1e-9) << c.type;
        EXPECT_NEAR(stored("Shala_steny"), 500, 1e-9) << "the roof keeps its full area";
        expectSinglePrecision();
    }
    // Type 2: heights and widths of the box and of the ridge on it.
    skylight(6, 4, 1, 1.5);
    choose(0, 2);
    EXPECT_NEAR(wall(7, "Vyska"), 1, 1e-9);
    EXPECT_NEAR(wall(7, "Sirka"), 4, 1e-9);
    EXPECT_NEAR(wall(12, "Vyska"), 1.5, 1e-9);
    EXPECT_NEAR(wall(12, "Sirka"), 6, 1e-9);

    skylight(6, 10, 5, 0);
    choose(0, 4);
    EXPECT_NEAR(wall(7, "Plocha"), 39.27, 0.005);
    EXPECT_NEAR(wall(8, "Plocha"), 5 * Pi * 6, 1e-3);
    EXPECT_NEAR(wall(9, "Plocha"), 39.27, 0.005);
    EXPECT_NEAR(stored("Vsvetlik"), 39.27 * 6, 0.03);

    choose(0, 0);
    EXPECT_EQ(stored("Vsvetlik"), 0);
    EXPECT_EQ(stored("Ssvetlik_steny"), 0);
    EXPECT_EQ(stored("Ssvetlik_podlaha"), 0);
    EXPECT_NEAR(stored("Vtotal"), 1000, 1e-9);
}

TEST_F(GeometryTest, GeometryRecomputesTheInfiltrationLoss) {
    dimensions(20, 10, 5, 0);
    set("n", 0.5);
    set("Ti", 18.0);
    set("Te", -15.0);
    choose(0, 0);
    EXPECT_NEAR(stored("Q_infiltrace"), 4488, 0.01);
    set("Stena_A", 40.0);
    model->ComputeHallGeometry();
    EXPECT_NEAR(stored("Q_infiltrace"), 8976, 0.01);
    EXPECT_NEAR(stored("Q_infiltrace_kW"), 8.976, 1e-5);
}

TEST_F(GeometryTest, CurrentWallIsKeptWhereItStaysVisible) {
    choose(1, 2);
    wallAt(12);
    const int id = data->tSteny.asInteger(QStringLiteral("IDSteny"));
    model->ComputeHallGeometry();
    EXPECT_EQ(data->tSteny.asInteger(QStringLiteral("IDSteny")), id);
    model->ApplyProjectTemperatures();
    EXPECT_EQ(data->tSteny.asInteger(QStringLiteral("IDSteny")), id);
    set("Typ_svetliku_enum", 0);
    model->FilterWallVariants(1, 0);
    model->ComputeHallGeometry();
    EXPECT_EQ(data->tSteny.recNo(), 1);
}

TEST_F(GeometryTest, ReadProjectGeometryTakesTheWizardsTypeChoices) {
    dimensions(20.1, 10, 5, 3);
    set("Typ_strechy_enum", 2);
    model->ReadProjectGeometry();
    EXPECT_EQ(hall.StenaA, 20.1f);
    EXPECT_EQ(hall.TypStrechy, 2) << "without a wizard the stored type stands";
    EXPECT_TRUE(hall.Vytapeni);
    EXPECT_EQ(hall.Tzeme, 5.0f);

    model->roofTypeChoice = [] { return 1; };
    model->skylightTypeChoice = [] { return 3; };
    model->ReadProjectGeometry();
    EXPECT_EQ(hall.TypStrechy, 1);
    EXPECT_EQ(hall.TypSvetliku, 3);
    model->FilterWallVariants(1, 0);
    model->ComputeHallGeometry();
    EXPECT_NEAR(wall(6, "Plocha"), 20.1 * std::sqrt(34.0), 1e-3) << "the saddle roof's plane";
}

TEST_F(GeometryTest, WallTemperaturesFollowTheProject) {
    set("Ti", 20.0);
    set("Te", -12.0);
    set("Tzeme", 4.0);
    choose(1, 1);
    Dataset& w = data->tSteny;
    for (w.first(); !w.eof(); w.next()) {
        const bool floor = w.asBoolean(QStringLiteral("Prilehla_k_zemi"));
        EXPECT_EQ(w.asFloat(QStringLiteral("Ti")), 20);
        EXPECT_EQ(w.asFloat(QStringLiteral("Te")), floor ? 4 : -12);
    }

    // A value typed into one record goes at the next assignment.
    wallAt(2).setValue(QStringLiteral("Te"), 7.0);
    data->tSteny.post();
    set("Te", -15.0);
    model->ApplyProjectTemperatures();
    EXPECT_EQ(wall(2, "Te"), -15);
    wallAt(3).setValue(QStringLiteral("Te"), 7.0);
    data->tSteny.post();
    choose(1, 2);
    EXPECT_EQ(wall(3, "Te"), -15) << "choosing another skylight type assigns them again";
    EXPECT_EQ(wall(9, "Te"), 4) << "the floor";
}

TEST_F(GeometryTest, AnotherRoofTypeAndBackKeepsWhatWasEntered) {
    choose(1, 0);
    Dataset& w = wallAt(6);
    w.setValue(QStringLiteral("Material"), QStringLiteral("Sandwich panel"));
    w.setValue(QStringLiteral("k"), 0.35);
    w.post();
    data->tStavOtvory.appendRecord({QVariant(), QVariant(), QStringLiteral("Skylight strip"), 2.8});
    choose(0, 0);
    EXPECT_EQ(data->tSteny.recordCount(), 6);
    choose(1, 0);
    wallAt(6);
    EXPECT_EQ(data->tSteny.asString(QStringLiteral("Material")), QStringLiteral("Sandwich panel"));
    EXPECT_EQ(data->tSteny.asFloat(QStringLiteral("k")), 0.35);
    ASSERT_EQ(data->tStavOtvory.recordCount(), 1);
    EXPECT_EQ(data->tStavOtvory.asString(QStringLiteral("Nazev")),
              QStringLiteral("Skylight strip"));
}

TEST_F(GeometryTest, PictureFilesOfRoofAndSkylightTypes) {
    QTemporaryDir images;
    ImagesPath = withTrailingSlash(images.path());
    QDir().mkpath(ImagesPath + QStringLiteral("Building"));
    for (const char* f : {"hb.svg", "sa.svg", "sd.svg"}) {
        QFile file(ImagesPath + QStringLiteral("Building/") + QLatin1String(f));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(BuildingPictureFile(1, true), ImagesPath + QStringLiteral("Building/hb.svg"));
    EXPECT_EQ(BuildingPictureFile(1, false), ImagesPath + QStringLiteral("Building/sa.svg"));
    EXPECT_EQ(BuildingPictureFile(4, false), ImagesPath + QStringLiteral("Building/sd.svg"));
    EXPECT_EQ(BuildingPictureFile(0, true), QString()) << "no such file";
    EXPECT_EQ(BuildingPictureFile(0, false), QString()) << "no skylight, no picture";
    EXPECT_EQ(BuildingPictureFile(-1, true), QString());
    EXPECT_EQ(BuildingPictureFile(5, false), QString());
}
