// The one drawing of the plan: the window, the image and the SVG picture for the
// report all come from PlanView::paint.
#include "units/planview.h"

#include "common/numberformat.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

namespace zf {

namespace {

// Screen, image and picture all draw at 96 dots per inch, so a font size in
// points gives the same pixels on each of them.
constexpr int Dpi = 96;
constexpr int DotsPerMetre = 3780; // 96 dpi
constexpr int HatchSpacing = 8;
constexpr double MaxDimensionPoints = 200;

const QColor Red(255, 0, 0);
const QColor Black(0, 0, 0);
const QColor Yellow(255, 255, 0);
const QColor Aqua(0, 255, 255);

QFont planFont(double points) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    return f;
}

QPen pixelPen(const QColor& c) {
    QPen p(c);
    p.setWidth(1);
    return p;
}

// The diagonal-cross hatch of the wall band, drawn as line segments cut to the
// band: the SVG device has neither pattern brushes nor clipping, and so every
// device shows the same pattern. The lines lie on every HatchSpacing-th pixel
// diagonal of the device; only their parts inside the view (one pixel
// around it to spare) are drawn, so that a band far larger than the view, zoomed
// in, costs no more than one that fits.
void drawHatch(QPainter& p, const QRect& r, const QRect& view) {
    p.setPen(pixelPen(Red));
    const qint64 l = r.left(), t = r.top();
    const qint64 w = r.width(), h = r.height();
    // The band's part within the view, ends included as the band's are.
    const qint64 vl = std::max<qint64>(l, view.left() - 1);
    const qint64 vr = std::min<qint64>(l + w, qint64(view.right()) + 1);
    const qint64 vt = std::max<qint64>(t, view.top() - 1);
    const qint64 vb = std::min<qint64>(t + h, qint64(view.bottom()) + 1);
    if (vl > vr || vt > vb)
        return;
    auto firstOnGrid = [](qint64 x) {
        return x - ((x % HatchSpacing) + HatchSpacing) % HatchSpacing;
    };
    // Down to the right, (x + s, t + s): inside while vl <= x + s <= vr and
    // vt <= t + s <= vb.
    for (qint64 x = firstOnGrid(vl - (vb - t)); x <= vr - (vt - t); x += HatchSpacing) {
        const qint64 s0 = std::max(vl - x, vt - t), s1 = std::min(vr - x, vb - t);
        if (s0 <= s1)
            p.drawLine(int(x + s0), int(t + s0), int(x + s1), int(t + s1));
    }
    // Up to the right, (x + s, t + h - s).
    for (qint64 x = firstOnGrid(vl - (t + h - vt)); x <= vr - (t + h - vb); x += HatchSpacing) {
        const qint64 s0 = std::max(vl - x, t + h - vb), s1 = std::min(vr - x, t + h - vt);
        if (s0 <= s1)
            p.drawLine(int(x + s0), int(t + h - s0), int(x + s1), int(t + h - s1));
    }
}

} // namespace

void PlanView::paint(QPainter& p, PaintLayer layer) {
    p.save();
    p.setClipRect(plotArea());
    p.setRenderHint(QPainter::Antialiasing, false);
    const bool zones = ShowThrowZones;
    switch (layer) {
    case PaintLayer::Overlay:
        paintOverlays(p);
        break;
    case PaintLayer::Floor:
        paintFloor(p);
        if (zones)
            paintUnreached(p);
        break;
    case PaintLayer::Reach:
        if (zones)
            paintDraggedZone(p);
        break;
    case PaintLayer::Units:
        if (zones)
            paintZones(p, false);
        paintSymbols(p);
        break;
    case PaintLayer::Plan:
    case PaintLayer::All:
        paintFloor(p);
        if (zones) {
            paintUnreached(p);
            paintDraggedZone(p);
            paintZones(p, false);
        }
        paintSymbols(p);
        if (layer == PaintLayer::All)
            paintOverlays(p);
        break;
    }
    p.restore();
}

void PlanView::paintFloor(QPainter& p) {
    const QRect area = plotArea();
    p.fillRect(area, background);

    auto rectOf = [this](double x0, double y0, double x1, double y1) {
        const QPointF tl = toPixel(x0, y1);
        const QPointF br = toPixel(x1, y0);
        const int l = roundToInt((tl.x())), t = roundToInt((tl.y()));
        const int r = roundToInt((br.x())), b = roundToInt((br.y()));
        return QRect(l, t, std::max(0, r - l), std::max(0, b - t));
    };

    // Wall band and floor.
    const QRect band = rectOf(-W_, -W_, A_ + W_, B_ + W_);
    drawHatch(p, band, area);
    p.setPen(pixelPen(Red));
    p.setBrush(Qt::NoBrush);
    p.drawRect(band);
    const QRect floor = rectOf(0, 0, A_, B_);
    p.setBrush(background);
    p.drawRect(floor);

    // Dimensions.
    // The labels grow with the zoom, up to a size that still reads whole.
    const double halfMetrePx = 0.5 / metresPerPixelX();
    const QFont dimFont = planFont(std::clamp(0.7 * halfMetrePx, 9.0, MaxDimensionPoints));
    p.setFont(dimFont);
    p.setPen(Black);
    const QFontMetrics fm(dimFont, p.device());
    const QLocale locale = pictureLocale_.value_or(QLocale());
    const QString lengthText = formatText(QStringLiteral("%.2n m"), {A_}, locale);
    const QString widthText = formatText(QStringLiteral("%.2n m"), {B_}, locale);
    const QRect lengthBox(band.left(), band.top() + band.height() + 2, band.width(), fm.height());
    if (lengthBox.intersects(area))
        p.drawText(lengthBox, Qt::AlignHCenter | Qt::AlignTop, lengthText);
    if (!QRect(band.left() - 2 - fm.height(), band.top(), fm.height(), band.height()).intersects(area))
        return;
    p.save();
    p.translate(band.left() - 2, band.top() + band.height() / 2.0);
    p.rotate(-90); // reading upwards
    p.drawText(QRectF(-band.height() / 2.0, -fm.height(), band.height(), fm.height()),
               Qt::AlignHCenter | Qt::AlignBottom, widthText);
    p.restore();
}

void PlanView::paintSymbols(QPainter& p) {
    const int hw = halfWidthPx();
    const int hh = halfHeightPx();
    const QFont numberFont = planFont(std::clamp(hh, 7, 100));
    const QFont labelFont = planFont(7);
    const QFontMetrics labelMetrics(labelFont, p.device());
    const QRectF area = plotArea();
    for (PlanSymbol& s : symbols_) {
        const QPointF cf = toPixel(s.x, s.y);
        // The box of a symbol outside the view is kept as well (the pointer
        // tests take it); only one so far away that its pixels leave the range
        // of an int has none.
        const double farAway = 1e9;
        if (!(std::abs(cf.x()) < farAway && std::abs(cf.y()) < farAway)) {
            s.screenBox = QRect();
            continue;
        }
        const QPoint c(roundToInt((cf.x())), roundToInt((cf.y())));
        const QRect box(c.x() - hw, c.y() - hh, 2 * hw, 2 * hh);
        s.screenBox = box;
        // A symbol wholly outside the view, with room for its label, is not
        // drawn.
        const double room = 200;
        if (!QRectF(cf.x() - hw - room, cf.y() - hh - room, 2.0 * hw + 2 * room,
                    2.0 * hh + 2 * room)
                 .intersects(area))
            continue;
        p.setPen(pixelPen(s.selected ? Red : Black));
        if (s.kind == ObjDestratifier) {
            p.setBrush(Aqua);
            p.drawEllipse(box);
        } else {
            p.setBrush(Yellow);
            p.drawPolygon(symbolPolygon(s.kind, c, hw, hh, s.angle));
        }
        p.setPen(Black);
        p.setFont(numberFont);
        p.drawText(box, Qt::AlignCenter | Qt::TextDontClip, s.numberText);
        if (ShowLabels) {
            p.setFont(labelFont);
            const int w = labelMetrics.horizontalAdvance(s.typeText) + 4;
            p.drawText(QRect(c.x() - w / 2, c.y() + hh, w, labelMetrics.height()),
                       Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, s.typeText);
        }
    }
}

// The outline of a dragged unit and the zoom rectangle, dotted and inverting
// where the device can invert.
void PlanView::paintOverlays(QPainter& p) {
    const QRect band = rubberBand();
    if (!dragging() && band.isNull())
        return;
    p.save();
    QPen pen(Black);
    if (p.paintEngine() && p.paintEngine()->hasFeature(QPaintEngine::RasterOpModes)) {
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
    }
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (dragging()) {
        const PlanSymbol& s = object(dragIndex_);
        const QPoint c = dragPointer_ + dragOffset_;
        const int hw = halfWidthPx(), hh = halfHeightPx();
        if (s.kind == ObjDestratifier)
            p.drawEllipse(QRect(c.x() - hw, c.y() - hh, 2 * hw, 2 * hh));
        else
            p.drawPolyline(symbolPolygon(s.kind, c, hw, hh, s.angle));
    }
    if (!band.isNull())
        p.drawRect(band);
    p.restore();
}

QImage PlanView::toImage() {
    QImage image(size_, QImage::Format_RGB32);
    image.setDotsPerMeterX(DotsPerMetre);
    image.setDotsPerMeterY(DotsPerMetre);
    image.fill(background);
    QPainter p(&image);
    paint(p);
    p.end();
    return image;
}

bool PlanView::SaveMetafile(const QString& path) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size_);
    svg.setViewBox(QRect(QPoint(0, 0), size_));
    svg.setResolution(Dpi);
    svg.setTitle(QStringLiteral("Zefrant"));
    QPainter p;
    if (!p.begin(&svg))
        return false;
    paint(p);
    p.end();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(buffer.data()) != buffer.data().size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace zf
