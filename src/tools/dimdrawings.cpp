// Dimension drawings of the unit types: orthographic views (first-angle
// arrangement: the side view seen from the left stands right of the front view,
// the plan below it), drawn to the type's own proportions, with the letters of
// the dimension columns the catalog viewer shows for the family. The values
// themselves are in the viewer's table.
#include "artkit.h"
#include "catalogdata.h"
#include "catalogpictures.h"

#include <QPicture>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace zf::art {

using namespace kit;

namespace {

constexpr double Row1 = 22, Row2 = 50; // distances of dimension lines from a view
constexpr double WallStrip = 12;       // drawn thickness of a wall or ceiling [px]

// A view: millimetres (u to the right, v up) onto the picture.
struct View {
    QPointF origin; // where u = 0, v = 0 lies
    double s = 0.25;
    QPointF at(double u, double v) const { return {origin.x() + u * s, origin.y() - v * s}; }
    double x(double u) const { return origin.x() + u * s; }
    double y(double v) const { return origin.y() - v * s; }
    QRectF rect(double u0, double v0, double u1, double v1) const {
        return QRectF(at(u0, v1), at(u1, v0)).normalized();
    }
};

class Sheet {
public:
    Sheet(QPainter& p, QStringList* letters) : p_(p), letters_(letters) {}
    QPainter& p() { return p_; }

    void outline(const QRectF& r, const QColor& fill = Grey1, double width = 1.6) {
        p_.setPen(QPen(Ink, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p_.setBrush(fill);
        p_.drawRect(r);
    }
    void thin(const QRectF& r, const QColor& fill = Qt::transparent) {
        p_.setPen(QPen(Ink, 0.9));
        p_.setBrush(fill);
        p_.drawRect(r);
    }
    void dashed(const QRectF& r) {
        QPen pen(Grey3, 0.9, Qt::DashLine);
        p_.setPen(pen);
        p_.setBrush(Qt::NoBrush);
        p_.drawRect(r);
    }
    void circle(QPointF c, double r, const QColor& fill = Paper) {
        p_.setPen(QPen(Ink, 1.1));
        p_.setBrush(fill);
        p_.drawEllipse(c, r, r);
    }
    // Louvre blades across a rectangle (horizontal lines).
    void blades(const QRectF& r, int n) {
        thin(r, QColor(0x5b, 0x68, 0x70));
        p_.setPen(QPen(Grey1, 1.0));
        for (int i = 1; i < n; ++i) {
            const double y = r.top() + r.height() * i / n;
            p_.drawLine(QPointF(r.left() + 1, y), QPointF(r.right() - 1, y));
        }
    }
    // A grille of vertical bars.
    void bars(const QRectF& r, int n) {
        thin(r, QColor(0x8a, 0x97, 0x9e));
        p_.setPen(QPen(Grey1, 1.0));
        for (int i = 1; i < n; ++i) {
            const double x = r.left() + r.width() * i / n;
            p_.drawLine(QPointF(x, r.top() + 1), QPointF(x, r.bottom() - 1));
        }
    }
    // Hatched strips for walls, ceilings and floors.
    void wallV(double x, double top, double bottom, bool leftSide) {
        const QRectF r(leftSide ? x - WallStrip : x, top, WallStrip, bottom - top);
        p_.fillRect(r, Paper);
        hatch(p_, r, 5, Grey3, 0.7);
        p_.setPen(QPen(Ink, 1.2));
        p_.drawLine(QPointF(x, top), QPointF(x, bottom));
    }
    void wallH(double y, double left, double right, bool above) {
        const QRectF r(left, above ? y - WallStrip : y, right - left, WallStrip);
        p_.fillRect(r, Paper);
        hatch(p_, r, 5, Grey3, 0.7);
        p_.setPen(QPen(Ink, 1.2));
        p_.drawLine(QPointF(left, y), QPointF(right, y));
    }

    // Dimensions, recording their letters.
    void dimH(double xa, double xb, double yPoints, double at, const QString& l) {
        dimensionH(p_, xa, xb, yPoints, at, l);
        note(l);
    }
    void dimH2(double xa, double ya, double xb, double yb, double at, const QString& l) {
        dimensionH2(p_, xa, ya, xb, yb, at, l);
        note(l);
    }
    void dimV(double ya, double yb, double xPoints, double at, const QString& l) {
        dimensionV(p_, ya, yb, xPoints, at, l);
        note(l);
    }
    void dimV2(double ya, double xa, double yb, double xb, double at, const QString& l) {
        dimensionV2(p_, ya, xa, yb, xb, at, l);
        note(l);
    }
    void diameter(QPointF edge, QPointF labelAt, const QString& l) {
        leader(p_, edge, labelAt, QStringLiteral("\u00d8") + l);
        note(l);
    }

private:
    void note(const QString& l) {
        if (letters_ && !letters_->contains(l))
            letters_->append(l);
    }
    QPainter& p_;
    QStringList* letters_;
};

double dim(const UnitType& t, const char* c, double fallback = 0) {
    const QString key = QString::fromLatin1(c);
    return t.hasDim(key) && t.dim(key) > 0 ? t.dim(key) : fallback;
}

// Gas connection: a small pipe end seen head-on.
void gasStub(Sheet& sh, QPointF c) {
    sh.circle(c, 4.5, QColor(0xf2, 0xc9, 0x4c));
}

// Suspension point in a plan view.
void suspension(Sheet& sh, QPointF c) {
    sh.circle(c, 3.5, Paper);
    sh.p().setPen(QPen(Ink, 0.8));
    sh.p().drawLine(c - QPointF(6, 0), c + QPointF(6, 0));
    sh.p().drawLine(c - QPointF(0, 6), c + QPointF(0, 6));
}

// ---------------------------------------------------------------- AX

void drawAX(Sheet& sh, const UnitType& t, double s) {
    const double A = dim(t, "A", 700), B = dim(t, "B", 700), B1 = dim(t, "B1", B + 150),
                 C = dim(t, "C", 650), D = dim(t, "D", 100), E = dim(t, "E", 100),
                 F = dim(t, "F", 140), G = dim(t, "G", 160), H = dim(t, "H", 110),
                 J = dim(t, "J", C * 0.8), K = dim(t, "K", A * 0.7), L = dim(t, "L", C * 0.7),
                 M = dim(t, "M", A * 0.85), N = dim(t, "N", B * 0.8), P = dim(t, "P", C + 250),
                 R = dim(t, "R", 300), S = dim(t, "S", 250);

    // Front view, with the side wall (R) and the ceiling (S).
    const double fx = 10 + WallStrip + R * s, fy = 12 + WallStrip + (B + S) * s;
    View f{{fx, fy}, s};
    sh.wallV(f.x(-R), f.y(B + S) - 2, f.y(0) + 30, true);
    sh.wallH(f.y(B + S), f.x(-R) - 2, f.x(A) + 30, true);
    const double sx1 = A / 2 - G / 2, sx2 = A / 2 + G / 2;
    sh.outline(f.rect(sx1 - D / 2, B, sx1 + D / 2, B1), Grey2, 1.2);
    sh.outline(f.rect(sx2 - E / 2, B, sx2 + E / 2, B1), Grey2, 1.2);
    sh.outline(f.rect(0, 0, A, B));
    sh.blades(f.rect((A - M) / 2, (B - N) / 2, (A + M) / 2, (B + N) / 2), 8);
    sh.dimH(f.x((A - M) / 2), f.x((A + M) / 2), f.y((B - N) / 2), f.y(0) + Row1,
            QStringLiteral("M"));
    sh.dimH(f.x(0), f.x(A), f.y(0), f.y(0) + Row2, QStringLiteral("A"));
    sh.dimV(f.y((B - N) / 2), f.y((B + N) / 2), f.x((A + M) / 2), f.x(A) + Row1,
            QStringLiteral("N"));
    sh.dimV(f.y(0), f.y(B), f.x(A), f.x(A) + Row2, QStringLiteral("B"));
    sh.dimH(f.x(-R), f.x(0), f.y(B * 0.3), f.y(B * 0.3), QStringLiteral("R"));
    sh.dimV(f.y(B), f.y(B + S), f.x(A * 0.86), f.x(A * 0.86), QStringLiteral("S"));

    // Side view from the left: front (louvres) at the left, wall at the right.
    const double gx = f.x(A) + Row2 + 56 + Row2;
    View g{{gx, fy}, s};
    sh.wallV(g.x(P), g.y(B1) - 20, g.y(0) + 30, false);
    // Bracket arm from the wall to the front.
    sh.thin(g.rect(0, -40, P, 0), QColor(0x8a, 0x97, 0x9e));
    const double axis = C - F, wmax = std::max(D, E);
    sh.outline(g.rect(axis - wmax / 2, B, axis + wmax / 2, B1), Grey2, 1.2);
    sh.outline(g.rect(0, 0, C, B));
    sh.blades(g.rect(0, (B - N) / 2, 30, (B + N) / 2), 8);
    centreLine(sh.p(), g.at(axis, B1 + 30), g.at(axis, B - 30));
    gasStub(sh, g.at(C - J, H));
    sh.dimH(g.x(0), g.x(C), g.y(-40), g.y(-40) + Row1, QStringLiteral("C"));
    sh.dimH(g.x(0), g.x(P), g.y(-40), g.y(-40) + Row2, QStringLiteral("P"));
    sh.dimV(g.y(0), g.y(B), g.x(0), g.x(0) - Row1, QStringLiteral("B"));
    sh.dimV2(g.y(0), g.x(0), g.y(B1), g.x(axis - wmax / 2), g.x(0) - Row2, QStringLiteral("B1"));
    sh.dimH2(g.x(axis), g.y(B1), g.x(C), g.y(B), g.y(B1) - 16, QStringLiteral("F"));
    sh.dimH(g.x(C - J), g.x(C), g.y(H), g.y(H) - 18, QStringLiteral("J"));
    sh.dimV(g.y(0), g.y(H), g.x(C - J), g.x(C - J) + 16, QStringLiteral("H"));

    // Plan below the front view: rear at the top, louvres at the bottom.
    const double py = f.y(0) + Row2 + 34 + C * s;
    View pl{{fx, py}, s};
    sh.outline(pl.rect(0, 0, A, C));
    sh.thin(pl.rect((A - M) / 2, 0, (A + M) / 2, 30), QColor(0x5b, 0x68, 0x70));
    const double cy = C - F;
    sh.circle(pl.at(sx1, cy), D / 2 * s, Grey2);
    sh.circle(pl.at(sx2, cy), E / 2 * s, Grey2);
    centreLine(sh.p(), pl.at(sx1 - D, cy), pl.at(sx2 + E, cy));
    for (const double u : {A / 2 - K / 2, A / 2 + K / 2})
        for (const double v : {C / 2 - L / 2, C / 2 + L / 2})
            suspension(sh, pl.at(u, v));
    sh.dimH(pl.x(sx1), pl.x(sx2), pl.y(cy), pl.y(cy - std::max(D, E) / 2) + 14,
            QStringLiteral("G"));
    sh.diameter(pl.at(sx1 - D / 2 * 0.7, cy + D / 2 * 0.7),
                QPointF(pl.x(sx1 - D / 2) - 18, pl.y(C) - 14), QStringLiteral("D"));
    sh.diameter(pl.at(sx2 + E / 2 * 0.7, cy + E / 2 * 0.7),
                QPointF(pl.x(sx2 + E / 2) + 18, pl.y(C) - 14), QStringLiteral("E"));
    sh.dimH(pl.x(A / 2 - K / 2), pl.x(A / 2 + K / 2), pl.y(C / 2 - L / 2), pl.y(0) + Row1,
            QStringLiteral("K"));
    sh.dimV(pl.y(C / 2 - L / 2), pl.y(C / 2 + L / 2), pl.x(A / 2 + K / 2), pl.x(A) + Row1,
            QStringLiteral("L"));
}

// ---------------------------------------------------------------- Blenda

void drawBlenda(Sheet& sh, const UnitType& t, double s) {
    const double A = dim(t, "A", 1000), B = dim(t, "B", 900), C = dim(t, "C", 950),
                 D = dim(t, "D", 100), E = dim(t, "E", 100), F = dim(t, "F", 160),
                 H = dim(t, "H", 130), K = dim(t, "K", A * 0.8), L = dim(t, "L", C * 0.7),
                 M = dim(t, "M", A * 0.8), N = dim(t, "N", B * 0.6), O = dim(t, "O", C * 0.7),
                 P = dim(t, "P", B * 0.5), Q = dim(t, "Q", 140), R = dim(t, "R", 400),
                 S = dim(t, "S", 350), T = dim(t, "T", 800), U = dim(t, "U", 500),
                 V = dim(t, "V", C + 300);
    const double spigot = 150;

    // Front view.
    const double fx = 10 + WallStrip + R * s, fy = 12 + WallStrip + (B + S) * s;
    View f{{fx, fy}, s};
    sh.wallV(f.x(-R), f.y(B + S) - 2, f.y(0) + 30, true);
    sh.wallH(f.y(B + S), f.x(-R) - 2, f.x(A + Q) + 20, true);
    sh.outline(f.rect(A / 3 - D / 2, B, A / 3 + D / 2, B + spigot), Grey2, 1.2);
    sh.outline(f.rect(2 * A / 3 - E / 2, B, 2 * A / 3 + E / 2, B + spigot), Grey2, 1.2);
    sh.outline(f.rect(0, 0, A, B), QColor(0xf5, 0xf3, 0xef));
    const double outTop = B - 70, outBottom = outTop - N;
    sh.blades(f.rect((A - M) / 2, outBottom, (A + M) / 2, outTop), 6);
    // Louvre actuator on the right side.
    sh.thin(f.rect(A, outTop - 160, A + Q, outTop), QColor(0x5b, 0x68, 0x70));
    sh.dimH(f.x(0), f.x(A), f.y(0), f.y(0) + Row1, QStringLiteral("A"));
    sh.dimV(f.y(0), f.y(B), f.x(A + Q), f.x(A + Q) + Row1, QStringLiteral("B"));
    sh.dimH(f.x((A - M) / 2), f.x((A + M) / 2), f.y(outBottom), f.y(outBottom) + 16,
            QStringLiteral("M"));
    sh.dimV(f.y(outBottom), f.y(outTop), f.x((A + M) / 2), f.x((A + M) / 2) + 14,
            QStringLiteral("N"));
    sh.dimH(f.x(A), f.x(A + Q), f.y(outTop), f.y(outTop) - 14, QStringLiteral("Q"));
    sh.dimH(f.x(-R), f.x(0), f.y(B * 0.3), f.y(B * 0.3), QStringLiteral("R"));
    sh.dimV(f.y(B), f.y(B + S), f.x(A * 0.86), f.x(A * 0.86), QStringLiteral("S"));

    // Side view from the left: front at the left, service space T before it, the
    // wall with the bracket V at the right.
    const double gx = f.x(A + Q) + Row1 + 26 + T * s;
    View g{{gx, fy}, s};
    sh.wallV(g.x(V), g.y(B + spigot) - 20, g.y(0) + 30, false);
    sh.thin(g.rect(0, -40, V, 0), QColor(0x8a, 0x97, 0x9e));
    sh.dashed(g.rect(-T, 0, 0, B));
    sh.outline(g.rect(C - F - std::max(D, E) / 2, B, C - F + std::max(D, E) / 2, B + spigot), Grey2,
               1.2);
    sh.outline(g.rect(0, 0, C, B), QColor(0xf5, 0xf3, 0xef));
    const double gl = (C - O) / 2, gb = std::max(110.0, H + 90);
    sh.bars(g.rect(gl, gb, gl + O, gb + P), 12);
    centreLine(sh.p(), g.at(C - F, B + spigot + 30), g.at(C - F, B - 30));
    gasStub(sh, g.at(C - 70, H));
    sh.dimH(g.x(0), g.x(C), g.y(-40), g.y(-40) + Row1, QStringLiteral("C"));
    sh.dimH(g.x(0), g.x(V), g.y(-40), g.y(-40) + Row2, QStringLiteral("V"));
    sh.dimH(g.x(-T), g.x(0), g.y(B), g.y(B) - 16, QStringLiteral("T"));
    sh.dimH(g.x(gl), g.x(gl + O), g.y(gb + P), g.y(gb + P) - 12, QStringLiteral("O"));
    sh.dimV(g.y(gb), g.y(gb + P), g.x(gl), g.x(gl) - 14, QStringLiteral("P"));
    sh.dimH2(g.x(C - F), g.y(B + spigot), g.x(C), g.y(B), g.y(B + spigot) - 16,
             QStringLiteral("F"));
    sh.dimV(g.y(0), g.y(H), g.x(C - 70), g.x(C - 70) - 16, QStringLiteral("H"));

    // Plan: rear at the top; service space U beside the unit.
    const double py = f.y(0) + Row1 + 40 + C * s;
    View pl{{fx, py}, s};
    sh.dashed(pl.rect(A, 0, A + U, C));
    sh.outline(pl.rect(0, 0, A, C), QColor(0xf5, 0xf3, 0xef));
    sh.thin(pl.rect((A - M) / 2, 0, (A + M) / 2, 30), QColor(0x5b, 0x68, 0x70));
    sh.circle(pl.at(A / 3, C - F), D / 2 * s, Grey2);
    sh.circle(pl.at(2 * A / 3, C - F), E / 2 * s, Grey2);
    sh.diameter(pl.at(A / 3 - D / 2 * 0.7, C - F + D / 2 * 0.7),
                QPointF(pl.x(A / 3 - D / 2) - 18, pl.y(C) - 14), QStringLiteral("D"));
    sh.diameter(pl.at(2 * A / 3 + E / 2 * 0.7, C - F + E / 2 * 0.7),
                QPointF(pl.x(2 * A / 3 + E / 2) + 18, pl.y(C) - 14), QStringLiteral("E"));
    for (const double u : {A / 2 - K / 2, A / 2 + K / 2})
        for (const double v : {C / 2 - L / 2, C / 2 + L / 2})
            suspension(sh, pl.at(u, v));
    sh.dimH(pl.x(A / 2 - K / 2), pl.x(A / 2 + K / 2), pl.y(C / 2 - L / 2), pl.y(0) + Row1,
            QStringLiteral("K"));
    sh.dimV(pl.y(C / 2 - L / 2), pl.y(C / 2 + L / 2), pl.x(A / 2 - K / 2), pl.x(0) - Row1,
            QStringLiteral("L"));
    sh.dimH(pl.x(A), pl.x(A + U), pl.y(0), pl.y(0) + Row1, QStringLiteral("U"));
}

// ---------------------------------------------------------------- RD

void drawRD(Sheet& sh, const UnitType& t, double s) {
    const double A = dim(t, "A", 900), B = dim(t, "B", 1000), B2 = dim(t, "B2", 450),
                 C = dim(t, "C", 1400), D = dim(t, "D", 130), E = dim(t, "E", 130),
                 F = dim(t, "F", 180), G = dim(t, "G", 210), H = dim(t, "H", 120),
                 J = dim(t, "J", C * 0.9), K = dim(t, "K", A * 0.75), L = dim(t, "L", A * 0.85),
                 M = dim(t, "M", B * 0.85), N = dim(t, "N", C * 0.8), P = dim(t, "P", C * 0.4),
                 R = dim(t, "R", 500), S = dim(t, "S", 400);
    const double spigot = 150, flange = 40, frame = 60;

    // Front view; the inlet flange at the rear shows as hidden lines.
    const double fx = 10 + WallStrip + R * s, fy = 12 + WallStrip + (B + S) * s;
    View f{{fx, fy}, s};
    sh.wallV(f.x(-R), f.y(B + S) - 2, f.y(-frame) + 30, true);
    sh.wallH(f.y(B + S), f.x(-R) - 2, f.x(A) + 30, true);
    const double sx1 = A / 2 - G / 2, sx2 = A / 2 + G / 2;
    sh.outline(f.rect(sx1 - D / 2, B, sx1 + D / 2, B + spigot), Grey2, 1.2);
    sh.outline(f.rect(sx2 - E / 2, B, sx2 + E / 2, B + spigot), Grey2, 1.2);
    sh.thin(f.rect(40, -frame, 100, 0), QColor(0x8a, 0x97, 0x9e));
    sh.thin(f.rect(A - 100, -frame, A - 40, 0), QColor(0x8a, 0x97, 0x9e));
    sh.outline(f.rect(0, 0, A, B));
    sh.dashed(f.rect((A - L) / 2, B / 2 - M / 2, (A + L) / 2, B / 2 + M / 2));
    const double oc = 0.6 * B;
    sh.blades(f.rect((A - K) / 2, oc - B2 / 2, (A + K) / 2, oc + B2 / 2), 5);
    centreLine(sh.p(), f.at(sx1, B + spigot + 25), f.at(sx1, B - 20));
    centreLine(sh.p(), f.at(sx2, B + spigot + 25), f.at(sx2, B - 20));
    sh.dimH(f.x(0), f.x(A), f.y(-frame), f.y(-frame) + Row1, QStringLiteral("A"));
    sh.dimV(f.y(0), f.y(B), f.x(A), f.x(A) + Row1, QStringLiteral("B"));
    sh.dimH(f.x((A - K) / 2), f.x((A + K) / 2), f.y(oc + B2 / 2), f.y(oc + B2 / 2) - 12,
            QStringLiteral("K"));
    sh.dimV(f.y(oc - B2 / 2), f.y(oc + B2 / 2), f.x((A + K) / 2), f.x((A + K) / 2) + 14,
            QStringLiteral("B2"));
    sh.dimH(f.x((A - L) / 2), f.x((A + L) / 2), f.y(B / 2 - M / 2), f.y(B / 2 - M / 2) - 12,
            QStringLiteral("L"));
    sh.dimH(f.x(sx1), f.x(sx2), f.y(B + spigot), f.y(B + spigot) - 12, QStringLiteral("G"));
    sh.diameter(f.at(sx1 - D / 2, B + spigot * 0.8),
                f.at(sx1 - D / 2, B + spigot) + QPointF(-18, -16), QStringLiteral("D"));
    sh.diameter(f.at(sx2 + E / 2, B + spigot * 0.8),
                f.at(sx2 + E / 2, B + spigot) + QPointF(18, -16), QStringLiteral("E"));
    sh.dimH(f.x(-R), f.x(0), f.y(B * 0.3), f.y(B * 0.3), QStringLiteral("R"));
    sh.dimV(f.y(B), f.y(B + S), f.x(A * 0.05), f.x(A * 0.05), QStringLiteral("S"));

    // Side view from the left: outlet flange at the left, fan section with the
    // inlet flange at the right.
    const double gx = f.x(A) + Row1 + 30 + Row1;
    View g{{gx, fy}, s};
    const double body0 = flange, body1 = C - flange, fan0 = body1 - P;
    for (const double u : {C / 2 - N / 2, C / 2 + N / 2})
        sh.thin(g.rect(u - 40, -frame, u + 40, 0), QColor(0x8a, 0x97, 0x9e));
    sh.outline(g.rect(C - F - std::max(D, E) / 2, B, C - F + std::max(D, E) / 2, B + spigot), Grey2,
               1.2);
    sh.outline(g.rect(body0, 0, fan0, B));
    sh.outline(g.rect(fan0, 0, body1, B), QColor(0xd9, 0xdf, 0xe3));
    // Fan scroll.
    const QPointF fc = g.at(fan0 + P / 2, B * 0.45);
    sh.p().setPen(QPen(Grey3, 1.0));
    sh.p().setBrush(Qt::NoBrush);
    const double rr = std::min(P, B) * 0.3 * s;
    sh.p().drawEllipse(fc, rr, rr);
    sh.p().drawEllipse(fc, rr * 0.35, rr * 0.35);
    sh.thin(g.rect(0, 0.6 * B - B2 / 2, body0, 0.6 * B + B2 / 2), QColor(0x8a, 0x97, 0x9e));
    sh.thin(g.rect(body1, B / 2 - M / 2, C, B / 2 + M / 2), QColor(0x8a, 0x97, 0x9e));
    centreLine(sh.p(), g.at(C - F, B + spigot + 30), g.at(C - F, B - 30));
    gasStub(sh, g.at(C - J, H));
    sh.dimH(g.x(C / 2 - N / 2), g.x(C / 2 + N / 2), g.y(-frame), g.y(-frame) + Row1,
            QStringLiteral("N"));
    sh.dimH(g.x(0), g.x(C), g.y(-frame), g.y(-frame) + Row2, QStringLiteral("C"));
    sh.dimH(g.x(fan0), g.x(body1), g.y(B), g.y(B) + 16, QStringLiteral("P"));
    sh.dimV(g.y(B / 2 - M / 2), g.y(B / 2 + M / 2), g.x(C), g.x(C) + Row1, QStringLiteral("M"));
    sh.dimH2(g.x(C - F), g.y(B + spigot), g.x(C), g.y(B), g.y(B + spigot) - 16,
             QStringLiteral("F"));
    sh.dimH(g.x(C - J), g.x(C), g.y(H), g.y(H) - 14, QStringLiteral("J"));
    sh.dimV(g.y(0), g.y(H), g.x(C - J), g.x(C - J) - 16, QStringLiteral("H"));
}

// ---------------------------------------------------------------- MK

void drawMK(Sheet& sh, const UnitType& t, double s) {
    const double A = dim(t, "A", 900), B = dim(t, "B", 1400), C = dim(t, "C", 1050),
                 D = dim(t, "D", 100), E = dim(t, "E", 100), F = dim(t, "F", B * 0.6),
                 G = dim(t, "G", B * 0.4), H = dim(t, "H", A * 0.75), K = dim(t, "K", G * 0.8),
                 L = dim(t, "L", A * 0.75), O = dim(t, "O", G * 0.7), P = dim(t, "P", A * 0.8),
                 R = dim(t, "R", F * 0.65), S = dim(t, "S", 500), T = dim(t, "T", 320);
    const double spigot = 150;

    // Front view: mixing chamber (G) below the heater section (F).
    const double fx = 10 + WallStrip + S * s, fy = 12 + (B + spigot) * s + 10;
    View f{{fx, fy}, s};
    sh.wallV(f.x(-S), f.y(B + spigot) - 4, f.y(0) + 30, true);
    sh.outline(f.rect(A / 3 - D / 2, B, A / 3 + D / 2, B + spigot), Grey2, 1.2);
    sh.outline(f.rect(2 * A / 3 - E / 2, B, 2 * A / 3 + E / 2, B + spigot), Grey2, 1.2);
    sh.outline(f.rect(0, 0, A, G), QColor(0xe3, 0xe8, 0xeb));
    sh.outline(f.rect(0, G, A, G + F));
    const double rc = G / 2, oc = G + F / 2;
    sh.bars(f.rect((A - L) / 2, rc - O / 2, (A + L) / 2, rc + O / 2), 10);
    sh.blades(f.rect((A - P) / 2, oc - R / 2, (A + P) / 2, oc + R / 2), 7);
    sh.dimH(f.x(0), f.x(A), f.y(0), f.y(0) + Row1, QStringLiteral("A"));
    sh.dimV(f.y(0), f.y(G), f.x(A), f.x(A) + Row1, QStringLiteral("G"));
    sh.dimV(f.y(G), f.y(G + F), f.x(A), f.x(A) + Row1, QStringLiteral("F"));
    sh.dimV(f.y(0), f.y(B), f.x(A), f.x(A) + Row2, QStringLiteral("B"));
    sh.dimH(f.x((A - L) / 2), f.x((A + L) / 2), f.y(rc - O / 2), f.y(rc - O / 2) + 14,
            QStringLiteral("L"));
    sh.dimV(f.y(rc - O / 2), f.y(rc + O / 2), f.x((A + L) / 2), f.x((A + L) / 2) + 13,
            QStringLiteral("O"));
    sh.dimH(f.x((A - P) / 2), f.x((A + P) / 2), f.y(oc + R / 2), f.y(oc + R / 2) - 12,
            QStringLiteral("P"));
    sh.dimV(f.y(oc - R / 2), f.y(oc + R / 2), f.x((A + P) / 2), f.x((A + P) / 2) + 13,
            QStringLiteral("R"));
    sh.dimH(f.x(-S), f.x(0), f.y(B * 0.45), f.y(B * 0.45), QStringLiteral("S"));

    // Side view from the left: the outdoor-air sleeve runs through the wall (T).
    const double gx = f.x(A) + Row2 + 34;
    View g{{gx, fy}, s};
    const QRectF wallRect(g.at(C, B + spigot), g.at(C + T, -60));
    sh.p().fillRect(wallRect.normalized(), Paper);
    hatch(sh.p(), wallRect.normalized(), 6, Grey3, 0.7);
    sh.p().setPen(QPen(Ink, 1.2));
    sh.p().drawLine(g.at(C, B + spigot), g.at(C, -60));
    sh.p().drawLine(g.at(C + T, B + spigot), g.at(C + T, -60));
    const double kc = G / 2;
    sh.thin(g.rect(C, kc - K / 2, C + T + 40, kc + K / 2), QColor(0xd9, 0xdf, 0xe3));
    sh.outline(g.rect(C / 2 - std::max(D, E) / 2, B, C / 2 + std::max(D, E) / 2, B + spigot), Grey2,
               1.2);
    sh.outline(g.rect(0, 0, C, G), QColor(0xe3, 0xe8, 0xeb));
    sh.outline(g.rect(0, G, C, G + F));
    sh.dimH(g.x(0), g.x(C), g.y(0), g.y(-60) + Row1, QStringLiteral("C"));
    sh.dimH(g.x(C), g.x(C + T), g.y(-60), g.y(-60) + Row1, QStringLiteral("T"));
    sh.dimV(g.y(kc - K / 2), g.y(kc + K / 2), g.x(C + T + 40), g.x(C + T + 40) + Row1,
            QStringLiteral("K"));

    // Plan below the front view: the sleeve (H wide) goes into the wall at the top.
    const double py = f.y(0) + Row1 + 44 + (C + T) * s;
    View pl{{fx, py}, s};
    // Rear at the top: the wall band across the top.
    const QRectF wallPlan(pl.at(-120, C + T), pl.at(A + 120, C));
    sh.p().fillRect(wallPlan.normalized(), Paper);
    hatch(sh.p(), wallPlan.normalized(), 6, Grey3, 0.7);
    sh.p().setPen(QPen(Ink, 1.2));
    sh.p().drawLine(pl.at(-120, C), pl.at(A + 120, C));
    sh.p().drawLine(pl.at(-120, C + T), pl.at(A + 120, C + T));
    sh.thin(pl.rect((A - H) / 2, C, (A + H) / 2, C + T + 40), QColor(0xd9, 0xdf, 0xe3));
    sh.outline(pl.rect(0, 0, A, C));
    sh.circle(pl.at(A / 3, C / 2), D / 2 * s, Grey2);
    sh.circle(pl.at(2 * A / 3, C / 2), E / 2 * s, Grey2);
    sh.diameter(pl.at(A / 3 - D / 2 * 0.7, C / 2 - D / 2 * 0.7),
                pl.at(A / 3 - D / 2, C / 2) + QPointF(-24, 16), QStringLiteral("D"));
    sh.diameter(pl.at(2 * A / 3 + E / 2 * 0.7, C / 2 - E / 2 * 0.7),
                pl.at(2 * A / 3 + E / 2, C / 2) + QPointF(24, 16), QStringLiteral("E"));
    sh.dimH(pl.x((A - H) / 2), pl.x((A + H) / 2), pl.y(C), pl.y(C) + 16, QStringLiteral("H"));
}

// ---------------------------------------------------------------- destratifiers

void drawK(Sheet& sh, const UnitType& t, double s) {
    const double A = dim(t, "A", 600), R = dim(t, "R", 450);
    const double ring = 180, motor = 120;
    // Side view under the ceiling.
    View g{{40 + 10, 30 + (R + ring + motor) * s}, s};
    sh.wallH(g.y(R + ring), g.x(-120), g.x(A + 120), true);
    sh.p().setPen(QPen(Ink, 1.4));
    for (const double u : {A * 0.12, A * 0.88})
        sh.p().drawLine(g.at(u, ring), g.at(u, R + ring));
    sh.outline(g.rect(0, 0, A, ring), Grey1);
    sh.outline(g.rect(A / 2 - 90, ring, A / 2 + 90, ring + motor * 0.6), Grey2, 1.2);
    centreLine(sh.p(), g.at(A / 2, -40), g.at(A / 2, R + ring - 10));
    sh.dimH(g.x(0), g.x(A), g.y(0), g.y(0) + Row1, QStringLiteral("A"));
    sh.dimV(g.y(ring), g.y(R + ring), g.x(A), g.x(A) + Row1, QStringLiteral("R"));
    // View from below.
    const double cx = g.x(A) + Row1 + 60 + A / 2 * s, cy = g.y(ring / 2);
    sh.circle(QPointF(cx, cy), A / 2 * s, Grey1);
    sh.p().setPen(QPen(Grey3, 0.8));
    sh.p().setBrush(Qt::NoBrush);
    for (double r = 0.2; r < 0.95; r += 0.15)
        sh.p().drawEllipse(QPointF(cx, cy), A / 2 * s * r, A / 2 * s * r);
    for (int i = 0; i < 8; ++i) {
        const double a = std::numbers::pi * i / 4;
        sh.p().drawLine(QPointF(cx, cy) + QPointF(std::cos(a), std::sin(a)) * A / 2 * s * 0.2,
                        QPointF(cx, cy) + QPointF(std::cos(a), std::sin(a)) * A / 2 * s);
    }
    sh.circle(QPointF(cx, cy), A / 2 * s * 0.18, QColor(0xe8, 0x70, 0x2a));
    centreLine(sh.p(), QPointF(cx - A / 2 * s - 10, cy), QPointF(cx + A / 2 * s + 10, cy));
    centreLine(sh.p(), QPointF(cx, cy - A / 2 * s - 10), QPointF(cx, cy + A / 2 * s + 10));
    sh.diameter(QPointF(cx, cy) + QPointF(0.7071, 0.7071) * A / 2 * s,
                QPointF(cx, cy) + QPointF(A / 2 * s + 20, A / 2 * s + 12), QStringLiteral("A"));
}

// Scale [px per mm] for a type: chosen so that the views of the family fill the
// sheet.
double scaleFor(const UnitType& t) {
    const double A = dim(t, "A", 800), B = dim(t, "B", 800), C = dim(t, "C", 800);
    if (t.family == QLatin1String("AX")) {
        const double w = dim(t, "R", 300) + A + dim(t, "P", C);
        const double h = dim(t, "S", 250) + B + C;
        return std::min((640 - 190) / w, (480 - 150) / h);
    }
    if (t.family == QLatin1String("BLENDA")) {
        const double w =
            dim(t, "R", 400) + A + dim(t, "Q", 140) + dim(t, "T", 800) + dim(t, "V", C);
        const double h = dim(t, "S", 350) + B + C;
        return std::min((640 - 150) / w, (480 - 130) / h);
    }
    if (t.family == QLatin1String("RD")) {
        const double w = dim(t, "R", 500) + A + C;
        const double h = dim(t, "S", 400) + B + 210;
        return std::min((640 - 170) / w, (480 - 110) / h);
    }
    if (t.family == QLatin1String("MK-I")) {
        const double w = dim(t, "S", 500) + A + C + dim(t, "T", 300);
        const double h = B + 150 + C + dim(t, "T", 300);
        return std::min((640 - 190) / w, (480 - 120) / h);
    }
    const double w = 2 * A + 240, h = dim(t, "R", 450) + 300;
    return std::min((640 - 170) / w, (480 - 100) / h);
}

} // namespace

Picture dimensionDrawing(const UnitType& type, QStringList* letters) {
    void (*draw)(Sheet&, const UnitType&, double) = nullptr;
    if (type.family == QLatin1String("AX"))
        draw = drawAX;
    else if (type.family == QLatin1String("BLENDA"))
        draw = drawBlenda;
    else if (type.family == QLatin1String("RD"))
        draw = drawRD;
    else if (type.family == QLatin1String("MK-I"))
        draw = drawMK;
    else if (type.family == QLatin1String("K"))
        draw = drawK;
    Picture pic;
    if (!draw)
        return pic;
    const double s = scaleFor(type);
    // Lay the views out once to find their extent, then centre them on the sheet.
    QPicture probe;
    {
        QPainter p(&probe);
        Sheet sh(p, letters);
        draw(sh, type, s);
    }
    const QRectF bounds = QRectF(probe.boundingRect()).adjusted(-4, -4, 4, 4);
    const QSize size(640, 480);
    const double fit =
        std::min({1.2, size.width() / bounds.width(), size.height() / bounds.height()});
    pic.size = size;
    pic.paint = [type, draw, s, bounds, fit, size](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRectF(QPointF(0, 0), size), Paper);
        p.save();
        p.translate((size.width() - bounds.width() * fit) / 2 - bounds.left() * fit,
                    (size.height() - bounds.height() * fit) / 2 - bounds.top() * fit);
        p.scale(fit, fit);
        Sheet sh(p, nullptr);
        draw(sh, type, s);
        p.restore();
    };
    return pic;
}

} // namespace zf::art
