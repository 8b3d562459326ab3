#include "pictures/svgdocument.h"

#include <QFont>
#include <QFontMetricsF>
#include <QSaveFile>
#include <QTransform>
#include <cmath>

namespace zf::pictures {

QString svgNumber(double v) {
    if (std::abs(v) < 0.005)
        return QStringLiteral("0");
    QString s = QString::number(v, 'f', 2);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s;
}

namespace {

QString colourText(const QColor& c) {
    return c.name(QColor::HexRgb);
}

QString styleAttributes(const Style& s) {
    QString a;
    if (s.fill.isValid()) {
        a += QStringLiteral(" fill=\"%1\"").arg(colourText(s.fill));
        const double opacity = s.fillOpacity * s.fill.alphaF();
        if (opacity < 1)
            a += QStringLiteral(" fill-opacity=\"%1\"").arg(svgNumber(opacity));
    } else {
        a += QStringLiteral(" fill=\"none\"");
    }
    if (s.stroke.isValid() && s.width > 0) {
        a += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\"")
                 .arg(colourText(s.stroke), svgNumber(s.width));
        if (s.stroke.alphaF() < 1)
            a += QStringLiteral(" stroke-opacity=\"%1\"").arg(svgNumber(s.stroke.alphaF()));
        a += s.roundCaps ? QStringLiteral(" stroke-linecap=\"round\" stroke-linejoin=\"round\"")
                         : QStringLiteral(" stroke-linejoin=\"round\"");
        if (!s.dash.isEmpty()) {
            QStringList d;
            for (double v : s.dash)
                d << svgNumber(v);
            a += QStringLiteral(" stroke-dasharray=\"%1\"").arg(d.join(QLatin1Char(',')));
        }
    }
    return a;
}

QString pointList(const QPolygonF& points) {
    QStringList p;
    for (const QPointF& q : points)
        p << svgNumber(q.x()) + QLatin1Char(',') + svgNumber(q.y());
    return p.join(QLatin1Char(' '));
}

QString pathData(const QPainterPath& path) {
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        auto xy = [](const QPainterPath::Element& p) {
            return svgNumber(p.x) + QLatin1Char(' ') + svgNumber(p.y);
        };
        switch (e.type) {
        case QPainterPath::MoveToElement:
            d += QLatin1Char('M') + xy(e);
            break;
        case QPainterPath::LineToElement:
            d += QLatin1Char('L') + xy(e);
            break;
        case QPainterPath::CurveToElement:
            d += QLatin1Char('C') + xy(e) + QLatin1Char(' ') + xy(path.elementAt(i + 1)) +
                 QLatin1Char(' ') + xy(path.elementAt(i + 2));
            i += 2;
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    return d;
}

QFont textFont(bool bold, bool italic) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif, QFont::PreferOutline);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setPixelSize(100);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QRectF grown(const QRectF& r, const Style& s) {
    const double half = (s.stroke.isValid() ? s.width : 0) / 2;
    return r.adjusted(-half, -half, half, half);
}

} // namespace

void SvgDocument::add(const QString& element, const QRectF& extent, const Style& style) {
    elements_.push_back(element);
    include(grown(extent, style));
}

void SvgDocument::include(const QRectF& r) {
    bounds_ = bounds_.isNull() ? r : bounds_.united(r);
}

void SvgDocument::polygon(const QPolygonF& points, const Style& style) {
    add(QStringLiteral("<polygon points=\"%1\"%2/>").arg(pointList(points), styleAttributes(style)),
        points.boundingRect(), style);
}

void SvgDocument::polyline(const QPolygonF& points, const Style& style) {
    Style open = style;
    open.fill = QColor();
    add(QStringLiteral("<polyline points=\"%1\"%2/>").arg(pointList(points), styleAttributes(open)),
        points.boundingRect(), open);
}

void SvgDocument::line(QPointF a, QPointF b, const Style& style) {
    polyline(QPolygonF({a, b}), style);
}

void SvgDocument::circle(QPointF c, double r, const Style& style) {
    add(QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"%3\"%4/>")
            .arg(svgNumber(c.x()), svgNumber(c.y()), svgNumber(r), styleAttributes(style)),
        QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), style);
}

void SvgDocument::path(const QPainterPath& p, const Style& style) {
    QString attributes = styleAttributes(style);
    if (style.fill.isValid() && p.fillRule() == Qt::OddEvenFill)
        attributes += QStringLiteral(" fill-rule=\"evenodd\"");
    add(QStringLiteral("<path d=\"%1\"%2/>").arg(pathData(p), attributes), p.boundingRect(), style);
}

QPainterPath SvgDocument::textPath(const QString& text, QPointF centre, double size, bool bold,
                                   bool italic) {
    const QFont font = textFont(bold, italic);
    const QFontMetricsF metrics(font);
    QPainterPath outline;
    outline.addText(QPointF(0, 0), font, text);
    // Centred on the advance and on the capitals, so that digits and capital
    // letters sit in the middle of a circle or on a dimension line.
    const double k = size / 100;
    QTransform t;
    t.translate(centre.x() - metrics.horizontalAdvance(text) * k / 2,
                centre.y() + metrics.capHeight() * k / 2);
    t.scale(k, k);
    return t.map(outline);
}

void SvgDocument::text(const QString& s, QPointF centre, double size, const QColor& colour,
                       bool bold, bool italic) {
    Style style;
    style.fill = colour;
    path(textPath(s, centre, size, bold, italic), style);
}

void SvgDocument::haloText(const QString& s, QPointF centre, double size, const QColor& colour,
                           bool bold, bool italic) {
    const QPainterPath outline = textPath(s, centre, size, bold, italic);
    Style halo;
    halo.fill = QColor(Qt::white);
    halo.stroke = QColor(Qt::white);
    halo.width = size * 0.28;
    halo.roundCaps = true;
    path(outline, halo);
    Style ink;
    ink.fill = colour;
    path(outline, ink);
}

QByteArray SvgDocument::toSvg(const QRectF& box, const QString& title, double pixelScale) const {
    QString out;
    out += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    out += QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" "
                          "width=\"%1\" height=\"%2\" viewBox=\"%3 %4 %5 %6\">\n")
               .arg(svgNumber(std::round(box.width() * pixelScale)),
                    svgNumber(std::round(box.height() * pixelScale)), svgNumber(box.left()),
                    svgNumber(box.top()), svgNumber(box.width()), svgNumber(box.height()));
    out += QStringLiteral("<title>%1</title>\n").arg(title.toHtmlEscaped());
    for (const QString& e : elements_)
        out += e + QLatin1Char('\n');
    out += QStringLiteral("</svg>\n");
    return out.toUtf8();
}

bool SvgDocument::save(const QString& file, const QRectF& box, const QString& title, QString* error,
                       double pixelScale) const {
    QSaveFile f(file);
    const QByteArray bytes = toSvg(box, title, pixelScale);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

QRectF framed(const QRectF& extent, double margin, double aspect) {
    QRectF r = extent.adjusted(-margin, -margin, margin, margin);
    if (r.width() / r.height() < aspect) {
        const double w = r.height() * aspect;
        r.adjust(-(w - r.width()) / 2, 0, (w - r.width()) / 2, 0);
    } else {
        const double h = r.width() / aspect;
        r.adjust(0, -(h - r.height()) / 2, 0, (h - r.height()) / 2);
    }
    return r;
}

} // namespace zf::pictures
