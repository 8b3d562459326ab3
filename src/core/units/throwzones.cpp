// The throw zones: each unit's sector cut to the floor, and the exact area of
// their union.
//
// A cut zone is the floor rectangle cut by the sector's one or two edge lines
// (a convex polygon) and then by its disk: a convex region whose boundary is
// segments and arcs of the one circle. The union's area is Green's integral
// (x dy - y dx) / 2 over the pieces of every zone's boundary that lie outside
// every other zone. Where two boundaries run along each other (identical units,
// edges on the same wall line, arcs of the same circle), the common piece
// belongs to the union's boundary once when both zones lie on the same side of
// it (the lower index keeps it) and not at all when they lie on opposite sides.
#include "units/throwzones.h"

#include "common/numberformat.h"
#include "storage/dataset.h"
#include "storage/zfdata.h"
#include "units/planview.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace zf {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double TwoPi = 2 * Pi;
// A unit farther than this from the floor [m] reaches none of it: beyond, the
// rounding of the coordinates would exceed the precision the areas keep.
constexpr double MaxReach = 1e6;

struct Vec {
    double x = 0, y = 0;
};
Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y};
}
Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y};
}
Vec operator*(Vec a, double s) {
    return {a.x * s, a.y * s};
}
double dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y;
}
double cross(Vec a, Vec b) {
    return a.x * b.y - a.y * b.x;
}
double length(Vec a) {
    return std::sqrt(dot(a, a));
}
Vec polar(double radians) {
    return {std::cos(radians), std::sin(radians)};
}

// The direction of an angle in degrees counter-clockwise from +X, exact at the
// multiples of 90 so that edges along the walls lie exactly on them.
Vec directionDeg(double deg) {
    double a = std::fmod(deg, 360.0);
    if (a < 0)
        a += 360.0;
    if (a == 0)
        return {1, 0};
    if (a == 90)
        return {0, 1};
    if (a == 180)
        return {-1, 0};
    if (a == 270)
        return {0, -1};
    return polar(a * Pi / 180);
}

// An angle brought into [0, 2 pi).
double normalized(double a) {
    if (!std::isfinite(a))
        return 0;
    if (std::fabs(a) > 8 * TwoPi)
        a = std::fmod(a, TwoPi);
    while (a < 0)
        a += TwoPi;
    while (a >= TwoPi)
        a -= TwoPi;
    return a;
}

struct Box {
    double x0 = 0, y0 = 0, x1 = -1, y1 = -1;
    void add(Vec p) {
        if (x1 < x0) {
            x0 = x1 = p.x;
            y0 = y1 = p.y;
            return;
        }
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    void add(const Box& b) {
        if (b.x1 < b.x0)
            return;
        add(Vec{b.x0, b.y0});
        add(Vec{b.x1, b.y1});
    }
    // Touching boxes overlap: zones that only touch may share a boundary piece.
    bool overlaps(const Box& b, double eps) const {
        return x0 <= b.x1 + eps && b.x0 <= x1 + eps && y0 <= b.y1 + eps && b.y0 <= y1 + eps;
    }
};

// The points p with dot(n, p - o) >= 0; n has length 1, o lies on the line.
struct HalfPlane {
    Vec n, o;
    double beta = 0; // the direction of n
    HalfPlane() = default;
    HalfPlane(Vec normal, Vec point) : n(normal), o(point), beta(std::atan2(normal.y, normal.x)) {}
    double at(Vec p) const { return dot(n, p - o); }
};

// A piece of a boundary, oriented with its zone on the left: a segment, or an
// arc turning counter-clockwise about c from the angle a0 by sweep.
struct Piece {
    Vec p0, p1;
    bool arc = false;
    Vec c;
    double r = 0, a0 = 0, sweep = 0;
};

// An edge of a cut zone, with the wall line it lies on (0 x = 0, 1 x = A,
// 2 y = 0, 3 y = B; -1 for none) and its bounding box.
struct Edge {
    Piece g;
    int wall = -1;
    Box box;
};

// A stretch [from, to] of an edge's parameter, with its ends and, on an arc,
// the directions from the centre to them.
struct Stretch {
    double from = 0, to = 0;
    Vec q0, q1, d0, d1;
    // Whether the direction u from an arc's centre points into the stretch
    // (which turns by at most half a turn).
    bool inArc(Vec u) const { return cross(d0, u) >= 0 && cross(u, d1) >= 0; }
};

Stretch stretchOf(const Piece& p, double from, double to) {
    Stretch s;
    s.from = from;
    s.to = to;
    if (p.arc) {
        s.d0 = polar(p.a0 + from);
        s.d1 = polar(p.a0 + to);
        s.q0 = p.c + s.d0 * p.r;
        s.q1 = p.c + s.d1 * p.r;
    } else {
        s.q0 = p.p0 + (p.p1 - p.p0) * from;
        s.q1 = p.p0 + (p.p1 - p.p0) * to;
    }
    return s;
}

Piece segment(Vec a, Vec b) {
    Piece p;
    p.p0 = a;
    p.p1 = b;
    return p;
}

double pieceLength(const Piece& p) {
    return p.arc ? p.r * p.sweep : length(p.p1 - p.p0);
}

Box arcBox(Vec c, double r, double a0, double sweep, Vec p0, Vec p1) {
    Box b;
    b.add(p0);
    b.add(p1);
    for (int k = 0; k < 4; ++k) {
        const double a = k * Pi / 2;
        if (normalized(a - a0) <= sweep)
            b.add(c + directionDeg(90.0 * k) * r);
    }
    return b;
}

// Green's integral of one piece, the coordinates taken from the origin o.
double green(const Piece& p, Vec o) {
    if (!p.arc) {
        const Vec a = p.p0 - o, b = p.p1 - o;
        return 0.5 * cross(a, b);
    }
    const Vec c = p.c - o;
    const double a1 = p.a0 + p.sweep;
    return 0.5 * (p.r * p.r * p.sweep + p.r * c.x * (std::sin(a1) - std::sin(p.a0)) -
                  p.r * c.y * (std::cos(a1) - std::cos(p.a0)));
}

// The geometry of one unit's cut zone.
struct Geometry {
    bool reaches = false; // the cut zone has an area
    Vec c;
    double r = 0;
    bool diskCoversFloor = false; // the circle lies wholly beyond the floor
    HalfPlane wedge[2];
    int wedges = 0;
    std::vector<Edge> edges;
    double area = 0;
    Box box;
};

// The floor polygon cut by a half-plane (Sutherland-Hodgman); points within
// eps of the line count as on it.
std::vector<Vec> cutPolygon(const std::vector<Vec>& poly, const HalfPlane& h, double eps) {
    std::vector<Vec> out;
    const size_t n = poly.size();
    out.reserve(n + 1);
    for (size_t k = 0; k < n; ++k) {
        const Vec p = poly[k], q = poly[(k + 1) % n];
        const double fp = h.at(p), fq = h.at(q);
        const bool inP = fp >= -eps, inQ = fq >= -eps;
        if (inP)
            out.push_back(p);
        if (inP != inQ && fp != fq) {
            const double t = std::clamp(fp / (fp - fq), 0.0, 1.0);
            out.push_back(p + (q - p) * t);
        }
    }
    return out;
}

// Drops vertices within eps of the one before them, around the polygon.
void dropRepeats(std::vector<Vec>& poly, double eps) {
    std::vector<Vec> out;
    out.reserve(poly.size());
    for (const Vec& p : poly) {
        if (out.empty() || length(p - out.back()) > eps)
            out.push_back(p);
    }
    while (out.size() > 1 && length(out.front() - out.back()) <= eps)
        out.pop_back();
    poly = std::move(out);
}

// The interval [t0, t1] of p0 + t (p1 - p0) inside the circle; false if none.
bool segmentInDisk(Vec p0, Vec p1, Vec c, double r, double* t0, double* t1) {
    const Vec d = p1 - p0, f = p0 - c;
    const double a = dot(d, d);
    if (a <= 0)
        return false;
    const double b = 2 * dot(f, d);
    const double cc = dot(f, f) - r * r;
    const double disc = b * b - 4 * a * cc;
    if (disc <= 0)
        return false;
    const double s = std::sqrt(disc);
    // The root without cancellation first, the other from their product.
    const double q = -0.5 * (b + (b >= 0 ? s : -s));
    double ra = q / a, rb = q != 0 ? cc / q : -b / a;
    if (ra > rb)
        std::swap(ra, rb);
    *t0 = ra;
    *t1 = rb;
    return true;
}

Geometry buildGeometry(const ThrowUnit& u, double A, double B, double spreadDeg, double eps) {
    Geometry g;
    g.c = {u.x, u.y};
    g.r = u.throwM;
    if (!(A > 0 && B > 0) || !u.hasZone() || !isValidThrowSpread(spreadDeg))
        return g;
    const double dx = std::max({0.0, -u.x, u.x - A});
    const double dy = std::max({0.0, -u.y, u.y - B});
    const double gap = std::hypot(dx, dy);
    if (gap >= g.r || gap > MaxReach)
        return g;
    double farthest = 0;
    for (Vec corner : {Vec{0, 0}, Vec{A, 0}, Vec{A, B}, Vec{0, B}})
        farthest = std::max(farthest, std::hypot(corner.x - g.c.x, corner.y - g.c.y));
    g.diskCoversFloor = g.r >= farthest;

    // The sector's edges: the right one at the direction minus half the
    // spread, the left one at plus half; the zone lies left of the first and
    // right of the second, which for a spread of 180 is one and the same line.
    const double direction = 90.0 - u.angleDeg; // counter-clockwise from +X
    const Vec right = directionDeg(direction - spreadDeg / 2);
    const Vec left = directionDeg(direction + spreadDeg / 2);
    g.wedge[0] = {{-right.y, right.x}, g.c};
    g.wedges = 1;
    if (spreadDeg < MaxThrowSpreadDeg)
        g.wedge[g.wedges++] = {{left.y, -left.x}, g.c};

    std::vector<Vec> poly{{0, 0}, {A, 0}, {A, B}, {0, B}};
    for (int k = 0; k < g.wedges; ++k)
        poly = cutPolygon(poly, g.wedge[k], eps);
    // The apex and the wall lines exactly, so that equal zones and edges on the
    // walls give equal numbers.
    const double apexSnap = 1e-7 * std::max({1.0, A, B});
    for (Vec& p : poly) {
        if (length(p - g.c) <= apexSnap)
            p = g.c;
        if (std::fabs(p.x) <= eps)
            p.x = 0;
        if (std::fabs(p.x - A) <= eps)
            p.x = A;
        if (std::fabs(p.y) <= eps)
            p.y = 0;
        if (std::fabs(p.y - B) <= eps)
            p.y = B;
    }
    dropRepeats(poly, eps);
    if (poly.size() < 3)
        return g;

    std::vector<Piece> pieces;
    const size_t n = poly.size();
    if (g.diskCoversFloor) {
        for (size_t k = 0; k < n; ++k)
            pieces.push_back(segment(poly[k], poly[(k + 1) % n]));
    } else {
        // The parts of the polygon's edges inside the disk, and between them the
        // arcs where the boundary runs outside it.
        std::vector<Piece> chords;
        for (size_t k = 0; k < n; ++k) {
            const Vec p = poly[k], q = poly[(k + 1) % n];
            double t0 = 0, t1 = 0;
            if (!segmentInDisk(p, q, g.c, g.r, &t0, &t1))
                continue;
            t0 = std::max(t0, 0.0);
            t1 = std::min(t1, 1.0);
            // A chord of rounding's length is where an edge touches the circle.
            if ((t1 - t0) * length(q - p) <= apexSnap)
                continue;
            const Vec a = t0 <= 0 ? p : p + (q - p) * t0;
            const Vec b = t1 >= 1 ? q : p + (q - p) * t1;
            chords.push_back(segment(a, b));
        }
        for (size_t k = 0; k < chords.size(); ++k) {
            const Piece& s = chords[k];
            const Piece& next = chords[(k + 1) % chords.size()];
            pieces.push_back(s);
            if (length(next.p0 - s.p1) <= eps)
                continue;
            Piece arc;
            arc.arc = true;
            arc.c = g.c;
            arc.r = g.r;
            arc.p0 = s.p1;
            arc.p1 = next.p0;
            arc.a0 = normalized(std::atan2(s.p1.y - g.c.y, s.p1.x - g.c.x));
            const double a1 = std::atan2(next.p0.y - g.c.y, next.p0.x - g.c.x);
            arc.sweep = std::min(normalized(a1 - arc.a0), Pi);
            pieces.push_back(arc);
        }
    }

    for (const Piece& p : pieces) {
        if (pieceLength(p) <= eps)
            continue;
        Edge e;
        e.g = p;
        if (!p.arc) {
            if (p.p0.x == 0 && p.p1.x == 0)
                e.wall = 0;
            else if (p.p0.x == A && p.p1.x == A)
                e.wall = 1;
            else if (p.p0.y == 0 && p.p1.y == 0)
                e.wall = 2;
            else if (p.p0.y == B && p.p1.y == B)
                e.wall = 3;
            e.box.add(p.p0);
            e.box.add(p.p1);
        } else {
            e.box = arcBox(p.c, p.r, p.a0, p.sweep, p.p0, p.p1);
        }
        g.box.add(e.box);
        g.edges.push_back(e);
        g.area += green(p, g.c);
    }
    // The boundary starts at the apex when it is a vertex, else at the lowest
    // vertex (the leftmost of those).
    if (!g.edges.empty()) {
        auto apexFirst = [&](const Edge& a, const Edge& b) {
            const bool aa = a.g.p0.x == g.c.x && a.g.p0.y == g.c.y;
            const bool ba = b.g.p0.x == g.c.x && b.g.p0.y == g.c.y;
            if (aa != ba)
                return aa;
            return a.g.p0.y < b.g.p0.y || (a.g.p0.y == b.g.p0.y && a.g.p0.x < b.g.p0.x);
        };
        const auto first = std::min_element(g.edges.begin(), g.edges.end(), apexFirst);
        std::rotate(g.edges.begin(), first, g.edges.end());
    }
    if (g.edges.size() < 2 || !(g.area > eps * eps)) {
        g.edges.clear();
        g.area = 0;
        g.box = Box();
        return g;
    }
    g.reaches = true;
    return g;
}

ThrowZone publicZone(const ThrowUnit& u, const Geometry& g) {
    ThrowZone z;
    z.id = u.id;
    z.throwM = u.throwM;
    z.apexX = u.x;
    z.apexY = u.y;
    if (!g.reaches)
        return z;
    z.area = g.area;
    z.bounds = QRectF(QPointF(g.box.x0, g.box.y0), QPointF(g.box.x1, g.box.y1));
    z.boundary.reserve(g.edges.size());
    for (const Edge& e : g.edges)
        z.boundary.push_back({e.g.p0.x, e.g.p0.y, e.g.arc ? std::tan(e.g.sweep / 4) : 0.0});
    return z;
}

// An arc as cubic curves of at most 30 degrees each: they start and end on the
// circle and stay within 4e-7 of its radius from it (Qt's own arcs miss their
// ends by up to 3e-4 of the radius).
void addArc(QPainterPath& path, Vec c, double r, double a0, double sweep) {
    const int parts = std::max(1, int(std::ceil(std::fabs(sweep) / (Pi / 6) - 1e-9)));
    const double step = sweep / parts;
    const double k = 4.0 / 3.0 * std::tan(step / 4) * r;
    Vec from = c + polar(a0) * r;
    path.lineTo(from.x, from.y);
    for (int i = 0; i < parts; ++i) {
        const double s = a0 + i * step, e = s + step;
        const Vec ds = polar(s), de = polar(e);
        const Vec to = c + de * r;
        const Vec c1 = from + Vec{-ds.y, ds.x} * k;
        const Vec c2 = to - Vec{-de.y, de.x} * k;
        path.cubicTo(c1.x, c1.y, c2.x, c2.y, to.x, to.y);
        from = to;
    }
}

void addLoop(QPainterPath& path, const std::vector<Piece>& loop, bool reversed) {
    if (loop.empty())
        return;
    if (!reversed) {
        path.moveTo(loop.front().p0.x, loop.front().p0.y);
        for (const Piece& p : loop) {
            if (p.arc)
                addArc(path, p.c, p.r, p.a0, p.sweep);
            else
                path.lineTo(p.p1.x, p.p1.y);
        }
    } else {
        path.moveTo(loop.back().p1.x, loop.back().p1.y);
        for (auto it = loop.rbegin(); it != loop.rend(); ++it) {
            if (it->arc)
                addArc(path, it->c, it->r, it->a0 + it->sweep, -it->sweep);
            else
                path.lineTo(it->p0.x, it->p0.y);
        }
    }
    path.closeSubpath();
}

// Joins b to a when b starts within gap of a's end and continues it on the
// same line or the same circle, to within eps.
bool joinPieces(Piece& a, const Piece& b, double gap, double eps) {
    if (length(a.p1 - b.p0) > gap || a.arc != b.arc)
        return false;
    if (!a.arc) {
        const Vec da = a.p1 - a.p0, db = b.p1 - b.p0;
        const double la = length(da), lb = length(db);
        if (dot(da, db) <= 0 || std::fabs(cross(da, b.p1 - a.p0)) > eps * la ||
            std::fabs(cross(db, a.p0 - b.p0)) > eps * lb)
            return false;
        a.p1 = b.p1;
        return true;
    }
    // Arcs stay within half a turn, so that every bulge is at most 1.
    if (length(a.c - b.c) > eps || std::fabs(a.r - b.r) > eps || a.sweep + b.sweep > Pi)
        return false;
    a.sweep += b.sweep;
    a.p1 = b.p1;
    return true;
}

std::vector<ZoneVertex> vertices(const std::vector<Piece>& loop) {
    std::vector<ZoneVertex> out;
    out.reserve(loop.size());
    for (const Piece& p : loop)
        out.push_back({p.p0.x, p.p0.y, p.arc ? std::tan(p.sweep / 4) : 0.0});
    return out;
}

} // namespace

bool isValidThrowSpread(double deg) {
    return std::isfinite(deg) && deg > 0 && deg <= MaxThrowSpreadDeg;
}

std::optional<double> throwFromDosah(const QString& dosah) {
    // A number with a decimal point or comma; two joined by a hyphen, an en
    // or em dash or a minus sign.
    static const QRegularExpression form(
        QStringLiteral("^\\s*([0-9]+(?:[.,][0-9]+)?)\\s*"
                       "(?:[-\\x{2010}-\\x{2015}\\x{2212}]\\s*([0-9]+(?:[.,][0-9]+)?)\\s*)?$"),
        QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch m = form.match(dosah);
    if (!m.hasMatch())
        return std::nullopt;
    auto number = [](QString text) {
        return text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    };
    double r = number(m.captured(1));
    // A range written high to low still holds its lower end at every setting.
    if (m.lastCapturedIndex() >= 2 && !m.captured(2).isEmpty())
        r = std::min(r, number(m.captured(2)));
    if (!(r > 0) || !std::isfinite(r))
        return std::nullopt;
    return r;
}

bool ThrowUnit::hasZone() const {
    return kind == ObjWarmAirUnit && throwM > 0 && std::isfinite(throwM) && std::isfinite(x) &&
           std::isfinite(y) && std::isfinite(angleDeg);
}

QPainterPath ThrowZone::path() const {
    QPainterPath path;
    if (boundary.empty())
        return path;
    const Vec c{apexX, apexY};
    path.moveTo(boundary.front().x, boundary.front().y);
    for (size_t k = 0; k < boundary.size(); ++k) {
        const ZoneVertex& v = boundary[k];
        const ZoneVertex& w = boundary[(k + 1) % boundary.size()];
        if (v.bulge == 0) {
            path.lineTo(w.x, w.y);
            continue;
        }
        const double a0 = std::atan2(v.y - c.y, v.x - c.x);
        addArc(path, c, throwM, a0, 4 * std::atan(v.bulge));
    }
    path.closeSubpath();
    return path;
}

std::optional<ThrowZone> throwZone(const ThrowUnit& unit, double A, double B, double spreadDeg) {
    if (!unit.hasZone())
        return std::nullopt;
    const double eps = 1e-9 * std::max({1.0, A, B});
    return publicZone(unit, buildGeometry(unit, A, B, spreadDeg, eps));
}

// --- the union ---

struct ThrowCoverage::Impl {
    double A = 0, B = 0, spread = DefaultThrowSpreadDeg;
    double eps = 1e-9;
    std::vector<ThrowUnit> units;
    std::vector<Geometry> geometry;
    std::vector<std::optional<ThrowZone>> zones;
    std::vector<std::vector<Piece>> pieces; // of each zone's boundary on the union's
    std::vector<double> contribution;       // Green's integral over them
    QHash<int, int> firstIndex;
    // The zones whose boxes meet each zone's box.
    std::vector<std::vector<int>> adjacent;
    double covered = 0;

    std::vector<std::pair<double, int>> nearby;
    std::vector<std::pair<double, double>> intervals, open, rest;

    bool outlineMade = false;
    std::vector<std::vector<Piece>> loops;
    std::vector<std::vector<ZoneVertex>> outline;
    bool pathsMade = false;
    QPainterPath coveredPath, uncoveredPath;

    bool hasFloor() const { return A > 0 && B > 0 && std::isfinite(A) && std::isfinite(B); }
    Vec origin() const { return {A / 2, B / 2}; }
    double floorArea() const { return hasFloor() ? A * B : 0; }

    void rebuild();
    void build(int i);
    void findAdjacent();
    void detach(int i);
    void attach(int i);
    void computePieces(int i);
    void cover(const Edge& e, const Stretch& part, int i, int j);
    void sum();
    void makeOutline();
    void makePaths();
    void changed() {
        outlineMade = false;
        pathsMade = false;
    }
};

void ThrowCoverage::Impl::build(int i) {
    const size_t k = size_t(i);
    const ThrowUnit& u = units[k];
    geometry[k] = hasFloor() ? buildGeometry(u, A, B, spread, eps) : Geometry();
    if (u.hasZone())
        zones[k] = publicZone(u, geometry[k]);
    else
        zones[k].reset();
}

void ThrowCoverage::Impl::rebuild() {
    eps = 1e-9 * std::max({1.0, hasFloor() ? A : 1.0, hasFloor() ? B : 1.0});
    const size_t n = units.size();
    geometry.assign(n, Geometry());
    zones.assign(n, std::nullopt);
    pieces.assign(n, {});
    contribution.assign(n, 0);
    firstIndex.clear();
    for (size_t k = n; k-- > 0;)
        firstIndex.insert(units[k].id, int(k));
    for (size_t k = 0; k < n; ++k)
        build(int(k));
    if (hasFloor()) {
        findAdjacent();
        for (size_t k = 0; k < n; ++k)
            computePieces(int(k));
    }
    sum();
    changed();
}

// The pairs of zones whose boxes meet, by a sweep along X over the boxes in
// the order of their left sides.
void ThrowCoverage::Impl::findAdjacent() {
    const size_t n = geometry.size();
    adjacent.assign(n, {});
    std::vector<int> order;
    for (size_t k = 0; k < n; ++k) {
        if (geometry[k].reaches)
            order.push_back(int(k));
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return geometry[size_t(a)].box.x0 < geometry[size_t(b)].box.x0;
    });
    for (size_t s = 0; s < order.size(); ++s) {
        const int i = order[s];
        const Box& bi = geometry[size_t(i)].box;
        for (size_t t = s + 1; t < order.size(); ++t) {
            const int j = order[t];
            const Box& bj = geometry[size_t(j)].box;
            if (bj.x0 > bi.x1 + eps)
                break;
            if (bi.overlaps(bj, eps)) {
                adjacent[size_t(i)].push_back(j);
                adjacent[size_t(j)].push_back(i);
            }
        }
    }
}

void ThrowCoverage::Impl::detach(int i) {
    for (int j : adjacent[size_t(i)]) {
        auto& list = adjacent[size_t(j)];
        list.erase(std::find(list.begin(), list.end(), i));
    }
    adjacent[size_t(i)].clear();
}

// One zone's box against all others: a move costs the count of zones, which
// is less than any index over them would save.
void ThrowCoverage::Impl::attach(int i) {
    const Geometry& g = geometry[size_t(i)];
    if (!g.reaches)
        return;
    for (size_t j = 0; j < geometry.size(); ++j) {
        if (int(j) != i && geometry[j].reaches && geometry[j].box.overlaps(g.box, eps)) {
            adjacent[size_t(i)].push_back(int(j));
            adjacent[j].push_back(i);
        }
    }
}

// Adds to `intervals` the parameter ranges within `part` of the edge e of zone
// i that zone j covers: its interior, and the stretches along j's boundary
// that do not belong to the union's boundary through i (see the head of this
// file).
void ThrowCoverage::Impl::cover(const Edge& e, const Stretch& part, int i, int j) {
    const Geometry& gj = geometry[size_t(j)];
    const Piece& p = e.g;
    if (!p.arc) {
        const Vec d = p.p1 - p.p0;
        const double len = length(d);
        const double tiny = eps / len;
        double t0 = part.from, t1 = part.to;
        bool along = e.wall >= 0; // both zones lie on the floor's side of a wall line
        bool opposite = false;
        for (int k = 0; k < gj.wedges; ++k) {
            const HalfPlane& h = gj.wedge[k];
            // Whether the edge runs along the line is the whole edge's matter.
            const double f0 = h.at(p.p0), f1 = h.at(p.p1);
            if (std::fabs(f0) <= eps && std::fabs(f1) <= eps) {
                along = true;
                if (dot(h.n, Vec{-d.y, d.x}) < 0)
                    opposite = true;
                continue;
            }
            const double fa = h.at(part.q0), fb = h.at(part.q1);
            if (fa < 0 && fb < 0)
                return;
            if (fa >= 0 && fb >= 0)
                continue;
            const double t = f0 / (f0 - f1);
            if (fa < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
        }
        if (!gj.diskCoversFloor) {
            double a = 0, b = 0;
            if (!segmentInDisk(p.p0, p.p1, gj.c, gj.r, &a, &b))
                return;
            t0 = std::max(t0, a);
            t1 = std::min(t1, b);
        }
        if (t1 - t0 <= tiny)
            return;
        if (along && !opposite && j > i)
            return;
        intervals.emplace_back(t0, t1);
        return;
    }

    const double tiny = eps / p.r;
    const Vec dc = p.c - gj.c;
    const double dist = length(dc);
    if (dist > p.r + gj.r)
        return;
    const bool sameCircle = dist <= eps && std::fabs(p.r - gj.r) <= eps;
    // The arc runs along j's arc: a common stretch stays with the lower index.
    if (sameCircle && (j > i || gj.diskCoversFloor))
        return;
    // Each of j's conditions holds along the arc on one range of angles,
    // cos(a - centre) >= cos(half); the arc within all of them is at most four
    // ranges of the parameter t = a - a0 in [0, sweep]. A condition that holds
    // at the whole arc or nowhere on it (from its values at the ends and at its
    // extremes) needs no angles.
    double bufA[8], bufB[8], bufC[8], bufD[8];
    double *lo = bufA, *hi = bufB, *nlo = bufC, *nhi = bufD;
    lo[0] = part.from;
    hi[0] = part.to;
    int ranges = 1;
    auto restrict = [&](double centre, double half) {
        const double s = normalized(centre - half - p.a0), e = s + 2 * half;
        int n = 0;
        for (int k = 0; k < ranges; ++k) {
            for (double shift : {0.0, -TwoPi}) {
                const double a = std::max(lo[k], s + shift), b = std::min(hi[k], e + shift);
                if (b - a > tiny && n < 8) {
                    nlo[n] = a;
                    nhi[n] = b;
                    ++n;
                }
            }
        }
        std::swap(lo, nlo);
        std::swap(hi, nhi);
        ranges = n;
        return n > 0;
    };
    // Within each of j's lines: f(a) = alpha + r cos(a - beta) >= 0, least
    // where the arc points against the line's normal, greatest along it.
    for (int k = 0; k < gj.wedges; ++k) {
        const HalfPlane& h = gj.wedge[k];
        const double alpha = dot(h.n, p.c - h.o);
        const double f0 = h.at(part.q0), f1 = h.at(part.q1);
        const double least = part.inArc(h.n * -1) ? alpha - p.r : std::min(f0, f1);
        if (least >= 0)
            continue;
        const double most = part.inArc(h.n) ? alpha + p.r : std::max(f0, f1);
        if (most <= 0)
            return;
        if (!restrict(h.beta, std::acos(std::clamp(-alpha / p.r, -1.0, 1.0))))
            return;
    }
    // Within j's disk: |p(a) - cj| <= rj, nearest where the arc points at
    // j's centre.
    if (!sameCircle && !gj.diskCoversFloor) {
        const double rr = gj.r * gj.r;
        const double g0 = dot(part.q0 - gj.c, part.q0 - gj.c);
        const double g1 = dot(part.q1 - gj.c, part.q1 - gj.c);
        if (dist <= eps) {
            if (p.r > gj.r)
                return;
        } else {
            const Vec toward = dc * (-1 / dist);
            const double far =
                part.inArc(toward * -1) ? (dist + p.r) * (dist + p.r) : std::max(g0, g1);
            if (far > rr) {
                const double nearest =
                    part.inArc(toward) ? (dist - p.r) * (dist - p.r) : std::min(g0, g1);
                if (nearest >= rr)
                    return;
                const double k = (rr - p.r * p.r - dist * dist) / (2 * p.r * dist);
                if (!restrict(std::atan2(dc.y, dc.x) + Pi,
                              Pi - std::acos(std::clamp(k, -1.0, 1.0))))
                    return;
            }
        }
    }
    for (int k = 0; k < ranges; ++k)
        intervals.emplace_back(lo[k], hi[k]);
}

void ThrowCoverage::Impl::computePieces(int i) {
    const size_t k = size_t(i);
    std::vector<Piece>& out = pieces[k];
    out.clear();
    contribution[k] = 0;
    const Geometry& g = geometry[k];
    if (!g.reaches)
        return;
    // The nearest zones first: they cover most, and what they leave is small
    // and quickly found beyond the reach of the others.
    nearby.clear();
    for (int j : adjacent[k]) {
        const Vec d = geometry[size_t(j)].c - g.c;
        nearby.emplace_back(dot(d, d), j);
    }
    std::sort(nearby.begin(), nearby.end());
    const Vec o = origin();
    for (const Edge& e : g.edges) {
        const Piece& p = e.g;
        const double span = p.arc ? p.sweep : 1.0;
        const double tiny = p.arc ? eps / p.r : eps / length(p.p1 - p.p0);
        // The parameter ranges that no zone so far covers, and their box.
        open.assign(1, {0.0, span});
        Box openBox = e.box;
        Stretch part = stretchOf(p, 0, span);
        part.q0 = p.p0;
        part.q1 = p.p1;
        for (const auto& [distance, j] : nearby) {
            if (!openBox.overlaps(geometry[size_t(j)].box, eps))
                continue;
            intervals.clear();
            cover(e, part, i, j);
            if (intervals.empty())
                continue;
            for (const auto& [s, t] : intervals) {
                rest.clear();
                for (const auto& [a, b] : open) {
                    if (t <= a || s >= b) {
                        rest.emplace_back(a, b);
                        continue;
                    }
                    if (s - a > tiny)
                        rest.emplace_back(a, s);
                    if (b - t > tiny)
                        rest.emplace_back(t, b);
                }
                open.swap(rest);
            }
            if (open.empty())
                break;
            const double from = open.front().first, to = open.back().second;
            if (from == part.from && to == part.to)
                continue;
            part = stretchOf(p, from, to);
            if (p.arc) {
                openBox = arcBox(p.c, p.r, p.a0 + from, to - from, part.q0, part.q1);
            } else {
                openBox = Box();
                openBox.add(part.q0);
                openBox.add(part.q1);
            }
        }
        for (const auto& [ta, tb] : open) {
            Piece q = p;
            if (p.arc) {
                q.a0 = p.a0 + ta;
                q.sweep = tb - ta;
                if (ta > 0)
                    q.p0 = p.c + polar(q.a0) * p.r;
                if (tb < span)
                    q.p1 = p.c + polar(q.a0 + q.sweep) * p.r;
            } else {
                const Vec d = p.p1 - p.p0;
                if (ta > 0)
                    q.p0 = p.p0 + d * ta;
                if (tb < span)
                    q.p1 = p.p0 + d * tb;
            }
            contribution[k] += green(q, o);
            out.push_back(q);
        }
    }
}

void ThrowCoverage::Impl::sum() {
    double total = 0;
    for (double c : contribution)
        total += c;
    covered = std::clamp(total, 0.0, floorArea());
}

void ThrowCoverage::Impl::makeOutline() {
    if (outlineMade)
        return;
    outlineMade = true;
    loops.clear();
    outline.clear();
    std::vector<const Piece*> all;
    for (const auto& zonePieces : pieces)
        for (const Piece& p : zonePieces)
            all.push_back(&p);
    if (all.empty())
        return;
    // The pieces meet end to start; where rounding left them a little apart,
    // the nearest start within this distance follows.
    const double tol = 1e-6 * std::max({1.0, A, B});
    auto key = [tol](Vec p) {
        const auto ix = qint64(std::floor(p.x / tol)), iy = qint64(std::floor(p.y / tol));
        return (quint64(ix) << 32) ^ quint64(iy & 0xffffffff);
    };
    std::unordered_map<quint64, std::vector<int>> starts;
    starts.reserve(all.size() * 2);
    for (size_t k = 0; k < all.size(); ++k)
        starts[key(all[k]->p0)].push_back(int(k));
    std::vector<char> used(all.size(), 0);
    auto following = [&](Vec end) {
        int best = -1;
        double bestDistance = tol;
        const auto ix = qint64(std::floor(end.x / tol)), iy = qint64(std::floor(end.y / tol));
        for (qint64 dy = -1; dy <= 1; ++dy) {
            for (qint64 dx = -1; dx <= 1; ++dx) {
                const quint64 cell = (quint64(ix + dx) << 32) ^ quint64((iy + dy) & 0xffffffff);
                const auto it = starts.find(cell);
                if (it == starts.end())
                    continue;
                for (int k : it->second) {
                    if (used[size_t(k)])
                        continue;
                    const double d = length(all[size_t(k)]->p0 - end);
                    if (d <= bestDistance) {
                        bestDistance = d;
                        best = k;
                    }
                }
            }
        }
        return best;
    };
    for (size_t s = 0; s < all.size(); ++s) {
        if (used[s])
            continue;
        std::vector<Piece> loop;
        int k = int(s);
        while (k >= 0) {
            used[size_t(k)] = 1;
            const Piece& p = *all[size_t(k)];
            if (loop.empty() || !joinPieces(loop.back(), p, tol, eps))
                loop.push_back(p);
            k = following(p.p1);
        }
        while (loop.size() > 1 && joinPieces(loop.back(), loop.front(), tol, eps))
            loop.erase(loop.begin());
        loops.push_back(std::move(loop));
    }
    outline.reserve(loops.size());
    for (const auto& loop : loops)
        outline.push_back(vertices(loop));
}

void ThrowCoverage::Impl::makePaths() {
    if (pathsMade)
        return;
    makeOutline();
    pathsMade = true;
    coveredPath = QPainterPath();
    coveredPath.setFillRule(Qt::WindingFill);
    uncoveredPath = QPainterPath();
    uncoveredPath.setFillRule(Qt::WindingFill);
    if (!hasFloor())
        return;
    uncoveredPath.moveTo(0, 0);
    uncoveredPath.lineTo(A, 0);
    uncoveredPath.lineTo(A, B);
    uncoveredPath.lineTo(0, B);
    uncoveredPath.closeSubpath();
    for (const auto& loop : loops) {
        addLoop(coveredPath, loop, false);
        addLoop(uncoveredPath, loop, true);
    }
}

ThrowCoverage::ThrowCoverage() : d_(std::make_unique<Impl>()) {}
ThrowCoverage::~ThrowCoverage() = default;

void ThrowCoverage::setFloor(double A, double B) {
    d_->A = A;
    d_->B = B;
    d_->rebuild();
}

bool ThrowCoverage::setSpread(double deg) {
    if (!isValidThrowSpread(deg))
        return false;
    d_->spread = deg;
    d_->rebuild();
    return true;
}

void ThrowCoverage::setUnits(std::vector<ThrowUnit> units) {
    d_->units = std::move(units);
    d_->rebuild();
}

double ThrowCoverage::floorLength() const {
    return d_->A;
}
double ThrowCoverage::floorWidth() const {
    return d_->B;
}
double ThrowCoverage::spread() const {
    return d_->spread;
}
int ThrowCoverage::count() const {
    return int(d_->units.size());
}
const ThrowUnit& ThrowCoverage::unit(int index) const {
    return d_->units.at(size_t(index));
}
int ThrowCoverage::indexOf(int id) const {
    return d_->firstIndex.value(id, -1);
}

void ThrowCoverage::moveUnit(int index, double x, double y, double angleDeg) {
    Impl& d = *d_;
    if (index < 0 || index >= count())
        return;
    ThrowUnit& u = d.units[size_t(index)];
    if (u.x == x && u.y == y && u.angleDeg == angleDeg)
        return;
    u.x = x;
    u.y = y;
    u.angleDeg = angleDeg;
    if (!d.hasFloor()) {
        d.build(index);
        return;
    }
    // The zones the unit reached before and reaches now lose or gain the
    // pieces it covers; no other zone changes.
    std::vector<int> affected = d.adjacent[size_t(index)];
    d.detach(index);
    d.build(index);
    d.attach(index);
    affected.insert(affected.end(), d.adjacent[size_t(index)].begin(),
                    d.adjacent[size_t(index)].end());
    affected.push_back(index);
    std::sort(affected.begin(), affected.end());
    affected.erase(std::unique(affected.begin(), affected.end()), affected.end());
    for (int k : affected)
        d.computePieces(k);
    d.sum();
    d.changed();
}

const ThrowZone* ThrowCoverage::zone(int index) const {
    if (index < 0 || index >= count())
        return nullptr;
    const auto& z = d_->zones[size_t(index)];
    return z ? &*z : nullptr;
}

double ThrowCoverage::floorArea() const {
    return d_->floorArea();
}
double ThrowCoverage::coveredArea() const {
    return d_->covered;
}
double ThrowCoverage::coveredPercent() const {
    const double floor = floorArea();
    return floor > 0 ? 100 * d_->covered / floor : 0;
}

CoverageFigures ThrowCoverage::figures() const {
    CoverageFigures f;
    f.floorArea = floorArea();
    f.coveredArea = coveredArea();
    f.coveredPercent = coveredPercent();
    f.spreadDeg = d_->spread;
    for (size_t k = 0; k < d_->units.size(); ++k) {
        if (const auto& z = d_->zones[k])
            f.units.push_back({z->id, z->throwM, z->area});
    }
    std::stable_sort(
        f.units.begin(), f.units.end(),
        [](const CoverageFigures::Unit& a, const CoverageFigures::Unit& b) { return a.id < b.id; });
    return f;
}

QPainterPath ThrowCoverage::coveredPath() const {
    d_->makePaths();
    return d_->coveredPath;
}

QPainterPath ThrowCoverage::uncoveredPath() const {
    d_->makePaths();
    return d_->uncoveredPath;
}

const std::vector<std::vector<ZoneVertex>>& ThrowCoverage::coveredOutline() const {
    d_->makeOutline();
    return d_->outline;
}

CoverageFigures computeThrowCoverage(const std::vector<ThrowUnit>& units, double A, double B,
                                     double spreadDeg) {
    // Floor and spread first, while there are no units to compute.
    ThrowCoverage coverage;
    coverage.setFloor(A, B);
    if (!coverage.setSpread(spreadDeg)) {
        CoverageFigures f;
        f.floorArea = coverage.floorArea();
        f.spreadDeg = spreadDeg;
        return f;
    }
    coverage.setUnits(units);
    return coverage.figures();
}

// --- the open project ---

namespace {

// A column's value as the dataset's asInteger and asFloat read it, without
// their exceptions: a value a damaged file holds gives no zone, not an error.
int intValue(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return 0;
    if (v.typeId() == QMetaType::Double)
        return roundToInt(v.toDouble());
    if (v.typeId() == QMetaType::QString)
        return v.toString().trimmed().toInt();
    return v.toInt();
}

double floatValue(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        return ok ? d : std::nan("");
    }
    return v.toDouble();
}

// Uhel as the plan keeps it: the whole number of degrees, halves to even.
double wholeDegrees(double angle) {
    if (!std::isfinite(angle))
        return angle;
    // 360 is even, so the remainder rounds as the angle itself would.
    return roundToInt(std::fmod(angle, 360.0));
}

struct Columns {
    int id, kind, x, y, angle, dosah;
    explicit Columns(const Dataset& t)
        : id(t.fieldIndex(QStringLiteral("IDJednotky"))),
          kind(t.fieldIndex(QStringLiteral("ObjType"))), x(t.fieldIndex(QStringLiteral("X"))),
          y(t.fieldIndex(QStringLiteral("Y"))), angle(t.fieldIndex(QStringLiteral("Uhel"))),
          dosah(t.fieldIndex(QStringLiteral("Dosah"))) {}
};

QVariant at(const Dataset& t, int row, int field) {
    return field >= 0 ? t.valueAt(row, field) : QVariant();
}

double throwAt(const Dataset& t, int row, int field) {
    return throwFromDosah(at(t, row, field).toString()).value_or(0);
}

} // namespace

std::vector<ThrowUnit> throwUnitsFromTable(const Dataset& tJednotky) {
    std::vector<ThrowUnit> units;
    if (!tJednotky.active())
        return units;
    const Columns c(tJednotky);
    const int rows = tJednotky.recordCount();
    units.reserve(size_t(rows));
    for (int row = 0; row < rows; ++row) {
        ThrowUnit u;
        u.id = intValue(at(tJednotky, row, c.id));
        u.kind = intValue(at(tJednotky, row, c.kind));
        u.x = floatValue(at(tJednotky, row, c.x));
        u.y = floatValue(at(tJednotky, row, c.y));
        u.angleDeg = wholeDegrees(floatValue(at(tJednotky, row, c.angle)));
        u.throwM = throwAt(tJednotky, row, c.dosah);
        units.push_back(u);
    }
    return units;
}

std::vector<ThrowUnit> throwUnitsFromPlan(const PlanView& plan, const Dataset& tJednotky) {
    QHash<int, double> throwOf;
    if (tJednotky.active()) {
        const Columns c(tJednotky);
        for (int row = 0; row < tJednotky.recordCount(); ++row) {
            const int id = intValue(at(tJednotky, row, c.id));
            if (!throwOf.contains(id))
                throwOf.insert(id, throwAt(tJednotky, row, c.dosah));
        }
    }
    std::vector<ThrowUnit> units;
    units.reserve(plan.objects().size());
    for (const PlanSymbol& s : plan.objects())
        units.push_back({s.number, s.kind, s.x, s.y, double(s.angle), throwOf.value(s.number, 0)});
    return units;
}

CoverageFigures projectThrowCoverage(const TZFData& data, const PlanView& plan, double spreadDeg) {
    return computeThrowCoverage(throwUnitsFromTable(data.tJednotky), plan.hallLength(),
                                plan.hallWidth(), spreadDeg);
}

} // namespace zf
