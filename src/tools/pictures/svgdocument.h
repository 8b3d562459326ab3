#pragma once

#include <QByteArray>
#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QVector>
#include <vector>

namespace zf::pictures {

// How a shape is stroked and filled. An invalid colour leaves that part out.
struct Style {
    QColor stroke;
    double width = 1;
    QColor fill;
    double fillOpacity = 1;
    QVector<double> dash; // empty: solid
    bool roundCaps = false;
};

// A small SVG writer for line drawings: shapes in the order they are added,
// text converted to outlines so that a picture looks the same wherever it is
// shown, whatever fonts that machine has. Coordinates are picture units with y
// downwards; the view box is given when the document is written.
class SvgDocument {
public:
    void polygon(const QPolygonF& points, const Style& style);
    void polyline(const QPolygonF& points, const Style& style);
    void line(QPointF a, QPointF b, const Style& style);
    void circle(QPointF centre, double radius, const Style& style);
    void path(const QPainterPath& path, const Style& style);
    // Text centred on the point (horizontally on its advance, vertically on the
    // height of its capitals), filled in the colour.
    void text(const QString& text, QPointF centre, double size, const QColor& colour,
              bool bold = false, bool italic = false);
    // The same with a white margin round the letters, for text over lines.
    void haloText(const QString& text, QPointF centre, double size, const QColor& colour,
                  bool bold = false, bool italic = false);
    // The outline of a text as the document would draw it at the centre.
    static QPainterPath textPath(const QString& text, QPointF centre, double size, bool bold,
                                 bool italic);

    // The extent of what has been drawn, strokes included.
    QRectF bounds() const { return bounds_; }
    // Grows the extent without drawing, for space a picture keeps free.
    void include(const QRectF& r);

    // The document with the view box; its default size is the view box in
    // pixels, scaled by pixelScale.
    QByteArray toSvg(const QRectF& viewBox, const QString& title, double pixelScale = 1) const;
    // Writes the document through a temporary file; false with the reason.
    bool save(const QString& file, const QRectF& viewBox, const QString& title,
              QString* error = nullptr, double pixelScale = 1) const;

private:
    void add(const QString& element, const QRectF& extent, const Style& style);

    std::vector<QString> elements_;
    QRectF bounds_;
};

// A view box around the drawing: the extent with a margin, widened to the
// aspect ratio (width / height) around its centre.
QRectF framed(const QRectF& extent, double margin, double aspect);

// Numbers as SVG writes them: up to two decimals, no trailing zeros, C locale.
QString svgNumber(double v);

} // namespace zf::pictures
