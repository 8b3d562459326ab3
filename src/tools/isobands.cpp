// Marching squares over the sampled grid, surrounded by one ring of nodes that lie
// on the domain border and hold "minus infinity". Every outline is then a closed
// loop: where the region reaches the border, its outline runs along the border.
#include "isobands.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <vector>

namespace zf::art {

namespace {

constexpr double Outside = -1e30;

double distanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF d = b - a;
    const double len2 = d.x() * d.x() + d.y() * d.y();
    if (len2 <= 0)
        return std::hypot(p.x() - a.x(), p.y() - a.y());
    double t = ((p.x() - a.x()) * d.x() + (p.y() - a.y()) * d.y()) / len2;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x() - a.x() - t * d.x(), p.y() - a.y() - t * d.y());
}

// Douglas-Peucker on points[first..last], marking the points to keep.
void thin(const std::vector<QPointF>& pts, std::size_t first, std::size_t last, double tol,
          std::vector<bool>& keep) {
    std::vector<std::pair<std::size_t, std::size_t>> stack{{first, last}};
    while (!stack.empty()) {
        const auto [a, b] = stack.back();
        stack.pop_back();
        if (b <= a + 1)
            continue;
        double worst = -1;
        std::size_t at = a;
        for (std::size_t i = a + 1; i < b; ++i) {
            const double d = distanceToSegment(pts[i], pts[a], pts[b]);
            if (d > worst) {
                worst = d;
                at = i;
            }
        }
        if (worst > tol) {
            keep[at] = true;
            stack.emplace_back(a, at);
            stack.emplace_back(at, b);
        }
    }
}

} // namespace

SampledField::SampledField(const QRectF& domain, int nx, int ny,
                           const std::function<double(double, double)>& f)
    : domain_(domain), nx_(std::max(1, nx)), ny_(std::max(1, ny)) {
    v_.resize(std::size_t(nx_ + 1) * std::size_t(ny_ + 1));
    for (int j = 0; j <= ny_; ++j) {
        const double y = domain_.top() + domain_.height() * j / ny_;
        for (int i = 0; i <= nx_; ++i) {
            const double x = domain_.left() + domain_.width() * i / nx_;
            v_[std::size_t(j) * std::size_t(nx_ + 1) + std::size_t(i)] = f(x, y);
        }
    }
}

double SampledField::maximum() const {
    return v_.empty() ? 0.0 : *std::max_element(v_.begin(), v_.end());
}

QPainterPath SampledField::regionAtLeast(double level, const std::function<QPointF(QPointF)>& map,
                                         double tolerance) const {
    // Padded node (I, J), I in 0..nx+2: I = 0 and I = nx+2 are the ring.
    const int W = nx_ + 3, H = ny_ + 3;
    auto nodeValue = [&](int I, int J) {
        if (I == 0 || J == 0 || I == W - 1 || J == H - 1)
            return Outside;
        return value(I - 1, J - 1);
    };
    auto nodePoint = [&](int I, int J) {
        const int i = std::clamp(I - 1, 0, nx_), j = std::clamp(J - 1, 0, ny_);
        return QPointF(domain_.left() + domain_.width() * i / nx_,
                       domain_.top() + domain_.height() * j / ny_);
    };
    // Edge ids: 2 * node + 0 for the edge to the right of the node, + 1 for the
    // edge above it.
    auto edgePoint = [&](qint64 id) {
        const qint64 node = id / 2;
        const int I = int(node % W), J = int(node / W);
        const int I2 = (id % 2) ? I : I + 1, J2 = (id % 2) ? J + 1 : J;
        const double a = nodeValue(I, J), b = nodeValue(I2, J2);
        const double t = std::clamp((level - a) / (b - a), 0.0, 1.0);
        const QPointF pa = nodePoint(I, J), pb = nodePoint(I2, J2);
        return pa + t * (pb - pa);
    };

    std::vector<std::pair<qint64, qint64>> segments;
    for (int J = 0; J < H - 1; ++J) {
        for (int I = 0; I < W - 1; ++I) {
            const double v0 = nodeValue(I, J), v1 = nodeValue(I + 1, J),
                         v2 = nodeValue(I + 1, J + 1), v3 = nodeValue(I, J + 1);
            const int code = (v0 >= level ? 1 : 0) | (v1 >= level ? 2 : 0) | (v2 >= level ? 4 : 0) |
                             (v3 >= level ? 8 : 0);
            if (code == 0 || code == 15)
                continue;
            const qint64 bottom = 2 * (qint64(J) * W + I), left = bottom + 1;
            const qint64 right = 2 * (qint64(J) * W + I + 1) + 1;
            const qint64 top = 2 * (qint64(J + 1) * W + I);
            const bool centreIn = (v0 + v1 + v2 + v3) / 4 >= level;
            switch (code) {
            case 1:
            case 14:
                segments.emplace_back(left, bottom);
                break;
            case 2:
            case 13:
                segments.emplace_back(bottom, right);
                break;
            case 4:
            case 11:
                segments.emplace_back(right, top);
                break;
            case 8:
            case 7:
                segments.emplace_back(top, left);
                break;
            case 3:
            case 12:
                segments.emplace_back(left, right);
                break;
            case 6:
            case 9:
                segments.emplace_back(bottom, top);
                break;
            case 5: // corners 0 and 2 inside
                if (centreIn) {
                    segments.emplace_back(bottom, right);
                    segments.emplace_back(top, left);
                } else {
                    segments.emplace_back(left, bottom);
                    segments.emplace_back(right, top);
                }
                break;
            case 10: // corners 1 and 3 inside
                if (centreIn) {
                    segments.emplace_back(left, bottom);
                    segments.emplace_back(right, top);
                } else {
                    segments.emplace_back(bottom, right);
                    segments.emplace_back(top, left);
                }
                break;
            default:
                break;
            }
        }
    }

    QHash<qint64, std::pair<int, int>> atEdge; // the two segments meeting at an edge
    atEdge.reserve(qsizetype(segments.size()) * 2);
    for (int s = 0; s < int(segments.size()); ++s) {
        for (const qint64 e : {segments[std::size_t(s)].first, segments[std::size_t(s)].second}) {
            auto it = atEdge.find(e);
            if (it == atEdge.end())
                atEdge.insert(e, {s, -1});
            else
                it->second = s;
        }
    }

    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    std::vector<bool> used(segments.size(), false);
    for (std::size_t start = 0; start < segments.size(); ++start) {
        if (used[start])
            continue;
        std::vector<QPointF> loop;
        std::size_t s = start;
        qint64 edge = segments[s].first;
        for (;;) {
            used[s] = true;
            loop.push_back(map(edgePoint(edge)));
            edge = segments[s].first == edge ? segments[s].second : segments[s].first;
            const auto pair = atEdge.value(edge);
            const int next = pair.first == int(s) ? pair.second : pair.first;
            if (next < 0 || used[std::size_t(next)])
                break;
            s = std::size_t(next);
        }
        if (loop.size() < 3)
            continue;
        loop.push_back(loop.front());
        std::vector<bool> keep(loop.size(), false);
        keep.front() = keep.back() = true;
        // Split the closed loop at its point farthest from the start.
        std::size_t far = 0;
        double farD = -1;
        for (std::size_t i = 1; i + 1 < loop.size(); ++i) {
            const double d = std::hypot(loop[i].x() - loop[0].x(), loop[i].y() - loop[0].y());
            if (d > farD) {
                farD = d;
                far = i;
            }
        }
        keep[far] = true;
        thin(loop, 0, far, tolerance, keep);
        thin(loop, far, loop.size() - 1, tolerance, keep);
        bool first = true;
        for (std::size_t i = 0; i + 1 < loop.size(); ++i) {
            if (!keep[i])
                continue;
            if (first)
                path.moveTo(loop[i]);
            else
                path.lineTo(loop[i]);
            first = false;
        }
        path.closeSubpath();
    }
    return path;
}

} // namespace zf::art
