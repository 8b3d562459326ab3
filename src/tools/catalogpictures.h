#pragma once

// The pictures of the units catalog, drawn from the catalog's own data. Every
// picture is one paint routine in its own coordinates (1 unit = 1 pixel at
// 100 %), written as SVG for the program folder and painted straight into the
// documents. Texts in them are numbers, letters and units only: one picture
// serves every language.

#include <QPainter>
#include <QSize>
#include <QString>
#include <functional>

namespace zf::art {

struct UnitType;
struct JetModel;

struct Picture {
    QSize size;
    std::function<void(QPainter&)> paint;

    bool isNull() const { return !paint; }
};

// Air velocity in the plane 1.7 m above the floor, seen from above.
Picture velocityPicture(const UnitType& type, const JetModel& jet);
// Air temperature in the vertical plane through the jet axis.
Picture temperaturePicture(const UnitType& type, const JetModel& jet);
// The colour keys: velocity of the warm-air units, of the MK units, temperature.
Picture velocityLegend(bool mixingUnits);
Picture temperatureLegend();
// The family's product picture (the "photo" of the catalog viewer).
Picture familyPhoto(const QString& familyKey);
// The dimension drawing of a type: its views with the letters of the dimension
// columns its family shows. letters receives the letters drawn.
Picture dimensionDrawing(const UnitType& type, QStringList* letters = nullptr);

// Paints a picture into a rectangle, scaled to fit and centred.
void paintPicture(QPainter& painter, const Picture& picture, const QRectF& target);
// Writes a picture as an SVG file (through a temporary file renamed into place).
bool writeSvg(const Picture& picture, const QString& path, const QString& title, QString* error);
// Writes a picture in the format its file name asks for: SVG, or a raster image
// (PNG, JPEG, BMP) at twice the picture's size.
bool writePicture(const Picture& picture, const QString& path, const QString& title,
                  QString* error);

// The band limits and colours of the keys, lowest band first; the first colour
// is for values below the first limit.
struct BandScale {
    std::vector<double> limits;
    std::vector<QColor> colours; // limits.size() + 1
    QString quantity;            // "v [m/s]", "Ta [°C]"
    int decimals = 0;
};
const BandScale& velocityScale(bool mixingUnits);
const BandScale& temperatureScale();

} // namespace zf::art
