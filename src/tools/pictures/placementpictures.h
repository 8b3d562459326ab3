#pragma once

#include <QString>
#include <QStringList>

namespace zf {
class TZFData;
}

namespace zf::pictures {

// The hall and the units the placement pictures are made with.
inline constexpr double SampleHallA = 30, SampleHallB = 20, SampleHallH1 = 6;
inline constexpr int SampleUnitCount = 6;

// "Umisteni1.svg" ... "Umisteni7.svg" in the Images folder: for each placement
// variant, the automatic placement run on the sample hall in the open project,
// drawn by the plan's own paint routine. Returns what went wrong, empty on
// success. Errors of the database layer propagate.
QStringList writePlacementPictures(TZFData& data, const QString& imagesFolder);

} // namespace zf::pictures
