#pragma once

// The open project read once into plain rows for the writers of the exchange
// formats. Internal to the exchange library.

#include <QHash>
#include <QString>
#include <QVariant>
#include <vector>

namespace zf {

class Dataset;
class TZFData;

namespace exchange {

// One row by column name, as stored: an invalid QVariant for null, Currency as
// a double.
class Row {
public:
    Row() = default;
    Row(const Dataset& ds, int row);

    QVariant value(const QString& column) const { return values_.value(column); }
    bool isNull(const QString& column) const { return !values_.value(column).isValid(); }
    // Null counts as 0, as in the calculations; so does a number beyond any
    // value, which finite() tells apart.
    double number(const QString& column) const;
    bool finite(const QString& column) const;
    int integer(const QString& column) const;
    QString text(const QString& column) const;
    bool flag(const QString& column) const;

private:
    QHash<QString, QVariant> values_;
};

// The size of a unit type on the plan [m]: across the blowing direction and
// along it (a destratifier's diameter is both).
struct Footprint {
    double width = 0;
    double depth = 0;
};

struct ProjectSnapshot {
    Row project;                 // the first row of tRozmery
    std::vector<Row> surfaces;   // the visible rows of tSteny, in table order
    std::vector<Row> openings;   // the openings of those, surface after surface
    std::vector<int> openingsOf; // for each surface, how many of the openings are its
    std::vector<Row> unitTypes;  // tTempTable by ID
    std::vector<Row> units;      // tJednotky by ID
    // The catalog's dimensions [mm] by its type name (tBrisantRozmery); empty
    // when the reference database cannot be read.
    QHash<QString, Row> dimensions;

    double hallLength() const { return project.number(QStringLiteral("Stena_A")); }
    double hallWidth() const { return project.number(QStringLiteral("Stena_B")); }
    // The size of a placed unit of the type and kind (ObjType) from the
    // catalog's dimensions; the plan's symbol size, 1 m x 0.5 m, when the
    // catalog has none.
    Footprint footprint(const QString& type, int kind) const;
};

// Reads the project without moving a cursor of the data module's datasets.
// Throws DbError when a table cannot be read.
ProjectSnapshot readProject(TZFData& data);

// A unit's angle as the plan keeps it: the whole number of Uhel, halves to even.
int unitAngle(const Row& unit);

} // namespace exchange
} // namespace zf
