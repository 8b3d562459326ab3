#pragma once

#include <QString>

namespace zf {

// The circular segment over a chord c with the rise h of its arc.
struct CircularSegmentResult {
    float R = 0;     // radius of the circle through both ends of the chord and the top
    float theta = 0; // central angle [rad]; the arc length is R * theta
    float S = 0;     // area between the chord and the arc
    int status = 0;  // 0, or SegmentTooHigh when the arc would be more than a half circle
};
inline constexpr int SegmentTooHigh = -10;

// Everything 0 for a chord or rise that is not positive. A rise above c/2 gives
// status SegmentTooHigh with R = c/2 and theta = S = 0.
CircularSegmentResult CircularSegment(float chord, float rise);

// The picture of a roof type (index 0 to 3, Images/Building/ha.svg to hd.svg) or
// of a skylight type (isRoof false, index 1 to 4, sa.svg to sd.svg); empty when
// there is none or the file does not exist.
QString BuildingPictureFile(int index, bool isRoof);

// The filter that shows the wall records of one roof type (0 to 3) and one
// skylight type (0 none, 1 to 4); an index outside its list adds no term.
QString wallVariantFilter(int roofIndex, int skylightIndex);

// The number of wall records of a roof type's variant: 6, 9, 9 or 8; 0 outside
// the list.
int hallRecordCount(int roofIndex);

} // namespace zf
