#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace zf {

// The largest input file the tool reads; a design is a few kilobytes.
inline constexpr qint64 MaxInputFileSize = 64 * 1024 * 1024;

// Reads an input file of the tool: a regular file (a FIFO or a device would
// block or never end) of at most MaxInputFileSize bytes. On failure error says
// why, naming the file.
bool readInputFile(const QString& path, QByteArray* bytes, QString* error);

// Parses one JSON object; a UTF-8 byte order mark before it is allowed.
bool parseJsonObject(const QByteArray& bytes, QJsonObject* object, QString* error);

// One surface of a design: the record it names and what is entered into it.
struct DesignWall {
    QString variant;                                  // VariantaHaly
    int number = 0;                                   // CisloSteny
    QJsonObject values;                               // Material, k, Ti, Te as given
    std::optional<std::vector<QJsonObject>> openings; // replace the surface's openings
};

// DESIGN.json of `zefrant-cli input`, its form checked: the project's keys are
// the choices and the columns the wizard edits, each with a value of its kind;
// walls and openings are objects with known keys. Whether the wizard takes a
// value (its list, its edit enabled) is up to the wizard.
struct Design {
    QJsonObject project;
    std::vector<DesignWall> walls;
};

// The project's date, set as picking it in the date picker: a text
// "YYYY-MM-DD" or "YYYY-MM-DDTHH:MM:SS" (as `export` writes it), local time.
inline const QString DesignDateKey = QStringLiteral("Datum_vypracovani");
QDateTime designDate(const QJsonValue& v); // invalid when the text is no such date

// The keys of `project` that are choices, in the order they are applied.
const QStringList& designChoiceKeys();

bool parseDesign(const QByteArray& bytes, Design* design, QString* error);

// UNITS.json of `zefrant-cli units`, its form checked: the chosen numbers by the
// ID of their tTempTable row and the placement settings. Whether a row with the
// ID exists is up to the project.
struct UnitsInput {
    std::vector<std::pair<int, int>> counts; // ID, Pocet_jednotek
    std::optional<int> variant;              // Varianta_rozmisteni_enum
    bool longerSide = true;                  // "side": "longer" or "shorter"
    std::optional<double> unitHeight;        // Vyska_jednotek
    std::optional<double> destratifierHeight; // Vyska_destrat
    bool place = false;                       // press "Locate the units"
    QString source;                           // the file it was read from, for messages
};

// Reads UNITS.json from bytes; source names the file in the reasons.
bool parseUnitsInput(const QByteArray& bytes, const QString& source, UnitsInput* input,
                     QString* error);

} // namespace zf
