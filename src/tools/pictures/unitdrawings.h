#pragma once

#include "pictures/picture.h"

#include <vector>

namespace zf::pictures {

// The pictures of a unit's properties: "Montaz1.svg" ... "Montaz5.svg" for the
// mounting kinds (location entries 0 to 4), "Odvod1.svg" ... "Odvod7.svg" for
// the flue gas exhausts (entries 0 to 6), the destratifier "Dest.svg" and its
// dimensions "Sizes/Rozv1.svg".
std::vector<Picture> unitPictures();

} // namespace zf::pictures
