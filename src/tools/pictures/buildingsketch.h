#pragma once

#include "pictures/hallmodel.h"
#include "pictures/picture.h"

#include <vector>

namespace zf::pictures {

// The sizes the sketches are drawn with: in proportion, to no scale.
HallSize sketchHallSize();
// The hall under a skylight, lower so that the skylight shows large.
HallSize skylightHallSize();
SkylightSize sketchSkylightSize(int skylightType);

// The shape drawn for a variant code ("hA" ... "sD"); empty for another code.
Shape sketchShape(const QString& variant);

// The roof and skylight type pictures "Building/ha.svg" ... "Building/sd.svg":
// the shape with its dimension letters.
std::vector<Picture> typePictures();
// The picture of one surface record, "Building/<variant><number>.svg": the
// shape with that surface highlighted and every surface numbered. False when
// the variant has no such surface.
bool surfacePicture(const QString& variant, int number, Picture* picture);

} // namespace zf::pictures
