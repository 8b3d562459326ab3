#include "artkit.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace zf::art::kit {

QFont font(int pixelSize, bool bold) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QFont letterFont() {
    return font(14, true);
}

void hatch(QPainter& p, const QRectF& r, double spacing, const QColor& colour, double width) {
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    const double h = r.height();
    for (double c = r.left() - h + std::fmod(r.top(), spacing); c < r.right(); c += spacing) {
        const double t0 = std::max(0.0, r.left() - c), t1 = std::min(h, r.right() - c);
        if (t1 <= t0)
            continue;
        p.drawLine(QPointF(c + t0, r.bottom() - t0), QPointF(c + t1, r.bottom() - t1));
    }
    p.restore();
}

void arrowHead(QPainter& p, QPointF tip, double dx, double dy, double length, double halfWidth) {
    const double n = std::hypot(dx, dy);
    if (n <= 0)
        return;
    dx /= n;
    dy /= n;
    const QPointF back = tip - QPointF(dx * length, dy * length);
    const QPointF side(-dy * halfWidth, dx * halfWidth);
    QPainterPath a;
    a.moveTo(tip);
    a.lineTo(back + side);
    a.lineTo(back - side);
    a.closeSubpath();
    p.fillPath(a, p.pen().color());
}

void centredText(QPainter& p, QPointF at, const QString& text) {
    const QFontMetricsF fm(p.font());
    const double w = fm.horizontalAdvance(text);
    p.drawText(QPointF(at.x() - w / 2, at.y() + (fm.ascent() - fm.descent()) / 2), text);
}

void alignedText(QPainter& p, QPointF at, const QString& text, int align) {
    const QFontMetricsF fm(p.font());
    const double w = fm.horizontalAdvance(text);
    const double x = align < 0 ? at.x() : align == 0 ? at.x() - w / 2 : at.x() - w;
    p.drawText(QPointF(x, at.y() + (fm.ascent() - fm.descent()) / 2), text);
}

namespace {

constexpr double Gap = 2.5;     // between the object and an extension line
constexpr double Overshoot = 3; // extension line beyond the dimension line
constexpr double ArrowLen = 7;

QPen thinPen() {
    return QPen(Ink, 0.8, Qt::SolidLine, Qt::FlatCap);
}

void extension(QPainter& p, QPointF from, QPointF to) {
    const double dx = to.x() - from.x(), dy = to.y() - from.y();
    const double n = std::hypot(dx, dy);
    if (n < Gap + 0.5)
        return;
    const QPointF u(dx / n, dy / n);
    p.drawLine(from + u * Gap, to + u * Overshoot);
}

void label(QPainter& p, QPointF at, const QString& letter) {
    p.save();
    p.setFont(letterFont());
    p.setPen(Ink);
    // A white ground keeps the letter readable where lines pass behind it.
    const QFontMetricsF fm(p.font());
    const double w = fm.horizontalAdvance(letter) + 4, h = fm.ascent() + 2;
    p.fillRect(QRectF(at.x() - w / 2, at.y() - h / 2, w, h), Paper);
    centredText(p, at, letter);
    p.restore();
}

} // namespace

void dimensionH2(QPainter& p, double xa, double ya, double xb, double yb, double at,
                 const QString& letter) {
    p.save();
    p.setPen(thinPen());
    if (xa > xb) {
        std::swap(xa, xb);
        std::swap(ya, yb);
    }
    extension(p, QPointF(xa, ya), QPointF(xa, at));
    extension(p, QPointF(xb, yb), QPointF(xb, at));
    const double span = xb - xa;
    if (span >= 2 * ArrowLen + 4) {
        p.drawLine(QPointF(xa, at), QPointF(xb, at));
        arrowHead(p, QPointF(xa, at), -1, 0, ArrowLen);
        arrowHead(p, QPointF(xb, at), 1, 0, ArrowLen);
    } else {
        p.drawLine(QPointF(xa - ArrowLen - 5, at), QPointF(xb + ArrowLen + 5, at));
        arrowHead(p, QPointF(xa, at), 1, 0, ArrowLen);
        arrowHead(p, QPointF(xb, at), -1, 0, ArrowLen);
    }
    const double above = at <= std::min(ya, yb) ? -9 : 9;
    label(p, QPointF((xa + xb) / 2, at + above), letter);
    p.restore();
}

void dimensionH(QPainter& p, double xa, double xb, double yPoints, double at,
                const QString& letter) {
    dimensionH2(p, xa, yPoints, xb, yPoints, at, letter);
}

void dimensionV2(QPainter& p, double ya, double xa, double yb, double xb, double at,
                 const QString& letter) {
    p.save();
    p.setPen(thinPen());
    if (ya > yb) {
        std::swap(ya, yb);
        std::swap(xa, xb);
    }
    extension(p, QPointF(xa, ya), QPointF(at, ya));
    extension(p, QPointF(xb, yb), QPointF(at, yb));
    const double span = yb - ya;
    if (span >= 2 * ArrowLen + 4) {
        p.drawLine(QPointF(at, ya), QPointF(at, yb));
        arrowHead(p, QPointF(at, ya), 0, -1, ArrowLen);
        arrowHead(p, QPointF(at, yb), 0, 1, ArrowLen);
    } else {
        p.drawLine(QPointF(at, ya - ArrowLen - 5), QPointF(at, yb + ArrowLen + 5));
        arrowHead(p, QPointF(at, ya), 0, 1, ArrowLen);
        arrowHead(p, QPointF(at, yb), 0, -1, ArrowLen);
    }
    const double side = at <= std::min(xa, xb) ? -9 : 9;
    label(p, QPointF(at + side, (ya + yb) / 2), letter);
    p.restore();
}

void dimensionV(QPainter& p, double ya, double yb, double xPoints, double at,
                const QString& letter) {
    dimensionV2(p, ya, xPoints, yb, xPoints, at, letter);
}

void leader(QPainter& p, QPointF from, QPointF labelAt, const QString& letter) {
    p.save();
    p.setPen(thinPen());
    p.drawLine(from, labelAt);
    p.setBrush(Ink);
    p.drawEllipse(from, 1.6, 1.6);
    p.restore();
    p.save();
    p.setFont(letterFont());
    p.setPen(Ink);
    const QFontMetricsF fm(p.font());
    const double w = fm.horizontalAdvance(letter);
    const bool right = labelAt.x() >= from.x();
    p.fillRect(QRectF(right ? labelAt.x() : labelAt.x() - w - 4, labelAt.y() - 8, w + 4, 16),
               Paper);
    alignedText(p, QPointF(right ? labelAt.x() + 2 : labelAt.x() - 2, labelAt.y()), letter,
                right ? -1 : 1);
    p.restore();
}

void centreLine(QPainter& p, QPointF a, QPointF b) {
    p.save();
    QPen pen(Grey3, 0.7, Qt::CustomDashLine, Qt::FlatCap);
    pen.setDashPattern({12, 3, 2, 3});
    p.setPen(pen);
    p.drawLine(a, b);
    p.restore();
}

} // namespace zf::art::kit
