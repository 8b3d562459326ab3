#include "exchangesupport.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QRectF>
#include <QXmlStreamReader>
#include <cmath>
#include <dl_creationadapter.h>
#include <dl_dxf.h>
#include <numbers>

namespace zf::test {

// --- DXF ---------------------------------------------------------------------

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

class Collector : public DL_CreationAdapter {
public:
    explicit Collector(DxfDrawing& d) : d_(d) {}

    void setVariableString(const std::string& key, const std::string& value, int) override {
        d_.strings.insert(q(key), q(value));
    }
    void setVariableInt(const std::string& key, int value, int) override {
        d_.ints.insert(q(key), value);
    }
    void setVariableDouble(const std::string& key, double value, int) override {
        d_.reals.insert(q(key), value);
    }
    void setVariableVector(const std::string& key, double x, double y, double, int) override {
        d_.points.insert(q(key), QPointF(x, y));
    }

    void addLayer(const DL_LayerData& data) override {
        d_.layers.push_back({q(data.name), getAttributes().getColor()});
    }
    void addBlock(const DL_BlockData& data) override {
        const QString name = q(data.name);
        current_ = name.startsWith(u'*') ? &ignored_ : &d_.blocks[name];
    }
    void endBlock() override { current_ = &d_.model; }

    void addPolyline(const DL_PolylineData& data) override {
        target().polylines.push_back({layer(), (data.flags & 1) != 0, {}});
        polyline_ = &target().polylines.back();
    }
    void addVertex(const DL_VertexData& data) override {
        if (polyline_)
            polyline_->vertices.push_back({data.x, data.y, data.bulge});
    }
    void endEntity() override { polyline_ = nullptr; }
    void addLine(const DL_LineData& data) override {
        target().lines.push_back({layer(), QPointF(data.x1, data.y1), QPointF(data.x2, data.y2)});
    }
    void addCircle(const DL_CircleData& data) override {
        target().circles.push_back({layer(), QPointF(data.cx, data.cy), data.radius});
    }
    void addText(const DL_TextData& data) override {
        const bool justified = data.hJustification != 0 || data.vJustification != 0;
        target().texts.push_back(
            {layer(), justified ? QPointF(data.apx, data.apy) : QPointF(data.ipx, data.ipy),
             data.height, data.angle * 180 / std::numbers::pi, data.hJustification,
             data.vJustification, QString::fromStdString(data.text)});
    }
    void addInsert(const DL_InsertData& data) override {
        target().inserts.push_back(
            {layer(), q(data.name), QPointF(data.ipx, data.ipy), data.angle, data.sx, data.sy});
    }
    void addDimAlign(const DL_DimensionData& data, const DL_DimAlignedData& edata) override {
        target().dimensions.push_back({layer(), QPointF(edata.epx1, edata.epy1),
                                       QPointF(edata.epx2, edata.epy2), QPointF(data.dpx, data.dpy),
                                       QPointF(data.mpx, data.mpy), q(data.text)});
    }

private:
    DxfEntities& target() { return *current_; }
    QString layer() { return q(getAttributes().getLayer()); }

    DxfDrawing& d_;
    DxfEntities ignored_;
    DxfEntities* current_ = &d_.model;
    DxfEntities::Polyline* polyline_ = nullptr;
};

QColor aci(int index) {
    switch (std::abs(index)) {
    case 1:
        return QColor(255, 0, 0);
    case 2:
        return QColor(200, 180, 0);
    case 3:
        return QColor(0, 170, 0);
    case 4:
        return QColor(0, 160, 200);
    case 5:
        return QColor(0, 0, 255);
    case 6:
        return QColor(200, 0, 200);
    case 8:
        return QColor(128, 128, 128);
    default:
        return QColor(0, 0, 0);
    }
}

// The points of an edge from a to b with a bulge, the arc in short chords.
void addEdge(QPainterPath& path, QPointF a, QPointF b, double bulge) {
    if (bulge == 0) {
        path.lineTo(b);
        return;
    }
    const QPointF d = b - a;
    const double chord = std::hypot(d.x(), d.y());
    if (chord == 0)
        return;
    const QPointF mid = (a + b) / 2;
    const QPointF left(-d.y() / chord, d.x() / chord);
    const QPointF centre = mid + left * (chord / 2 * (1 - bulge * bulge) / (2 * bulge));
    const double start = std::atan2(a.y() - centre.y(), a.x() - centre.x());
    const double sweep = 4 * std::atan(bulge);
    const double r = std::hypot(a.x() - centre.x(), a.y() - centre.y());
    const int steps = std::max(4, int(std::abs(sweep) / (std::numbers::pi / 90)));
    for (int i = 1; i <= steps; ++i) {
        const double t = start + sweep * i / steps;
        path.lineTo(centre + QPointF(std::cos(t), std::sin(t)) * r);
    }
}

struct Painter {
    QPainter& p;
    const DxfDrawing& d;
    QTransform world; // drawing metres to picture pixels

    QColor colorOf(const QString& layer, const QString& parentLayer) const {
        const QString l =
            layer == QLatin1String("0") && !parentLayer.isEmpty() ? parentLayer : layer;
        const DxfDrawing::Layer* found = d.layer(l);
        return aci(found ? found->color : 7);
    }

    void entities(const DxfEntities& e, const QTransform& t, const QString& parentLayer) {
        for (const auto& pl : e.polylines) {
            if (pl.vertices.empty())
                continue;
            QPainterPath path(QPointF(pl.vertices[0].x, pl.vertices[0].y));
            const size_t n = pl.vertices.size();
            for (size_t i = 0; i + 1 < n + (pl.closed ? 1 : 0); ++i) {
                const DxfVertex& a = pl.vertices[i];
                const DxfVertex& b = pl.vertices[(i + 1) % n];
                addEdge(path, QPointF(a.x, a.y), QPointF(b.x, b.y), a.bulge);
            }
            pen(pl.layer, parentLayer, pl.layer == QLatin1String("HALL") ? 2 : 1);
            p.drawPath((t * world).map(path));
        }
        for (const auto& l : e.lines) {
            pen(l.layer, parentLayer, 1);
            p.drawLine((t * world).map(QLineF(l.a, l.b)));
        }
        for (const auto& c : e.circles) {
            pen(c.layer, parentLayer, 1);
            QPainterPath path;
            path.addEllipse(c.centre, c.radius, c.radius);
            p.drawPath((t * world).map(path));
        }
        for (const auto& tx : e.texts) {
            const QPointF at = (t * world).map(tx.at);
            const double px = tx.height * std::abs(world.m11());
            text(tx.text, at, px, -tx.angle, colorOf(tx.layer, parentLayer));
        }
        for (const auto& in : e.inserts) {
            const auto it = d.blocks.find(in.block);
            if (it == d.blocks.end())
                continue;
            QTransform local;
            local.translate(in.at.x(), in.at.y());
            local.rotate(in.angle);
            local.scale(in.sx, in.sy);
            entities(it->second, local * t, in.layer);
        }
        for (const auto& dim : e.dimensions)
            dimension(dim);
    }

    void pen(const QString& layer, const QString& parentLayer, double width) {
        QPen pen(colorOf(layer, parentLayer));
        pen.setWidthF(width);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
    }

    void text(const QString& s, QPointF at, double heightPx, double angleDeg, const QColor& c) {
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPixelSize(std::max(1, int(std::lround(heightPx / 0.72))));
        p.save();
        p.translate(at);
        p.rotate(angleDeg);
        p.setFont(f);
        p.setPen(c);
        const QRectF box(-2000, -heightPx, 4000, 2 * heightPx);
        p.drawText(box, Qt::AlignCenter, s);
        p.restore();
    }

    void dimension(const DxfEntities::Dimension& dim) {
        // The dimension line runs through the definition point, parallel to
        // the measured points.
        const QPointF along = dim.second - dim.first;
        const double len = std::hypot(along.x(), along.y());
        if (len == 0)
            return;
        const QPointF u = along / len;
        const QPointF offset = dim.definition - dim.second;
        const QPointF a = dim.first + offset, b = dim.second + offset;
        pen(dim.layer, QString(), 1);
        const QTransform& w = world;
        p.drawLine(w.map(QLineF(dim.first, a)));
        p.drawLine(w.map(QLineF(dim.second, b)));
        p.drawLine(w.map(QLineF(a, b)));
        const double arrow = 0.02 * len;
        const QPointF n(-u.y(), u.x());
        for (const auto& [tip, dir] : {std::pair{a, u}, std::pair{b, -u}}) {
            p.drawLine(w.map(QLineF(tip, tip + dir * arrow + n * arrow / 3)));
            p.drawLine(w.map(QLineF(tip, tip + dir * arrow - n * arrow / 3)));
        }
        const double heightPx =
            std::max(8.0, d.reals.value(QStringLiteral("$DIMTXT"), 0.03 * len) * std::abs(w.m11()));
        const double angle = -std::atan2(u.y(), u.x()) * 180 / std::numbers::pi;
        const QPointF mid = w.map((a + b) / 2 + n * arrow * 0.8);
        const DxfDrawing::Layer* l = d.layer(dim.layer);
        text(dim.text, mid, heightPx, angle, aci(l ? l->color : 7));
    }
};

} // namespace

const DxfDrawing::Layer* DxfDrawing::layer(const QString& name) const {
    for (const Layer& l : layers)
        if (l.name == name)
            return &l;
    return nullptr;
}

DxfDrawing readDxf(const QString& file) {
    DxfDrawing d;
    Collector c(d);
    DL_Dxf dxf;
    d.read = dxf.in(file.toStdString(), &c);
    return d;
}

QImage drawDxf(const DxfDrawing& d, int widthPx) {
    QRectF box(d.points.value(QStringLiteral("$EXTMIN")),
               d.points.value(QStringLiteral("$EXTMAX")));
    box = box.normalized();
    if (box.isEmpty())
        box = QRectF(-1, -1, 2, 2);
    const double margin = 20;
    const double scale = (widthPx - 2 * margin) / box.width();
    const int heightPx = int(std::ceil(box.height() * scale + 2 * margin));
    QImage image(widthPx, heightPx, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QTransform world;
    world.translate(margin, heightPx - margin);
    world.scale(scale, -scale);
    world.translate(-box.left(), -box.top());
    Painter painter{p, d, world};
    painter.entities(d.model, QTransform(), QString());
    p.end();
    return image;
}

// --- xlsx ----------------------------------------------------------------------

namespace {

QByteArray part(const QString& file, const QString& name, QString* error) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, name});
    if (!unzip.waitForFinished(30000) || unzip.exitStatus() != QProcess::NormalExit ||
        unzip.exitCode() != 0) {
        *error = QStringLiteral("unzip -p %1 %2: %3").arg(file, name, unzip.errorString());
        return {};
    }
    return unzip.readAllStandardOutput();
}

// "AB12" as 0-based row and column.
bool parseRef(const QString& ref, int* row, int* col) {
    int c = 0, i = 0;
    while (i < ref.size() && ref[i].isLetter())
        c = c * 26 + (ref[i++].toUpper().unicode() - 'A' + 1);
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    if (!ok || c == 0)
        return false;
    *row = r - 1;
    *col = c - 1;
    return true;
}

} // namespace

QString cellRef(int row, int col) {
    QString letters;
    for (int c = col + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
}

const XlsxCell* XlsxSheet::cell(const QString& ref) const {
    const auto it = cells.find(ref);
    return it == cells.end() ? nullptr : &it->second;
}

const XlsxCell* XlsxSheet::cell(int row, int col) const {
    return cell(cellRef(row, col));
}

QString XlsxSheet::text(int row, int col) const {
    const XlsxCell* c = cell(row, col);
    return c ? c->value : QString();
}

int XlsxSheet::lastRow() const {
    int last = -1;
    for (const auto& [ref, c] : cells) {
        int r = 0, col = 0;
        if (parseRef(ref, &r, &col))
            last = std::max(last, r);
    }
    return last;
}

const XlsxSheet* XlsxBook::sheet(const QString& name) const {
    for (const XlsxSheet& s : sheets)
        if (s.name == name)
            return &s;
    return nullptr;
}

XlsxBook readXlsx(const QString& file) {
    XlsxBook book;
    QString error;
    QStringList shared;
    {
        // A workbook without texts has no shared strings part.
        QProcess list;
        list.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), file});
        list.waitForFinished(30000);
        if (list.readAllStandardOutput().contains("xl/sharedStrings.xml")) {
            QXmlStreamReader x(part(file, QStringLiteral("xl/sharedStrings.xml"), &error));
            QString current;
            bool inItem = false;
            while (!x.atEnd()) {
                x.readNext();
                if (x.isStartElement() && x.name() == QLatin1String("si")) {
                    inItem = true;
                    current.clear();
                } else if (x.isEndElement() && x.name() == QLatin1String("si")) {
                    inItem = false;
                    shared << current;
                } else if (inItem && x.isStartElement() && x.name() == QLatin1String("t")) {
                    current += x.readElementText();
                }
            }
        }
    }
    {
        QXmlStreamReader x(part(file, QStringLiteral("xl/workbook.xml"), &error));
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == QLatin1String("sheet")) {
                XlsxSheet s;
                s.name = x.attributes().value(QLatin1String("name")).toString();
                book.sheets.push_back(s);
            }
        }
    }
    {
        QHash<int, QString> formats{{0, QStringLiteral("General")},
                                    {1, QStringLiteral("0")},
                                    {3, QStringLiteral("#,##0")},
                                    {4, QStringLiteral("#,##0.00")}};
        QXmlStreamReader x(part(file, QStringLiteral("xl/styles.xml"), &error));
        bool inXfs = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == QLatin1String("numFmt"))
                formats.insert(x.attributes().value(QLatin1String("numFmtId")).toInt(),
                               x.attributes().value(QLatin1String("formatCode")).toString());
            else if (x.isStartElement() && x.name() == QLatin1String("cellXfs"))
                inXfs = true;
            else if (x.isEndElement() && x.name() == QLatin1String("cellXfs"))
                inXfs = false;
            else if (inXfs && x.isStartElement() && x.name() == QLatin1String("xf"))
                book.numberFormats
                    << formats.value(x.attributes().value(QLatin1String("numFmtId")).toInt());
        }
    }
    for (size_t i = 0; i < book.sheets.size(); ++i) {
        XlsxSheet& s = book.sheets[i];
        QXmlStreamReader x(
            part(file, QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1), &error));
        XlsxCell* c = nullptr;
        while (!x.atEnd()) {
            x.readNext();
            if (!x.isStartElement())
                continue;
            const auto a = x.attributes();
            if (x.name() == QLatin1String("pane")) {
                if (a.value(QLatin1String("state")) == QLatin1String("frozen"))
                    s.frozenRows = a.value(QLatin1String("ySplit")).toInt();
            } else if (x.name() == QLatin1String("col")) {
                const int first = a.value(QLatin1String("min")).toInt();
                const int last = a.value(QLatin1String("max")).toInt();
                for (int col = first; col <= last; ++col)
                    s.widths[col - 1] = a.value(QLatin1String("width")).toDouble();
            } else if (x.name() == QLatin1String("c")) {
                XlsxCell& cell = s.cells[a.value(QLatin1String("r")).toString()];
                cell.type = a.value(QLatin1String("t")).toString();
                cell.style = a.value(QLatin1String("s")).toInt();
                c = &cell;
            } else if (c && x.name() == QLatin1String("f")) {
                c->formula = x.readElementText();
            } else if (c && x.name() == QLatin1String("v")) {
                c->value = x.readElementText();
                if (c->type == QLatin1String("s"))
                    c->value = shared.value(c->value.toInt());
            }
        }
    }
    {
        QXmlStreamReader x(part(file, QStringLiteral("docProps/core.xml"), &error));
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && !x.qualifiedName().isEmpty()) {
                const QString name = x.qualifiedName().toString();
                if (name.startsWith(QLatin1String("dc:")))
                    book.properties.insert(name, x.readElementText());
            }
        }
    }
    book.error = error;
    book.read = error.isEmpty() && !book.sheets.empty();
    return book;
}

} // namespace zf::test
