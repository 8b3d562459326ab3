// The plan's throw zones: kept in step with the symbols and a drag, and drawn.
#include "units/planview.h"

#include <QHash>
#include <QPainter>
#include <QTransform>
#include <cmath>

namespace zf {

// The coverage of the symbols, its units in the order the symbols had when it
// was made, and where each number's unit stands in it. A drop puts its symbol
// at the end of the list; the number finds its unit all the same, so a drop
// moves one zone and does not make all of them anew.
struct PlanView::ZoneCache::Data {
    ThrowCoverage coverage;
    QHash<int, int> indexOfNumber;
};

PlanView::ZoneCache::ZoneCache() = default;
PlanView::ZoneCache::ZoneCache(const ZoneCache&) {}
PlanView::ZoneCache& PlanView::ZoneCache::operator=(const ZoneCache&) {
    d.reset();
    return *this;
}
PlanView::ZoneCache::~ZoneCache() = default;

bool PlanView::setThrowSpread(double degrees) {
    if (!isValidThrowSpread(degrees))
        return false;
    spread_ = degrees;
    return true;
}

QColor PlanView::throwZoneFill() {
    return QColor(255, 230, 0, 80);
}

QColor PlanView::throwZoneEdge() {
    return QColor(200, 150, 0);
}

QColor PlanView::unreachedFloorFill() {
    return QColor(60, 120, 220, 50);
}

namespace {

ThrowUnit zoneUnitOf(const PlanSymbol& s) {
    return {s.number, s.kind, s.x, s.y, double(s.angle), s.throwM};
}

} // namespace

// Compares what the zones were made from with the symbols: a change of the
// numbers, kinds or throws makes them all again; units at another place or
// angle (a drag frame, a drop, an undo) are moved one by one.
void PlanView::syncZones() const {
    if (!zones_.d)
        zones_.d = std::make_unique<ZoneCache::Data>();
    ZoneCache::Data& z = *zones_.d;
    ThrowCoverage& c = z.coverage;
    if (c.spread() != spread_)
        c.setSpread(spread_);
    if (c.floorLength() != A_ || c.floorWidth() != B_)
        c.setFloor(A_, B_);
    const int n = count();
    auto wanted = [this](int i) {
        ThrowUnit u = zoneUnitOf(symbols_[size_t(i)]);
        if (i == dragIndex_ && dragMoved_) {
            const QPointF w = toWorld(QPointF(dragPointer_ + dragOffset_));
            u.x = w.x();
            u.y = w.y();
        }
        return u;
    };
    bool same = c.count() == n && z.indexOfNumber.size() == n;
    std::vector<std::pair<int, ThrowUnit>> moved;
    for (int i = 0; same && i < n; ++i) {
        const ThrowUnit want = wanted(i);
        const int at = z.indexOfNumber.value(want.id, -1);
        if (at < 0) {
            same = false;
            break;
        }
        const ThrowUnit& have = c.unit(at);
        same = have.kind == want.kind && have.throwM == want.throwM;
        if (same && (have.x != want.x || have.y != want.y || have.angleDeg != want.angleDeg))
            moved.emplace_back(at, want);
    }
    // Many units moved at once (a placement undone) are quicker made anew.
    if (same && moved.size() <= size_t(n / 8) + 4) {
        for (const auto& [at, u] : moved)
            c.moveUnit(at, u.x, u.y, u.angleDeg);
        return;
    }
    std::vector<ThrowUnit> units;
    units.reserve(size_t(n));
    z.indexOfNumber.clear();
    for (int i = 0; i < n; ++i) {
        units.push_back(wanted(i));
        z.indexOfNumber.insert(units.back().id, i);
    }
    c.setUnits(std::move(units));
}

const ThrowCoverage& PlanView::throwCoverage() const {
    syncZones();
    return zones_.d->coverage;
}

CoverageFigures PlanView::throwFigures() const {
    return throwCoverage().figures();
}

quint64 PlanView::drawingKey() const {
    // FNV-1a over what the drawing shows besides the view.
    quint64 h = 1469598103934665603ull;
    auto add = [&h](const void* data, size_t size) {
        const auto* b = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i)
            h = (h ^ b[i]) * 1099511628211ull;
    };
    const double hall[] = {A_, B_, H_, W_, spread_};
    add(hall, sizeof hall);
    const int flags[] = {ShowLabels, ShowThrowZones, int(background.rgba()), count()};
    add(flags, sizeof flags);
    for (const PlanSymbol& s : symbols_) {
        const int whole[] = {s.number, s.kind, s.angle, s.selected};
        const float place[] = {s.x, s.y};
        add(whole, sizeof whole);
        add(place, sizeof place);
        add(&s.throwM, sizeof s.throwM);
        add(s.numberText.constData(), size_t(s.numberText.size()) * sizeof(QChar));
        add(s.typeText.constData(), size_t(s.typeText.size()) * sizeof(QChar));
    }
    return h;
}

QTransform PlanView::worldToPixel() const {
    const double sx = 1 / metresPerPixelX();
    const double sy = 1 / metresPerPixelY();
    return QTransform(sx, 0, 0, -sy, -visible_.xmin * sx, visible_.ymax * sy);
}

// Filled and outlined without antialiasing, as the rest of the plan: a few
// hundred translucent zones are then drawn in a few milliseconds.
void PlanView::paintUnreached(QPainter& p) {
    const ThrowCoverage& c = throwCoverage();
    if (!(c.floorArea() > 0))
        return;
    QPainterPath rest;
    if (dragging()) {
        // The floor no other zone reaches: the dragged zone covers its part of
        // it each frame (paintDraggedZone).
        const int dragged = zones_.d->indexOfNumber.value(symbols_[size_t(dragIndex_)].number, -1);
        ThrowCoverage others;
        others.setFloor(c.floorLength(), c.floorWidth());
        others.setSpread(c.spread());
        std::vector<ThrowUnit> units;
        units.reserve(size_t(c.count()));
        for (int i = 0; i < c.count(); ++i)
            if (i != dragged)
                units.push_back(c.unit(i));
        others.setUnits(std::move(units));
        rest = others.uncoveredPath();
    } else {
        rest = c.uncoveredPath();
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(worldToPixel().map(rest), unreachedFloorFill());
    p.restore();
}

namespace {

void beginZones(QPainter& p, const QBrush& fill) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen edge(PlanView::throwZoneEdge());
    edge.setWidth(1);
    edge.setCosmetic(true);
    p.setPen(edge);
    p.setBrush(fill);
}

// A colour over another, as a translucent fill leaves it.
QColor over(const QColor& top, const QColor& under) {
    const double a = top.alphaF();
    auto mix = [a](int t, int u) { return int(std::lround(t * a + u * (1 - a))); };
    return QColor(mix(top.red(), under.red()), mix(top.green(), under.green()),
                  mix(top.blue(), under.blue()));
}

} // namespace

// The dragged unit's zone over the floor, opaque in the colour the zone leaves
// over the floor: it hides the mark of the unreached floor below it, and the
// other zones drawn above it deepen its colour where they overlap, as when all
// are drawn together.
void PlanView::paintDraggedZone(QPainter& p) {
    if (!dragging())
        return;
    const ThrowCoverage& c = throwCoverage();
    const int at = zones_.d->indexOfNumber.value(symbols_[size_t(dragIndex_)].number, -1);
    const ThrowZone* zone = at >= 0 ? c.zone(at) : nullptr;
    if (!zone || zone->boundary.empty())
        return;
    beginZones(p, over(throwZoneFill(), background));
    p.drawPath(worldToPixel().map(zone->path()));
    p.restore();
}

// Each zone on its own, so that where zones overlap the colour deepens; while
// a unit is dragged, without its zone unless asked for.
void PlanView::paintZones(QPainter& p, bool withDragged) {
    const ThrowCoverage& c = throwCoverage();
    const int dragged = dragging() && !withDragged
                            ? zones_.d->indexOfNumber.value(symbols_[size_t(dragIndex_)].number, -1)
                            : -1;
    const QTransform toPixels = worldToPixel();
    beginZones(p, throwZoneFill());
    for (int i = 0; i < c.count(); ++i) {
        if (i == dragged)
            continue;
        if (const ThrowZone* zone = c.zone(i); zone && !zone->boundary.empty())
            p.drawPath(toPixels.map(zone->path()));
    }
    p.restore();
}

} // namespace zf
