// dxf_picture IN.dxf OUT.png [WIDTH]: the drawing as dxflib's reader reads it,
// drawn on white paper, to look at an export without a CAD program.
#include "exchangesupport.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: dxf_picture IN.dxf OUT.png [WIDTH]\n");
        return 2;
    }
    const zf::test::DxfDrawing d = zf::test::readDxf(args[1]);
    if (!d.read) {
        std::fprintf(stderr, "%s: not a readable DXF file\n", qPrintable(args[1]));
        return 1;
    }
    const int width = args.size() > 3 ? args[3].toInt() : 1600;
    if (!zf::test::drawDxf(d, width > 0 ? width : 1600).save(args[2])) {
        std::fprintf(stderr, "%s: cannot be written\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
