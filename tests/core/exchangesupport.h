#pragma once

// The exported files read back: a DXF drawing through dxflib's reader (and
// drawn into a picture), an xlsx workbook through its XML parts.

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace zf::test {

struct DxfVertex {
    double x = 0, y = 0, bulge = 0;
};

// The entities of model space or of one block.
struct DxfEntities {
    struct Polyline {
        QString layer;
        bool closed = false;
        std::vector<DxfVertex> vertices;
    };
    struct Line {
        QString layer;
        QPointF a, b;
    };
    struct Circle {
        QString layer;
        QPointF centre;
        double radius = 0;
    };
    struct Text {
        QString layer;
        QPointF at; // the alignment point of a justified text
        double height = 0;
        double angle = 0;
        int hJustification = 0, vJustification = 0;
        QString text;
    };
    struct Insert {
        QString layer, block;
        QPointF at;
        double angle = 0; // degrees, counter-clockwise
        double sx = 1, sy = 1;
    };
    struct Dimension {
        QString layer;
        QPointF first, second; // the extension points
        QPointF definition;    // on the dimension line
        QPointF textMiddle;
        QString text;
    };
    std::vector<Polyline> polylines;
    std::vector<Line> lines;
    std::vector<Circle> circles;
    std::vector<Text> texts;
    std::vector<Insert> inserts;
    std::vector<Dimension> dimensions;
    size_t count() const {
        return polylines.size() + lines.size() + circles.size() + texts.size() + inserts.size() +
               dimensions.size();
    }
};

struct DxfDrawing {
    bool read = false;
    QHash<QString, QString> strings; // header variables: "$ACADVER" -> "AC1021"
    QHash<QString, int> ints;
    QHash<QString, double> reals;
    QHash<QString, QPointF> points;
    struct Layer {
        QString name;
        int color = 0;
    };
    std::vector<Layer> layers;
    std::map<QString, DxfEntities> blocks; // without the spaces' own blocks
    DxfEntities model;

    const Layer* layer(const QString& name) const;
};

DxfDrawing readDxf(const QString& file);

// The drawing on white paper as a CAD program shows it: model space fitted into
// the picture, blocks inserted, the layers in their colours.
QImage drawDxf(const DxfDrawing& drawing, int widthPx);

// One cell of a worksheet as stored.
struct XlsxCell {
    QString type;    // "s" shared string, "str" formula text, empty for a number
    QString value;   // the number, or the text itself for shared strings
    QString formula; // without '='
    int style = 0;
    bool isNumber() const { return type.isEmpty() || type == QLatin1String("n"); }
    double number() const { return value.toDouble(); }
};

struct XlsxSheet {
    QString name;
    std::map<QString, XlsxCell> cells; // by reference, "B4"
    int frozenRows = 0;                // the pane's ySplit when frozen
    std::map<int, double> widths;      // by column, 0-based
    const XlsxCell* cell(const QString& ref) const;
    const XlsxCell* cell(int row, int col) const; // 0-based
    QString text(int row, int col) const;
    // The last row (0-based) that holds a cell, -1 for none.
    int lastRow() const;
};

struct XlsxBook {
    bool read = false;
    QString error;
    std::vector<XlsxSheet> sheets;
    QStringList numberFormats;          // the format code of each cell style
    QHash<QString, QString> properties; // of docProps/core.xml: "dc:title"
    const XlsxSheet* sheet(const QString& name) const;
};

// Reads the workbook's parts with unzip.
XlsxBook readXlsx(const QString& file);
QString cellRef(int row, int col); // 0-based, "A1" for (0, 0)

} // namespace zf::test
