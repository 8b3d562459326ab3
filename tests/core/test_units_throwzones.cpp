// The throw zones and the covered share of the floor: zones and unions worked
// by hand, the boundaries and paths the plan and the drawing export use, a
// seeded cross-check against an independent scanline integration, moves of
// single units, and the coverage of a project placed by the real placement.
#include "common/globals.h"
#include "common/resultcodes.h"
#include "testsupport.h"
#include "units/projectunits.h"
#include "units/throwzones.h"
#include "units/unittypes.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

using namespace zf;
using namespace zf::test;

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Deg = Pi / 180;
constexpr int W = ObjWarmAirUnit, M = ObjMixingUnit, D = ObjDestratifier;

ThrowUnit unit(int id, double x, double y, double angle, double throwM, int kind = W) {
    return {id, kind, x, y, angle, throwM};
}

double sectorArea(double r, double spreadDeg) {
    return 0.5 * r * r * spreadDeg * Deg;
}

// The area a closed polyline with bulges encloses, as a DXF reader draws it:
// the polygon of its vertices plus the circular segment of every bulged edge.
double bulgeArea(const std::vector<ZoneVertex>& loop) {
    double area = 0;
    for (size_t k = 0; k < loop.size(); ++k) {
        const ZoneVertex& v = loop[k];
        const ZoneVertex& w = loop[(k + 1) % loop.size()];
        area += 0.5 * (v.x * w.y - w.x * v.y);
        if (v.bulge != 0) {
            const double theta = 4 * std::atan(v.bulge);
            const double chord = std::hypot(w.x - v.x, w.y - v.y);
            const double r = chord / (2 * std::sin(theta / 2));
            area += 0.5 * r * r * (theta - std::sin(theta));
        }
    }
    return area;
}

// An independent estimate of the union's area: the floor cut into thin strips,
// the covered length of each strip's middle line found exactly from every
// zone's disk, edge lines and the four walls, summed by the midpoint rule. The
// strips run at an angle of one radian to the walls, so that no edge runs along
// them (which would make the covered length jump within a strip).
double scanlineArea(const std::vector<ThrowUnit>& units, double A, double B, double spreadDeg,
                    int strips) {
    const double ct = std::cos(1.0), st = std::sin(1.0);
    auto turn = [&](double x, double y) { return std::pair{ct * x - st * y, st * x + ct * y}; };
    struct Half {
        double nx, ny, ox, oy; // inward normal, a point of the line; turned
    };
    auto half = [&](double nx, double ny, double ox, double oy) {
        const auto [tnx, tny] = turn(nx, ny);
        const auto [tox, toy] = turn(ox, oy);
        return Half{tnx, tny, tox, toy};
    };
    struct Sector {
        double cx, cy, r;
        std::vector<Half> halves;
    };
    const std::vector<Half> walls{half(1, 0, 0, 0), half(-1, 0, A, 0), half(0, 1, 0, 0),
                                  half(0, -1, 0, B)};
    std::vector<Sector> sectors;
    for (const ThrowUnit& u : units) {
        if (u.kind != W || !(u.throwM > 0))
            continue;
        const double phi = (90 - u.angleDeg) * Deg, h = spreadDeg / 2 * Deg;
        const auto [cx, cy] = turn(u.x, u.y);
        Sector s{cx, cy, u.throwM, walls};
        s.halves.push_back(half(std::cos(phi - h + Pi / 2), std::sin(phi - h + Pi / 2), u.x, u.y));
        s.halves.push_back(half(std::cos(phi + h - Pi / 2), std::sin(phi + h - Pi / 2), u.x, u.y));
        sectors.push_back(s);
    }
    double y0 = 1e300, y1 = -1e300;
    for (const auto& [x, y] : {turn(0, 0), turn(A, 0), turn(A, B), turn(0, B)}) {
        (void)x;
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
    }
    double area = 0;
    const double dy = (y1 - y0) / strips;
    std::vector<std::pair<double, double>> spans;
    for (int k = 0; k < strips; ++k) {
        const double y = y0 + (k + 0.5) * dy;
        spans.clear();
        for (const Sector& s : sectors) {
            const double off = y - s.cy;
            if (std::fabs(off) >= s.r)
                continue;
            const double chord = std::sqrt(s.r * s.r - off * off);
            double lo = s.cx - chord, hi = s.cx + chord;
            for (const Half& p : s.halves) {
                // p.nx (x - ox) + p.ny (y - oy) >= 0
                if (std::fabs(p.nx) < 1e-14) {
                    if (p.ny * (y - p.oy) < 0)
                        hi = lo;
                    continue;
                }
                const double x = p.ox - p.ny * (y - p.oy) / p.nx;
                if (p.nx > 0)
                    lo = std::max(lo, x);
                else
                    hi = std::min(hi, x);
            }
            if (hi > lo)
                spans.emplace_back(lo, hi);
        }
        std::sort(spans.begin(), spans.end());
        double covered = 0, from = -1e300, to = -1e300;
        for (const auto& [a, b] : spans) {
            if (a > to) {
                covered += to - from;
                from = a;
                to = b;
            } else {
                to = std::max(to, b);
            }
        }
        covered += to - from;
        area += covered * dy;
    }
    return area;
}

// Whether a point lies in a zone, with the distance to the nearest of the
// zone's boundary lines and circle, so that tests can keep away from them.
bool inZone(const ThrowUnit& u, double spreadDeg, double px, double py, double* margin) {
    const double phi = (90 - u.angleDeg) * Deg, h = spreadDeg / 2 * Deg;
    const double dx = px - u.x, dy = py - u.y;
    const double f1 = -std::sin(phi - h) * dx + std::cos(phi - h) * dy;
    const double f2 = std::sin(phi + h) * dx - std::cos(phi + h) * dy;
    const double g = u.throwM - std::hypot(dx, dy);
    *margin = std::min({std::fabs(f1), std::fabs(f2), std::fabs(g)});
    return f1 >= 0 && f2 >= 0 && g >= 0;
}

std::vector<ThrowUnit> randomUnits(std::mt19937& rng, int count, double A, double B,
                                   double spreadDeg) {
    std::uniform_real_distribution<double> x(-3, A + 3), y(-3, B + 3), r(3, 30);
    std::uniform_int_distribution<int> angle(0, 359), pick(0, 9);
    std::vector<ThrowUnit> units;
    for (int i = 0; i < count; ++i) {
        ThrowUnit u = unit(i + 1, x(rng), y(rng), angle(rng), std::round(r(rng)));
        switch (pick(rng)) {
        case 0: // a copy of an earlier unit
            if (!units.empty()) {
                u = units[size_t(rng() % units.size())];
                u.id = i + 1;
            }
            break;
        case 1: // on a wall, blowing straight into the hall
            u.y = 0;
            u.angleDeg = 0;
            break;
        case 2: // in a corner, blowing along the diagonal
            u.x = 0;
            u.y = 0;
            u.angleDeg = 45;
            break;
        case 3: // beside an earlier one, blowing the same way
            if (!units.empty()) {
                const ThrowUnit& o = units[size_t(rng() % units.size())];
                u.y = o.y;
                u.angleDeg = o.angleDeg;
            }
            break;
        case 4: // at an earlier one, turned by the spread: they meet along an edge
            if (!units.empty()) {
                const ThrowUnit& o = units[size_t(rng() % units.size())];
                u.x = o.x;
                u.y = o.y;
                u.angleDeg = o.angleDeg + spreadDeg;
            }
            break;
        default:
            break;
        }
        units.push_back(u);
    }
    return units;
}

} // namespace

TEST(ThrowZones, DosahGivesTheThrow) {
    const struct {
        const char* text;
        std::optional<double> expected;
    } cases[] = {
        {"12", 12},
        {"20-26", 20},
        {" 20 - 26 ", 20},
        {"20\u201326", 20}, // en dash
        {"12,5", 12.5},
        {"12.5-14,0", 12.5},
        {"\u00a016\u00a0", 16},
        {"26-20", 20}, // written high to low: the lower end holds
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"0", std::nullopt},
        {"0-5", std::nullopt},
        {"-12", std::nullopt},
        {"12 m", std::nullopt},
        {"1e3", std::nullopt},
        {"20-26-30", std::nullopt},
        {"20-", std::nullopt},
        {"12,", std::nullopt},
        {"abc", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(throwFromDosah(QString::fromUtf8(c.text)), c.expected);
    }
}

TEST(ThrowZones, SpreadsAccepted) {
    EXPECT_TRUE(isValidThrowSpread(180));
    EXPECT_TRUE(isValidThrowSpread(1e-6));
    EXPECT_TRUE(isValidThrowSpread(DefaultThrowSpreadDeg));
    EXPECT_FALSE(isValidThrowSpread(0));
    EXPECT_FALSE(isValidThrowSpread(-20));
    EXPECT_FALSE(isValidThrowSpread(180.001));
    EXPECT_FALSE(isValidThrowSpread(std::nan("")));
    EXPECT_FALSE(isValidThrowSpread(INFINITY));

    ThrowCoverage c;
    c.setFloor(40, 20);
    c.setUnits({unit(1, 20, 0, 0, 10)});
    EXPECT_FALSE(c.setSpread(200));
    EXPECT_DOUBLE_EQ(c.spread(), DefaultThrowSpreadDeg);
    EXPECT_NEAR(c.coveredArea(), sectorArea(10, 40), 1e-9);
    EXPECT_TRUE(c.setSpread(90));
    EXPECT_NEAR(c.coveredArea(), sectorArea(10, 90), 1e-9);

    const CoverageFigures f = computeThrowCoverage({unit(1, 20, 0, 0, 10)}, 40, 20, 0);
    EXPECT_EQ(f.coveredArea, 0);
    EXPECT_EQ(f.floorArea, 800);
    EXPECT_TRUE(f.units.empty());
}

TEST(ThrowZones, SingleZonesWorkedByHand) {
    const double t20 = std::tan(20 * Deg);
    const struct {
        const char* name;
        ThrowUnit unit;
        double A, B, spread, area;
        size_t vertices;
    } cases[] = {
        // Corner units as the placement puts them, and right in the corner where
        // a spread of 90 runs the edges along both walls.
        {"corner at 45 degrees", unit(1, 0.25, 0.25, 45, 12), 42, 24, 40, sectorArea(12, 40), 3},
        {"in the corner, spread 90", unit(1, 0, 0, 45, 12), 42, 24, 90, Pi * 144 / 4, 3},
        // 20 m from the short wall of a 10 m hall: the arc lies beyond the far
        // wall, the zone is the triangle up to it.
        {"longer than the hall", unit(1, 0, 12, 90, 20), 10, 24, 40, 100 * t20, 3},
        // 0.75 m beyond the wall: the triangle outside the floor is cut off.
        {"outside a wall", unit(1, 10, -0.75, 0, 12), 42, 24, 40,
         sectorArea(12, 40) - 0.75 * 0.75 * t20, 4},
        {"outside a wall, blowing away", unit(1, 10, -0.75, 180, 12), 42, 24, 40, 0, 0},
        {"far outside, out of reach", unit(1, 10, -12, 0, 12), 42, 24, 40, 0, 0},
        // The arc touches the opposite wall in one point.
        {"arc touches a wall", unit(1, 10, 0, 0, 10), 20, 10, 40, sectorArea(10, 40), 3},
        // A half disk on the wall, touching both side walls and the far wall.
        {"half disk touches three walls", unit(1, 10, 0, 0, 10), 20, 10, 180, 50 * Pi, 2},
        {"spread 20", unit(1, 20, 10, 30, 8), 40, 20, 20, sectorArea(8, 20), 3},
        {"spread 90", unit(1, 20, 10, 300, 8), 40, 20, 90, sectorArea(8, 90), 3},
        {"spread 180 mid-floor", unit(1, 20, 10, 10, 8), 40, 20, 180, 32 * Pi, 2},
        {"a tiny spread", unit(1, 20, 10, 10, 8), 40, 20, 1e-4, sectorArea(8, 1e-4), 3},
        // The disk holds the whole floor: only straight edges remain.
        {"throw beyond every corner", unit(1, 5, 0, 0, 1000), 10, 10, 180, 100, 4},
        {"a throw of 20-26", unit(1, 20, 0.25, 0, *throwFromDosah(QStringLiteral("20-26"))), 42, 24,
         40, sectorArea(20, 40), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto z = throwZone(c.unit, c.A, c.B, c.spread);
        ASSERT_TRUE(z.has_value());
        EXPECT_NEAR(z->area, c.area, 1e-9 * std::max(1.0, c.area));
        EXPECT_EQ(z->boundary.size(), c.vertices);
        EXPECT_NEAR(bulgeArea(z->boundary), c.area, 1e-9 * std::max(1.0, c.area))
            << "the bulges draw the zone's arcs";
        for (const ZoneVertex& v : z->boundary) {
            EXPECT_GE(v.x, 0);
            EXPECT_LE(v.x, c.A);
            EXPECT_GE(v.y, 0);
            EXPECT_LE(v.y, c.B);
            EXPECT_GE(v.bulge, 0) << "counter-clockwise";
            EXPECT_LE(v.bulge, 1) << "at most half a turn";
        }
        const CoverageFigures f = computeThrowCoverage({c.unit}, c.A, c.B, c.spread);
        EXPECT_NEAR(f.coveredArea, c.area, 1e-9 * std::max(1.0, c.area));
        ASSERT_EQ(f.units.size(), 1u) << "a zone cut to nothing is still listed";
        EXPECT_EQ(f.units[0].zoneArea, z->area);
    }

    // The corner unit's boundary exactly: apex, the right edge's end, the arc
    // of 40 degrees back to the left edge's end.
    const auto z = throwZone(unit(7, 0, 0, 45, 12), 42, 24, 40);
    ASSERT_EQ(z->boundary.size(), 3u);
    EXPECT_EQ(z->id, 7);
    EXPECT_DOUBLE_EQ(z->boundary[0].x, 0);
    EXPECT_DOUBLE_EQ(z->boundary[0].y, 0);
    EXPECT_EQ(z->boundary[0].bulge, 0);
    EXPECT_NEAR(z->boundary[1].x, 12 * std::cos(25 * Deg), 1e-12);
    EXPECT_NEAR(z->boundary[1].y, 12 * std::sin(25 * Deg), 1e-12);
    EXPECT_NEAR(z->boundary[1].bulge, std::tan(10 * Deg), 1e-12);
    EXPECT_NEAR(z->boundary[2].x, 12 * std::cos(65 * Deg), 1e-12);
    EXPECT_NEAR(z->boundary[2].y, 12 * std::sin(65 * Deg), 1e-12);
    EXPECT_NEAR(z->bounds.right(), 12 * std::cos(25 * Deg), 1e-12);
    EXPECT_NEAR(z->bounds.bottom(), 12 * std::sin(65 * Deg), 1e-12);
}

TEST(ThrowZones, NoZoneForOtherUnitsOrWithoutAThrow) {
    const std::vector<ThrowUnit> units{unit(1, 10, 0.25, 0, 12, M), unit(2, 20, 5, 0, 12, D),
                                       unit(3, 30, 0.25, 0, 0), unit(4, NAN, 0.25, 0, 12),
                                       unit(5, 5, 0.25, INFINITY, 12)};
    for (const ThrowUnit& u : units) {
        SCOPED_TRACE(u.id);
        EXPECT_FALSE(u.hasZone());
        EXPECT_FALSE(throwZone(u, 42, 24).has_value());
    }
    const CoverageFigures f = computeThrowCoverage(units, 42, 24);
    EXPECT_EQ(f.floorArea, 1008);
    EXPECT_EQ(f.coveredArea, 0);
    EXPECT_EQ(f.coveredPercent, 0);
    EXPECT_TRUE(f.units.empty());

    // Without a floor nothing is reached, and nothing divides by zero.
    const CoverageFigures none = computeThrowCoverage({unit(1, 0, 0, 45, 12)}, 0, 24);
    EXPECT_EQ(none.floorArea, 0);
    EXPECT_EQ(none.coveredArea, 0);
    EXPECT_EQ(none.coveredPercent, 0);
    ASSERT_EQ(none.units.size(), 1u);
    EXPECT_EQ(none.units[0].zoneArea, 0);

    // Coordinates a damaged file may hold reach nothing and break nothing.
    const CoverageFigures far = computeThrowCoverage(
        {unit(1, 1e300, 5, 0, 1e300), unit(2, -1e12, 5, 90, 2e12), unit(3, 5, 5, 0, 1e300)}, 10, 10,
        180);
    EXPECT_NEAR(far.coveredArea, 50, 1e-9) << "the half of the floor ahead of unit 3";
}

TEST(ThrowZones, UnionsWorkedByHand) {
    const double t20 = std::tan(20 * Deg);
    // Two half disks of radius r on one line, d apart: two halves less half
    // the lens they share.
    const double r = 6, d = 4;
    const double lens = 2 * r * r * std::acos(d / (2 * r)) - 0.5 * d * std::sqrt(4 * r * r - d * d);
    const struct {
        const char* name;
        std::vector<ThrowUnit> units;
        double A, B, spread, area;
    } cases[] = {
        // Same apex, 20 degrees apart: one sector of 60 degrees (the arcs share
        // 20 degrees of one circle).
        {"two overlapping zones",
         {unit(1, 20, 10, 0, 5), unit(2, 20, 10, 20, 5)},
         40,
         20,
         40,
         sectorArea(5, 60)},
        // Same apex, 40 degrees apart: they meet along one edge, on its two
        // sides.
        {"zones meeting along an edge",
         {unit(1, 20, 10, 0, 5), unit(2, 20, 10, 40, 5)},
         40,
         20,
         40,
         sectorArea(5, 80)},
        {"two identical units",
         {unit(1, 20, 10, 0, 5), unit(2, 20, 10, 0, 5)},
         40,
         20,
         40,
         sectorArea(5, 40)},
        {"identical units on a wall",
         {unit(1, 20, 0, 0, 5), unit(2, 20, 0, 0, 5)},
         40,
         20,
         180,
         12.5 * Pi},
        {"back to back", {unit(1, 20, 10, 0, 5), unit(2, 20, 10, 180, 5)}, 40, 20, 180, 25 * Pi},
        {"half disks side by side",
         {unit(1, 10, 10, 0, r), unit(2, 10 + d, 10, 0, r)},
         40,
         20,
         180,
         Pi * r * r - lens / 2},
        {"half disks side by side on a wall",
         {unit(1, 10, 0, 0, r), unit(2, 10 + d, 0, 0, r)},
         40,
         20,
         180,
         Pi * r * r - lens / 2},
        // Two triangles cut by the far wall, 2 m apart, overlapping along it:
        // the covered width is 4 x t20 up to x = 1 / t20, then 2 + 2 x t20.
        {"both cut by the far wall",
         {unit(1, 0, 10, 90, 20), unit(2, 0, 12, 90, 20)},
         10,
         24,
         40,
         20 + 100 * t20 - 1 / t20},
        {"apart",
         {unit(1, 5, 0.25, 0, 4), unit(2, 30, 0.25, 0, 4)},
         40,
         20,
         40,
         2 * sectorArea(4, 40)},
        {"one inside the other",
         {unit(1, 20, 0.25, 0, 12), unit(2, 20, 4, 0, 3)},
         40,
         20,
         40,
         sectorArea(12, 40)},
        {"a unit with no zone beside",
         {unit(1, 20, 0.25, 0, 12), unit(2, 20, 4, 0, 30, M)},
         40,
         20,
         40,
         sectorArea(12, 40)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ThrowCoverage cov;
        cov.setFloor(c.A, c.B);
        ASSERT_TRUE(cov.setSpread(c.spread));
        cov.setUnits(c.units);
        EXPECT_NEAR(cov.coveredArea(), c.area, 1e-9 * c.area);
        EXPECT_NEAR(cov.coveredPercent(), 100 * c.area / (c.A * c.B), 1e-9);
        double outlined = 0;
        for (const auto& loop : cov.coveredOutline())
            outlined += bulgeArea(loop);
        EXPECT_NEAR(outlined, c.area, 1e-6 * c.area) << "the outline encloses the union";
        // Reversing the units swaps which of two equal boundaries is kept.
        std::vector<ThrowUnit> reversed(c.units.rbegin(), c.units.rend());
        EXPECT_NEAR(computeThrowCoverage(reversed, c.A, c.B, c.spread).coveredArea, c.area,
                    1e-9 * c.area);
    }
}

TEST(ThrowZones, ExactAreaAgreesWithScanlines) {
    // Random halls and units (some copies of others, on the walls, in the
    // corners, side by side, meeting along an edge) against the strip sum of
    // scanlineArea. Its error comes from the strips that cut a curve's ends:
    // up to 6e-5 m2 here with 50,000 strips, 3e-6 m2 with 400,000, while a
    // piece counted twice or lost costs square metres.
    std::mt19937 rng(20240523);
    std::uniform_real_distribution<double> side(8, 60);
    const double spreads[] = {20, 40, 90, 180, 137.5};
    double worst = 0;
    for (int round = 0; round < 12; ++round) {
        const double A = std::round(side(rng)), B = std::round(side(rng));
        const double spread = spreads[round % 5];
        const std::vector<ThrowUnit> units = randomUnits(rng, 4 + round * 3, A, B, spread);
        SCOPED_TRACE(testing::Message()
                     << "round " << round << ", " << A << " x " << B << ", spread " << spread);
        const CoverageFigures f = computeThrowCoverage(units, A, B, spread);
        const double estimate = scanlineArea(units, A, B, spread, 50000);
        EXPECT_NEAR(f.coveredArea, estimate, 3e-4);
        worst = std::max(worst, std::fabs(f.coveredArea - estimate));
        EXPECT_GT(f.coveredArea, 0);
        EXPECT_LE(f.coveredArea, A * B);
        double largest = 0;
        for (const auto& u : f.units)
            largest = std::max(largest, u.zoneArea);
        EXPECT_GE(f.coveredArea, largest - 1e-9);
    }
    RecordProperty("worst_difference_m2", std::to_string(worst));
}

TEST(ThrowZones, DenseRowsAgreeWithScanlines) {
    // Rows of units half a metre apart on both long walls: their arcs cross
    // at shallow angles, where a rounding in the crossings would show.
    const double A = 40, B = 20;
    std::vector<ThrowUnit> units;
    for (int k = 0; k < 79; ++k) {
        units.push_back(unit(k + 1, 0.5 + 0.5 * k, 0.25, 0, k % 2 ? 12 : 14));
        units.push_back(unit(k + 100, 0.75 + 0.5 * k, 19.75, 180, 11));
    }
    for (double spread : {40.0, 90.0}) {
        SCOPED_TRACE(spread);
        const CoverageFigures f = computeThrowCoverage(units, A, B, spread);
        EXPECT_NEAR(f.coveredArea, scanlineArea(units, A, B, spread, 50000), 3e-4);
    }
}

TEST(ThrowZones, PathsFillTheZonesTheUnionAndTheRest) {
    std::mt19937 rng(7);
    const double A = 30, B = 18, spread = 60;
    const std::vector<ThrowUnit> units = randomUnits(rng, 14, A, B, spread);
    ThrowCoverage cov;
    cov.setFloor(A, B);
    cov.setSpread(spread);
    cov.setUnits(units);
    const QPainterPath covered = cov.coveredPath();
    const QPainterPath uncovered = cov.uncoveredPath();
    EXPECT_EQ(covered.fillRule(), Qt::WindingFill);
    int checked = 0;
    for (double y = 0.05; y < B; y += 0.37) {
        for (double x = 0.05; x < A; x += 0.41) {
            bool in = false;
            double margin = 1e300;
            int inOwn = -1;
            for (int i = 0; i < cov.count(); ++i) {
                double m = 0;
                const bool here = inZone(units[size_t(i)], spread, x, y, &m);
                margin = std::min(margin, m);
                if (here && inOwn < 0)
                    inOwn = i;
                in = in || here;
            }
            // The paths' arcs are cubic curves, within millimetres of the circle.
            if (margin < 0.02)
                continue;
            ++checked;
            const QPointF p(x, y);
            ASSERT_EQ(covered.contains(p), in) << x << ", " << y;
            ASSERT_EQ(uncovered.contains(p), !in) << x << ", " << y;
            if (inOwn >= 0) {
                ASSERT_TRUE(cov.zone(inOwn)->path().contains(p)) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(checked, 2000);

    // Each zone's path: its arc bulges outwards (the angles of Qt's arcs run
    // the other way round) and ends where the boundary says.
    const auto z = throwZone(unit(1, 10, 0.25, 0, 12), 42, 24, 40);
    const QPainterPath path = z->path();
    EXPECT_TRUE(path.contains(QPointF(10, 12.2)));
    EXPECT_FALSE(path.contains(QPointF(10, 12.3)));
    EXPECT_NEAR(path.boundingRect().top(), 0.25, 1e-9);
    EXPECT_NEAR(path.boundingRect().bottom(), 12.25, 1e-3);
    EXPECT_NEAR(path.boundingRect().left(), z->bounds.left(), 1e-9);

    // No zones: the whole floor is the rest.
    ThrowCoverage empty;
    empty.setFloor(A, B);
    EXPECT_TRUE(empty.coveredPath().isEmpty());
    EXPECT_TRUE(empty.coveredOutline().empty());
    EXPECT_TRUE(empty.uncoveredPath().contains(QPointF(A / 2, B / 2)));
    EXPECT_EQ(empty.uncoveredPath().boundingRect(), QRectF(0, 0, A, B));
}

TEST(ThrowZones, MovingOneUnitMatchesComputingAll) {
    std::mt19937 rng(99);
    const double A = 60, B = 35, spread = 40;
    std::vector<ThrowUnit> units = randomUnits(rng, 80, A, B, spread);
    ThrowCoverage cov;
    cov.setFloor(A, B);
    cov.setUnits(units);
    std::uniform_real_distribution<double> x(-2, A + 2), y(-2, B + 2);
    std::uniform_int_distribution<int> angle(0, 359);
    const double start = cov.coveredArea();
    const ThrowUnit first = units[10];
    for (int step = 0; step < 40; ++step) {
        SCOPED_TRACE(step);
        const int i = step % 5 == 4 ? 10 : int(rng() % units.size());
        ThrowUnit& u = units[size_t(i)];
        // Every fifth step the same unit again, now onto another one exactly.
        if (step % 5 == 4) {
            const ThrowUnit& o = units[size_t(rng() % units.size())];
            u.x = o.x;
            u.y = o.y;
            u.angleDeg = o.angleDeg;
        } else {
            u.x = x(rng);
            u.y = y(rng);
            u.angleDeg = angle(rng);
        }
        cov.moveUnit(i, u.x, u.y, u.angleDeg);
        const CoverageFigures all = computeThrowCoverage(units, A, B, spread);
        ASSERT_NEAR(cov.coveredArea(), all.coveredArea, 1e-9 * all.coveredArea);
        const CoverageFigures moved = cov.figures();
        ASSERT_EQ(moved.units.size(), all.units.size());
        for (size_t k = 0; k < all.units.size(); ++k)
            ASSERT_NEAR(moved.units[k].zoneArea, all.units[k].zoneArea, 1e-9);
    }
    // Back where they all were.
    ThrowCoverage again;
    again.setFloor(A, B);
    std::mt19937 same(99);
    again.setUnits(randomUnits(same, 80, A, B, spread));
    for (int i = 0; i < again.count(); ++i)
        cov.moveUnit(i, again.unit(i).x, again.unit(i).y, again.unit(i).angleDeg);
    EXPECT_NEAR(cov.coveredArea(), start, 1e-9 * start);
    EXPECT_EQ(cov.unit(10).x, first.x);

    EXPECT_EQ(cov.indexOf(11), 10);
    EXPECT_EQ(cov.indexOf(1000), -1);
    EXPECT_EQ(cov.zone(1000), nullptr);
    cov.moveUnit(-1, 0, 0, 0); // ignored
}

// --- the project ---

namespace {

class ProjectCoverageTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        data->openProjectConnection(copyTemplate(QStringLiteral("zones.zfp")));
        ASSERT_EQ(data->OpenProjectTables(), ResultOk) << qPrintable(LastError);
        units = std::make_unique<ProjectUnits>(*data, project);
    }
    void TearDown() override {
        units.reset();
        StorageTest::TearDown();
    }
    void setProject(const char* column, const QVariant& v) {
        data->tADOProject.setValue(QString::fromLatin1(column), v);
        data->tADOProject.post();
    }
    void hall(double A, double B) {
        setProject("Stena_A", A);
        setProject("Stena_B", B);
        project.StenaA = float(A);
        project.StenaB = float(B);
        units->setHallFromProject();
    }
    void choose(const QString& typ, int count) {
        Dataset& t = data->tResults;
        ASSERT_TRUE(t.locate(QStringLiteral("Typ"), typ)) << qPrintable(typ);
        t.setValue(QStringLiteral("Pocet_jednotek"), count);
        t.post();
    }
    void addRow(int id, int kind, double x, double y, double angle, const QVariant& dosah) {
        Dataset& u = data->tJednotky;
        u.append();
        u.setValue(QStringLiteral("IDJednotky"), id);
        u.setValue(QStringLiteral("ObjType"), kind);
        u.setValue(QStringLiteral("X"), x);
        u.setValue(QStringLiteral("Y"), y);
        u.setValue(QStringLiteral("Uhel"), angle);
        u.setValue(QStringLiteral("Dosah"), dosah);
        u.post();
    }

    TProject project;
    std::unique_ptr<ProjectUnits> units;
};

} // namespace

TEST_F(ProjectCoverageTest, FourUnitsOnOneLongWallReachAFifth) {
    // The catalog's types with the AX and MK families; four of its 12 m units,
    // two MK units and a destratifier, placed on one long wall ("Varianta 2").
    hall(42, 24);
    setProject("PouziteJednotky", 1 | 4);
    setProject("Vyska_jednotek", 4);
    setProject("Vyska_destrat", 8);
    BuildUnitTypesTable(*data, 200000, 0);
    choose(QStringLiteral("Brisant AX 10"), 4);
    choose(QStringLiteral("MK 40 - E"), 2);
    choose(QStringLiteral("Destratifikátor K1"), 1);
    UpdateCoverage(*data);
    units->setVariantIndex(1);
    ASSERT_EQ(units->PlaceUnits(), PlaceResult::Placed);
    ASSERT_EQ(data->tJednotky.recordCount(), 7);

    const int current = data->tJednotky.currentRow();
    const CoverageFigures f = projectThrowCoverage(*data, units->plan);
    EXPECT_EQ(data->tJednotky.currentRow(), current) << "the cursor stays";
    EXPECT_EQ(f.floorArea, 1008);
    // 8.4 m apart, the 40-degree sectors of 12 m (8.21 m wide) do not meet.
    EXPECT_NEAR(f.coveredArea, 4 * sectorArea(12, 40), 1e-4);
    EXPECT_NEAR(f.coveredPercent, 19.95, 0.005);
    ASSERT_EQ(f.units.size(), 4u) << "MK units and destratifiers have no zone";
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(f.units[size_t(i)].id, i + 1);
        EXPECT_EQ(f.units[size_t(i)].throwM, 12);
        EXPECT_NEAR(f.units[size_t(i)].zoneArea, sectorArea(12, 40), 1e-4);
    }
    // The plan's symbols carry the throws of their rows, from the placement
    // and from the table.
    EXPECT_NEAR(units->plan.throwFigures().coveredArea, f.coveredArea, 1e-9);
    for (int i = 0; i < units->plan.count(); ++i) {
        if (units->plan.object(i).kind == ObjWarmAirUnit) {
            EXPECT_EQ(units->plan.object(i).throwM, 12);
        }
    }
    units->LoadObjectsFromTable();
    EXPECT_NEAR(units->plan.throwFigures().coveredArea, f.coveredArea, 1e-9);
    // A wider spread makes them overlap.
    const CoverageFigures wide = projectThrowCoverage(*data, units->plan, 90);
    EXPECT_LT(wide.coveredArea, 4 * sectorArea(12, 90) - 1);
    EXPECT_GT(wide.coveredArea, 4 * sectorArea(12, 40));

    // The plan as shown: a unit dragged elsewhere and not stored yet.
    units->plan.AutoAlign = false;
    units->plan.DropObject(0, 21, 12);
    const std::vector<ThrowUnit> shown = throwUnitsFromPlan(units->plan, data->tJednotky);
    ASSERT_EQ(shown.size(), 7u);
    EXPECT_EQ(shown.back().id, 1);
    EXPECT_FLOAT_EQ(float(shown.back().x), 21);
    EXPECT_EQ(shown.back().throwM, 12);
    EXPECT_EQ(shown[4].kind, M);
    EXPECT_EQ(shown[4].throwM, 0) << "the MK types carry no throw";
    ThrowCoverage live;
    live.setFloor(units->plan.hallLength(), units->plan.hallWidth());
    live.setUnits(shown);
    EXPECT_NEAR(live.coveredArea(), 4 * sectorArea(12, 40), 1e-4);
    EXPECT_NE(live.zone(live.indexOf(1))->apexY, 0.25);
}

TEST_F(ProjectCoverageTest, RowsAsStoredOrDamaged) {
    hall(40, 30);
    addRow(1, W, 20, 0.25, 0, QStringLiteral("20-26"));
    addRow(2, W, 5, 0.25, 44.5, QStringLiteral(" 12,5 ")); // angle: halves to even
    addRow(3, W, 30, 0.25, 0, QString());
    addRow(4, W, 35, 0.25, 0, QStringLiteral("far"));
    addRow(5, M, 10, 10, 0, QStringLiteral("12"));
    addRow(6, D, 15, 10, 0, QStringLiteral("12"));
    addRow(7, W, 20, 29.75, 180, QVariant());            // Dosah null
    addRow(8, W, 20, 29.75, 540.5, QStringLiteral("5")); // 540 is 180
    const std::vector<ThrowUnit> rows = throwUnitsFromTable(data->tJednotky);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].throwM, 20);
    EXPECT_EQ(rows[1].throwM, 12.5);
    EXPECT_EQ(rows[1].angleDeg, 44);
    EXPECT_EQ(rows[2].throwM, 0);
    EXPECT_EQ(rows[3].throwM, 0);
    EXPECT_EQ(rows[4].kind, M);
    EXPECT_EQ(rows[4].throwM, 12);
    EXPECT_FALSE(rows[4].hasZone());
    EXPECT_EQ(rows[6].throwM, 0);
    EXPECT_EQ(rows[7].angleDeg, 180);

    const CoverageFigures f = projectThrowCoverage(*data, units->plan, 40);
    ASSERT_EQ(f.units.size(), 3u);
    EXPECT_EQ(f.units[0].id, 1);
    EXPECT_EQ(f.units[1].id, 2);
    EXPECT_EQ(f.units[2].id, 8);
    EXPECT_NEAR(f.units[0].zoneArea, sectorArea(20, 40), 1e-9);
    EXPECT_NEAR(f.coveredArea, f.units[0].zoneArea + f.units[1].zoneArea + sectorArea(5, 40), 1e-6);

    Dataset closed;
    EXPECT_TRUE(throwUnitsFromTable(closed).empty());
}
