// The plan of the hall as a DXF drawing, written by dxflib.
#include "exchange/exchange.h"
#include "exchange/exchangelanguage.h"
#include "exchange/memoryfile.h"
#include "exchange/projectsnapshot.h"

#include "common/numberformat.h"
#include "storage/dataset.h"
#include "storage/zfdata.h"
#include "units/throwzones.h"

#include <QRectF>
#include <algorithm>
#include <cmath>
#include <dl_dxf.h>
#include <map>
#include <memory>
#include <set>

namespace zf {

namespace {

using exchange::Footprint;
using exchange::ProjectSnapshot;
using exchange::Row;

struct Layer {
    const char* name;
    int color;  // AutoCAD colour index
    int weight; // line weight [1/100 mm]
};
constexpr Layer Layers[] = {
    {"HALL", 1, 50},       // red, as the plan draws the walls
    {"UNITS", 5, 25},      // blue
    {"NUMBERS", 7, 18},    // black on white paper, white on a dark screen
    {"THROW", 3, 18},      // green
    {"DIMENSIONS", 4, 18}, // cyan
};

DL_Attributes on(const char* layer) {
    return DL_Attributes(layer, 256, -1, -1, "BYLAYER");
}

// Entities of a block lie on layer 0 with the colour by layer: they take the
// layer of the reference that inserts them.
DL_Attributes inBlock() {
    return on("0");
}

std::string utf8(const QString& s) {
    return s.toStdString();
}

// A text as the drawing holds it: no line breaks, and the no-break spaces that
// group digits in some locales as plain blanks, which every CAD font has.
std::string drawingText(QString s) {
    s.replace(QChar(0x00A0), u' ');
    s.replace(QChar(0x202F), u' ');
    s.replace(u'\n', u' ');
    s.remove(u'\r');
    return utf8(s);
}

// A block name DXF accepts: the characters that symbol names may not hold
// become '_'; an empty name is "Unit".
QString blockNameOf(const QString& type) {
    static const QString forbidden = QStringLiteral("<>/\\\":;?*|,=`");
    QString name;
    for (const QChar c : type.trimmed()) {
        if (c.unicode() < 0x20 || c.isNonCharacter() || c.isSurrogate() || forbidden.contains(c))
            name += u'_';
        else
            name += c;
    }
    if (name.isEmpty())
        name = QStringLiteral("Unit");
    return name.left(250); // room for the number that tells two apart
}

struct UnitBlock {
    QString name;
    int kind = 0;
    Footprint size;
};

// The kinds a block is drawn for: a warm-air unit has the blowing arrow, an MK
// unit only its outline, a destratifier is round.
enum Kind { WarmAir = 0, Mixing = 1, Destratifier = 2 };

void writeUnitBlock(DL_Dxf& dxf, DL_WriterA& dw, const UnitBlock& b) {
    dxf.writeBlock(dw, DL_BlockData(utf8(b.name), 0, 0.0, 0.0, 0.0));
    const double d = b.size.depth, w = b.size.width;
    if (b.kind == Destratifier) {
        dxf.writeCircle(dw, DL_CircleData(0, 0, 0, w / 2), inBlock());
    } else {
        // As the plan draws it, turned to blow along +X: the outline, and the
        // arrow out of the middle of the front edge, half the depth long,
        // spreading to a quarter of the width on each side.
        dxf.writePolyline(dw, DL_PolylineData(4, 0, 0, 1), inBlock());
        dxf.writeVertex(dw, DL_VertexData(-d / 2, -w / 2, 0, 0));
        dxf.writeVertex(dw, DL_VertexData(d / 2, -w / 2, 0, 0));
        dxf.writeVertex(dw, DL_VertexData(d / 2, w / 2, 0, 0));
        dxf.writeVertex(dw, DL_VertexData(-d / 2, w / 2, 0, 0));
        dxf.writePolylineEnd(dw);
        if (b.kind == WarmAir) {
            const double x0 = d / 2, x1 = d;
            dxf.writeLine(dw, DL_LineData(x0, 0, 0, x1, 0, 0), inBlock());
            dxf.writeLine(dw, DL_LineData(x0, 0, 0, x1, w / 4, 0), inBlock());
            dxf.writeLine(dw, DL_LineData(x0, 0, 0, x1, -w / 4, 0), inBlock());
        }
    }
    dxf.writeEndBlock(dw, utf8(b.name));
}

// The active viewport of model space, showing the view box: dxflib's own is
// fixed for a sheet in millimetres, which would show a plan in metres as a
// dot in a corner.
void writeViewport(DL_WriterA& dw, const QRectF& view) {
    dw.table("VPORT", 1, 0x8);
    dw.dxfString(0, "VPORT");
    dw.handle();
    dw.dxfString(100, "AcDbSymbolTableRecord");
    dw.dxfString(100, "AcDbViewportTableRecord");
    dw.dxfString(2, "*Active");
    dw.dxfInt(70, 0);
    dw.dxfReal(10, 0.0);
    dw.dxfReal(20, 0.0);
    dw.dxfReal(11, 1.0);
    dw.dxfReal(21, 1.0);
    dw.dxfReal(12, view.center().x());
    dw.dxfReal(22, view.center().y());
    dw.dxfReal(13, 0.0);
    dw.dxfReal(23, 0.0);
    dw.dxfReal(14, 0.5); // snap spacing [m]
    dw.dxfReal(24, 0.5);
    dw.dxfReal(15, 1.0); // grid spacing [m]
    dw.dxfReal(25, 1.0);
    dw.dxfReal(16, 0.0);
    dw.dxfReal(26, 0.0);
    dw.dxfReal(36, 1.0);
    dw.dxfReal(17, 0.0);
    dw.dxfReal(27, 0.0);
    dw.dxfReal(37, 0.0);
    dw.dxfReal(40, view.height());
    dw.dxfReal(41, view.width() / view.height());
    dw.dxfReal(42, 50.0);
    dw.dxfReal(43, 0.0);
    dw.dxfReal(44, 0.0);
    dw.dxfReal(50, 0.0);
    dw.dxfReal(51, 0.0);
    dw.dxfInt(71, 0);
    dw.dxfInt(72, 100);
    dw.dxfInt(73, 1);
    dw.dxfInt(74, 3);
    dw.dxfInt(75, 0);
    dw.dxfInt(76, 0);
    dw.dxfInt(77, 0);
    dw.dxfInt(78, 0);
    dw.dxfInt(281, 0);
    dw.dxfInt(65, 1);
    dw.dxfReal(110, 0.0);
    dw.dxfReal(120, 0.0);
    dw.dxfReal(130, 0.0);
    dw.dxfReal(111, 1.0);
    dw.dxfReal(121, 0.0);
    dw.dxfReal(131, 0.0);
    dw.dxfReal(112, 0.0);
    dw.dxfReal(122, 1.0);
    dw.dxfReal(132, 0.0);
    dw.dxfInt(79, 0);
    dw.dxfReal(146, 0.0);
    dw.tableEnd();
}

struct Drawing {
    double A = 0, B = 0;
    std::vector<UnitBlock> blocks;
    struct Unit {
        size_t block = 0;
        int number = 0;
        double x = 0, y = 0;
        int angle = 0;
    };
    std::vector<Unit> units;
    std::vector<std::vector<ZoneVertex>> zones;
    double textHeight = 0.25; // of the dimensions
    double dimensionOffset = 1;
    QRectF extents;
};

Drawing layOut(const ProjectSnapshot& s, const std::vector<ThrowUnit>& throwUnits,
               double spreadDeg) {
    Drawing d;
    d.A = s.hallLength();
    d.B = s.hallWidth();
    std::map<std::pair<QString, int>, size_t> blockOf;
    std::set<QString> names;
    QRectF units;
    for (const Row& u : s.units) {
        // A unit whose place or angle is beyond any value (a damaged file) has
        // no place on the plan.
        if (!u.finite(QStringLiteral("X")) || !u.finite(QStringLiteral("Y")) ||
            !u.finite(QStringLiteral("Uhel")))
            continue;
        const QString type = u.text(QStringLiteral("Typ"));
        const int kind = u.integer(QStringLiteral("ObjType"));
        const auto key = std::make_pair(type, kind);
        auto it = blockOf.find(key);
        if (it == blockOf.end()) {
            UnitBlock b;
            b.kind = kind;
            b.size = s.footprint(type, kind);
            // Two types whose names differ only in characters a block name may
            // not hold (or one type placed as two kinds) get a number.
            const QString base = blockNameOf(type);
            b.name = base;
            for (int n = 2; names.count(b.name.toCaseFolded()); ++n)
                b.name = QStringLiteral("%1_%2").arg(base).arg(n);
            names.insert(b.name.toCaseFolded());
            it = blockOf.emplace(key, d.blocks.size()).first;
            d.blocks.push_back(b);
        }
        Drawing::Unit du;
        du.block = it->second;
        du.number = u.integer(QStringLiteral("IDJednotky"));
        du.x = u.number(QStringLiteral("X"));
        du.y = u.number(QStringLiteral("Y"));
        du.angle = exchange::unitAngle(u);
        d.units.push_back(du);
        const Footprint f = d.blocks[du.block].size;
        const double reach = std::hypot(f.width, f.depth);
        units |= QRectF(du.x - reach, du.y - reach, 2 * reach, 2 * reach);
    }
    const double spread = isValidThrowSpread(spreadDeg) ? spreadDeg : DefaultThrowSpreadDeg;
    for (const ThrowUnit& t : throwUnits) {
        const std::optional<ThrowZone> z = throwZone(t, d.A, d.B, spread);
        if (z && z->boundary.size() >= 2)
            d.zones.push_back(z->boundary);
    }
    // The dimensions grow with the hall, so that they read at the scale the
    // whole plan is printed at.
    const double span = std::max({d.A, d.B, 1.0});
    d.textHeight = std::clamp(span / 80, 0.25, 5.0);
    d.dimensionOffset = 0.5 + 2.5 * d.textHeight;
    QRectF all(-d.dimensionOffset - 2 * d.textHeight, -d.dimensionOffset - 2 * d.textHeight,
               std::max(d.A, 0.0) + d.dimensionOffset + 2 * d.textHeight,
               std::max(d.B, 0.0) + d.dimensionOffset + 2 * d.textHeight);
    d.extents = all | units;
    return d;
}

void writeDimension(DL_Dxf& dxf, DL_WriterA& dw, double x1, double y1, double x2, double y2,
                    double lineX, double lineY, const QString& text) {
    // The definition point lies on the dimension line, level with the second
    // extension point; the text sits in the middle of the line.
    const double mx = (x1 + x2) / 2 + (lineX - x2), my = (y1 + y2) / 2 + (lineY - y2);
    DL_DimensionData dim(lineX, lineY, 0, mx, my, 0, 1, 5, 1, 1.0, drawingText(text), "Standard",
                         0);
    dxf.writeDimAligned(dw, dim, DL_DimAlignedData(x1, y1, 0, x2, y2, 0), on("DIMENSIONS"));
}

void writeDrawing(DL_Dxf& dxf, DL_WriterA& dw, const Drawing& d, int languageBase) {
    const QRectF view = d.extents.adjusted(-1, -1, 1, 1);

    // The header: AutoCAD 2007, whose texts are UTF-8, in metres.
    dw.sectionHeader();
    dw.dxfString(9, "$ACADVER");
    dw.dxfString(1, "AC1021");
    dw.dxfString(9, "$DWGCODEPAGE");
    dw.dxfString(3, "ANSI_1252");
    dw.dxfString(9, "$HANDSEED");
    // Above every handle of the file: a few per table, block and entity.
    const size_t items = 64 + 8 * (d.units.size() + d.blocks.size() + d.zones.size());
    dw.dxfHex(5, int(std::max<size_t>(0xFFFF, 0x100 + 4 * items)));
    dw.dxfString(9, "$INSUNITS");
    dw.dxfInt(70, 6);
    dw.dxfString(9, "$MEASUREMENT");
    dw.dxfInt(70, 1);
    dw.dxfString(9, "$LUNITS");
    dw.dxfInt(70, 2);
    dw.dxfString(9, "$LUPREC");
    dw.dxfInt(70, 2);
    dw.dxfString(9, "$EXTMIN");
    dw.coord(10, d.extents.left(), d.extents.top());
    dw.dxfString(9, "$EXTMAX");
    dw.coord(10, d.extents.right(), d.extents.bottom());
    dw.dxfString(9, "$LIMMIN");
    dw.dxfReal(10, view.left());
    dw.dxfReal(20, view.top());
    dw.dxfString(9, "$LIMMAX");
    dw.dxfReal(10, view.right());
    dw.dxfReal(20, view.bottom());
    dw.dxfString(9, "$TEXTSTYLE");
    dw.dxfString(7, "Standard");
    dw.dxfString(9, "$TEXTSIZE");
    dw.dxfReal(40, d.textHeight);
    dw.dxfString(9, "$DIMSTYLE");
    dw.dxfString(2, "Standard");
    // The current dimension settings, as the style has them: readers that do
    // not look into the style take them from here.
    const double t = d.textHeight;
    for (const auto& [name, value] : {std::pair{"$DIMSCALE", 1.0},
                                      {"$DIMTXT", t},
                                      {"$DIMASZ", t},
                                      {"$DIMEXE", t / 2},
                                      {"$DIMEXO", t / 2},
                                      {"$DIMGAP", t / 4}}) {
        dw.dxfString(9, name);
        dw.dxfReal(40, value);
    }
    dw.dxfString(9, "$DIMDEC");
    dw.dxfInt(70, 2);
    dw.dxfString(9, "$CLAYER");
    dw.dxfString(8, "0");
    dw.sectionEnd();

    dw.sectionTables();
    writeViewport(dw, view);
    dw.tableLinetypes(3);
    dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "BYBLOCK", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "BYLAYER", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Continuous", 0, 0, 0.0));
    dw.tableEnd();
    dw.tableLayers(int(std::size(Layers)) + 1);
    dxf.writeLayer(dw, DL_LayerData("0", 0), DL_Attributes("", 7, -1, -3, "CONTINUOUS"));
    for (const Layer& l : Layers)
        dxf.writeLayer(dw, DL_LayerData(l.name, 0),
                       DL_Attributes("", l.color, -1, l.weight, "CONTINUOUS"));
    dw.tableEnd();
    dw.tableStyle(1);
    dxf.writeStyle(dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, d.textHeight, "txt", ""));
    dw.tableEnd();
    dxf.writeView(dw);
    dxf.writeUcs(dw);
    dw.tableAppid(1);
    dxf.writeAppid(dw, "ACAD");
    dw.tableEnd();
    dxf.writeDimStyle(dw, t, t / 2, t / 2, t / 4, t);
    dxf.writeBlockRecord(dw);
    for (const UnitBlock& b : d.blocks)
        dxf.writeBlockRecord(dw, utf8(b.name));
    dw.tableEnd();
    dw.sectionEnd();

    dw.sectionBlocks();
    for (const char* space : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
        dxf.writeBlock(dw, DL_BlockData(space, 0, 0.0, 0.0, 0.0));
        dxf.writeEndBlock(dw, space);
    }
    for (const UnitBlock& b : d.blocks)
        writeUnitBlock(dxf, dw, b);
    dw.sectionEnd();

    dw.sectionEntities();
    dxf.writePolyline(dw, DL_PolylineData(4, 0, 0, 1), on("HALL"));
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {d.A, 0.0}, {d.A, d.B}, {0.0, d.B}})
        dxf.writeVertex(dw, DL_VertexData(x, y, 0, 0));
    dxf.writePolylineEnd(dw);

    for (const Drawing::Unit& u : d.units) {
        const UnitBlock& b = d.blocks[u.block];
        // Uhel turns clockwise from +Y, DXF counter-clockwise from +X.
        double rotation = std::fmod(90.0 - u.angle, 360.0);
        if (rotation < 0)
            rotation += 360;
        dxf.writeInsert(dw, DL_InsertData(utf8(b.name), u.x, u.y, 0, 1, 1, 1, rotation, 1, 1, 0, 0),
                        on("UNITS"));
        const double h = std::clamp(0.6 * std::min(b.size.width, b.size.depth), 0.1, 0.4);
        dxf.writeText(dw,
                      DL_TextData(u.x, u.y, 0, u.x, u.y, 0, h, 1, 0, 1, 2,
                                  drawingText(QString::number(u.number)), "Standard", 0),
                      on("NUMBERS"));
    }

    for (const std::vector<ZoneVertex>& zone : d.zones) {
        dxf.writePolyline(dw, DL_PolylineData(int(zone.size()), 0, 0, 1), on("THROW"));
        for (const ZoneVertex& v : zone)
            dxf.writeVertex(dw, DL_VertexData(v.x, v.y, 0, v.bulge));
        dxf.writePolylineEnd(dw);
    }

    // Length A under the hall, width B left of it reading upwards, as on the plan.
    const QLocale locale = exchange::localeOf(languageBase);
    const QString format = QStringLiteral("%.2n m");
    const double off = d.dimensionOffset;
    writeDimension(dxf, dw, 0, 0, d.A, 0, d.A, -off, formatText(format, {d.A}, locale));
    writeDimension(dxf, dw, 0, 0, 0, d.B, -off, d.B, formatText(format, {d.B}, locale));
    dw.sectionEnd();

    dxf.writeObjects(dw);
    dxf.writeObjectsEnd(dw);
    dw.dxfEOF();
}

} // namespace

QByteArray planDxf(TZFData& data, int languageBase, double spreadDeg, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    ProjectSnapshot snapshot;
    try {
        snapshot = exchange::readProject(data);
    } catch (const DbError& e) {
        return fail(e.message());
    }
    const Drawing drawing = layOut(snapshot, throwUnitsFromTable(data.tJednotky), spreadDeg);

    exchange::MemoryFile file;
    if (!file.isOpen())
        return fail(file.error());
    DL_Dxf dxf;
    std::unique_ptr<DL_WriterA> dw(dxf.out(file.name().constData(), DL_Codes::AC1015));
    if (!dw || dw->openFailed())
        return fail(QStringLiteral("The drawing could not be started."));
    writeDrawing(dxf, *dw, drawing, languageBase);
    dw->close();
    QByteArray bytes;
    if (!file.read(&bytes))
        return fail(file.error());
    // The writer keeps its stream's errors to itself; a drawing cut short has
    // lost its end.
    if (!bytes.endsWith("EOF\n"))
        return fail(QStringLiteral("The drawing could not be written completely."));
    return bytes;
}

} // namespace zf
