#pragma once

// The units catalog as the picture and document generators read it from the
// reference database: families (tGeneral), technical data (tBrisant) and the
// dimension rows with their picture names (tBrisantRozmery).

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace zf::art {

// The family key of a catalog type string, tested in the viewer's order: "AX"
// with " M" is "BLENDA", then "AX", "RD", "MK" ("MK-I"), "K"; any other text is
// its own key.
QString familyKeyOf(const QString& typeString);

// The dimension columns a family shows, in table order (weights included).
const QStringList& dimensionColumnsOf(const QString& familyKey);
// All dimension columns of tBrisantRozmery in table order.
const QStringList& allDimensionColumns();

// The key of a tree node in tBrisant: unless it contains "MK", the text before
// the character that precedes the first "-" ("Brisant AX 20 - S" gives
// "Brisant AX 20").
QString technicalKeyOf(const QString& typeString);

struct Family {
    QString key;
    QHash<QString, QString> name;        // by language code
    QHash<QString, QString> description; // by language code
    QString photo;                       // imFoto
};

struct TechnicalData {
    QString typ;
    QString typeId;
    int placement = 0;
    int mode = 0;
    double heatOutput = 0;    // kW
    double heatOutputMin = 0; // kW
    double airFlow = 0;       // m3/h
    double electricInput = 0; // W
    QString range, tempRise, noise, pressure;
};

struct UnitType {
    QString typ; // the tree text, key of tBrisantRozmery
    QString family;
    QString sizePicture, velocityPicture, temperaturePicture;
    QHash<QString, double> dims; // only the columns that hold a value
    std::optional<TechnicalData> tech;

    bool hasDim(const QString& column) const { return dims.contains(column); }
    double dim(const QString& column) const { return dims.value(column, 0.0); }
};

class Catalog {
public:
    // Reads the reference database; throws DbError when it cannot.
    explicit Catalog(const QString& referenceDatabase);

    const std::vector<Family>& families() const { return families_; }
    const std::vector<UnitType>& types() const { return types_; }
    const Family* family(const QString& key) const;
    std::vector<const UnitType*> typesOf(const QString& familyKey) const;

private:
    std::vector<Family> families_;
    std::vector<UnitType> types_;
};

// The language codes whose columns tGeneral holds.
inline const QStringList& catalogLanguages() {
    static const QStringList codes = {"CZ", "EN", "GE", "PL", "RU"};
    return codes;
}

// "24.8" for 24.8, "950" for 950: the shortest text of a value, with the given
// decimal separator.
QString numberText(double value, QChar decimalPoint = QLatin1Char('.'));

// The range of a type in metres: a single value, or the middle of a span "14-18".
// Empty text gives 0.
double rangeMetres(const QString& range);

} // namespace zf::art
