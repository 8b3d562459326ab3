// The plan's throw zones: kept in step with the symbols and a drag, and drawn.
#include "units/planview.h"

#include <QHash>
#include <QPainter>
#include <QTransform>

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
    if (same && moved.size() <= size_t(n / 8 + 4)) {
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

QTransform PlanView::worldToPixel() const {
    const double sx = 1 / metresPerPixelX();
    const double sy = 1 / metresPerPixelY();
    return QTransform(sx, 0, 0, -sy, -visible_.xmin * sx, visible_.ymax * sy);
}

void PlanView::paintUnreached(QPainter& p) {
    const ThrowCoverage& c = throwCoverage();
    if (!(c.floorArea() > 0))
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillPath(worldToPixel().map(c.uncoveredPath()), unreachedFloorFill());
    p.restore();
}

namespace {

void drawZone(QPainter& p, const QPainterPath& pixels) {
    p.drawPath(pixels);
}

void beginZones(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen edge(PlanView::throwZoneEdge());
    edge.setWidth(1);
    edge.setCosmetic(true);
    p.setPen(edge);
    p.setBrush(PlanView::throwZoneFill());
}

} // namespace

void PlanView::paintDraggedZone(QPainter& p) {
    if (!dragging())
        return;
    const ThrowCoverage& c = throwCoverage();
    const int at = zones_.d->indexOfNumber.value(symbols_[size_t(dragIndex_)].number, -1);
    const ThrowZone* zone = at >= 0 ? c.zone(at) : nullptr;
    if (!zone || zone->boundary.empty())
        return;
    beginZones(p);
    drawZone(p, worldToPixel().map(zone->path()));
    p.restore();
}

// Each zone on its own, so that where zones overlap the colour deepens.
void PlanView::paintZones(QPainter& p, bool withDragged) {
    const ThrowCoverage& c = throwCoverage();
    const int dragged = dragging() && !withDragged
                            ? zones_.d->indexOfNumber.value(symbols_[size_t(dragIndex_)].number, -1)
                            : -1;
    const QTransform toPixels = worldToPixel();
    beginZones(p);
    for (int i = 0; i < c.count(); ++i) {
        if (i == dragged)
            continue;
        if (const ThrowZone* zone = c.zone(i); zone && !zone->boundary.empty())
            drawZone(p, toPixels.map(zone->path()));
    }
    p.restore();
}

} // namespace zf
