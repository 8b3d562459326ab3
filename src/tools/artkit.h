#pragma once

// Drawing helpers shared by the catalog pictures: the palette, fonts, hatching
// and dimension lines. The SVG device has neither clipping nor pattern brushes,
// so hatching is drawn as computed line pieces.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace zf::art::kit {

inline const QColor Ink(0x2b, 0x3a, 0x42);   // outlines
inline const QColor Heat(0xe8, 0x70, 0x2a);  // warm air, accents
inline const QColor Air(0x2f, 0x7f, 0xc1);   // air
inline const QColor Grey1(0xee, 0xf1, 0xf3); // lightest grey
inline const QColor Grey2(0xc9, 0xd1, 0xd6);
inline const QColor Grey3(0x8a, 0x97, 0x9e);
inline const QColor Paper(0xff, 0xff, 0xff);

// A sans-serif font of the given pixel size (Liberation Sans, else DejaVu Sans).
QFont font(int pixelSize, bool bold = false);

// 45-degree hatching of a rectangle.
void hatch(QPainter& p, const QRectF& r, double spacing, const QColor& colour, double width = 0.8);

// A filled arrow head at tip pointing along direction (dx, dy).
void arrowHead(QPainter& p, QPointF tip, double dx, double dy, double length = 7,
               double halfWidth = 2.4);

// Text centred on a point (horizontally and vertically).
void centredText(QPainter& p, QPointF at, const QString& text);
// Text with its left (align < 0), centre (0) or right (> 0) edge at x, baseline
// centred vertically at y.
void alignedText(QPainter& p, QPointF at, const QString& text, int align);

// Dimension lines. The measured points are a and b; the line lies at offset
// (for a horizontal dimension: at the y coordinate `at`; for a vertical one at
// the x coordinate `at`); extension lines run from the points to the line. The
// letter is written beside the line's middle (above, or left of it); arrows turn
// outward when the span is too short for them.
void dimensionH(QPainter& p, double xa, double xb, double yPoints, double at,
                const QString& letter);
void dimensionH2(QPainter& p, double xa, double ya, double xb, double yb, double at,
                 const QString& letter);
void dimensionV(QPainter& p, double ya, double yb, double xPoints, double at,
                const QString& letter);
void dimensionV2(QPainter& p, double ya, double xa, double yb, double xb, double at,
                 const QString& letter);
// A leader from a point to a label.
void leader(QPainter& p, QPointF from, QPointF labelAt, const QString& letter);

// A dash-dot centre line.
void centreLine(QPainter& p, QPointF a, QPointF b);

// The letter style of dimension labels.
QFont letterFont();

} // namespace zf::art::kit
