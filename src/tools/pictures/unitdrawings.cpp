// Side views of a warm-air unit on its mounting and with its flue gas exhaust,
// and of a destratifier under the ceiling. The element a picture is about is
// drawn in the accent colour; the rest in dark lines and light fills.
#include "pictures/unitdrawings.h"

#include "pictures/svgdocument.h"

#include <QPainterPath>
#include <cmath>

namespace zf::pictures {

namespace {

const QRectF Canvas(0, 0, 240, 180);

Style stroke(const QColor& c, double width) {
    Style s;
    s.stroke = c;
    s.width = width;
    return s;
}

Style filled(const QColor& fill, const QColor& line, double width) {
    Style s = stroke(line, width);
    s.fill = fill;
    return s;
}

const Style Outline = stroke(palette::Line, 1.2);
const Style Thin = stroke(palette::Line, 0.7);
const Style Accent = filled(palette::AccentTint, palette::Accent, 1.3);

// 45° section hatching inside a rectangle.
void hatch(SvgDocument& doc, const QRectF& r, double spacing = 5) {
    const Style s = stroke(palette::Hidden, 0.5);
    const double w = r.width(), h = r.height();
    for (double k = spacing / 2; k < w + h; k += spacing) {
        // The line x + y = k in the rectangle's own coordinates, from its lower
        // left towards its upper right.
        const QPointF a(std::max(0.0, k - h), std::min(h, k));
        const QPointF b(std::min(w, k), std::max(0.0, k - w));
        doc.line(r.topLeft() + QPointF(a.x(), a.y()), r.topLeft() + QPointF(b.x(), b.y()), s);
    }
}

void section(SvgDocument& doc, const QRectF& r) {
    Style fill;
    fill.fill = palette::Light;
    doc.polygon(QPolygonF(r), fill);
    hatch(doc, r);
    // Only the long sides are edges; the ends are cut off.
    if (r.height() > r.width()) {
        doc.line(r.topLeft(), r.bottomLeft(), Outline);
        doc.line(r.topRight(), r.bottomRight(), Outline);
    } else {
        doc.line(r.topLeft(), r.topRight(), Outline);
        doc.line(r.bottomLeft(), r.bottomRight(), Outline);
    }
}

// The wall the unit hangs on, cut, at the left; where a pipe goes through it,
// the wall leaves room outside.
constexpr double WallFace = 30;
constexpr double OuterWallFace = 44;
void wall(SvgDocument& doc, double face = WallFace) {
    section(doc, QRectF(face - 14, 6, 14, 168));
}

// A ceiling or roof slab, cut, at the top; a roof leaves room above it.
constexpr double CeilingFace = 22;
constexpr double RoofFace = 48;
void ceiling(SvgDocument& doc, double x0 = 0, double face = CeilingFace) {
    section(doc, QRectF(x0, face - 14, 240 - x0, 14));
}

constexpr double FloorLevel = 166;
void floor(SvgDocument& doc) {
    section(doc, QRectF(0, FloorLevel, 240, 8));
}

void arrowHead(SvgDocument& doc, QPointF tip, QPointF from, const QColor& c, double size = 7) {
    const QPointF d = tip - from;
    const double l = std::hypot(d.x(), d.y());
    if (l <= 0)
        return;
    const QPointF u = d / l, n(-u.y(), u.x());
    Style s;
    s.fill = c;
    doc.polygon(
        QPolygonF({tip, tip - u * size + n * size * 0.38, tip - u * size - n * size * 0.38}), s);
}

// An arrow along the points, its head at the last one.
void arrow(SvgDocument& doc, const QPolygonF& points, const QColor& c, double width = 1.6) {
    QPolygonF shaft = points;
    const QPointF d = shaft[shaft.size() - 1] - shaft[shaft.size() - 2];
    const double l = std::hypot(d.x(), d.y());
    shaft[shaft.size() - 1] -= d / l * 5; // the head covers the end of the shaft
    Style s = stroke(c, width);
    s.roundCaps = true;
    doc.polyline(shaft, s);
    arrowHead(doc, points[points.size() - 1], points[points.size() - 2], c);
}

// A pipe of the diameter along the centre line, with rounded bends.
void pipe(SvgDocument& doc, const QPolygonF& centre, double diameter, const QColor& fill,
          const QColor& line) {
    doc.polyline(centre, stroke(line, diameter));
    doc.polyline(centre, stroke(fill, diameter - 2.4));
}

// --- the warm-air unit ---

// The unit seen from its side, blowing to the right: the casing, the fan guard
// at the back, the outlet louvres at the front and the spigots on top.
struct Unit {
    QRectF body;
    double flueX() const { return body.left() + 16; }
    double airX() const { return body.left() + 34; }
    double top() const { return body.top(); }
};

void drawUnit(SvgDocument& doc, const Unit& u, bool airSpigot = false) {
    const QRectF b = u.body;
    // Fan guard at the back.
    const QRectF fan(b.left() - 5, b.top() + 7, 5, b.height() - 14);
    doc.polygon(QPolygonF(fan), filled(palette::Light, palette::Line, 0.9));
    for (double x = fan.left() + 1.7; x < fan.right(); x += 1.7)
        doc.line({x, fan.top()}, {x, fan.bottom()}, stroke(palette::Hidden, 0.5));
    QPainterPath casing;
    casing.addRoundedRect(b, 3, 3);
    doc.path(casing, filled(palette::Light, palette::Line, 1.2));
    // Burner section and fan section.
    doc.line({b.left() + 26, b.top()}, {b.left() + 26, b.bottom()}, Thin);
    // Louvres at the outlet, turned down a little.
    const double lx = b.right() - 11;
    doc.line({lx, b.top() + 4}, {lx, b.bottom() - 4}, Thin);
    for (double y = b.top() + 8; y < b.bottom() - 5; y += 7)
        doc.line({lx + 1.5, y}, {b.right() - 1.5, y + 3.5}, stroke(palette::Line, 0.9));
    // Spigots.
    const Style spigot = filled(palette::Shade, palette::Line, 0.9);
    doc.polygon(QPolygonF(QRectF(u.flueX() - 5, b.top() - 5, 10, 5)), spigot);
    if (airSpigot)
        doc.polygon(QPolygonF(QRectF(u.airX() - 5, b.top() - 5, 10, 5)), spigot);
}

// The warm air leaving the louvres.
void warmAir(SvgDocument& doc, const Unit& u) {
    const QRectF b = u.body;
    for (int i = 0; i < 3; ++i) {
        const double y = b.top() + 12 + 11 * i;
        arrow(doc, QPolygonF({QPointF(b.right() + 5, y), QPointF(b.right() + 28, y + 9 + 3 * i)}),
              palette::AirTint, 1.4);
    }
}

// A plain bracket under the unit: arm, strut and wall plate, in grey.
void plainBracket(SvgDocument& doc, const Unit& u, double wallFace) {
    const QRectF b = u.body;
    const Style s = filled(palette::Shade, palette::Line, 1);
    doc.polygon(QPolygonF(QRectF(wallFace, b.bottom() - 12, 4, 36)), s);
    doc.polygon(QPolygonF(QRectF(wallFace, b.bottom(), b.right() - 14 - wallFace, 4)), s);
    doc.line({wallFace + 4, b.bottom() + 20}, {b.left() + 36, b.bottom() + 4},
             stroke(palette::Line, 2.4));
    doc.line({wallFace + 4, b.bottom() + 20}, {b.left() + 36, b.bottom() + 4},
             stroke(palette::Shade, 1.2));
}

Picture picture(const SvgDocument& doc, const QString& path, const QString& title) {
    return {path, doc.toSvg(Canvas, title)};
}

// --- mounting ---

const Unit WallUnit{QRectF(64, 70, 88, 50)};

// The arm and strut of a console: the arm at armY from the wall plate to
// armEnd, the strut from the wall at strutY to the arm near its end.
void console(SvgDocument& doc, double armY, double armEnd, double strutY, double plateTop,
             double plateBottom) {
    doc.polygon(QPolygonF(QRectF(WallFace, plateTop, 5, plateBottom - plateTop)), Accent);
    doc.polygon(QPolygonF(QRectF(WallFace + 5, armY - 2.5, armEnd - WallFace - 5, 5)), Accent);
    const QPointF from(WallFace + 5, strutY), to(armEnd - 12, armY + (strutY > armY ? 2.5 : -2.5));
    doc.line(from, to, stroke(palette::Accent, 4.2));
    doc.line(from, to, stroke(palette::AccentTint, 1.8));
    // Bolts in the wall plate.
    Style bolt;
    bolt.fill = palette::Accent;
    doc.circle({WallFace + 2.5, plateTop + 5}, 1.4, bolt);
    doc.circle({WallFace + 2.5, plateBottom - 5}, 1.4, bolt);
}

Picture mountingFixedHinged() {
    SvgDocument doc;
    wall(doc);
    const Unit u{QRectF(64, 84, 88, 50)};
    // The plate is fixed to the wall; the console under the unit hangs on its
    // hinge pin and swings round it.
    const double armY = u.body.bottom() + 2.5;
    const double pinX = WallFace + 11;
    doc.polygon(QPolygonF(QRectF(WallFace, armY - 26, 5, 60)), Accent);
    for (double y : {armY - 20, armY + 18})
        doc.polygon(QPolygonF(QRectF(WallFace + 5, y - 2, 4, 4)), Accent);
    doc.polygon(QPolygonF(QRectF(pinX - 2.5, armY - 24, 5, 54)), Accent);
    Style axis = stroke(palette::Accent, 0.7);
    axis.dash = {6, 2, 1, 2};
    doc.line({pinX, armY - 34}, {pinX, armY + 38}, axis);
    doc.polygon(QPolygonF(QRectF(pinX + 2.5, armY - 2.5, u.body.right() - 6 - pinX - 2.5, 5)),
                Accent);
    const QPointF from(pinX + 2.5, armY + 26), to(u.body.right() - 20, armY + 2.5);
    doc.line(from, to, stroke(palette::Accent, 4.2));
    doc.line(from, to, stroke(palette::AccentTint, 1.8));
    Style bolt;
    bolt.fill = palette::Accent;
    doc.circle({WallFace + 2.5, armY - 21}, 1.4, bolt);
    doc.circle({WallFace + 2.5, armY + 29}, 1.4, bolt);
    drawUnit(doc, u);
    warmAir(doc, u);

    // Seen from above: the unit swings round the pin.
    const QRectF inset(142, 6, 94, 62);
    doc.polygon(QPolygonF(inset), stroke(palette::Faint, 0.8));
    section(doc, QRectF(inset.left() + 4, inset.top() + 1, 6, inset.height() - 2));
    const QPointF pivot(inset.left() + 16, inset.top() + 14);
    const double length = 56;
    auto unitInPlan = [&](double degrees, const Style& s) {
        QPainterPath p;
        p.addRect(QRectF(8, -8, length, 16));
        QTransform t;
        t.translate(pivot.x(), pivot.y());
        t.rotate(degrees);
        doc.path(t.map(p), s);
        doc.line(pivot, t.map(QPointF(8, 0)), stroke(palette::Accent, 2));
    };
    Style ghost = stroke(palette::Hidden, 0.8);
    ghost.dash = {2.5, 1.5};
    unitInPlan(38, ghost);
    unitInPlan(0, filled(palette::Light, palette::Line, 1));
    Style pin;
    pin.fill = palette::Accent;
    doc.circle(pivot, 2.6, pin);
    const double reach = length + 14;
    const QRectF circle(pivot.x() - reach, pivot.y() - reach, 2 * reach, 2 * reach);
    QPainterPath swing;
    swing.arcMoveTo(circle, -4);
    swing.arcTo(circle, -4, -30);
    doc.path(swing, stroke(palette::Accent, 1.2));
    arrowHead(doc, swing.pointAtPercent(1), swing.pointAtPercent(0.8), palette::Accent, 5.5);
    arrowHead(doc, swing.pointAtPercent(0), swing.pointAtPercent(0.2), palette::Accent, 5.5);
    return picture(doc, QStringLiteral("Montaz1.svg"), QStringLiteral("Montaz1"));
}

Picture mountingBottom() {
    SvgDocument doc;
    wall(doc);
    const Unit u = WallUnit;
    const double armY = u.body.bottom() + 2.5;
    console(doc, armY, u.body.right() - 6, armY + 44, armY - 24, armY + 50);
    drawUnit(doc, u);
    warmAir(doc, u);
    return picture(doc, QStringLiteral("Montaz2.svg"), QStringLiteral("Montaz2"));
}

Picture mountingTop() {
    SvgDocument doc;
    wall(doc);
    const Unit u{QRectF(64, 84, 88, 50)};
    const double armY = u.body.top() - 14;
    console(doc, armY, u.body.right() - 6, armY - 44, armY - 50, armY + 24);
    // The unit hangs on two rods from the arm.
    for (double x : {u.body.left() + 10, u.body.right() - 16}) {
        doc.line({x, armY + 2.5}, {x, u.body.top()}, stroke(palette::Accent, 2.2));
    }
    drawUnit(doc, u);
    warmAir(doc, u);
    return picture(doc, QStringLiteral("Montaz3.svg"), QStringLiteral("Montaz3"));
}

Picture mountingCeiling() {
    SvgDocument doc;
    ceiling(doc);
    const Unit u{QRectF(76, 92, 88, 50)};
    for (double x : {u.body.left() + 10, u.body.right() - 16}) {
        doc.polygon(QPolygonF(QRectF(x - 6, CeilingFace, 12, 3)), Accent);
        doc.line({x, CeilingFace + 3}, {x, u.body.top()}, stroke(palette::Accent, 2.2));
        // Nuts on the threaded rods.
        doc.polygon(QPolygonF(QRectF(x - 3, u.body.top() - 5, 6, 4)), Accent);
    }
    drawUnit(doc, u);
    warmAir(doc, u);
    return picture(doc, QStringLiteral("Montaz4.svg"), QStringLiteral("Montaz4"));
}

Picture mountingOther() {
    SvgDocument doc;
    floor(doc);
    // A free-standing frame on the floor.
    const Unit u{QRectF(76, 64, 88, 50)};
    const double top = u.body.bottom();
    doc.polygon(QPolygonF(QRectF(u.body.left() + 2, top, u.body.width() - 4, 5)), Accent);
    for (double x : {u.body.left() + 10, u.body.right() - 14}) {
        doc.polygon(QPolygonF(QRectF(x - 2.5, top + 5, 5, FloorLevel - top - 9)), Accent);
        doc.polygon(QPolygonF(QRectF(x - 9, FloorLevel - 4, 18, 4)), Accent);
    }
    doc.line({u.body.left() + 10, top + 12}, {u.body.right() - 14, FloorLevel - 14},
             stroke(palette::Accent, 2));
    doc.line({u.body.right() - 14, top + 12}, {u.body.left() + 10, FloorLevel - 14},
             stroke(palette::Accent, 2));
    drawUnit(doc, u);
    warmAir(doc, u);
    return picture(doc, QStringLiteral("Montaz5.svg"), QStringLiteral("Montaz5"));
}

// --- flue gas exhaust ---

constexpr double FlueDiameter = 10;
const Unit FlueUnit{QRectF(100, 104, 88, 50)};
// Pipe ends outside the wall.
constexpr double Outside = OuterWallFace - 22;

void flue(SvgDocument& doc, const QPolygonF& centre) {
    pipe(doc, centre, FlueDiameter, palette::AccentTint, palette::Accent);
}

void combustionAir(SvgDocument& doc, const QPolygonF& centre) {
    pipe(doc, centre, FlueDiameter, palette::AirPale, palette::Air);
}

// The terminal of a pipe through the wall: a guard outside.
void wallTerminal(SvgDocument& doc, double y, const QColor& line) {
    doc.polygon(QPolygonF(QRectF(Outside - 3, y - 8, 3, 16)), filled(palette::White, line, 0.9));
}

// Flue gas going out at the end of a pipe, combustion air coming in.
void flueGasOut(SvgDocument& doc, QPointF from, QPointF to) {
    arrow(doc, QPolygonF({from, to}), palette::Hidden, 1.5);
}
void airIn(SvgDocument& doc, QPointF from, QPointF to) {
    arrow(doc, QPolygonF({from, to}), palette::Air, 1.5);
}

// The unit on its plain bracket against the wall.
SvgDocument flueScene(bool roof, bool airSpigot) {
    SvgDocument doc;
    if (roof)
        ceiling(doc, OuterWallFace, RoofFace);
    wall(doc, OuterWallFace);
    plainBracket(doc, FlueUnit, OuterWallFace);
    drawUnit(doc, FlueUnit, airSpigot);
    return doc;
}

Picture flueHorizontal1() {
    // Up from the spigot and straight out through the wall behind the unit.
    SvgDocument doc = flueScene(false, false);
    const Unit& u = FlueUnit;
    const double y = u.top() - 26;
    flue(doc,
         QPolygonF({QPointF(u.flueX(), u.top() - 4), QPointF(u.flueX(), y), QPointF(Outside, y)}));
    wallTerminal(doc, y, palette::Accent);
    flueGasOut(doc, {Outside - 6, y - 4}, {4, y - 22});
    return picture(doc, QStringLiteral("Odvod1.svg"), QStringLiteral("Odvod1"));
}

Picture flueHorizontal2() {
    // Flue gas and combustion air in two pipes through the wall.
    SvgDocument doc = flueScene(false, true);
    const Unit& u = FlueUnit;
    const double yFlue = u.top() - 58, yAir = u.top() - 26;
    combustionAir(doc, QPolygonF({QPointF(u.airX(), u.top() - 4), QPointF(u.airX(), yAir),
                                  QPointF(Outside, yAir)}));
    flue(doc, QPolygonF({QPointF(u.flueX(), u.top() - 4), QPointF(u.flueX(), yFlue),
                         QPointF(Outside, yFlue)}));
    wallTerminal(doc, yFlue, palette::Accent);
    wallTerminal(doc, yAir, palette::Air);
    flueGasOut(doc, {Outside - 6, yFlue - 4}, {4, yFlue - 22});
    airIn(doc, {4, yAir + 20}, {Outside - 6, yAir + 4});
    return picture(doc, QStringLiteral("Odvod2.svg"), QStringLiteral("Odvod2"));
}

Picture flueHorizontal3() {
    // Through the wall and up along its outside.
    SvgDocument doc = flueScene(false, false);
    const Unit& u = FlueUnit;
    const double y = u.top() - 26;
    const double x = Outside - 2;
    flue(doc, QPolygonF({QPointF(u.flueX(), u.top() - 4), QPointF(u.flueX(), y), QPointF(x, y),
                         QPointF(x, 22)}));
    doc.polygon(QPolygonF({QPointF(x - 10, 18), QPointF(x + 10, 18), QPointF(x, 11)}),
                filled(palette::White, palette::Accent, 1));
    flueGasOut(doc, {x - 4, 10}, {x - 16, 2});
    // Brackets hold the rising pipe to the wall.
    for (double by : {40.0, 64.0})
        doc.line({x + 5, by}, {OuterWallFace - 14, by}, stroke(palette::Line, 1.5));
    return picture(doc, QStringLiteral("Odvod3.svg"), QStringLiteral("Odvod3"));
}

Picture flueHorizontalCoaxial() {
    // One pipe in another: flue gas out in the inner one, combustion air in
    // round it.
    SvgDocument doc = flueScene(false, false);
    const Unit& u = FlueUnit;
    const double y = u.top() - 28;
    const double outer = 20;
    pipe(doc,
         QPolygonF({QPointF(u.flueX(), u.top() - 4), QPointF(u.flueX(), y), QPointF(Outside, y)}),
         outer, palette::AirPale, palette::Air);
    Style inner = stroke(palette::Accent, 1);
    inner.dash = {4, 2};
    for (double side : {-1.0, 1.0})
        doc.line({Outside, y + side * FlueDiameter / 2},
                 {u.flueX() - outer / 2, y + side * FlueDiameter / 2}, inner);
    doc.polygon(QPolygonF(QRectF(Outside - 5, y - FlueDiameter / 2, 5, FlueDiameter)),
                filled(palette::AccentTint, palette::Accent, 0.9));
    flueGasOut(doc, {84, y}, {58, y});
    airIn(doc, {62, y + 7}, {88, y + 7});
    airIn(doc, {62, y - 7}, {88, y - 7});
    flueGasOut(doc, {Outside - 6, y}, {2, y});
    // The pipe's section: the flue inside the air pipe.
    const QPointF c(214, 34);
    doc.circle(c, 16, filled(palette::AirPale, palette::Air, 1.3));
    doc.circle(c, 8, filled(palette::AccentTint, palette::Accent, 1.3));
    Style leader = stroke(palette::Hidden, 0.7);
    leader.dash = {2, 1.5};
    doc.line({c.x() - 15, c.y() + 6}, {u.flueX() + 12, y - 4}, leader);
    return picture(doc, QStringLiteral("Odvod4.svg"), QStringLiteral("Odvod4"));
}

// A rain cap over a pipe end at the top.
void rainCap(SvgDocument& doc, double x, double top, double diameter, const QColor& line) {
    doc.polygon(QPolygonF({QPointF(x - diameter, top - 4), QPointF(x + diameter, top - 4),
                           QPointF(x, top - 11)}),
                filled(palette::White, line, 1));
}

Picture flueRoof1() {
    SvgDocument doc = flueScene(true, false);
    const Unit& u = FlueUnit;
    const double end = RoofFace - 30;
    flue(doc, QPolygonF({QPointF(u.flueX(), u.top() - 4), QPointF(u.flueX(), end)}));
    rainCap(doc, u.flueX(), end + 1, FlueDiameter, palette::Accent);
    flueGasOut(doc, {u.flueX() + 12, end - 6}, {u.flueX() + 30, end - 12});
    return picture(doc, QStringLiteral("Odvod5.svg"), QStringLiteral("Odvod5"));
}

Picture flueRoof2() {
    // Flue gas and combustion air in two pipes through the roof.
    SvgDocument doc = flueScene(true, true);
    const Unit& u = FlueUnit;
    const double flueEnd = RoofFace - 32, airEnd = RoofFace - 20;
    combustionAir(doc, QPolygonF({QPointF(u.airX(), u.top() - 4), QPointF(u.airX(), airEnd)}));
    flue(doc, QPolygonF({QPointF(u.flueX(), u.top() - 4), QPointF(u.flueX(), flueEnd)}));
    rainCap(doc, u.flueX(), flueEnd + 1, FlueDiameter, palette::Accent);
    rainCap(doc, u.airX(), airEnd + 1, FlueDiameter * 0.8, palette::Air);
    flueGasOut(doc, {u.flueX() - 12, flueEnd - 6}, {u.flueX() - 30, flueEnd - 12});
    airIn(doc, {u.airX() + 30, airEnd - 10}, {u.airX() + 12, airEnd - 4});
    return picture(doc, QStringLiteral("Odvod6.svg"), QStringLiteral("Odvod6"));
}

Picture flueOther() {
    // A way of the installer's choosing: the route is left open.
    SvgDocument doc = flueScene(false, false);
    const Unit& u = FlueUnit;
    const QPolygonF route({QPointF(u.flueX(), u.top() - 4), QPointF(u.flueX(), u.top() - 36),
                           QPointF(u.flueX() + 40, u.top() - 62)});
    Style band = stroke(palette::AccentPale, FlueDiameter);
    doc.polyline(route, band);
    Style dashed = stroke(palette::Accent, 1.4);
    dashed.dash = {4, 3};
    doc.polyline(route, dashed);
    const QPointF mark(u.flueX() + 58, u.top() - 74);
    doc.circle(mark, 14, filled(palette::AccentPale, palette::Accent, 1.3));
    doc.text(QStringLiteral("?"), mark, 18, palette::Accent, true);
    return picture(doc, QStringLiteral("Odvod7.svg"), QStringLiteral("Odvod7"));
}

// --- destratifier ---

// A cylindrical destratifier hanging under the ceiling, seen a little from
// above: the fan ring at the top, the outlet nozzle with vanes at the bottom.
struct Destratifier {
    QPointF centre; // of the fan ring
    double radius;
    double height;
};

QRectF ellipseAt(QPointF c, double rx) {
    return QRectF(c.x() - rx, c.y() - rx * 0.28, 2 * rx, rx * 0.56);
}

void drawDestratifier(SvgDocument& doc, const Destratifier& d) {
    const double r = d.radius;
    const QPointF top = d.centre, bottom = d.centre + QPointF(0, d.height);
    const double nozzle = r * 0.62;
    const QPointF outlet = bottom + QPointF(0, r * 0.55);
    // Nozzle.
    QPainterPath cone;
    cone.moveTo(bottom.x() - r, bottom.y());
    cone.lineTo(outlet.x() - nozzle, outlet.y());
    cone.lineTo(outlet.x() + nozzle, outlet.y());
    cone.lineTo(bottom.x() + r, bottom.y());
    cone.closeSubpath();
    doc.path(cone, filled(palette::Shade, palette::Line, 1.1));
    QPainterPath outletRing;
    outletRing.addEllipse(ellipseAt(outlet, nozzle));
    doc.path(outletRing, filled(palette::Light, palette::Line, 1));
    for (double k : {-0.5, 0.0, 0.5})
        doc.line(outlet + QPointF(k * nozzle, -nozzle * 0.26 * std::sqrt(1 - k * k)),
                 outlet + QPointF(k * nozzle, nozzle * 0.26 * std::sqrt(1 - k * k)), Thin);
    // Casing: the sides and the lower rim of the cylinder.
    QPainterPath casing;
    casing.moveTo(top.x() - r, top.y());
    casing.lineTo(bottom.x() - r, bottom.y());
    casing.arcTo(ellipseAt(bottom, r), 180, 180);
    casing.lineTo(top.x() + r, top.y());
    casing.arcTo(ellipseAt(top, r), 0, -180);
    doc.path(casing, filled(palette::Light, palette::Line, 1.2));
    // The fan ring at the top with its guard.
    QPainterPath ring;
    ring.addEllipse(ellipseAt(top, r));
    doc.path(ring, filled(palette::White, palette::Line, 1.2));
    for (double k = -0.75; k <= 0.76; k += 0.25)
        doc.line(top + QPointF(k * r, -r * 0.28 * std::sqrt(1 - k * k)),
                 top + QPointF(k * r, r * 0.28 * std::sqrt(1 - k * k)),
                 stroke(palette::Hidden, 0.5));
}

// Rods from the ceiling to the rim of the fan ring.
void suspension(SvgDocument& doc, const Destratifier& d, const QColor& colour) {
    for (double k : {-0.85, 0.85}) {
        const QPointF at = d.centre + QPointF(k * d.radius, 0);
        doc.line({at.x(), CeilingFace}, at, stroke(colour, 1.8));
        doc.polygon(QPolygonF(QRectF(at.x() - 5, CeilingFace, 10, 2.5)),
                    filled(colour, colour, 0.5));
    }
}

const Destratifier DestratifierShape{QPointF(120, 58), 34, 30};

Picture destratifierPicture() {
    SvgDocument doc;
    ceiling(doc);
    floor(doc);
    const Destratifier& d = DestratifierShape;
    // The warm air under the ceiling drawn in from both sides and blown down
    // to the floor.
    for (int side : {-1, 1}) {
        arrow(doc,
              QPolygonF({QPointF(120 + side * 108, 34), QPointF(120 + side * 62, 32),
                         QPointF(120 + side * 40, 38)}),
              palette::Accent, 1.6);
    }
    suspension(doc, d, palette::Line);
    drawDestratifier(doc, d);
    const double out = d.centre.y() + d.height + d.radius * 0.55 + 12;
    arrow(doc, QPolygonF({QPointF(120, out), QPointF(120, FloorLevel - 6)}), palette::Accent, 2.4);
    for (int side : {-1, 1})
        arrow(doc,
              QPolygonF({QPointF(120 + side * 14, out), QPointF(120 + side * 30, FloorLevel - 20),
                         QPointF(120 + side * 62, FloorLevel - 8)}),
              palette::AccentTint, 1.6);
    return picture(doc, QStringLiteral("Dest.svg"), QStringLiteral("Dest"));
}

void dimensionLine(SvgDocument& doc, QPointF a, QPointF b, const QString& letter, QPointF label) {
    doc.line(a, b, stroke(palette::Line, 0.8));
    arrowHead(doc, a, b, palette::Line, 6);
    arrowHead(doc, b, a, palette::Line, 6);
    doc.haloText(letter, label, 14, palette::Line, false, true);
}

Picture destratifierSizes() {
    SvgDocument doc;
    ceiling(doc);
    floor(doc);
    const Destratifier d{QPointF(132, 64), 34, 30};
    suspension(doc, d, palette::Line);
    drawDestratifier(doc, d);
    const Style ext = stroke(palette::Line, 0.55);
    const double r = d.radius;
    // A: the diameter of the fan ring, below the casing beside the nozzle.
    const double rim = d.centre.y() + d.height;
    const double ay = rim + r * 0.55 + 14;
    doc.line({d.centre.x() - r, rim + 4}, {d.centre.x() - r, ay + 4}, ext);
    doc.line({d.centre.x() + r, rim + 4}, {d.centre.x() + r, ay + 4}, ext);
    dimensionLine(doc, {d.centre.x() - r, ay}, {d.centre.x() + r, ay}, QStringLiteral("A"),
                  {d.centre.x() + r + 12, ay});
    // R: from the ceiling down to the fan ring.
    const double rx = 60;
    doc.line({d.centre.x() - r - 3, d.centre.y()}, {rx - 4, d.centre.y()}, ext);
    dimensionLine(doc, {rx, CeilingFace}, {rx, d.centre.y()}, QStringLiteral("R"),
                  {rx - 11, (CeilingFace + d.centre.y()) / 2});
    // Z: the mounting height, from the floor to the outlet.
    const double outlet = d.centre.y() + d.height + r * 0.55;
    doc.line({d.centre.x() - r * 0.62 - 3, outlet}, {rx - 4, outlet}, ext);
    dimensionLine(doc, {rx, outlet}, {rx, FloorLevel}, QStringLiteral("Z"),
                  {rx - 11, (outlet + FloorLevel) / 2});
    return picture(doc, QStringLiteral("Sizes/Rozv1.svg"), QStringLiteral("Rozv1"));
}

} // namespace

std::vector<Picture> unitPictures() {
    return {mountingFixedHinged(),   mountingBottom(),   mountingTop(),     mountingCeiling(),
            mountingOther(),         flueHorizontal1(),  flueHorizontal2(), flueHorizontal3(),
            flueHorizontalCoaxial(), flueRoof1(),        flueRoof2(),       flueOther(),
            destratifierPicture(),   destratifierSizes()};
}

} // namespace zf::pictures
