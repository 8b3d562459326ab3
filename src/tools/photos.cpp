// The product pictures of the unit families: isometric drawings with flat
// shading, one per family. The proportions are those of a middle type of the
// family; the pictures carry no text.
#include "artkit.h"
#include "catalogpictures.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPicture>
#include <QPolygonF>
#include <cmath>
#include <numbers>

namespace zf::art {

using namespace kit;

namespace {

const QColor TopShade(0xf6, 0xf8, 0xf9);
const QColor FrontShade(0xe1, 0xe7, 0xeb);
const QColor SideShade(0xbc, 0xc6, 0xcc);
const QColor DarkMetal(0x5b, 0x68, 0x70);

// Isometric projection: x to the lower right, y to the lower left, z up. The
// visible faces of a box are its top (z max), front (y max) and right (x max).
struct Iso {
    QPointF origin;
    double s = 100;
    QPointF operator()(double x, double y, double z) const {
        constexpr double c = 0.8660254037844386, h = 0.5;
        return origin + QPointF((x - y) * c * s, (x + y) * h * s - z * s);
    }
};

void poly(QPainter& p, const QPolygonF& pg, const QColor& fill, double pen = 1.1) {
    p.setPen(QPen(Ink, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPolygon(pg);
}

// Front face point (u along x, v along z) of the plane y = yf.
QPolygonF frontRect(const Iso& iso, double yf, double u0, double v0, double u1, double v1) {
    return QPolygonF({iso(u0, yf, v0), iso(u1, yf, v0), iso(u1, yf, v1), iso(u0, yf, v1)});
}
// Right face rectangle of the plane x = xf (u along y, v along z).
QPolygonF sideRect(const Iso& iso, double xf, double u0, double v0, double u1, double v1) {
    return QPolygonF({iso(xf, u0, v0), iso(xf, u1, v0), iso(xf, u1, v1), iso(xf, u0, v1)});
}
QPolygonF topRect(const Iso& iso, double zf, double x0, double y0, double x1, double y1) {
    return QPolygonF({iso(x0, y0, zf), iso(x1, y0, zf), iso(x1, y1, zf), iso(x0, y1, zf)});
}

void box(QPainter& p, const Iso& iso, double x0, double y0, double z0, double w, double d, double h,
         const QColor& top = TopShade, const QColor& front = FrontShade,
         const QColor& side = SideShade, double pen = 1.2) {
    poly(p, topRect(iso, z0 + h, x0, y0, x0 + w, y0 + d), top, pen);
    poly(p, frontRect(iso, y0 + d, x0, z0, x0 + w, z0 + h), front, pen);
    poly(p, sideRect(iso, x0 + w, y0, z0, y0 + d, z0 + h), side, pen);
}

// Horizontal louvre blades in a front rectangle.
void louvres(QPainter& p, const Iso& iso, double yf, double u0, double v0, double u1, double v1,
             int blades) {
    poly(p, frontRect(iso, yf, u0, v0, u1, v1), DarkMetal, 1.0);
    const double pitch = (v1 - v0) / blades;
    for (int i = 0; i < blades; ++i) {
        const double a = v0 + i * pitch;
        // Each blade: a light upper face tilted down towards the viewer.
        QPolygonF blade({iso(u0, yf, a + pitch * 0.95), iso(u1, yf, a + pitch * 0.95),
                         iso(u1, yf + pitch * 0.5, a + pitch * 0.35),
                         iso(u0, yf + pitch * 0.5, a + pitch * 0.35)});
        poly(p, blade, i % 2 ? QColor(0xd5, 0xdc, 0xe1) : QColor(0xdb, 0xe1, 0xe5), 0.6);
    }
}

// Vertical damper blades (seen edge-on from the front).
void verticalBlades(QPainter& p, const Iso& iso, double yf, double u0, double v0, double u1,
                    double v1, int blades) {
    poly(p, frontRect(iso, yf, u0, v0, u1, v1), DarkMetal, 1.0);
    const double pitch = (u1 - u0) / blades;
    for (int i = 0; i < blades; ++i) {
        const double a = u0 + i * pitch;
        QPolygonF blade({iso(a + pitch * 0.1, yf, v0), iso(a + pitch * 0.1, yf, v1),
                         iso(a + pitch * 0.75, yf + pitch * 0.35, v1),
                         iso(a + pitch * 0.75, yf + pitch * 0.35, v0)});
        poly(p, blade, QColor(0xd9, 0xdf, 0xe3), 0.6);
    }
}

// A vertical cylinder standing on z0.
void cylinder(QPainter& p, const Iso& iso, double cx, double cy, double z0, double r, double h,
              const QColor& body, const QColor& top) {
    constexpr int N = 48;
    QPolygonF topRing, side;
    for (int i = 0; i < N; ++i) {
        const double a = 2 * std::numbers::pi * i / N;
        topRing << iso(cx + r * std::cos(a), cy + r * std::sin(a), z0 + h);
    }
    // Silhouette: the circle points whose projected x is extreme are at angles
    // -45 and 135 degrees (x - y extreme).
    const double a0 = -std::numbers::pi / 4, a1 = 3 * std::numbers::pi / 4;
    constexpr int Half = N / 2;
    for (int i = 0; i <= Half; ++i) {
        const double a = a0 + (a1 - a0) * i / Half;
        side << iso(cx + r * std::cos(a), cy + r * std::sin(a), z0 + h);
    }
    for (int i = Half; i >= 0; --i) {
        const double a = a0 + (a1 - a0) * i / Half;
        side << iso(cx + r * std::cos(a), cy + r * std::sin(a), z0);
    }
    poly(p, side, body, 1.0);
    poly(p, topRing, top, 1.0);
}

// A ring of points of a horizontal circle.
QPolygonF circleAt(const Iso& iso, double cx, double cy, double z, double r, int n = 64) {
    QPolygonF pg;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * std::numbers::pi * i / n;
        pg << iso(cx + r * std::cos(a), cy + r * std::sin(a), z);
    }
    return pg;
}

void background(QPainter& p, const QSize& size) {
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(0xff, 0xff, 0xff));
    g.setColorAt(1, QColor(0xe6, 0xec, 0xf0));
    p.fillRect(QRectF(QPointF(0, 0), size), g);
}

// A hanging rod with its ceiling anchor plate.
void rod(QPainter& p, const Iso& iso, double x, double y, double z0, double z1) {
    p.setPen(QPen(DarkMetal, 1.8));
    p.drawLine(iso(x, y, z0), iso(x, y, z1));
    poly(p, topRect(iso, z1, x - 0.05, y - 0.05, x + 0.05, y + 0.05), Grey2, 0.8);
}

void brandStripe(QPainter& p, const Iso& iso, double yf, double u0, double u1, double v) {
    poly(p, frontRect(iso, yf, u0, v, u1, v + 0.035), Heat, 0.6);
}

void paintAX(QPainter& p, const Iso& iso) {
    const double W = 0.82, D = 0.74, H = 0.78;
    // Bracket arms from the wall.
    for (const double x : {0.12, W - 0.12})
        box(p, iso, x - 0.02, -0.2, -0.06, 0.04, D + 0.25, 0.05, Grey2, DarkMetal, DarkMetal, 0.8);
    box(p, iso, 0, 0, 0, W, D, H);
    louvres(p, iso, D, 0.09, 0.1, W - 0.09, H - 0.12, 8);
    brandStripe(p, iso, D, 0, W, 0.03);
    // Service panel with cooling slits and the gas connection on the right side.
    poly(p, sideRect(iso, W, 0.08, 0.1, D - 0.3, H - 0.1), QColor(0xc6, 0xcf, 0xd4), 0.8);
    p.setPen(QPen(DarkMetal, 1.0));
    for (int i = 0; i < 6; ++i) {
        const double v = H - 0.2 - i * 0.05;
        p.drawLine(iso(W, 0.14, v), iso(W, D - 0.38, v));
    }
    box(p, iso, W, 0.12, 0.14, 0.1, 0.04, 0.04, QColor(0xf2, 0xc9, 0x4c), QColor(0xe0, 0xb0, 0x30),
        QColor(0xc9, 0x98, 0x20), 0.8);
    cylinder(p, iso, W * 0.35, 0.14, H, 0.05, 0.22, QColor(0xa9, 0xb3, 0xb9),
             QColor(0x6f, 0x7b, 0x82));
    cylinder(p, iso, W * 0.55, 0.14, H, 0.05, 0.16, QColor(0xd4, 0xdb, 0xdf),
             QColor(0x8a, 0x97, 0x9e));
}

void paintBlenda(QPainter& p, const Iso& iso) {
    const double W = 1.02, D = 0.94, H = 0.9;
    // Hanging rods to the ceiling.
    p.setPen(QPen(DarkMetal, 2.0));
    for (const auto& [x, y] : {std::pair{0.15, 0.15}, std::pair{W - 0.15, 0.15}})
        rod(p, iso, x, y, H, H + 0.45);
    const QColor casing(0xf5, 0xf3, 0xef), casingSide(0xd8, 0xd4, 0xcc);
    box(p, iso, 0, 0, 0, W, D, H, QColor(0xfb, 0xfa, 0xf8), casing, casingSide);
    p.setPen(QPen(DarkMetal, 2.0));
    for (const auto& [x, y] : {std::pair{0.15, D - 0.15}, std::pair{W - 0.15, D - 0.15}})
        rod(p, iso, x, y, H, H + 0.45);
    louvres(p, iso, D, 0.12, H - 0.34, W - 0.12, H - 0.1, 5);
    // Intake grille: perforated panel.
    poly(p, frontRect(iso, D, 0.16, 0.1, W - 0.16, H - 0.46), QColor(0xe9, 0xe6, 0xe0), 0.8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7a, 0x74, 0x6a));
    for (int i = 0; i < 14; ++i)
        for (int j = 0; j < 5; ++j)
            p.drawEllipse(iso(0.22 + i * (W - 0.44) / 13, D, 0.14 + j * (H - 0.64) / 4), 1.5, 1.5);
    brandStripe(p, iso, D, 0, W, H - 0.06);
    // Louvre actuator on the side.
    box(p, iso, W, D - 0.3, H - 0.3, 0.1, 0.16, 0.16, QColor(0x6f, 0x7b, 0x82), DarkMetal,
        QColor(0x4a, 0x55, 0x5c), 0.8);
}

void paintRD(QPainter& p, const Iso& iso) {
    const double W = 0.9, D = 1.42, H = 1.03, fan = 0.58;
    // Frame rails and feet.
    for (const double x : {0.08, W - 0.12})
        box(p, iso, x, 0.05, -0.12, 0.04, D - 0.1, 0.12, Grey2, DarkMetal, DarkMetal, 0.8);
    // Fan section at the rear, heater section in front.
    box(p, iso, 0, 0, 0, W, fan, H, TopShade, QColor(0xcf, 0xd7, 0xdc), QColor(0xa9, 0xb4, 0xbb));
    box(p, iso, 0, fan, 0, W, D - fan, H);
    // Radial fan scroll on the side of the fan section.
    QPolygonF scroll;
    for (int i = 0; i <= 60; ++i) {
        const double a = 2 * std::numbers::pi * i / 60 * 0.85;
        const double r = 0.16 + 0.1 * i / 60;
        scroll << iso(W, 0.29 + r * std::cos(a), 0.5 + r * std::sin(a));
    }
    p.setPen(QPen(DarkMetal, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(scroll);
    poly(p, QPolygonF([&] {
             QPolygonF c;
             for (int i = 0; i < 40; ++i) {
                 const double a = 2 * std::numbers::pi * i / 40;
                 c << iso(W, 0.29 + 0.08 * std::cos(a), 0.5 + 0.08 * std::sin(a));
             }
             return c;
         }()),
         QColor(0x6f, 0x7b, 0x82), 0.8);
    // Outlet flange.
    box(p, iso, 0.18, D, 0.18, W - 0.36, 0.07, H - 0.5, Grey2, DarkMetal, QColor(0x9a, 0xa5, 0xab),
        1.0);
    louvres(p, iso, D + 0.07, 0.22, 0.21, W - 0.22, H - 0.35, 5);
    brandStripe(p, iso, D, 0, W, 0.03);
    cylinder(p, iso, 0.3, fan + 0.15, H, 0.055, 0.2, QColor(0xa9, 0xb3, 0xb9),
             QColor(0x6f, 0x7b, 0x82));
    cylinder(p, iso, 0.52, fan + 0.15, H, 0.055, 0.14, QColor(0xd4, 0xdb, 0xdf),
             QColor(0x8a, 0x97, 0x9e));
}

void paintMK(QPainter& p, const Iso& iso) {
    const double W = 0.92, D = 1.06, H = 1.4, mix = 0.58;
    // Outdoor-air duct from the mixing chamber into the wall.
    box(p, iso, 0.2, -0.3, 0.12, W - 0.4, 0.3, 0.36, TopShade, FrontShade, QColor(0x9a, 0xa5, 0xab),
        1.0);
    box(p, iso, 0, 0, 0, W, D, mix, TopShade, QColor(0xd6, 0xde, 0xe2), QColor(0xb0, 0xbb, 0xc1));
    box(p, iso, 0, 0, mix, W, D, H - mix);
    verticalBlades(p, iso, D, 0.14, 0.09, W - 0.14, mix - 0.1, 8);
    louvres(p, iso, D, 0.12, mix + 0.18, W - 0.12, H - 0.12, 7);
    brandStripe(p, iso, D, 0, W, mix - 0.02);
    // Damper actuator on the side.
    box(p, iso, W, 0.3, 0.22, 0.08, 0.16, 0.14, QColor(0x6f, 0x7b, 0x82), DarkMetal,
        QColor(0x4a, 0x55, 0x5c), 0.8);
    cylinder(p, iso, 0.3, 0.2, H, 0.055, 0.22, QColor(0xa9, 0xb3, 0xb9), QColor(0x6f, 0x7b, 0x82));
    cylinder(p, iso, 0.52, 0.2, H, 0.055, 0.16, QColor(0xd4, 0xdb, 0xdf), QColor(0x8a, 0x97, 0x9e));
}

void paintK(QPainter& p, const Iso& iso) {
    const double R = 0.32, h = 0.16, cx = 0.32, cy = 0.32;
    // Suspension rods.
    p.setPen(QPen(DarkMetal, 1.8));
    for (int i = 0; i < 3; ++i) {
        const double a = 2 * std::numbers::pi * i / 3 + 0.5;
        const double x = cx + (R + 0.02) * std::cos(a), y = cy + (R + 0.02) * std::sin(a);
        if (std::sin(a) > 0.3) // rods in front are drawn after the ring
            continue;
        rod(p, iso, x, y, h, h + 0.55);
    }
    cylinder(p, iso, cx, cy, 0, R + 0.03, h, QColor(0xd9, 0xdf, 0xe3), QColor(0xf6, 0xf8, 0xf9));
    // Inlet guard: concentric rings and struts over the fan.
    poly(p, circleAt(iso, cx, cy, h, R), QColor(0x5b, 0x68, 0x70), 0.8);
    QPolygonF blades;
    for (int b = 0; b < 5; ++b) {
        QPolygonF blade;
        const double a0 = 2 * std::numbers::pi * b / 5;
        for (int i = 0; i <= 10; ++i) {
            const double r = 0.06 + (R - 0.08) * i / 10, a = a0 + 0.5 * i / 10;
            blade << iso(cx + r * std::cos(a), cy + r * std::sin(a), h - 0.02);
        }
        for (int i = 10; i >= 0; --i) {
            const double r = 0.06 + (R - 0.08) * i / 10, a = a0 + 0.5 * i / 10 + 0.55;
            blade << iso(cx + r * std::cos(a), cy + r * std::sin(a), h - 0.02);
        }
        poly(p, blade, QColor(0xb9, 0xc3, 0xc9), 0.6);
    }
    p.setPen(QPen(QColor(0xee, 0xf1, 0xf3), 1.0));
    p.setBrush(Qt::NoBrush);
    for (double r = 0.08; r < R; r += 0.045)
        p.drawPolygon(circleAt(iso, cx, cy, h, r));
    for (int i = 0; i < 8; ++i) {
        const double a = 2 * std::numbers::pi * i / 8;
        p.drawLine(iso(cx + 0.05 * std::cos(a), cy + 0.05 * std::sin(a), h),
                   iso(cx + R * std::cos(a), cy + R * std::sin(a), h));
    }
    poly(p, circleAt(iso, cx, cy, h, 0.06), Heat, 0.8);
    p.setPen(QPen(DarkMetal, 1.8));
    for (int i = 0; i < 3; ++i) {
        const double a = 2 * std::numbers::pi * i / 3 + 0.5;
        const double x = cx + (R + 0.02) * std::cos(a), y = cy + (R + 0.02) * std::sin(a);
        if (std::sin(a) <= 0.3)
            continue;
        rod(p, iso, x, y, h, h + 0.55);
    }
}

} // namespace

Picture familyPhoto(const QString& key) {
    void (*draw)(QPainter&, const Iso&) = nullptr;
    if (key == QLatin1String("AX"))
        draw = paintAX;
    else if (key == QLatin1String("BLENDA"))
        draw = paintBlenda;
    else if (key == QLatin1String("RD"))
        draw = paintRD;
    else if (key == QLatin1String("MK-I"))
        draw = paintMK;
    else if (key == QLatin1String("K"))
        draw = paintK;
    Picture pic;
    if (!draw)
        return pic;
    pic.size = QSize(400, 300);
    // Draw once at a known scale to find the extent, then fit it into the frame.
    QPicture probe;
    {
        QPainter p(&probe);
        draw(p, Iso{{0, 0}, 100});
    }
    const QRectF b = QRectF(probe.boundingRect());
    const double margin = 16;
    const double k = std::min((pic.size.width() - 2 * margin) / b.width(),
                              (pic.size.height() - 2 * margin) / b.height());
    const QPointF origin(pic.size.width() / 2.0 - b.center().x() * k,
                         pic.size.height() / 2.0 - b.center().y() * k);
    pic.paint = [draw, origin, k, size = pic.size](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        background(p, size);
        draw(p, Iso{origin, 100 * k});
    };
    return pic;
}

} // namespace zf::art
