#pragma once

// Filled contour regions of a sampled field, as vector paths: the region where
// the field is at least a level, for painting bands one over the other.

#include <QPainterPath>
#include <QRectF>
#include <functional>
#include <vector>

namespace zf::art {

class SampledField {
public:
    // Samples f on (nx + 1) x (ny + 1) nodes spread evenly over the domain.
    SampledField(const QRectF& domain, int nx, int ny,
                 const std::function<double(double, double)>& f);

    const QRectF& domain() const { return domain_; }
    int nx() const { return nx_; }
    int ny() const { return ny_; }
    double value(int i, int j) const {
        return v_[std::size_t(j) * std::size_t(nx_ + 1) + std::size_t(i)];
    }
    double maximum() const;

    // The region {f >= level} as closed polygons (odd-even fill). Edges follow the
    // domain border where the region reaches it. map takes a domain point to the
    // picture; tolerance is the largest deviation, in picture units, allowed when
    // the outlines are thinned.
    QPainterPath regionAtLeast(double level, const std::function<QPointF(QPointF)>& map,
                               double tolerance = 0.25) const;

private:
    QRectF domain_;
    int nx_, ny_;
    std::vector<double> v_;
};

} // namespace zf::art
