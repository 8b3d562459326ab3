#include "jetmodel.h"

#include "catalogdata.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zf::art {

namespace {

constexpr double Ln2 = std::numbers::ln2;

// Outlet width x height [mm] of a family from its dimension columns.
bool outletOf(const UnitType& t, double* w, double* h) {
    QString a, b;
    if (t.family == QLatin1String("AX") || t.family == QLatin1String("BLENDA")) {
        a = QStringLiteral("M");
        b = QStringLiteral("N");
    } else if (t.family == QLatin1String("RD")) {
        a = QStringLiteral("K");
        b = QStringLiteral("B2");
    } else if (t.family == QLatin1String("MK-I")) {
        a = QStringLiteral("P");
        b = QStringLiteral("R");
    } else {
        return false;
    }
    if (!t.hasDim(a) || !t.hasDim(b) || t.dim(a) <= 0 || t.dim(b) <= 0)
        return false;
    *w = t.dim(a);
    *h = t.dim(b);
    return true;
}

} // namespace

JetModel JetModel::forType(const UnitType& t) {
    JetModel m;
    if (!t.tech || t.tech->airFlow <= 0)
        return m;
    m.airFlow = t.tech->airFlow / 3600.0;
    double w = 0, h = 0;
    if (outletOf(t, &w, &h))
        m.outletArea = w * h / 1e6;
    else
        m.outletArea = m.airFlow / 2.0; // an outlet blowing at 2 m/s
    m.v0 = m.airFlow / m.outletArea;
    m.d0 = std::sqrt(4.0 * m.outletArea / std::numbers::pi);
    m.range = rangeMetres(t.tech->range);
    if (m.range <= 0)
        m.range = DefaultDecay * m.v0 * m.d0 / ResidualVelocity;
    m.coreLength = ResidualVelocity * m.range / m.v0;
    m.tempRise = rangeMetres(t.tech->tempRise);

    m.unitWidth = t.dim(QStringLiteral("A")) / 1000.0;
    m.unitHeight = t.dim(QStringLiteral("B")) / 1000.0;
    m.unitDepth = t.dim(QStringLiteral("C")) / 1000.0;
    const bool rd = t.family == QLatin1String("RD");
    m.height = rd ? 5.0 : 3.5;
    m.hallHeight = rd ? 8.0 : 6.0;
    // Units stand off the wall on their brackets; the outlet is their front.
    m.outletX = 0.15 + m.unitDepth;
    m.tilt = std::atan2(m.height - OccupiedLevel, AimFraction * m.range);
    return m;
}

double JetModel::centreVelocity(double s) const {
    if (s <= 0)
        return 0;
    return std::min(v0, ResidualVelocity * range / s);
}

double JetModel::halfVelocityRadius(double s) const {
    return 0.5 * d0 + SpreadRate * std::max(0.0, s);
}

double JetModel::centreExcessTemperature(double s) const {
    if (s <= 0)
        return 0;
    return tempRise * std::min(1.0, 0.8 * coreLength / s);
}

double JetModel::hallTemperature(double z) const {
    return FloorTemperature + TemperatureGradient * z;
}

double JetModel::velocityAt(double x, double y, double z) const {
    const double dx = x - outletX, dz = z - height;
    if (dx < 0)
        return 0;
    const double c = std::cos(tilt), s = std::sin(tilt);
    const double along = dx * c - dz * s;
    if (along <= 0)
        return 0;
    const double w = dx * s + dz * c;
    const double r2 = y * y + w * w;
    const double b = halfVelocityRadius(along);
    return centreVelocity(along) * std::exp(-Ln2 * r2 / (b * b));
}

double JetModel::temperatureAt(double x, double z) const {
    const double base = hallTemperature(z);
    const double dx = x - outletX, dz = z - height;
    if (dx < 0)
        return base;
    const double c = std::cos(tilt), s = std::sin(tilt);
    const double along = dx * c - dz * s;
    if (along <= 0)
        return base;
    const double w = dx * s + dz * c;
    const double b = 1.2 * halfVelocityRadius(along);
    return base + centreExcessTemperature(along) * std::exp(-Ln2 * w * w / (b * b));
}

} // namespace zf::art
