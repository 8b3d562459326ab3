#include "catalogpictures.h"

#include "artkit.h"
#include "catalogdata.h"
#include "isobands.h"
#include "jetmodel.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cmath>

namespace zf::art {

using namespace kit;

const BandScale& velocityScale(bool mixingUnits) {
    static const BandScale warm{{0.1, 0.2, 0.3, 0.4, 0.5, 0.75, 1.0},
                                {QColor(0xff, 0xff, 0xff), QColor(0xed, 0xf8, 0xb1),
                                 QColor(0xc7, 0xe9, 0xb4), QColor(0x7f, 0xcd, 0xbb),
                                 QColor(0x41, 0xb6, 0xc4), QColor(0x1d, 0x91, 0xc0),
                                 QColor(0x22, 0x5e, 0xa8), QColor(0x0c, 0x2c, 0x84)},
                                QStringLiteral("v [m/s]"),
                                2};
    // The MK units blow outdoor air: the same limits in greens.
    static const BandScale mixing{{0.1, 0.2, 0.3, 0.4, 0.5, 0.75, 1.0},
                                  {QColor(0xff, 0xff, 0xff), QColor(0xf7, 0xfc, 0xb9),
                                   QColor(0xd9, 0xf0, 0xa3), QColor(0xad, 0xdd, 0x8e),
                                   QColor(0x78, 0xc6, 0x79), QColor(0x41, 0xab, 0x5d),
                                   QColor(0x23, 0x84, 0x43), QColor(0x00, 0x5a, 0x32)},
                                  QStringLiteral("v [m/s]"),
                                  2};
    return mixingUnits ? mixing : warm;
}

const BandScale& temperatureScale() {
    static const BandScale scale{{16, 18, 20, 22, 24, 26, 30, 35, 40},
                                 {QColor(0xab, 0xd9, 0xe9), QColor(0xd4, 0xec, 0xf4),
                                  QColor(0xf2, 0xf9, 0xfb), QColor(0xff, 0xff, 0xbf),
                                  QColor(0xfe, 0xe0, 0x90), QColor(0xfd, 0xae, 0x61),
                                  QColor(0xf4, 0x6d, 0x43), QColor(0xd7, 0x30, 0x27),
                                  QColor(0xa5, 0x00, 0x26), QColor(0x67, 0x00, 0x1f)},
                                 QStringLiteral("Ta [°C]"),
                                 0};
    return scale;
}

namespace {

// A tick step of 1, 2 or 5 times a power of ten giving at most maxTicks ticks.
double tickStep(double span, int maxTicks) {
    const double raw = span / std::max(1, maxTicks);
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (m * mag >= raw)
            return m * mag;
    return 10 * mag;
}

QString tickText(double v) {
    const QString t = numberText(std::abs(v) < 1e-9 ? 0.0 : v);
    return v < -1e-9 ? QStringLiteral("\u2212") + t.mid(1) : t;
}

// The plot frame of the jet pictures: a domain mapped onto a picture rectangle.
struct Plot {
    QRectF area;   // in picture units
    QRectF domain; // x to the right, y upwards, in metres
    QPointF map(QPointF d) const {
        return {area.left() + (d.x() - domain.left()) / domain.width() * area.width(),
                area.bottom() - (d.y() - domain.top()) / domain.height() * area.height()};
    }
    double sx() const { return area.width() / domain.width(); }
    double sy() const { return area.height() / domain.height(); }
};

void paintBands(QPainter& p, const Plot& plot, const SampledField& field, const BandScale& scale) {
    p.fillRect(plot.area, scale.colours.front());
    const auto map = [&](QPointF d) { return plot.map(d); };
    const QPen edge(QColor(43, 58, 66, 70), 0.6);
    for (std::size_t i = 0; i < scale.limits.size(); ++i) {
        const QPainterPath region = field.regionAtLeast(scale.limits[i], map);
        if (region.isEmpty())
            continue;
        p.setPen(edge);
        p.setBrush(scale.colours[i + 1]);
        p.drawPath(region);
    }
    p.setBrush(Qt::NoBrush);
}

void paintGridAndAxes(QPainter& p, const Plot& plot, double stepX, double stepY,
                      const QString& xName, const QString& yName) {
    p.setFont(font(12));
    const QPen grid(QColor(43, 58, 66, 38), 0.6);
    const QPen tick(Ink, 0.8);
    for (double x = std::ceil(plot.domain.left() / stepX) * stepX; x <= plot.domain.right() + 1e-9;
         x += stepX) {
        const double px = plot.map({x, 0}).x();
        p.setPen(grid);
        p.drawLine(QPointF(px, plot.area.top()), QPointF(px, plot.area.bottom()));
        p.setPen(tick);
        p.drawLine(QPointF(px, plot.area.bottom()), QPointF(px, plot.area.bottom() + 4));
        p.setPen(Ink);
        alignedText(p, QPointF(px, plot.area.bottom() + 13), tickText(x), 0);
    }
    for (double y = std::ceil(plot.domain.top() / stepY) * stepY; y <= plot.domain.bottom() + 1e-9;
         y += stepY) {
        const double py = plot.map({0, y}).y();
        p.setPen(grid);
        p.drawLine(QPointF(plot.area.left(), py), QPointF(plot.area.right(), py));
        p.setPen(tick);
        p.drawLine(QPointF(plot.area.left() - 4, py), QPointF(plot.area.left(), py));
        p.setPen(Ink);
        alignedText(p, QPointF(plot.area.left() - 7, py), tickText(y), 1);
    }
    p.setPen(QPen(Ink, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot.area);
    p.setFont(font(12, true));
    alignedText(p, QPointF(plot.area.right(), plot.area.bottom() + 28), xName, 1);
    alignedText(p, QPointF(plot.area.left() - 7, plot.area.top() - 9), yName, 1);
}

// The wall the unit hangs on: a hatched strip left of x = 0.
void paintWall(QPainter& p, const Plot& plot) {
    const QPointF a = plot.map({plot.domain.left(), plot.domain.bottom()});
    const QPointF b = plot.map({0, plot.domain.top()});
    const QRectF wall(QPointF(a.x(), a.y()), QPointF(b.x(), b.y()));
    p.fillRect(wall.normalized(), Grey1);
    hatch(p, wall.normalized(), 6, Grey3, 0.7);
    p.setPen(QPen(Ink, 1.4));
    p.drawLine(QPointF(b.x(), plot.area.top()), QPointF(b.x(), plot.area.bottom()));
}

// Label in a white box at the top right of the plot area.
void cornerLabel(QPainter& p, const Plot& plot, const QString& text) {
    p.setFont(font(12, true));
    const QFontMetricsF fm(p.font());
    const double w = fm.horizontalAdvance(text) + 10;
    const QRectF box(plot.area.right() - w - 5, plot.area.top() + 5, w, 18);
    p.setPen(QPen(Grey3, 0.6));
    p.setBrush(QColor(255, 255, 255, 225));
    p.drawRect(box);
    p.setPen(Ink);
    centredText(p, box.center(), text);
}

// Common extent of the two jet pictures: from the wall to past the range.
double jetReach(const JetModel& jet) {
    const double reach = 1.2 * jet.range + jet.outletX;
    const double step = tickStep(reach, 8);
    return std::ceil(reach / step) * step;
}

const QRectF JetArea(48, 24, 420, 188); // plot area of the 480 x 250 pictures

} // namespace

Picture velocityPicture(const UnitType& type, const JetModel& jet) {
    const bool mk = type.family == QLatin1String("MK-I");
    Picture pic;
    pic.size = QSize(480, 250);
    pic.paint = [jet, mk](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRectF(0, 0, 480, 250), Paper);
        const double xmax = jetReach(jet);
        const double xmin = -0.05 * xmax;
        // Same scale both ways: the floor plan is true to shape.
        const double half = JetArea.height() / JetArea.width() * (xmax - xmin) / 2;
        Plot plot{JetArea, QRectF(xmin, -half, xmax - xmin, 2 * half)};
        const SampledField field(plot.domain, 420, 200, [&jet](double x, double y) {
            return jet.velocityAt(x, y, JetModel::OccupiedLevel);
        });
        paintBands(p, plot, field, velocityScale(mk));
        paintWall(p, plot);
        // The unit from above, on its bracket off the wall.
        const QPointF u0 = plot.map({0.15, jet.unitWidth / 2});
        const QPointF u1 = plot.map({jet.outletX, -jet.unitWidth / 2});
        QRectF unit(u0, u1);
        unit = unit.normalized();
        if (unit.width() < 4)
            unit.setRight(unit.left() + 4);
        p.setPen(QPen(Ink, 1.0));
        p.setBrush(Grey2);
        p.drawRect(unit);
        p.setPen(QPen(Heat, 2.0));
        p.drawLine(unit.topRight(), unit.bottomRight());
        // The jet axis seen from above.
        QPen axis(QColor(43, 58, 66, 150), 0.8, Qt::DashLine);
        p.setPen(axis);
        p.drawLine(plot.map({jet.outletX, 0}), plot.map({xmax, 0}));
        const double step = tickStep(xmax - xmin, 8);
        paintGridAndAxes(p, plot, step, step, QStringLiteral("x [m]"), QStringLiteral("y [m]"));
        cornerLabel(p, plot, QStringLiteral("z = 1.7 m"));
    };
    return pic;
}

Picture temperaturePicture(const UnitType& type, const JetModel& jet) {
    Q_UNUSED(type);
    Picture pic;
    pic.size = QSize(480, 250);
    pic.paint = [jet](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRectF(0, 0, 480, 250), Paper);
        const double xmax = jetReach(jet);
        const double xmin = -0.05 * xmax;
        Plot plot{JetArea, QRectF(xmin, 0, xmax - xmin, jet.hallHeight)};
        const SampledField field(plot.domain, 420, 200,
                                 [&jet](double x, double z) { return jet.temperatureAt(x, z); });
        paintBands(p, plot, field, temperatureScale());
        paintWall(p, plot);
        // Occupied level.
        QPen level(Ink, 0.9, Qt::DashLine);
        p.setPen(level);
        const double y17 = plot.map({0, JetModel::OccupiedLevel}).y();
        p.drawLine(QPointF(plot.map({0, 0}).x(), y17), QPointF(plot.area.right(), y17));
        p.setFont(font(11, true));
        p.setPen(Ink);
        alignedText(p, QPointF(plot.area.right() - 4, y17 - 8), QStringLiteral("1.7 m"), 1);
        // The unit in side view, its bracket and the jet axis.
        const QPointF top = plot.map({0.15, jet.height + jet.unitHeight / 2});
        const QPointF bottom = plot.map({jet.outletX, jet.height - jet.unitHeight / 2});
        QRectF unit = QRectF(top, bottom).normalized();
        if (unit.width() < 4)
            unit.setRight(unit.left() + 4);
        p.setPen(QPen(Ink, 1.2));
        p.drawLine(QPointF(plot.map({0, 0}).x(), unit.bottom() + 2),
                   QPointF(unit.right() - 2, unit.bottom() + 2));
        p.setPen(QPen(Ink, 1.0));
        p.setBrush(Grey2);
        p.drawRect(unit);
        p.setPen(QPen(Heat, 2.0));
        p.drawLine(unit.topRight(), unit.bottomRight());
        QPen axis(QColor(43, 58, 66, 150), 0.8, Qt::DashLine);
        p.setPen(axis);
        const double run = (xmax - jet.outletX);
        p.drawLine(plot.map({jet.outletX, jet.height}),
                   plot.map({xmax, std::max(0.0, jet.height - run * std::tan(jet.tilt))}));
        // Floor and ceiling.
        p.setPen(QPen(Ink, 2.0));
        p.drawLine(plot.area.bottomLeft(), plot.area.bottomRight());
        p.drawLine(plot.area.topLeft(), plot.area.topRight());
        paintGridAndAxes(p, plot, tickStep(xmax - xmin, 8), jet.hallHeight > 6 ? 2.0 : 1.0,
                         QStringLiteral("x [m]"), QStringLiteral("z [m]"));
    };
    return pic;
}

namespace {

Picture legendOf(const BandScale& scale) {
    const int rows = int(scale.colours.size());
    Picture pic;
    pic.size = QSize(150, 34 + rows * 22 + 8);
    pic.paint = [scale, rows](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRectF(0, 0, 150, 34 + rows * 22 + 8), Paper);
        p.setFont(font(14, true));
        p.setPen(Ink);
        alignedText(p, QPointF(10, 16), scale.quantity, -1);
        p.setFont(font(13));
        const auto num = [&](double v) { return QString::number(v, 'f', scale.decimals); };
        for (int r = 0; r < rows; ++r) {
            const int band = rows - 1 - r; // highest band on top
            const QRectF box(10, 32 + r * 22, 28, 17);
            p.setPen(QPen(Grey3, 0.8));
            p.setBrush(scale.colours[std::size_t(band)]);
            p.drawRect(box);
            QString text;
            if (band == 0)
                text = QStringLiteral("< ") + num(scale.limits.front());
            else if (band == rows - 1)
                text = QStringLiteral("\u2265 ") + num(scale.limits.back());
            else
                text = num(scale.limits[std::size_t(band - 1)]) + QStringLiteral(" \u2013 ") +
                       num(scale.limits[std::size_t(band)]);
            p.setPen(Ink);
            alignedText(p, QPointF(46, box.center().y()), text, -1);
        }
    };
    return pic;
}

} // namespace

Picture velocityLegend(bool mixingUnits) {
    return legendOf(velocityScale(mixingUnits));
}

Picture temperatureLegend() {
    return legendOf(temperatureScale());
}

void paintPicture(QPainter& p, const Picture& pic, const QRectF& target) {
    if (pic.isNull() || pic.size.isEmpty())
        return;
    const double s =
        std::min(target.width() / pic.size.width(), target.height() / pic.size.height());
    const double w = pic.size.width() * s, h = pic.size.height() * s;
    p.save();
    p.translate(target.left() + (target.width() - w) / 2, target.top() + (target.height() - h) / 2);
    p.scale(s, s);
    pic.paint(p);
    p.restore();
}

bool writeSvg(const Picture& pic, const QString& path, const QString& title, QString* error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(pic.size);
        svg.setViewBox(QRect(QPoint(0, 0), pic.size));
        svg.setResolution(96);
        svg.setTitle(title);
        QPainter p;
        if (!p.begin(&svg)) {
            *error = QStringLiteral("cannot paint %1").arg(path);
            return false;
        }
        pic.paint(p);
        p.end();
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(buffer.data()) != buffer.data().size() ||
        !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool writePicture(const Picture& pic, const QString& path, const QString& title, QString* error) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return writeSvg(pic, path, title, error);
    QImage image(pic.size * 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.scale(2, 2);
        pic.paint(p);
    }
    QSaveFile file(path);
    const QByteArray format =
        suffix == QLatin1String("jpg") ? QByteArray("jpeg") : suffix.toLatin1();
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, format.constData(), 92) ||
        !file.commit()) {
        *error = QStringLiteral("cannot write %1 as %2").arg(path, QString::fromLatin1(format));
        return false;
    }
    return true;
}

} // namespace zf::art
