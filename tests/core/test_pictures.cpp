// The pictures the build draws: every file a surface record, a roof or skylight
// type, a placement variant or a unit property names is in the program folder
// and renders, and the building sketches show the surfaces the geometry
// computes.
#include "building/buildingmodel.h"
#include "building/hallgeometry.h"
#include "common/globals.h"
#include "common/resultcodes.h"
#include "pictures/hallmodel.h"
#include "testsupport.h"
#include "wizard/constructions.h"
#include "units/projectunits.h"
#include "units/unitproperties.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <cmath>
#include <memory>

using namespace zf;
using namespace zf::test;

namespace {

// Pictures with text need fonts, and fonts a GUI application; nothing is shown.
void ensureGuiApplication() {
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_pictures";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv); // lives until the process ends
}

// What a picture shows at 240 pixels wide: how many pixels are not white and
// how many are in the highlight colour.
struct Rendered {
    bool valid = false;
    int inked = 0;
    int accent = 0;
};

Rendered render(const QString& file) {
    ensureGuiApplication();
    Rendered r;
    QSvgRenderer svg(file);
    r.valid = svg.isValid() && !svg.viewBoxF().isEmpty();
    if (!r.valid)
        return r;
    const QSizeF size = svg.viewBoxF().size();
    QImage image(240, int(std::ceil(240 * size.height() / size.width())), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    svg.render(&p);
    p.end();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c != QColor(Qt::white))
                ++r.inked;
            // The orange of the highlight: strong red, little blue.
            if (c.red() > 200 && c.blue() < 170 && c.red() - c.blue() > 70)
                ++r.accent;
        }
    }
    return r;
}

class PictureFilesTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        data->openProjectConnection(copyTemplate(QStringLiteral("pictures.zfp")));
        ASSERT_EQ(data->OpenProjectTables(), ResultOk) << qPrintable(LastError);
        model = std::make_unique<BuildingModel>(*data, hall);
    }
    void TearDown() override {
        model.reset();
        StorageTest::TearDown();
    }
    void set(const char* column, const QVariant& v) {
        data->tADOProject.setValue(QString::fromLatin1(column), v);
        data->tADOProject.post();
    }

    TProject hall;
    std::unique_ptr<BuildingModel> model;
};

void expectPicture(const QString& file, bool highlighted = false) {
    SCOPED_TRACE(qPrintable(file));
    ASSERT_FALSE(file.isEmpty());
    const Rendered r = render(file);
    EXPECT_TRUE(r.valid) << "not a picture the SVG renderer loads";
    EXPECT_GT(r.inked, 2000) << "nothing drawn";
    if (highlighted) {
        EXPECT_GT(r.accent, 100) << "no highlighted surface";
    }
}

} // namespace

TEST_F(PictureFilesTest, EverySurfaceRecordFindsItsPicture) {
    // The wizard's constructions page shows the picture of the current wall as
    // the data module finds it for the record.
    ConstructionsPage page(*data, [] { return true; });
    model->GenerateWallRecords(-1);
    Dataset& walls = data->tSteny;
    walls.setFiltered(false);
    QMap<QString, int> records;
    for (walls.first(); !walls.eof(); walls.next()) {
        const QString name = walls.asString(QStringLiteral("VariantaHaly")) +
                             walls.asString(QStringLiteral("CisloSteny"));
        records[walls.asString(QStringLiteral("VariantaHaly"))]++;
        SCOPED_TRACE(qPrintable(name));
        EXPECT_EQ(page.wallPicture(),
                  ImagesPath + QStringLiteral("Building/") + name + QStringLiteral(".svg"))
            << "no picture for the record";
        expectPicture(page.wallPicture(), true);
    }
    const QMap<QString, int> expected{{"hA", 6}, {"hB", 9}, {"hC", 9}, {"hD", 8},
                                      {"sA", 4}, {"sB", 8}, {"sC", 4}, {"sD", 3}};
    EXPECT_EQ(records, expected);

    // No picture of a surface that no record has.
    QMap<QString, int> pictures;
    const QRegularExpression surface(QStringLiteral("^([hs][A-D])[0-9]+\\.svg$"));
    for (const QString& f : QDir(ImagesPath + QStringLiteral("Building")).entryList(QDir::Files)) {
        const QRegularExpressionMatch m = surface.match(f);
        if (m.hasMatch())
            pictures[m.captured(1)]++;
    }
    EXPECT_EQ(pictures, expected);
}

TEST_F(PictureFilesTest, TypeVariantAndPropertyPictures) {
    for (int roof = 0; roof <= 3; ++roof)
        expectPicture(BuildingPictureFile(roof, true));
    for (int skylight = 1; skylight <= 4; ++skylight)
        expectPicture(BuildingPictureFile(skylight, false));
    for (int variant = 0; variant < int(ProjectUnits::variantEntries().size()); ++variant)
        expectPicture(ProjectUnits::variantPictureFile(variant));
    for (int i = 0; i < unitPropertyEntryCount(UnitProperty::Location); ++i)
        expectPicture(mountingPictureFile(i), true);
    for (int i = 0; i < unitPropertyEntryCount(UnitProperty::FlueGasExhaust); ++i)
        expectPicture(flueGasPictureFile(i), true);

    // A destratifier's row shows its own two pictures.
    Dataset& units = data->tJednotky;
    units.append();
    units.setValue(QStringLiteral("IDJednotky"), 1);
    units.setValue(QStringLiteral("ObjType"), int(ObjDestratifier));
    units.setValue(QStringLiteral("Typ"), QStringLiteral("Destratifikátor K1"));
    units.post();
    const UnitPictureFiles files = unitPictureFiles(units);
    expectPicture(files.location);
    expectPicture(files.flueGas);
}

// The sketches are measured against the geometry at sizes of their own, with
// every length different, so that a surface drawn on the wrong side or with the
// wrong width shows.
TEST_F(PictureFilesTest, SketchedSurfacesMeasureAsTheGeometry) {
    using namespace zf::pictures;
    const HallSize h{20, 10, 5, 3};
    const SkylightSize s{8, 3, 1.2, 0.9};
    set("Stena_A", h.A);
    set("Stena_B", h.B);
    set("Stena_H1", h.H1);
    set("Stena_H2", h.H2);
    set("Svetlik_A", s.a);
    set("Svetlik_B", s.b);
    set("Svetlik_H1", s.h1);
    set("Svetlik_H2", s.h2);
    model->GenerateWallRecords(-1);

    auto check = [&](int roof, int skylight, const Shape& shape) {
        SCOPED_TRACE(qPrintable(shape.variant));
        set("Typ_strechy_enum", roof);
        set("Typ_svetliku_enum", skylight);
        model->FilterWallVariants(roof, skylight);
        model->ComputeHallGeometry();
        Dataset& w = data->tSteny;
        size_t seen = 0;
        for (w.first(); !w.eof(); w.next()) {
            if (w.asString(QStringLiteral("VariantaHaly")) != shape.variant)
                continue;
            const int number = w.asInteger(QStringLiteral("CisloSteny"));
            const Face* face = shape.face(number);
            ASSERT_NE(face, nullptr) << number;
            const double area = w.asFloat(QStringLiteral("Plocha"));
            EXPECT_NEAR(face->area(), area, 0.001 * area) << "surface " << number;
            ++seen;
        }
        EXPECT_EQ(seen, shape.faces.size());
    };
    for (int roof = 0; roof <= 3; ++roof)
        check(roof, 0, hallShape(roof, h));
    // The skylight records follow the hall's, by position.
    for (int type = 1; type <= 4; ++type)
        check(0, type, skylightShape(type, h, s));

    // Walls 1 and 3 are as wide as B, 2 and 4 as long as A, whatever the roof.
    const Shape saddle = hallShape(1, h);
    EXPECT_NEAR(saddle.face(1)->area(), h.B * h.H1, 1e-9);
    EXPECT_NEAR(saddle.face(2)->area(), h.A * h.H1, 1e-9);
    EXPECT_LT(saddle.face(1)->anchor.x, saddle.face(3)->anchor.x);
    EXPECT_LT(saddle.face(2)->anchor.y, saddle.face(4)->anchor.y);
    // A gable stands over the wall of its side, the floor at the bottom.
    EXPECT_NEAR(saddle.face(5)->anchor.x, saddle.face(1)->anchor.x, 1e-9);
    EXPECT_NEAR(saddle.face(7)->anchor.x, saddle.face(3)->anchor.x, 1e-9);
    EXPECT_NEAR(saddle.face(9)->anchor.z, 0, 1e-9);
    EXPECT_LT(saddle.face(9)->normal.z, -0.99);
}
