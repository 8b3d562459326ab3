#include "building/buildingmodel.h"
#include "building/fieldaccess.h"

#include <array>

namespace zf {

using building::col;

namespace {

// The names of the surfaces in the languages CZ, EN, GE, PL and RU, each
// followed by the record's number.
using NameSet = std::array<const char16_t*, 5>;
constexpr NameSet NameSetWall{u"Stěna", u"Wall", u"Wand", u"Ściana", u"Стена"};
constexpr NameSet NameSetRoof{u"Střecha", u"Roof", u"Dach", u"Dach", u"Крыша"};
constexpr NameSet NameSetGable{u"Štít", u"Gable", u"Dachgiebel", u"Szczyt", u"Фронтон"};
constexpr NameSet NameSetFloor{u"Podlaha", u"Floor", u"Fußboden", u"Podłoga", u"Пол"};
constexpr NameSet NameSetSkySurface{u"Světlík - Plocha", u"Skylight - Surface",
                                    u"Oberlicht - Fläche", u"Świetlik - Ściana", u"Фонарь - Стена"};
constexpr NameSet NameSetSkyRoof{u"Světlík - Střecha", u"Skylight - Surface", u"Oberlicht - Dach",
                                 u"Świetlik - Dach", u"Фонарь - Крыша"};
constexpr NameSet NameSetSkyWall{u"Světlík - Stěna", u"Skylight - Surface", u"Oberlicht - Wand",
                                 u"Świetlik - Ściana", u"Фонарь - Стена"};
// The last surface of skylight type 3 has names of its own.
constexpr NameSet NameSetSkyLast{u"Světlík - Stěna", u"Skylight - Surface", u"Oberlicht - Dach",
                                 u"Świetlik - Ściana", u"Фонарь - Стена"};

const char* const NameColumns[] = {"NazevCZ", "NazevEN", "NazevGE", "NazevPL", "NazevRU"};

enum Kind { Wall = 1, Roof = 2, Floor = 3, Sky = 4 }; // as TypSteny; a gable is a wall

struct Record {
    const char* variant;
    int number;
    Kind kind;
    const NameSet* names;
};

std::vector<Record> allRecords() {
    std::vector<Record> r;
    auto walls = [&r](const char* v) {
        for (int i = 1; i <= 4; ++i)
            r.push_back({v, i, Wall, &NameSetWall});
    };
    walls("hA");
    r.push_back({"hA", 5, Roof, &NameSetRoof});
    r.push_back({"hA", 6, Floor, &NameSetFloor});
    for (const char* v : {"hB", "hC"}) {
        walls(v);
        r.push_back({v, 5, Wall, &NameSetGable});
        r.push_back({v, 6, Roof, &NameSetRoof});
        r.push_back({v, 7, Wall, &NameSetGable});
        r.push_back({v, 8, Roof, &NameSetRoof});
        r.push_back({v, 9, Floor, &NameSetFloor});
    }
    walls("hD");
    r.push_back({"hD", 5, Wall, &NameSetGable});
    r.push_back({"hD", 6, Roof, &NameSetRoof});
    r.push_back({"hD", 7, Wall, &NameSetGable});
    r.push_back({"hD", 8, Floor, &NameSetFloor});
    r.push_back({"sA", 1, Sky, &NameSetSkySurface});
    r.push_back({"sA", 2, Sky, &NameSetSkyRoof});
    r.push_back({"sA", 3, Sky, &NameSetSkySurface});
    r.push_back({"sA", 4, Sky, &NameSetSkyRoof});
    for (int i = 1; i <= 4; ++i)
        r.push_back({"sB", i, Sky, &NameSetSkyWall});
    r.push_back({"sB", 5, Sky, &NameSetSkySurface});
    r.push_back({"sB", 6, Sky, &NameSetSkyRoof});
    r.push_back({"sB", 7, Sky, &NameSetSkySurface});
    r.push_back({"sB", 8, Sky, &NameSetSkyRoof});
    r.push_back({"sC", 1, Sky, &NameSetSkySurface});
    r.push_back({"sC", 2, Sky, &NameSetSkyRoof});
    r.push_back({"sC", 3, Sky, &NameSetSkySurface});
    r.push_back({"sC", 4, Sky, &NameSetSkyLast});
    r.push_back({"sD", 1, Sky, &NameSetSkySurface});
    r.push_back({"sD", 2, Sky, &NameSetSkyRoof});
    r.push_back({"sD", 3, Sky, &NameSetSkySurface});
    return r;
}

QString recordName(const Record& r, int language) {
    const QString number = QString::number(r.number);
    const QString set = QString::fromUtf16((*r.names)[size_t(language)]);
    // These Russian names have always carried two blanks before the number.
    const bool russian = language == 4;
    const bool twoBlanks =
        russian && (r.names == &NameSetSkyRoof || (qstrcmp(r.variant, "hB") == 0 && r.number == 6));
    return set + (twoBlanks ? QStringLiteral("  ") : QStringLiteral(" ")) + number;
}

void appendRecord(Dataset& walls, const Record& r) {
    walls.append();
    walls.setValue(col("TypSteny"), int(r.kind));
    walls.setValue(col("VariantaHaly"), QString::fromLatin1(r.variant));
    walls.setValue(col("CisloSteny"), r.number);
    for (int i = 0; i < 5; ++i)
        walls.setValue(col(NameColumns[i]), recordName(r, i));
    if (r.kind == Sky) {
        walls.setNull(col("NazevSL"));
    } else {
        walls.setValue(col("NazevSL"), QStringLiteral("SL"));
    }
    if (r.kind == Floor) {
        for (const char* c : {"Material", "k", "Plocha", "Vyska", "Sirka", "Ti", "Te"})
            walls.setNull(col(c));
        walls.setValue(col("Prilehla_k_zemi"), true);
    }
    walls.post();
}

} // namespace

QStringList generatedSurfaceNames(const QString& languageCode) {
    QStringList names;
    for (int i = 0; i < 5; ++i) {
        if (QLatin1String(NameColumns[i]).mid(5) != languageCode)
            continue;
        for (const Record& r : allRecords())
            names << recordName(r, i);
    }
    return names;
}

void BuildingModel::GenerateWallRecords(int roofIndex) {
    Dataset& walls = data_.tSteny;
    Dataset& openings = data_.tStavOtvory;
    Dataset::ControlsSuspended wallsSuspended(walls);
    Dataset::ControlsSuspended openingsSuspended(openings);
    walls.close();
    walls.open();
    walls.setFiltered(false);
    {
        Database::Transaction transaction(*walls.database());
        // The openings of every wall go with the walls, also those of walls that
        // a file may lack.
        data_.ClearTable(openings, true);
        data_.ClearTable(walls);
        for (const Record& r : allRecords())
            appendRecord(walls, r);
        transaction.commit();
    }
    FilterWallVariants(roofIndex, 0);
    walls.first();
}

} // namespace zf
