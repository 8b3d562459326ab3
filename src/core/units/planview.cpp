#include "units/planview.h"

#include "common/numberformat.h"
#include "i18n/texts.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace zf {

namespace {

constexpr double FitMargin = 0.025;
constexpr double CornerOffset = 0.53;
constexpr double WallOffset = 0.25;
constexpr double MaxZoomBeforeCap = 10000;
// The deepest view a typed zoom or a zoom rectangle gives: a micrometre a
// pixel or so, far past any use, and every pixel coordinate of the hall still
// well inside the range of an int.
constexpr double DeepestZoom = 1e6;
constexpr double ZoomStep = 1.25;
constexpr int ScrollPixels = 10;
constexpr int HintInset = 8;

bool within(double v, double lo, double hi) {
    return v >= lo && v <= hi;
}

WorldRange fitRange(double x0, double y0, double x1, double y1, QSize size) {
    const double w = std::max(1, size.width());
    const double h = std::max(1, size.height());
    double spanX = std::fabs(x1 - x0);
    double spanY = std::fabs(y1 - y0);
    if (spanX <= 0 && spanY <= 0)
        spanX = spanY = 1;
    const double mpp = std::max(spanX * (1 + 2 * FitMargin) / w, spanY * (1 + 2 * FitMargin) / h);
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    return {cx - mpp * w / 2, cx + mpp * w / 2, cy - mpp * h / 2, cy + mpp * h / 2};
}

int roundPx(double v) {
    return roundToInt(v);
}

} // namespace

AlignedDrop alignDroppedUnit(double x, double y, int angle, double A, double B, double W) {
    const double X = std::nearbyint(x); // halves to even
    const double Y = std::nearbyint(y);
    struct Rule {
        double x0, x1, y0, y1;
        double nx, ny; // NAN keeps the coordinate
        int angle;
    };
    const double keep = NAN;
    const Rule rules[] = {
        {-1, 1, -1, 1, CornerOffset, CornerOffset, 45},
        {A - 1, A + 1, -1, 1, A - CornerOffset, CornerOffset, 315},
        {A - 1, A + 1, B - 1, B + 1, A - CornerOffset, B - CornerOffset, 225},
        // The fourth corner has always used 0.5 across the wall.
        {-1, 1, B - 1, B + 1, 0.5, B - CornerOffset, 135},
        {0, 1, 0, B, WallOffset, keep, 90},
        {-1 - W, 0, 0, B, -WallOffset - W, keep, 90},
        {0, A, 0, 1, keep, WallOffset, 0},
        {0, A, -1 - W, 0, keep, -WallOffset - W, 0},
        {A - 1, A, 0, B, A - WallOffset, keep, 270},
        {A, A + 1 + W, 0, B, A + WallOffset + W, keep, 270},
        {0, A, B - 1, B, keep, B - WallOffset, 180},
        {0, A, B, B + 1 + W, keep, B + WallOffset + W, 180},
    };
    AlignedDrop d{float(X), float(Y), angle, 0};
    for (int i = 0; i < int(std::size(rules)); ++i) {
        const Rule& r = rules[i];
        if (within(X, r.x0, r.x1) && within(Y, r.y0, r.y1)) {
            d.x = float(std::isnan(r.nx) ? X : r.nx);
            d.y = float(std::isnan(r.ny) ? Y : r.ny);
            d.angle = r.angle;
            d.rule = i + 1;
            break;
        }
    }
    return d;
}

PlanView::PlanView() {
    fitBox(box_[0], box_[1], box_[2], box_[3]);
}

void PlanView::repaint() {
    if (onRepaint)
        onRepaint();
}

void PlanView::SetHall(double A, double B, double H) {
    A_ = A;
    B_ = B;
    H_ = H;
    W_ = 0.5;
    fitBox(-2 * W_, -2 * W_, A_ + 2 * W_, B_ + 2 * W_);
}

int PlanView::AddObject(int kind, int angle, double x, double y, double z, const QString& typ,
                        bool repaintNow) {
    PlanSymbol s;
    s.number = count() + 1;
    s.kind = kind;
    s.numberText = QString::number(s.number).left(16);
    s.typeText = typ.left(32);
    s.x = float(x);
    s.y = float(y);
    s.z = float(z);
    s.angle = angle;
    symbols_.push_back(std::move(s));
    if (repaintNow)
        repaint();
    return count() - 1;
}

void PlanView::ClearObjects(bool repaintNow) {
    symbols_.clear();
    if (repaintNow)
        repaint();
}

void PlanView::setObjects(std::vector<PlanSymbol> symbols) {
    symbols_ = std::move(symbols);
    repaint();
}

int PlanView::ObjectAt(int x, int y) const {
    for (int i = count() - 1; i >= 0; --i) {
        const QRect& b = symbols_[size_t(i)].screenBox;
        if (b.isEmpty())
            continue;
        if (x >= b.left() && x <= b.left() + b.width() && y >= b.top() && y <= b.top() + b.height())
            return i;
    }
    return -1;
}

void PlanView::setSelected(int index, bool selected) {
    if (index < 0 || index >= count())
        return;
    symbols_[size_t(index)].selected = selected;
    repaint();
}

void PlanView::clearSelection() {
    for (PlanSymbol& s : symbols_)
        s.selected = false;
}

int PlanView::DropObject(int index, double x, double y) {
    if (index < 0 || index >= count())
        return -1;
    if (OnPlotModified)
        OnPlotModified();
    PlanChanged = true;
    const PlanSymbol before = symbols_[size_t(index)];
    PlanSymbol s = before;
    s.x = float(x);
    s.y = float(y);
    s.selected = false;
    if (AutoAlign) {
        const AlignedDrop d = alignDroppedUnit(x, y, s.angle, A_, B_, W_);
        s.x = d.x;
        s.y = d.y;
        s.angle = d.angle;
    }
    symbols_.erase(symbols_.begin() + index);
    symbols_.push_back(std::move(s));
    if (onDropped)
        onDropped(index, before);
    repaint();
    return count() - 1;
}

void PlanView::MoveObject(int index, int to, float x, float y, float z, int angle) {
    if (index < 0 || index >= count() || to < 0 || to >= count())
        return;
    PlanSymbol s = symbols_[size_t(index)];
    s.x = x;
    s.y = y;
    s.z = z;
    s.angle = angle;
    s.selected = false;
    symbols_.erase(symbols_.begin() + index);
    symbols_.insert(symbols_.begin() + to, std::move(s));
    repaint();
}

// --- view ------------------------------------------------------------------

void PlanView::setViewportSize(QSize size) {
    size_ = QSize(std::max(1, size.width()), std::max(1, size.height()));
    fitted_ = fitRange(box_[0], box_[1], box_[2], box_[3], size_);
    applyScale();
}

void PlanView::fitBox(double x0, double y0, double x1, double y1) {
    box_[0] = std::min(x0, x1);
    box_[1] = std::min(y0, y1);
    box_[2] = std::max(x0, x1);
    box_[3] = std::max(y0, y1);
    fitted_ = fitRange(box_[0], box_[1], box_[2], box_[3], size_);
    applyScale();
}

void PlanView::applyScale() {
    const double f = scale_ / 100.0;
    visible_ = {fitted_.xmin / f, fitted_.xmax / f, fitted_.ymin / f, fitted_.ymax / f};
}

double PlanView::metresPerPixelX() const {
    return (visible_.xmax - visible_.xmin) / std::max(1, size_.width());
}

double PlanView::metresPerPixelY() const {
    return (visible_.ymax - visible_.ymin) / std::max(1, size_.height());
}

QPointF PlanView::toPixel(double x, double y) const {
    return {(x - visible_.xmin) / metresPerPixelX(), (visible_.ymax - y) / metresPerPixelY()};
}

QPointF PlanView::toWorld(QPointF pixel) const {
    return {visible_.xmin + pixel.x() * metresPerPixelX(),
            visible_.ymax - pixel.y() * metresPerPixelY()};
}

void PlanView::setScale(double scale) {
    if (!(scale > 0) || !std::isfinite(scale))
        return;
    scale_ = std::min(scale, DeepestZoom);
    applyScale();
    repaint();
}

void PlanView::setZoomNumberText() {
    zoomText_ = formatText(QStringLiteral("%.2f"), {scale_});
}

void PlanView::ZoomIn() {
    setScale(scale_ > MaxZoomBeforeCap ? MaxZoomBeforeCap : scale_ * ZoomStep);
    setZoomNumberText();
}

void PlanView::ZoomOut() {
    setScale(scale_ >= 1 ? scale_ / ZoomStep : 1);
    setZoomNumberText();
}

void PlanView::ZoomToDefault() {
    double x0 = -W_, y0 = -W_, x1 = A_ + W_, y1 = B_ + W_;
    for (const PlanSymbol& s : symbols_) {
        x0 = std::min(x0, double(s.x));
        y0 = std::min(y0, double(s.y));
        x1 = std::max(x1, double(s.x));
        y1 = std::max(y1, double(s.y));
    }
    fitBox(x0, y0, x1, y1);
    zoomText_ = QStringLiteral("100");
    setScale(100);
}

void PlanView::resetZoomAndScrollBars() {
    zoomText_ = QStringLiteral("100");
    hScroll_ = 0;
    vScroll_ = 50;
    setScale(100);
}

void PlanView::chooseZoom(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    double v = QLocale().toDouble(t, &ok);
    if (!ok)
        v = QLocale::c().toDouble(t, &ok);
    // A zoom of zero or below would show nothing: it counts as no number.
    if (!ok || !std::isfinite(v) || v <= 0) {
        zoomText_ = QStringLiteral("100");
        setScale(100);
        return;
    }
    zoomText_ = text;
    if (v > DeepestZoom) {
        v = DeepestZoom;
        zoomText_ = formatText(QStringLiteral("%.2f"), {v});
    }
    setScale(v);
}

const QStringList& PlanView::zoomEntries() {
    static const QStringList entries = {
        QStringLiteral("10"),   QStringLiteral("25"),   QStringLiteral("50"),
        QStringLiteral("75"),   QStringLiteral("100"),  QStringLiteral("200"),
        QStringLiteral("400"),  QStringLiteral("800"),  QStringLiteral("1000"),
        QStringLiteral("1500"), QStringLiteral("2000"), QStringLiteral("3000"),
        QStringLiteral("4000")};
    return entries;
}

void PlanView::setHorizontalScroll(int position) {
    hScroll_ = std::clamp(position, -1000, 1000);
    const double width = visible_.xmax - visible_.xmin;
    const int tens = hScroll_ / 10; // whole tens towards zero, as the scroll bar always did
    visible_.xmin = tens;
    visible_.xmax = visible_.xmin + width;
    repaint();
}

void PlanView::setVerticalScroll(int position) {
    position = std::clamp(position, 0, 100);
    const int delta = position - vScroll_;
    vScroll_ = position;
    const double shift = delta * ScrollPixels * metresPerPixelY();
    visible_.ymin -= shift;
    visible_.ymax -= shift;
    repaint();
}

void PlanView::wheel(int notches) {
    const double shift = notches * ScrollPixels * metresPerPixelY();
    visible_.ymin += shift;
    visible_.ymax += shift;
    repaint();
}

bool PlanView::zoomToPixelRect(const QRect& rect) {
    const QRect r = rect.normalized();
    if (r.width() <= 2 || r.height() <= 2)
        return false;
    const QPointF a = toWorld(QPointF(r.left(), r.bottom()));
    const QPointF b = toWorld(QPointF(r.right(), r.top()));
    visible_ = fitRange(a.x(), a.y(), b.x(), b.y(), size_);
    // No deeper than a typed zoom can go.
    const double least = (fitted_.xmax - fitted_.xmin) / (DeepestZoom / 100);
    if (visible_.xmax - visible_.xmin < least) {
        const double f = least / (visible_.xmax - visible_.xmin);
        const double cx = (visible_.xmin + visible_.xmax) / 2;
        const double cy = (visible_.ymin + visible_.ymax) / 2;
        const double hx = (visible_.xmax - visible_.xmin) * f / 2;
        const double hy = (visible_.ymax - visible_.ymin) * f / 2;
        visible_ = {cx - hx, cx + hx, cy - hy, cy + hy};
    }
    repaint();
    return true;
}

void PlanView::panByPixels(QPoint delta) {
    const double dx = delta.x() * metresPerPixelX();
    const double dy = delta.y() * metresPerPixelY();
    visible_.xmin -= dx;
    visible_.xmax -= dx;
    visible_.ymin += dy;
    visible_.ymax += dy;
    repaint();
}

int PlanView::halfWidthPx() const {
    const int hw = roundPx(0.5 / metresPerPixelX());
    const int hh = roundPx(0.25 / metresPerPixelY());
    return (hw < 10 || hh < 10) ? 10 : hw;
}

int PlanView::halfHeightPx() const {
    const int hw = roundPx(0.5 / metresPerPixelX());
    const int hh = roundPx(0.25 / metresPerPixelY());
    return (hw < 10 || hh < 10) ? 5 : hh;
}

QPolygon PlanView::symbolPolygon(int kind, QPoint c, int hw, int hh, int angle) {
    const int cx = c.x(), cy = c.y();
    QPolygon pts;
    pts << QPoint(cx - hw, cy - hh) << QPoint(cx + hw, cy - hh) << QPoint(cx + hw, cy + hh)
        << QPoint(cx - hw, cy + hh) << QPoint(cx - hw, cy - hh);
    if (kind == ObjWarmAirUnit) {
        pts << QPoint(cx, cy - hh) << QPoint(cx, cy - 2 * hh) << QPoint(cx, cy - hh)
            << QPoint(cx + hw / 2, cy - 2 * hh) << QPoint(cx, cy - hh)
            << QPoint(cx - hw / 2, cy - 2 * hh) << QPoint(cx, cy - hh);
    }
    const double a = angle * std::numbers::pi / 180.0;
    const double ca = std::cos(a), sa = std::sin(a);
    for (QPoint& p : pts) {
        const double dx = p.x() - cx, dy = p.y() - cy;
        p = QPoint(cx + roundPx(ca * dx - sa * dy), cy + roundPx(sa * dx + ca * dy));
    }
    return pts;
}

// --- pointer and keys --------------------------------------------------------

void PlanView::mousePress(QPoint p, Qt::MouseButton button) {
    lastPress_ = p;
    if (button == Qt::RightButton) {
        const int i = ObjectAt(p.x(), p.y());
        if (i >= 0) {
            clearSelection();
            popupIndex_ = i;
            setSelected(i, true);
            if (onPopup)
                onPopup(i, p);
        }
        return;
    }
    clearSelection();
    repaint();
    if (button != Qt::LeftButton)
        return;
    switch (mouseMode) {
    case MouseMode::mmMove: {
        const int i = ObjectAt(p.x(), p.y());
        if (i >= 0) {
            const PlanSymbol& s = object(i);
            const QPointF c = toPixel(s.x, s.y);
            dragIndex_ = i;
            dragOffset_ = QPoint(roundPx(c.x()), roundPx(c.y())) - p;
            dragPointer_ = p;
            dragMoved_ = false;
        }
        break;
    }
    case MouseMode::mmZoom:
        zooming_ = true;
        rubberShown_ = false;
        zoomStart_ = zoomEnd_ = p;
        break;
    case MouseMode::mmPan:
        panning_ = true;
        panLast_ = p;
        break;
    default:
        break;
    }
}

void PlanView::mouseMove(QPoint p) {
    if (dragging()) {
        dragPointer_ = p;
        dragMoved_ = dragMoved_ || movedFromPress(p);
        repaint();
    } else if (zooming_) {
        zoomEnd_ = p;
        if (std::abs(p.x() - zoomStart_.x()) > DragThreshold ||
            std::abs(p.y() - zoomStart_.y()) > DragThreshold)
            rubberShown_ = true;
        repaint();
    } else if (panning_) {
        const QPoint delta = p - panLast_;
        panLast_ = p;
        panByPixels(delta);
    }
}

void PlanView::mouseRelease(QPoint p, Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    if (dragging()) {
        const int i = dragIndex_;
        dragIndex_ = -1;
        // A click without moving the pointer is no drop: the unit stays where
        // it is, so that the second click of a double click finds it there.
        if ((dragMoved_ || movedFromPress(p)) && plotArea().contains(p)) {
            const QPointF w = toWorld(QPointF(p + dragOffset_));
            DropObject(i, w.x(), w.y());
        } else {
            repaint();
        }
    } else if (zooming_) {
        zooming_ = false;
        const bool shown = rubberShown_;
        rubberShown_ = false;
        if (!shown || !zoomToPixelRect(QRect(zoomStart_, p)))
            repaint();
    } else if (panning_) {
        panning_ = false;
    }
}

bool PlanView::movedFromPress(QPoint p) const {
    return std::abs(p.x() - lastPress_.x()) > DragThreshold ||
           std::abs(p.y() - lastPress_.y()) > DragThreshold;
}

int PlanView::doubleClickTarget() const {
    return ObjectAt(lastPress_.x(), lastPress_.y());
}

int PlanView::doubleClickAt(QPoint p) {
    lastPress_ = p;
    return doubleClickTarget();
}

bool PlanView::keyPress(int key) {
    switch (key) {
    case Qt::Key_Plus:
        ZoomIn();
        return true;
    case Qt::Key_Minus:
        ZoomOut();
        return true;
    case Qt::Key_Asterisk:
        ZoomToDefault();
        return true;
    case Qt::Key_Escape:
        if (dragging() || zooming_) {
            dragIndex_ = -1;
            zooming_ = rubberShown_ = false;
            repaint();
        }
        return true;
    default:
        return false;
    }
}

QRect PlanView::rubberBand() const {
    return (zooming_ && rubberShown_) ? QRect(zoomStart_, zoomEnd_).normalized() : QRect();
}

QString PlanView::statusText(QPoint p) const {
    const QPointF w = toWorld(QPointF(p));
    return formatText(LanguageText(3022), {w.x(), w.y()});
}

QString PlanView::hintText(QPoint p) const {
    if (!plotArea().adjusted(HintInset, HintInset, -HintInset, -HintInset).contains(p))
        return {};
    const int i = ObjectAt(p.x(), p.y());
    if (i < 0)
        return {};
    const PlanSymbol& s = object(i);
    return formatText(LanguageText(3021), {s.number, s.typeText, s.x, s.y, s.z, s.angle});
}

PlanView::Cursor PlanView::cursorAt(QPoint p) const {
    if (dragging())
        return plotArea().contains(p) ? Cursor::Hand : Cursor::NotAllowed;
    if (panning_)
        return Cursor::Pan;
    if (plotArea().adjusted(HintInset, HintInset, -HintInset, -HintInset).contains(p) &&
        ObjectAt(p.x(), p.y()) >= 0)
        return Cursor::Hand;
    return Cursor::Arrow;
}

bool PlanView::ExportPlanMetafile(const QString& path, const QLocale& locale) {
    const QString zoom = zoomText_;
    ZoomToDefault();
    pictureLocale_ = locale;
    const bool ok = SaveMetafile(path);
    pictureLocale_.reset();
    chooseZoom(zoom);
    return ok;
}

} // namespace zf
