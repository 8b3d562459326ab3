// Isometric sketches of the hall and skylight variants: the type pictures with
// their dimension letters and one picture per surface record with that surface
// highlighted.
#include "pictures/buildingsketch.h"

#include "pictures/svgdocument.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zf::pictures {

HallSize sketchHallSize() {
    return {3.0, 2.0, 1.0, 0.6};
}

HallSize skylightHallSize() {
    return {3.0, 2.0, 0.55, 0};
}

SkylightSize sketchSkylightSize(int type) {
    switch (type) {
    case 2:
        return {2.2, 1.2, 0.3, 0.35};
    default:
        return {2.2, 1.2, 0.5, 0};
    }
}

Shape sketchShape(const QString& variant) {
    for (int roof = 0; roof <= 3; ++roof)
        if (variant == hallVariant(roof))
            return hallShape(roof, sketchHallSize());
    for (int type = 1; type <= 4; ++type)
        if (variant == skylightVariant(type))
            return skylightShape(type, skylightHallSize(), sketchSkylightSize(type));
    return {};
}

namespace {

constexpr double Scale = 60; // picture units per metre of the sketch
constexpr double BalloonRadius = 8.5;
constexpr double NumberSize = 12;
constexpr double LetterSize = 14;
constexpr double Margin = 6;
constexpr double Aspect = 4.0 / 3.0;

// Seen from above the corner of walls 1 and 2, a little more from the side of
// wall 2 so that the length A reads as the longer side.
const Vec3 ViewFrom{-0.8, -1.1, 1.2};
const Vec3 LightFrom{-0.35, -0.75, 1.0};

struct Projection {
    Vec3 toViewer, right, up;

    Projection() {
        toViewer = normalized(ViewFrom);
        right = normalized({-toViewer.y, toViewer.x, 0});
        up = cross(toViewer, right);
    }
    QPointF operator()(Vec3 p) const { return {dot(p, right) * Scale, -dot(p, up) * Scale}; }
    // A direction in space as a unit direction in the picture.
    QPointF direction(Vec3 d) const {
        const QPointF s(dot(d, right), -dot(d, up));
        const double l = std::hypot(s.x(), s.y());
        return l > 0 ? s / l : QPointF(0, 1);
    }
    bool sees(Vec3 normal) const { return dot(normal, toViewer) > 1e-9; }
    QPolygonF map(const std::vector<Vec3>& points) const {
        QPolygonF q;
        for (const Vec3& v : points)
            q << (*this)(v);
        return q;
    }
};

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// How much light a surface turned this way gets, 0 to 1.
double lightOn(Vec3 normal) {
    return std::clamp(0.15 + 1.1 * dot(normalized(normal), normalized(LightFrom)), 0.0, 1.0);
}

Vec3 newellNormal(const std::vector<Vec3>& p) {
    Vec3 n;
    for (size_t i = 0; i < p.size(); ++i) {
        const Vec3& a = p[i];
        const Vec3& b = p[(i + 1) % p.size()];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return normalized(n);
}

// A run of a surface that is either turned towards the viewer or away: a plane
// surface is one run, a curved one splits where it turns away.
struct Piece {
    QPolygonF outline;
    std::vector<QPolygonF> facets;
    std::vector<Vec3> normals;
    bool front = false;
};

std::vector<Piece> piecesOf(const Face& f, const Projection& p) {
    if (!f.curved()) {
        Piece piece;
        piece.outline = p.map(f.polygon);
        piece.facets = {piece.outline};
        piece.normals = {f.normal};
        piece.front = p.sees(f.normal);
        return {piece};
    }
    const auto facets = f.facets();
    std::vector<Piece> pieces;
    size_t start = 0;
    for (size_t i = 0; i < facets.size(); ++i) {
        Vec3 n = newellNormal(facets[i]);
        if (dot(n, f.normal) < 0)
            n = n * -1;
        const bool front = p.sees(n);
        if (i == 0 || front != pieces.back().front) {
            if (i > 0) {
                // Close the previous run along the profiles.
                std::vector<Vec3> ring(f.profileNear.begin() + long(start),
                                       f.profileNear.begin() + long(i) + 1);
                for (size_t j = i + 1; j-- > start;)
                    ring.push_back(f.profileFar[j]);
                pieces.back().outline = p.map(ring);
            }
            pieces.push_back({});
            pieces.back().front = front;
            start = i;
        }
        pieces.back().facets.push_back(p.map(facets[i]));
        pieces.back().normals.push_back(n);
    }
    std::vector<Vec3> ring(f.profileNear.begin() + long(start), f.profileNear.end());
    for (size_t j = f.profileFar.size(); j-- > start;)
        ring.push_back(f.profileFar[j]);
    pieces.back().outline = p.map(ring);
    return pieces;
}

enum class Look { Normal, Faint };

Style lineStyle(const QColor& c, double width) {
    Style s;
    s.stroke = c;
    s.width = width;
    return s;
}

Style fillStyle(const QColor& fill) {
    Style s;
    s.fill = fill;
    // The same colour round each piece closes the hairline seams between the
    // pieces of a curved surface.
    s.stroke = fill;
    s.width = 0.4;
    return s;
}

// Draws a convex body: the surfaces turned towards the viewer filled and
// outlined, the edges behind dashed, the highlighted surface in the accent
// colour, seen through the body when it lies behind.
void drawBody(SvgDocument& doc, const Projection& p, const Shape& shape, Look look,
              int highlighted) {
    struct Drawn {
        const Face* face;
        std::vector<Piece> pieces;
    };
    std::vector<Drawn> drawn;
    for (const Face& f : shape.faces)
        drawn.push_back({&f, piecesOf(f, p)});

    const bool faint = look == Look::Faint;
    for (const Drawn& d : drawn) {
        const bool lit = d.face->number == highlighted;
        for (const Piece& piece : d.pieces) {
            if (!piece.front)
                continue;
            for (size_t i = 0; i < piece.facets.size(); ++i) {
                const double t = lightOn(piece.normals[i]);
                const QColor c = faint ? palette::Lighter
                                 : lit ? mix(palette::AccentTint, palette::AccentPale, t * 0.6)
                                       : mix(palette::Shade, palette::Lighter, t);
                doc.polygon(piece.facets[i], fillStyle(c));
            }
        }
    }

    Style hiddenArea;
    hiddenArea.fill = palette::Accent;
    hiddenArea.fillOpacity = 0.3;
    Style hiddenHighlight = lineStyle(palette::Accent, 1.3);
    hiddenHighlight.dash = {3.5, 2};
    for (const Drawn& d : drawn)
        if (d.face->number == highlighted)
            for (const Piece& piece : d.pieces)
                if (!piece.front)
                    doc.polygon(piece.outline, hiddenArea);

    if (!faint) {
        Style hidden = lineStyle(palette::Hidden, 0.7);
        hidden.dash = {3, 2};
        for (const Drawn& d : drawn)
            for (const Piece& piece : d.pieces)
                if (!piece.front)
                    doc.polygon(piece.outline, hidden);
    }
    for (const Drawn& d : drawn)
        if (d.face->number == highlighted)
            for (const Piece& piece : d.pieces)
                if (!piece.front)
                    doc.polygon(piece.outline, hiddenHighlight);

    const Style visible = faint ? lineStyle(palette::Faint, 0.8) : lineStyle(palette::Line, 1.1);
    for (const Drawn& d : drawn)
        for (const Piece& piece : d.pieces)
            if (piece.front && d.face->number != highlighted)
                doc.polygon(piece.outline, visible);
    for (const Drawn& d : drawn)
        if (d.face->number == highlighted)
            for (const Piece& piece : d.pieces)
                if (piece.front)
                    doc.polygon(piece.outline, lineStyle(palette::Accent, 1.7));
}

// --- plane helpers ---

QPolygonF convexHull(std::vector<QPointF> pts) {
    std::sort(pts.begin(), pts.end(), [](QPointF a, QPointF b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    });
    auto turn = [](QPointF o, QPointF a, QPointF b) {
        return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
    };
    std::vector<QPointF> h(2 * pts.size());
    size_t k = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && turn(h[k - 2], h[k - 1], pts[i]) <= 0)
            --k;
        h[k++] = pts[i];
    }
    for (size_t i = pts.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && turn(h[k - 2], h[k - 1], pts[i]) <= 0)
            --k;
        h[k++] = pts[i];
    }
    h.resize(k > 0 ? k - 1 : 0);
    return QPolygonF(QList<QPointF>(h.begin(), h.end()));
}

double distanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double l2 = QPointF::dotProduct(ab, ab);
    const double t = l2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / l2, 0.0, 1.0) : 0;
    const QPointF q = a + ab * t;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

double distanceToOutline(QPointF p, const QPolygonF& poly) {
    double d = 1e9;
    for (qsizetype i = 0; i < poly.size(); ++i)
        d = std::min(d, distanceToSegment(p, poly[i], poly[(i + 1) % poly.size()]));
    return d;
}

// Where a ray from a point inside a convex outline leaves it.
QPointF exitPoint(QPointF from, QPointF dir, const QPolygonF& hull) {
    double best = 0;
    for (qsizetype i = 0; i < hull.size(); ++i) {
        const QPointF a = hull[i], b = hull[(i + 1) % hull.size()];
        const QPointF e = b - a;
        const double den = dir.x() * e.y() - dir.y() * e.x();
        if (std::abs(den) < 1e-12)
            continue;
        const QPointF w = a - from;
        const double t = (w.x() * e.y() - w.y() * e.x()) / den;
        const double u = (w.x() * dir.y() - w.y() * dir.x()) / den;
        if (u >= -1e-9 && u <= 1 + 1e-9 && t > best)
            best = t;
    }
    return from + dir * best;
}

QPointF rotated(QPointF d, double degrees) {
    const double r = degrees * 3.14159265358979 / 180;
    return {d.x() * std::cos(r) - d.y() * std::sin(r), d.x() * std::sin(r) + d.y() * std::cos(r)};
}

// --- numbers ---

struct Label {
    int number = 0;
    QPointF anchor; // on the surface
    QPointF at;     // the number's centre
    bool inside = false;
    bool behind = false; // the surface is turned away
};

// Places the numbers once per shape, so that every picture of a variant shows
// them at the same places: on the surface where it is seen and large enough,
// otherwise in a balloon outside the body, led out along the surface's normal.
std::vector<Label> layoutLabels(const Shape& shape, const Projection& p, const QPolygonF& hull) {
    std::vector<Label> labels;
    for (const Face& f : shape.faces) {
        Label l;
        l.number = f.number;
        l.anchor = p(f.anchor);
        l.behind = !p.sees(f.normal);
        if (!l.behind) {
            for (const Piece& piece : piecesOf(f, p)) {
                if (piece.front && piece.outline.containsPoint(l.anchor, Qt::OddEvenFill) &&
                    distanceToOutline(l.anchor, piece.outline) >= BalloonRadius + 1.5) {
                    l.inside = true;
                    l.at = l.anchor;
                }
            }
        }
        labels.push_back(l);
    }
    std::vector<QPointF> taken;
    for (Label& l : labels) {
        if (l.inside)
            continue;
        const Face* f = shape.face(l.number);
        // Out along the surface's normal: the floor's leads straight down.
        const QPointF along = p.direction(f->normal);
        std::optional<QPointF> found;
        for (double gap = BalloonRadius + 3; !found && gap < 200; gap += 1.5) {
            for (double turn : {0.0, 12.0, -12.0, 24.0, -24.0, 36.0, -36.0, 50.0, -50.0}) {
                const QPointF d = rotated(along, turn);
                const QPointF c = exitPoint(l.anchor, d, hull) + d * gap;
                if (hull.containsPoint(c, Qt::OddEvenFill) ||
                    distanceToOutline(c, hull) < BalloonRadius + 2.5)
                    continue;
                const bool free = std::none_of(taken.begin(), taken.end(), [&](QPointF t) {
                    return std::hypot(t.x() - c.x(), t.y() - c.y()) < 2 * BalloonRadius + 3;
                });
                if (free) {
                    found = c;
                    break;
                }
            }
        }
        l.at = found.value_or(l.anchor);
        taken.push_back(l.at);
    }
    return labels;
}

void drawLabels(SvgDocument& doc, const std::vector<Label>& labels, const QPolygonF& hull,
                int highlighted) {
    for (const Label& l : labels) {
        const bool lit = l.number == highlighted;
        const QString n = QString::number(l.number);
        const QColor ink = lit ? palette::Accent : palette::Hidden;
        if (!l.inside) {
            const QPointF d = l.at - l.anchor;
            const double len = std::hypot(d.x(), d.y());
            const QPointF u = len > 0 ? d / len : QPointF(0, 1);
            const QPointF end = l.at - u * BalloonRadius;
            Style leader = lineStyle(ink, lit ? 0.9 : 0.6);
            QPointF solidFrom = l.anchor;
            if (l.behind) {
                // Dashed where the leader runs over the body in front of it.
                solidFrom = exitPoint(l.anchor, u, hull);
                Style dashed = leader;
                dashed.dash = {2, 1.5};
                doc.line(l.anchor, solidFrom, dashed);
            }
            doc.line(solidFrom, end, leader);
            Style dot;
            dot.fill = ink;
            doc.circle(l.anchor, lit ? 1.6 : 1.2, dot);
        }
        if (lit) {
            Style disc;
            disc.fill = palette::Accent;
            doc.circle(l.at, BalloonRadius, disc);
            doc.text(n, l.at, NumberSize, palette::White, true);
        } else {
            if (!l.inside) {
                Style ring = lineStyle(palette::Hidden, 0.7);
                ring.fill = palette::White;
                doc.circle(l.at, BalloonRadius, ring);
            }
            doc.text(n, l.at, NumberSize, palette::Hidden);
        }
    }
}

// --- dimensions ---

void arrowHead(SvgDocument& doc, QPointF tip, QPointF towards) {
    const QPointF d = tip - towards;
    const double l = std::hypot(d.x(), d.y());
    if (l <= 0)
        return;
    const QPointF u = d / l, n(-u.y(), u.x());
    Style s;
    s.fill = palette::Line;
    doc.polygon(QPolygonF({tip, tip - u * 6 + n * 1.9, tip - u * 6 - n * 1.9}), s);
}

// A dimension of the edge a-b, drawn beside it at the offset (metres) in the
// direction given, with its letter beyond the dimension line.
void dimension(SvgDocument& doc, const Projection& p, Vec3 a, Vec3 b, Vec3 dir, double offset,
               const QString& letter) {
    const Vec3 u = normalized(dir);
    const Style ext = lineStyle(palette::Line, 0.55);
    const double gap = 0.05, over = 0.08;
    doc.line(p(a + u * gap), p(a + u * (offset + over)), ext);
    doc.line(p(b + u * gap), p(b + u * (offset + over)), ext);
    const QPointF A = p(a + u * offset), B = p(b + u * offset);
    doc.line(A, B, lineStyle(palette::Line, 0.7));
    arrowHead(doc, A, B);
    arrowHead(doc, B, A);
    const QPointF side = p.direction(u);
    doc.haloText(letter, (A + B) / 2 + side * (LetterSize * 0.75), LetterSize, palette::Line, false,
                 true);
}

QPolygonF hullOf(const Shape& s, const Projection& p) {
    std::vector<QPointF> pts;
    for (const Vec3& v : s.vertices())
        pts.push_back(p(v));
    return convexHull(pts);
}

Picture finish(const SvgDocument& doc, const QString& name) {
    return {QStringLiteral("Building/") + name + QStringLiteral(".svg"),
            doc.toSvg(framed(doc.bounds(), Margin, Aspect), name)};
}

void hallDimensions(SvgDocument& doc, const Projection& p, int roof, const HallSize& h) {
    const double A = h.A, B = h.B, H1 = h.H1, H2 = h.H2;
    dimension(doc, p, {0, 0, 0}, {A, 0, 0}, {0, -1, 0}, 0.35, QStringLiteral("A"));
    dimension(doc, p, {0, 0, 0}, {0, B, 0}, {-1, 0, 0}, 0.35, QStringLiteral("B"));
    dimension(doc, p, {A, 0, 0}, {A, 0, H1}, {1, 0, 0}, 0.3, QStringLiteral("H1"));
    if (roof == 0)
        return;
    // The rise where the roof is highest, beside the gable over wall 3, so that
    // it continues H1 upwards.
    const double y = roof == 2 ? B : B / 2;
    dimension(doc, p, {A, y, H1}, {A, y, H1 + H2}, {1, 0, 0}, 0.3, QStringLiteral("H2"));
}

void skylightDimensions(SvgDocument& doc, const Projection& p, int type, const HallSize& h,
                        const SkylightSize& s) {
    const double x0 = (h.A - s.a) / 2, x1 = x0 + s.a;
    const double y0 = (h.B - s.b) / 2, y1 = y0 + s.b, ym = (y0 + y1) / 2;
    const double z0 = h.H1;
    dimension(doc, p, {x0, y0, z0}, {x1, y0, z0}, {0, -1, 0}, 0.3, QStringLiteral("a"));
    dimension(doc, p, {x0, y0, z0}, {x0, y1, z0}, {-1, 0, 0}, 0.3, QStringLiteral("b"));
    // The heights beside the far end, where the roof around leaves room.
    switch (type) {
    case 2:
        dimension(doc, p, {x1, y0, z0}, {x1, y0, z0 + s.h1}, {1, 0, 0}, 0.25, QStringLiteral("h1"));
        dimension(doc, p, {x1, ym, z0 + s.h1}, {x1, ym, z0 + s.h1 + s.h2}, {1, 0, 0}, 0.25,
                  QStringLiteral("h2"));
        break;
    case 3:
        dimension(doc, p, {x1, y1, z0}, {x1, y1, z0 + s.h1}, {1, 0, 0}, 0.25, QStringLiteral("h1"));
        break;
    default:
        dimension(doc, p, {x1, ym, z0}, {x1, ym, z0 + s.h1}, {1, 0, 0}, 0.25, QStringLiteral("h1"));
        break;
    }
}

} // namespace

std::vector<Picture> typePictures() {
    const Projection p;
    std::vector<Picture> pictures;
    for (int roof = 0; roof <= 3; ++roof) {
        SvgDocument doc;
        drawBody(doc, p, hallShape(roof, sketchHallSize()), Look::Normal, 0);
        hallDimensions(doc, p, roof, sketchHallSize());
        pictures.push_back(finish(doc, QStringLiteral("h") + QChar(u'a' + roof)));
    }
    for (int type = 1; type <= 4; ++type) {
        SvgDocument doc;
        const HallSize hall = skylightHallSize();
        drawBody(doc, p, hallShape(0, hall), Look::Faint, 0);
        drawBody(doc, p, skylightShape(type, hall, sketchSkylightSize(type)), Look::Normal, 0);
        skylightDimensions(doc, p, type, hall, sketchSkylightSize(type));
        pictures.push_back(finish(doc, QStringLiteral("s") + QChar(u'a' + type - 1)));
    }
    return pictures;
}

bool surfacePicture(const QString& variant, int number, Picture* picture) {
    const Shape shape = sketchShape(variant);
    if (!shape.face(number))
        return false;
    const Projection p;
    SvgDocument doc;
    if (variant.startsWith(QLatin1Char('s')))
        drawBody(doc, p, hallShape(0, skylightHallSize()), Look::Faint, 0);
    drawBody(doc, p, shape, Look::Normal, number);
    const QPolygonF hull = hullOf(shape, p);
    drawLabels(doc, layoutLabels(shape, p, hull), hull, number);
    *picture = finish(doc, variant + QString::number(number));
    return true;
}

} // namespace zf::pictures
