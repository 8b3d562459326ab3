#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace zf {
class TZFData;
}

namespace zf::pictures {

// A surface record as the wall-record generator makes it, with the area the
// hall geometry computes for the sizes the sketches are drawn with.
struct SurfaceRecord {
    QString variant; // VariantaHaly
    int number = 0;  // CisloSteny
    double area = 0; // Plocha
};

// Generates the wall records of every variant in the open project and lets the
// hall geometry measure them, variant by variant, at the sketches' sizes.
// Errors of the database layer propagate.
std::vector<SurfaceRecord> sketchedSurfaceRecords(TZFData& data);

// Where the records and the sketched shapes disagree: a record without a
// surface in the sketch, a sketched surface without a record, or an area that
// differs; empty when every picture shows the surface its record describes.
QStringList compareWithSketches(const std::vector<SurfaceRecord>& records);

} // namespace zf::pictures
