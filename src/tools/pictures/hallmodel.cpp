#include "pictures/hallmodel.h"

#include <algorithm>
#include <cmath>

namespace zf::pictures {

Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 normalized(Vec3 a) {
    const double l = std::sqrt(dot(a, a));
    return l > 0 ? a * (1 / l) : a;
}

namespace {

// Newell's normal; its length is twice the area of the plane polygon.
Vec3 newell(const std::vector<Vec3>& p) {
    Vec3 n;
    for (size_t i = 0; i < p.size(); ++i) {
        const Vec3& a = p[i];
        const Vec3& b = p[(i + 1) % p.size()];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

Vec3 centroid(const std::vector<Vec3>& p) {
    // Area-weighted over a fan of triangles, so that a gable's number sits in
    // its middle and not towards the side with more arc points.
    Vec3 c;
    double total = 0;
    for (size_t i = 1; i + 1 < p.size(); ++i) {
        const Vec3 n = cross(p[i] - p[0], p[i + 1] - p[0]);
        const double w = std::sqrt(dot(n, n));
        c = c + (p[0] + p[i] + p[i + 1]) * (w / 3);
        total += w;
    }
    return total > 0 ? c * (1 / total) : p.front();
}

// A circular arc over a chord in the y-z plane of x: from y0 to y0 + chord at
// height z0, rising by rise in the middle.
std::vector<Vec3> arcProfile(double x, double y0, double chord, double z0, double rise) {
    const double R = (rise * rise + chord * chord / 4) / (2 * rise);
    const double half = std::asin(std::min(1.0, chord / (2 * R)));
    const Vec3 centre{x, y0 + chord / 2, z0 + rise - R};
    constexpr int Segments = 48;
    std::vector<Vec3> p;
    for (int i = 0; i <= Segments; ++i) {
        const double phi = -half + 2 * half * i / Segments;
        p.push_back({x, centre.y + R * std::sin(phi), centre.z + R * std::cos(phi)});
    }
    return p;
}

class Builder {
public:
    explicit Builder(QString variant) { shape.variant = std::move(variant); }

    void plane(int number, std::vector<Vec3> polygon) {
        Face f;
        f.number = number;
        f.polygon = std::move(polygon);
        f.anchor = centroid(f.polygon);
        f.normal = normalized(newell(f.polygon));
        shape.faces.push_back(std::move(f));
    }
    // A face bent along the arc, anchored at its crest.
    void curved(int number, std::vector<Vec3> near, std::vector<Vec3> far) {
        Face f;
        f.number = number;
        const Vec3 top = near[near.size() / 2];
        const Vec3 topFar = far[far.size() / 2];
        f.anchor = (top + topFar) * 0.5;
        f.normal = {0, 0, 1};
        f.profileNear = std::move(near);
        f.profileFar = std::move(far);
        shape.faces.push_back(std::move(f));
    }
    // Every surface of a convex body faces away from its inside: outlines and
    // normals are turned so, whichever way round they were listed.
    Shape finish() {
        const std::vector<Vec3> all = shape.vertices();
        Vec3 inside;
        for (const Vec3& v : all)
            inside = inside + v;
        inside = inside * (1.0 / double(all.size()));
        for (Face& f : shape.faces) {
            if (f.curved()) {
                if (dot(f.normal, f.anchor - inside) < 0)
                    f.normal = f.normal * -1;
                continue;
            }
            if (dot(newell(f.polygon), f.anchor - inside) < 0)
                std::reverse(f.polygon.begin(), f.polygon.end());
            f.normal = normalized(newell(f.polygon));
        }
        return std::move(shape);
    }

    Shape shape;
};

// Rectangle of the four corners in order.
std::vector<Vec3> quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d) {
    return {a, b, c, d};
}

} // namespace

std::vector<std::vector<Vec3>> Face::facets() const {
    if (!curved())
        return {polygon};
    std::vector<std::vector<Vec3>> f;
    for (size_t i = 0; i + 1 < profileNear.size(); ++i)
        f.push_back({profileNear[i], profileNear[i + 1], profileFar[i + 1], profileFar[i]});
    return f;
}

double Face::area() const {
    double a = 0;
    for (const auto& f : facets()) {
        const Vec3 n = newell(f);
        a += std::sqrt(dot(n, n)) / 2;
    }
    return a;
}

const Face* Shape::face(int number) const {
    for (const Face& f : faces)
        if (f.number == number)
            return &f;
    return nullptr;
}

std::vector<Vec3> Shape::vertices() const {
    std::vector<Vec3> v;
    for (const Face& f : faces)
        for (const auto& facet : f.facets())
            v.insert(v.end(), facet.begin(), facet.end());
    return v;
}

QString hallVariant(int roofType) {
    return QStringLiteral("h") + QChar(u'A' + roofType);
}

QString skylightVariant(int skylightType) {
    return QStringLiteral("s") + QChar(u'A' + skylightType - 1);
}

Shape hallShape(int roofType, const HallSize& h) {
    const double A = h.A, B = h.B, H1 = h.H1, H2 = h.H2;
    const double top = H1 + H2;
    Builder b(hallVariant(roofType));
    b.plane(1, quad({0, 0, 0}, {0, B, 0}, {0, B, H1}, {0, 0, H1}));
    b.plane(2, quad({0, 0, 0}, {A, 0, 0}, {A, 0, H1}, {0, 0, H1}));
    b.plane(3, quad({A, 0, 0}, {A, B, 0}, {A, B, H1}, {A, 0, H1}));
    b.plane(4, quad({0, B, 0}, {A, B, 0}, {A, B, H1}, {0, B, H1}));
    const auto floor = quad({0, 0, 0}, {A, 0, 0}, {A, B, 0}, {0, B, 0});
    switch (roofType) {
    case 0:
        b.plane(5, quad({0, 0, H1}, {A, 0, H1}, {A, B, H1}, {0, B, H1}));
        b.plane(6, floor);
        break;
    case 1:
        b.plane(5, {{0, 0, H1}, {0, B, H1}, {0, B / 2, top}});
        b.plane(6, quad({0, 0, H1}, {A, 0, H1}, {A, B / 2, top}, {0, B / 2, top}));
        b.plane(7, {{A, 0, H1}, {A, B, H1}, {A, B / 2, top}});
        b.plane(8, quad({0, B, H1}, {A, B, H1}, {A, B / 2, top}, {0, B / 2, top}));
        b.plane(9, floor);
        break;
    case 2:
        // The roof rises from the eaves over wall 2 to the top of wall 4, whose
        // upper strip is record 8.
        b.plane(5, {{0, 0, H1}, {0, B, H1}, {0, B, top}});
        b.plane(6, quad({0, 0, H1}, {A, 0, H1}, {A, B, top}, {0, B, top}));
        b.plane(7, {{A, 0, H1}, {A, B, H1}, {A, B, top}});
        b.plane(8, quad({0, B, H1}, {A, B, H1}, {A, B, top}, {0, B, top}));
        b.plane(9, floor);
        break;
    case 3: {
        const auto nearArc = arcProfile(0, 0, B, H1, H2);
        const auto farArc = arcProfile(A, 0, B, H1, H2);
        b.plane(5, nearArc);
        b.curved(6, nearArc, farArc);
        b.plane(7, farArc);
        b.plane(8, floor);
        break;
    }
    default:
        return {};
    }
    return b.finish();
}

Shape skylightShape(int type, const HallSize& h, const SkylightSize& s) {
    const double x0 = (h.A - s.a) / 2, x1 = x0 + s.a;
    const double y0 = (h.B - s.b) / 2, y1 = y0 + s.b, ym = (y0 + y1) / 2;
    const double z0 = h.H1;
    Builder b(skylightVariant(type));
    switch (type) {
    case 1: {
        const double z = z0 + s.h1;
        b.plane(1, {{x0, y0, z0}, {x0, y1, z0}, {x0, ym, z}});
        b.plane(2, quad({x0, y0, z0}, {x1, y0, z0}, {x1, ym, z}, {x0, ym, z}));
        b.plane(3, {{x1, y0, z0}, {x1, y1, z0}, {x1, ym, z}});
        b.plane(4, quad({x0, y1, z0}, {x1, y1, z0}, {x1, ym, z}, {x0, ym, z}));
        break;
    }
    case 2: {
        const double zw = z0 + s.h1, z = zw + s.h2;
        b.plane(1, quad({x0, y0, z0}, {x0, y1, z0}, {x0, y1, zw}, {x0, y0, zw}));
        b.plane(2, quad({x0, y0, z0}, {x1, y0, z0}, {x1, y0, zw}, {x0, y0, zw}));
        b.plane(3, quad({x1, y0, z0}, {x1, y1, z0}, {x1, y1, zw}, {x1, y0, zw}));
        b.plane(4, quad({x0, y1, z0}, {x1, y1, z0}, {x1, y1, zw}, {x0, y1, zw}));
        b.plane(5, {{x0, y0, zw}, {x0, y1, zw}, {x0, ym, z}});
        b.plane(6, quad({x0, y0, zw}, {x1, y0, zw}, {x1, ym, z}, {x0, ym, z}));
        b.plane(7, {{x1, y0, zw}, {x1, y1, zw}, {x1, ym, z}});
        b.plane(8, quad({x0, y1, zw}, {x1, y1, zw}, {x1, ym, z}, {x0, ym, z}));
        break;
    }
    case 3: {
        const double z = z0 + s.h1;
        b.plane(1, {{x0, y0, z0}, {x0, y1, z0}, {x0, y1, z}});
        b.plane(2, quad({x0, y0, z0}, {x1, y0, z0}, {x1, y1, z}, {x0, y1, z}));
        b.plane(3, {{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z}});
        b.plane(4, quad({x0, y1, z0}, {x1, y1, z0}, {x1, y1, z}, {x0, y1, z}));
        break;
    }
    case 4: {
        const auto nearArc = arcProfile(x0, y0, s.b, z0, s.h1);
        const auto farArc = arcProfile(x1, y0, s.b, z0, s.h1);
        b.plane(1, nearArc);
        b.curved(2, nearArc, farArc);
        b.plane(3, farArc);
        break;
    }
    default:
        return {};
    }
    return b.finish();
}

} // namespace zf::pictures
