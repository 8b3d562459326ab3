#include "building/hallgeometry.h"

#include "building/buildingmodel.h"
#include "building/fieldaccess.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/texts.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <vector>

namespace zf {

using building::col;

CircularSegmentResult CircularSegment(float chord, float rise) {
    CircularSegmentResult r;
    const float c = chord, h = rise;
    if (!(c > 0) || !(h > 0))
        return r;
    r.R = (h * h + c * c / 4) / (2 * h);
    if (h > c / 2) {
        r.R = c / 2;
        r.status = SegmentTooHigh;
        return r;
    }
    // At a half circle c/(2R) is 1 exactly in theory; rounding must not push it
    // past the domain of arcsin.
    const float half = std::min(c / (2 * r.R), 1.0f);
    r.theta = 2 * std::asin(half);
    r.S = (r.theta - std::sin(r.theta)) * (r.R * r.R) / 2;
    return r;
}

QString BuildingPictureFile(int index, bool isRoof) {
    QString name;
    if (isRoof && index >= 0 && index <= 3)
        name = QLatin1Char('h') + QChar(u'a' + index);
    else if (!isRoof && index >= 1 && index <= 4)
        name = QLatin1Char('s') + QChar(u'a' + index - 1);
    if (name.isEmpty())
        return QString();
    const QString file = ImagesPath + QStringLiteral("Building/") + name + QStringLiteral(".svg");
    return QFileInfo::exists(file) ? file : QString();
}

QString wallVariantFilter(int roofIndex, int skylightIndex) {
    static const char* const hall[] = {"hA", "hB", "hC", "hD"};
    static const char* const sky[] = {"xx", "sA", "sB", "sC", "sD"};
    QStringList terms;
    if (roofIndex >= 0 && roofIndex <= 3)
        terms << QStringLiteral("VariantaHaly = '%1'").arg(QLatin1String(hall[roofIndex]));
    if (skylightIndex >= 0 && skylightIndex <= 4)
        terms << QStringLiteral("VariantaHaly = '%1'").arg(QLatin1String(sky[skylightIndex]));
    return terms.join(QLatin1String(" OR "));
}

int hallRecordCount(int roofIndex) {
    switch (roofIndex) {
    case 0:
        return 6;
    case 1:
    case 2:
        return 9;
    case 3:
        return 8;
    default:
        return 0;
    }
}

namespace {

struct Surface {
    float plocha, vyska, sirka;
    bool floor = false;
};

struct HallShape {
    std::vector<Surface> surfaces; // in record order
    float volume = 0;
    float floorArea = 0;
};

void showSegmentError(int messageId, float radius) {
    ShowMessageBox(formatText(LanguageText(messageId), {double(radius)}),
                   QString::fromLatin1(ProductName), MbError);
}

HallShape hallShape(const TProject& p) {
    const float A = p.StenaA, B = p.StenaB, H1 = p.StenaH1, H2 = p.StenaH2;
    HallShape h;
    if (hallRecordCount(p.TypStrechy) == 0)
        return h;
    h.surfaces = {{B * H1, H1, B}, {A * H1, H1, A}, {B * H1, H1, B}, {A * H1, H1, A}};
    const Surface floor{A * B, A, B, true};
    h.floorArea = A * B;
    switch (p.TypStrechy) {
    case 0:
        h.surfaces.push_back({A * B, A, B});
        h.volume = A * B * H1;
        break;
    case 1: {
        const Surface gable{B * H2 / 2, H2, B};
        const Surface plane{A * std::sqrt(H2 * H2 + (B / 2) * (B / 2)), H2, A};
        h.surfaces.insert(h.surfaces.end(), {gable, plane, gable, plane});
        h.volume = A * B * H1 + A * B * H2 / 2;
        break;
    }
    case 2: {
        const Surface gable{B * H2 / 2, H2, B};
        h.surfaces.insert(h.surfaces.end(),
                          {gable, {A * std::sqrt(H2 * H2 + B * B), H2, A}, gable, {A * H2, H2, A}});
        h.volume = A * B * H1 + A * B * H2 / 2;
        break;
    }
    case 3: {
        const CircularSegmentResult seg = CircularSegment(B, H2);
        if (seg.status == SegmentTooHigh)
            showSegmentError(5027, seg.R);
        const Surface gable{seg.S, H2, B};
        h.surfaces.insert(h.surfaces.end(), {gable, {seg.R * seg.theta * A, H2, A}, gable});
        h.volume = A * B * H1 + A * seg.S;
        break;
    }
    }
    h.surfaces.push_back(floor);
    return h;
}

HallShape skylightShape(const TProject& p) {
    const float a = p.SvetlikA, b = p.SvetlikB, h1 = p.SvetlikH1, h2 = p.SvetlikH2;
    HallShape s;
    if (p.TypSvetliku < 1 || p.TypSvetliku > 4)
        return s;
    s.floorArea = a * b;
    switch (p.TypSvetliku) {
    case 1: {
        const Surface end{b * h1 / 2, h1, b};
        const Surface plane{a * std::sqrt(h1 * h1 + (b / 2) * (b / 2)), h1, a};
        s.surfaces = {end, plane, end, plane};
        s.volume = a * b * h1 / 2;
        break;
    }
    case 2: {
        const Surface side{b * h1, h1, b}, front{a * h1, h1, a};
        const Surface end{b * h2 / 2, h2, b};
        const Surface plane{a * std::sqrt(h2 * h2 + (b / 2) * (b / 2)), h2, a};
        s.surfaces = {side, front, side, front, end, plane, end, plane};
        s.volume = a * b * h1 + a * b * h2 / 2;
        break;
    }
    case 3: {
        const Surface end{b * h1 / 2, h1, b};
        s.surfaces = {end, {a * std::sqrt(h1 * h1 + b * b), h1, a}, end, {a * h1, h1, a}};
        s.volume = a * b * h1 / 2;
        break;
    }
    case 4: {
        const CircularSegmentResult seg = CircularSegment(b, h1);
        if (seg.status == SegmentTooHigh)
            showSegmentError(5026, seg.R);
        const Surface end{seg.S, h1, b};
        s.surfaces = {end, {seg.R * seg.theta * a, h1, a}, end};
        s.volume = seg.S * a;
        break;
    }
    }
    return s;
}

// Returns to the wall record with the given key, or to the first one when it is
// no longer visible.
void returnToWall(Dataset& walls, const QVariant& id) {
    if (id.isNull() || !walls.locate(col("IDSteny"), id))
        walls.first();
}

QVariant currentWallId(const Dataset& walls) {
    return walls.isEmpty() ? QVariant() : walls.value(col("IDSteny"));
}

} // namespace

BuildingModel::BuildingModel(TZFData& data, TProject& project) : data_(data), project_(project) {
    projectHandle_ = data_.dsADOProject.addDataChange(
        [this](DataSource&, const QString&) { refreshGeometry(); });
    refreshGeometry();
}

BuildingModel::~BuildingModel() {
    data_.dsADOProject.removeDataChange(projectHandle_);
}

void BuildingModel::refreshGeometry() {
    using building::readSingle;
    // Closed or without its record (between projects): the last project's
    // geometry stands until the next one is read.
    if (!data_.tADOProject.active() || data_.tADOProject.isEmpty())
        return;
    const Dataset& p = building::projectRecord(data_);
    TProject& t = project_;
    t.StenaA = readSingle(p, col("Stena_A"));
    t.StenaB = readSingle(p, col("Stena_B"));
    t.StenaH1 = readSingle(p, col("Stena_H1"));
    t.StenaH2 = readSingle(p, col("Stena_H2"));
    t.SvetlikA = readSingle(p, col("Svetlik_A"));
    t.SvetlikB = readSingle(p, col("Svetlik_B"));
    t.SvetlikH1 = readSingle(p, col("Svetlik_H1"));
    t.SvetlikH2 = readSingle(p, col("Svetlik_H2"));
    t.TypStrechy = p.asInteger(col("Typ_strechy_enum"));
    t.TypSvetliku = p.asInteger(col("Typ_svetliku_enum"));
    t.Vytapeni = p.asBoolean(col("Vytapeni_bool"));
    t.Vetrani = p.asBoolean(col("Vetrani_bool"));
    t.Chlazeni = p.asBoolean(col("Chlazeni_bool"));
    t.Ti = readSingle(p, col("Ti"));
    t.Te = readSingle(p, col("Te"));
    t.Tzeme = readSingle(p, col("Tzeme"));
    if (roofChoice_ >= 0)
        t.TypStrechy = roofChoice_;
    if (skylightChoice_ >= 0)
        t.TypSvetliku = skylightChoice_;
}

void BuildingModel::setTypeChoices(int roofIndex, int skylightIndex) {
    roofChoice_ = roofIndex;
    skylightChoice_ = skylightIndex;
    refreshGeometry();
}

void BuildingModel::FilterWallVariants(int roofIndex, int skylightIndex) {
    Dataset& walls = data_.tSteny;
    Dataset::ControlsSuspended suspended(walls);
    walls.setFilter(wallVariantFilter(roofIndex, skylightIndex));
    walls.setFiltered(true);
    walls.refresh();
    walls.first();
}

void BuildingModel::ComputeHallGeometry() {
    building::OverflowScope overflows(building::OverflowScope::Geometry);
    Dataset& walls = data_.tSteny;
    const QVariant remembered = currentWallId(walls);
    Dataset::ControlsSuspended wallsSuspended(walls);
    Dataset::ControlsSuspended openingsSuspended(data_.tStavOtvory);
    const HallShape hall = hallShape(project_);
    const HallShape sky = skylightShape(project_);

    float hallSurface = 0, skySurface = 0;
    Database::Transaction transaction(*walls.database());
    {
        // Strictly by position: the hall's records come first, the skylight's
        // follow; a record beyond both lists is left as it is.
        const size_t hallCount = hall.surfaces.size();
        size_t position = 0;
        walls.first();
        while (!walls.eof()) {
            const Surface* s = nullptr;
            if (position < hallCount)
                s = &hall.surfaces[position];
            else if (position - hallCount < sky.surfaces.size())
                s = &sky.surfaces[position - hallCount];
            if (s) {
                building::writeSingle(walls, col("Plocha"), s->plocha);
                building::writeSingle(walls, col("Vyska"), s->vyska);
                building::writeSingle(walls, col("Sirka"), s->sirka);
                walls.post();
                if (position >= hallCount)
                    skySurface += s->plocha;
                else if (!s->floor)
                    hallSurface += s->plocha;
            }
            ++position;
            walls.next();
        }

        Dataset& p = building::projectRecord(data_);
        building::writeSingle(p, col("Vhala"), hall.volume);
        building::writeSingle(p, col("Vsvetlik"), sky.volume);
        building::writeSingle(p, col("Vtotal"), hall.volume + sky.volume);
        building::writeSingle(p, col("Shala_steny"), hallSurface);
        building::writeSingle(p, col("Shala_podlaha"), hall.floorArea);
        building::writeSingle(p, col("Ssvetlik_steny"), skySurface);
        building::writeSingle(p, col("Ssvetlik_podlaha"), sky.floorArea);
        p.post();
    }
    // The infiltration loss depends on the total volume.
    ComputeHeatLosses(true);
    transaction.commit();
    returnToWall(walls, remembered);
}

void BuildingModel::ApplyProjectTemperatures() {
    const Dataset& p = building::projectRecord(data_);
    AssignWallTemperatures(building::readSingle(p, col("Ti")), building::readSingle(p, col("Te")),
                           building::readSingle(p, col("Tzeme")));
}

void BuildingModel::AssignWallTemperatures(float Ti, float Te, float Tzeme) {
    building::OverflowScope overflows(building::OverflowScope::Temperatures);
    Dataset& walls = data_.tSteny;
    const QVariant remembered = currentWallId(walls);
    Dataset::ControlsSuspended suspended(walls);
    {
        Database::Transaction transaction(*walls.database());
        walls.first();
        while (!walls.eof()) {
            building::writeSingle(walls, col("Ti"), Ti);
            // The floor's outer side is the ground.
            building::writeSingle(walls, col("Te"),
                                  walls.asBoolean(col("Prilehla_k_zemi")) ? Tzeme : Te);
            walls.post();
            walls.next();
        }
        transaction.commit();
    }
    returnToWall(walls, remembered);
}

} // namespace zf
