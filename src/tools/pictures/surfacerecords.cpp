#include "pictures/surfacerecords.h"

#include "building/buildingmodel.h"
#include "pictures/buildingsketch.h"
#include "storage/zfdata.h"

#include <cmath>
#include <set>

namespace zf::pictures {

namespace {

void setProject(TZFData& data, const char* column, const QVariant& v) {
    data.tADOProject.setValue(QString::fromLatin1(column), v);
    data.tADOProject.post();
}

void setSizes(TZFData& data, const HallSize& h, const SkylightSize& s) {
    setProject(data, "Stena_A", h.A);
    setProject(data, "Stena_B", h.B);
    setProject(data, "Stena_H1", h.H1);
    setProject(data, "Stena_H2", h.H2);
    setProject(data, "Svetlik_A", s.a);
    setProject(data, "Svetlik_B", s.b);
    setProject(data, "Svetlik_H1", s.h1);
    setProject(data, "Svetlik_H2", s.h2);
}

// The visible records whose variant code starts with the letter, in table order.
void collect(TZFData& data, QChar letter, std::vector<SurfaceRecord>& out) {
    Dataset& walls = data.tSteny;
    for (walls.first(); !walls.eof(); walls.next()) {
        const QString variant = walls.asString(QStringLiteral("VariantaHaly"));
        if (variant.startsWith(letter))
            out.push_back({variant, walls.asInteger(QStringLiteral("CisloSteny")),
                           walls.asFloat(QStringLiteral("Plocha"))});
    }
}

} // namespace

std::vector<SurfaceRecord> sketchedSurfaceRecords(TZFData& data) {
    TProject project;
    BuildingModel model(data, project);
    model.GenerateWallRecords(-1);
    std::vector<SurfaceRecord> records;
    // As choosing the type in the wizard does: the records of one hall and one
    // skylight variant shown, then measured.
    auto choose = [&](int roof, int skylight) {
        setProject(data, "Typ_strechy_enum", roof);
        setProject(data, "Typ_svetliku_enum", skylight);
        model.FilterWallVariants(roof, skylight);
        model.ComputeHallGeometry();
    };
    for (int roof = 0; roof <= 3; ++roof) {
        setSizes(data, sketchHallSize(), {});
        choose(roof, 0);
        collect(data, QLatin1Char('h'), records);
    }
    for (int type = 1; type <= 4; ++type) {
        setSizes(data, skylightHallSize(), sketchSkylightSize(type));
        choose(0, type);
        collect(data, QLatin1Char('s'), records);
    }
    return records;
}

QStringList compareWithSketches(const std::vector<SurfaceRecord>& records) {
    QStringList problems;
    std::set<std::pair<QString, int>> seen;
    for (const SurfaceRecord& r : records) {
        const QString name = r.variant + QString::number(r.number);
        seen.insert({r.variant, r.number});
        const Shape shape = sketchShape(r.variant);
        const Face* face = shape.face(r.number);
        if (!face) {
            problems << name + QStringLiteral(": no such surface in the sketch");
            continue;
        }
        // The sketch bends an arc in short straight pieces.
        const double sketched = face->area();
        if (std::abs(sketched - r.area) > 0.002 * std::max(1.0, r.area))
            problems << QStringLiteral("%1: the sketch's surface measures %2 m², the record %3 m²")
                            .arg(name)
                            .arg(sketched, 0, 'f', 4)
                            .arg(r.area, 0, 'f', 4);
    }
    for (const char* code : {"hA", "hB", "hC", "hD", "sA", "sB", "sC", "sD"}) {
        const QString variant = QString::fromLatin1(code);
        for (const Face& f : sketchShape(variant).faces)
            if (!seen.count({variant, f.number}))
                problems << variant + QString::number(f.number) +
                                QStringLiteral(": sketched, but no record is generated");
    }
    return problems;
}

} // namespace zf::pictures
