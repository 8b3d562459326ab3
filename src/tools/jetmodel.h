#pragma once

// The air jet of a warm-air unit as the velocity and temperature pictures draw it.
//
// A deliberately simple model, good for showing the shape and reach of the warm
// air, not for design:
//
//  * Outlet: the air flow Q [m3/h at 20 °C] leaves the outlet of area A0 (from
//    the dimension columns: M x N for AX and Blenda, B2 x K for RD, P x R for MK)
//    with the mean velocity v0 = Q / A0. Its equivalent diameter is
//    d0 = sqrt(4 A0 / pi).
//  * Centreline velocity of an axisymmetric free jet: constant v0 in the core,
//    then decaying as 1/s with the distance s from the outlet,
//        vc(s) = min(v0, vL * L / s),
//    where L is the catalog range of the type, the distance at which the jet has
//    slowed to the residual velocity vL = 0.40 m/s (the middle of a span such as
//    "14-18"). This is the classic vc = K v0 d0 / s with the constant K chosen so
//    that the range comes out as catalogued. A type without a range (the MK units)
//    takes K = 5, usual for grille outlets: L = K v0 d0 / vL.
//  * Cross profile: Gaussian, v = vc(s) exp(-ln 2 (r / b)^2), with the radius of
//    half velocity b(s) = d0/2 + 0.1 s (the jet widens at about 11 degrees to its
//    half-velocity edge).
//  * Temperature: the excess over the hall air decays like the velocity but sooner
//    (heat mixes faster than momentum): dTc(s) = dT min(1, 0.8 s0 / s), with
//    s0 = vL L / v0 the end of the velocity core and dT the catalog temperature
//    rise. Its profile is 1.2 times as wide as the velocity profile.
//  * Mounting: the outlet axis is at the height h0 (3.5 m for AX, Blenda and MK,
//    5.0 m for RD) on a wall, blowing away from it; the louvres point the axis
//    down so that it reaches the occupied level of 1.7 m at 70 % of the range.
//    The lift of the warm jet is taken as compensated by that setting: the axis is
//    straight.
//  * Hall air: still, stratified linearly from 15 °C at the floor by 0.6 K per
//    metre of height. Floor, ceiling and side walls are not modelled (free jet).
//
// Coordinates: x from the wall along the blowing direction, y across it, z above
// the floor, all in metres.

#include <QString>

namespace zf::art {

struct UnitType;

struct JetModel {
    static constexpr double ResidualVelocity = 0.40;   // vL [m/s], the range's velocity
    static constexpr double DefaultDecay = 5.0;        // K where the catalog gives no range
    static constexpr double SpreadRate = 0.1;          // db/ds
    static constexpr double OccupiedLevel = 1.7;       // [m]
    static constexpr double AimFraction = 0.7;         // axis at 1.7 m at this share of L
    static constexpr double FloorTemperature = 15.0;   // [°C]
    static constexpr double TemperatureGradient = 0.6; // [K/m]

    double airFlow = 0;    // Q [m3/s]
    double outletArea = 0; // A0 [m2]
    double v0 = 0;         // [m/s]
    double d0 = 0;         // [m]
    double range = 0;      // L [m]
    double tempRise = 0;   // dT [K]
    double coreLength = 0; // s0 [m]
    double height = 0;     // h0 [m]
    double outletX = 0;    // distance of the outlet from the wall [m]
    double tilt = 0;       // angle of the axis below the horizontal [rad]
    double unitWidth = 0, unitDepth = 0, unitHeight = 0; // [m], for the symbols
    double hallHeight = 0;                               // height shown in the section [m]

    // The model of a type with technical data; valid() is false for a type it
    // cannot describe (no air flow).
    static JetModel forType(const UnitType& type);
    bool valid() const { return v0 > 0 && range > 0; }

    double centreVelocity(double s) const;
    double halfVelocityRadius(double s) const;
    double centreExcessTemperature(double s) const;
    double hallTemperature(double z) const;

    // Velocity at a point of the room, and the temperature in the vertical plane
    // through the jet axis (y = 0).
    double velocityAt(double x, double y, double z) const;
    double temperatureAt(double x, double z) const;
};

} // namespace zf::art
