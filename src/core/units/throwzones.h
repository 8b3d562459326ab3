#pragma once

// The throw zones of the placed units and the share of the hall's floor that
// they reach.
//
// A warm-air unit (ObjType 0) whose Dosah is a number r, or a range "a-b" (then
// r = a, the throw that holds at every setting), has one throw zone: the
// circular sector of radius r with its apex at the unit's (X, Y), centred on the
// blowing direction (Uhel, degrees clockwise from +Y) and opening by the spread
// angle in all, cut to the floor 0..A x 0..B. MK units, destratifiers and units
// without a readable Dosah have none. The covered area is the area of the union
// of all zones.
//
// Everything is in plan coordinates: metres on the floor, origin at the floor
// corner, X along A, Y along B, Y upwards. Areas are exact (the union is found
// from the zones' boundaries, not sampled), to rounding.

#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace zf {

class Dataset;
class PlanView;
class TZFData;

// The opening angle of a zone [degrees] unless the user's setting or the tool's
// --spread says otherwise.
inline constexpr double DefaultThrowSpreadDeg = 40;
// The spreads the functions accept: 0 < spread <= 180. A wider sector is not
// convex, which the union relies on.
inline constexpr double MaxThrowSpreadDeg = 180;
bool isValidThrowSpread(double deg);

// The throw [m] a Dosah text gives: a number ("12", "12.5", "12,5") or a range
// of two ("20-26", "20 - 26", "20–26" with an en dash), whose lower end holds at
// every setting; blanks around are ignored. Nothing for an empty text, anything
// else (a sign, an exponent, a unit, a third number), or a throw that is not
// above 0.
std::optional<double> throwFromDosah(const QString& dosah);

// One placed unit as the throw zones see it.
struct ThrowUnit {
    int id = 0;          // IDJednotky
    int kind = 0;        // ObjType
    double x = 0, y = 0; // the zone's apex
    double angleDeg = 0; // blowing direction, clockwise from +Y
    double throwM = 0;   // the throw; 0 when Dosah gives none
    // A warm-air unit with a throw, at a finite place and angle.
    bool hasZone() const;
};

// A vertex of a closed boundary and the edge from it to the next vertex (from
// the last back to the first).
struct ZoneVertex {
    double x = 0, y = 0;
    // 0 for a straight edge; for a circular arc tan(sweep / 4), positive when
    // the arc turns counter-clockwise (Y upwards): the bulge of a DXF
    // LWPOLYLINE vertex, which then reproduces the arc exactly.
    double bulge = 0;
};

// The zone of one unit, cut to the floor. The cut sector is convex; its
// boundary runs counter-clockwise, its arcs all lie on the circle of radius
// throwM about the apex.
struct ThrowZone {
    int id = 0;                  // IDJednotky
    double throwM = 0;           // radius of the arcs
    double apexX = 0, apexY = 0; // centre of the arcs
    double area = 0;             // of the cut zone [m2]; 0 when nothing of it is on the floor
    QRectF bounds;               // of the cut zone; empty with the area 0
    // Counter-clockwise from the apex when it lies on the floor (else from the
    // lowest vertex), without repeated vertices; empty when no part of the
    // sector lies on the floor (a unit beyond a wall blowing away from the hall).
    std::vector<ZoneVertex> boundary;
    // The boundary as a painter path in plan metres (Y upwards: a view maps it
    // with its world-to-pixel transform). Its arcs are cubic curves of at most
    // 30 degrees that end on the boundary's vertices and stay within 4e-7 of
    // the radius from the circle; the exact figure is the boundary above.
    QPainterPath path() const;
};

// The zone of one unit on a floor of A x B; nothing when the unit has none.
std::optional<ThrowZone> throwZone(const ThrowUnit& unit, double A, double B,
                                   double spreadDeg = DefaultThrowSpreadDeg);

// The figures of the coverage.
struct CoverageFigures {
    double floorArea = 0;      // A x B [m2]
    double coveredArea = 0;    // of the union of the zones [m2]
    double coveredPercent = 0; // 100 x coveredArea / floorArea, unrounded; 0 without a floor
    double spreadDeg = DefaultThrowSpreadDeg;
    // The units that have a zone (also when it is cut to nothing), by id; units
    // with the same id keep their order.
    struct Unit {
        int id = 0;
        double throwM = 0;
        double zoneArea = 0; // of the cut zone
    };
    std::vector<Unit> units;
};

// The coverage of the units on a floor of A x B (each at most 0 counts as no
// floor: no zone, every area 0). The spread must be valid (isValidThrowSpread);
// an invalid one gives the figures of no zone and that spread.
CoverageFigures computeThrowCoverage(const std::vector<ThrowUnit>& units, double A, double B,
                                     double spreadDeg = DefaultThrowSpreadDeg);

// The zones of a plan and their union, kept up to date while single units move:
// moving one unit computes again only the zones that it reached before or
// reaches now, so a view can follow a drag frame by frame. The outlines are made
// when they are asked for and kept until the next change. On 1,000 units
// (bench/bench_coverage) the whole union takes a few milliseconds, a move with
// the figure and both paths one or two.
class ThrowCoverage {
public:
    ThrowCoverage();
    ~ThrowCoverage();
    ThrowCoverage(const ThrowCoverage&) = delete;
    ThrowCoverage& operator=(const ThrowCoverage&) = delete;

    // Each of these computes everything again.
    void setFloor(double A, double B);
    // False, and nothing changes, for a spread that is not valid.
    bool setSpread(double deg);
    void setUnits(std::vector<ThrowUnit> units);

    double floorLength() const;
    double floorWidth() const;
    double spread() const;

    // The units in the order given; index is a position in that list.
    int count() const;
    const ThrowUnit& unit(int index) const;
    // The index of the first unit with the id, or -1.
    int indexOf(int id) const;
    // The unit at index is now at (x, y) blowing at angleDeg (a drag, a drop, an
    // undo); its throw and kind stay.
    void moveUnit(int index, double x, double y, double angleDeg);
    // The cut zone of the unit at index; nullptr when the unit has no zone.
    // Valid until the next change.
    const ThrowZone* zone(int index) const;

    double floorArea() const;
    double coveredArea() const;
    double coveredPercent() const;
    CoverageFigures figures() const;

    // The floor that the zones reach and the floor that none reaches, as painter
    // paths in plan metres with the winding fill: the union's outline (outer
    // loops counter-clockwise, holes clockwise), and the floor rectangle with
    // that outline reversed. Arcs as in ThrowZone::path.
    QPainterPath coveredPath() const;
    QPainterPath uncoveredPath() const;
    // The union's outline exactly, as closed loops of ZoneVertex: outer loops
    // counter-clockwise, the loops around holes clockwise. Empty without zones.
    const std::vector<std::vector<ZoneVertex>>& coveredOutline() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// --- the open project ---

// The units of tJednotky in table order, without moving its cursor: IDJednotky,
// ObjType, X, Y, Uhel taken as the whole number the plan keeps (halves to even),
// the throw from Dosah. Empty when the dataset is not open.
std::vector<ThrowUnit> throwUnitsFromTable(const Dataset& tJednotky);

// The units as the plan shows them: each symbol's number, kind, place and
// angle, with the throw of the first tJednotky row of its number (none without
// a row), in the plan's list order.
std::vector<ThrowUnit> throwUnitsFromPlan(const PlanView& plan, const Dataset& tJednotky);

// The coverage of the units stored in tJednotky on the floor of the plan's
// hall (its A and B as the plan has them from the project).
CoverageFigures projectThrowCoverage(const TZFData& data, const PlanView& plan,
                                     double spreadDeg = DefaultThrowSpreadDeg);

} // namespace zf
