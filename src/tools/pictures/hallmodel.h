#pragma once

#include <QString>
#include <vector>

namespace zf::pictures {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, double k) {
    return {a.x * k, a.y * k, a.z * k};
}
inline double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 cross(Vec3 a, Vec3 b);
Vec3 normalized(Vec3 a);

// One surface record of a hall or skylight variant as a body in space: x runs
// along the hall length A, y along the width B, z upwards, the origin at a
// floor corner. Walls 1 to 4 go round the hall: 1 at x = 0 and 3 at x = A (the
// width B), 2 at y = 0 and 4 at y = B (the length A); a gable stands above the
// wall of the same side, 5 over wall 1 and 7 over wall 3; roof plane 6 falls
// towards wall 2 and 8 towards wall 4. A skylight numbers its surfaces the same
// way round.
struct Face {
    int number = 0;
    // A plane surface: its outline, anticlockwise seen from outside.
    std::vector<Vec3> polygon;
    // A curved surface: the same profile at both of its ends, bent along it.
    std::vector<Vec3> profileNear, profileFar;
    Vec3 anchor; // where its number points
    Vec3 normal; // outwards, at the anchor

    bool curved() const { return !profileNear.empty(); }
    // The plane pieces a curved surface is drawn and measured with; a plane
    // surface is one piece.
    std::vector<std::vector<Vec3>> facets() const;
    double area() const;
};

struct Shape {
    QString variant; // VariantaHaly: "hA" ... "hD", "sA" ... "sD"
    std::vector<Face> faces;
    const Face* face(int number) const;
    std::vector<Vec3> vertices() const;
};

struct HallSize {
    double A = 0, B = 0, H1 = 0, H2 = 0;
};
struct SkylightSize {
    double a = 0, b = 0, h1 = 0, h2 = 0;
};

// The hall of roof type 0 to 3 (flat, saddle, single plane, arc).
Shape hallShape(int roofType, const HallSize& hall);
// The skylight of type 1 to 4 standing in the middle of the flat roof of the
// hall, its length a along A.
Shape skylightShape(int skylightType, const HallSize& hall, const SkylightSize& skylight);

// "hA" ... "hD" for roof types 0 to 3, "sA" ... "sD" for skylight types 1 to 4.
QString hallVariant(int roofType);
QString skylightVariant(int skylightType);

} // namespace zf::pictures
