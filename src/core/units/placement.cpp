// The automatic placement of the chosen units on the plan and in tJednotky.
#include "units/projectunits.h"

#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/texts.h"
#include "storage/zfdata.h"
#include "units/unittypes.h"

#include <QFileInfo>
#include <algorithm>
#include <functional>

namespace zf {

namespace {

constexpr double WallGap = 0.25; // a wall unit stands this far in front of the wall

QString caption() {
    return QString::fromLatin1(ProductName);
}

// The rows whose units go along the walls: exactly the rows that N counts, so
// every chosen unit is placed whatever its type name says.
bool isWallUnitRow(const QString& typ) {
    return !isMixingUnitType(typ) && !isDestratifierType(typ);
}

// Calls place once for every chosen unit of the rows that pass the test, in
// table order, with the unit's row current.
void forEachChosenUnit(Dataset& types, const std::function<bool(const QString&)>& rowTest,
                       const std::function<void(const QString& typ)>& place) {
    for (types.first(); !types.eof(); types.next()) {
        const QString typ = types.asString(QStringLiteral("Typ"));
        if (!rowTest(typ))
            continue;
        const int k = types.asInteger(QStringLiteral("Pocet_jednotek"));
        for (int j = 0; j < k; ++j)
            place(typ);
    }
}

} // namespace

double ProjectUnits::hallA() const {
    return project_.StenaA;
}

double ProjectUnits::hallB() const {
    return project_.StenaB;
}

QStringList ProjectUnits::variantEntries() {
    QStringList entries;
    for (int i = 1; i <= 7; ++i)
        entries << QStringLiteral("Varianta %1").arg(i);
    return entries;
}

void ProjectUnits::setVariantIndex(int index) {
    variant_ = index;
    data_.tADOProject.setValue(QStringLiteral("Varianta_rozmisteni_enum"), index);
    data_.tADOProject.post();
}

void ProjectUnits::restoreVariant() {
    const int v = data_.tADOProject.asInteger(QStringLiteral("Varianta_rozmisteni_enum"));
    variant_ = (v >= 0 && v < int(variantEntries().size())) ? v : 0;
}

QString ProjectUnits::variantPictureFile(int index) {
    const QString file = ImagesPath + QStringLiteral("Umisteni%1.svg").arg(index + 1);
    return QFileInfo(file).isFile() ? file : QString();
}

PlaceResult ProjectUnits::PlaceUnits() {
    Dataset& project = data_.tADOProject;
    const int units = project.asInteger(QStringLiteral("Pocet_jednotek_celkem"));
    const int destr = project.asInteger(QStringLiteral("Pocet_destrat_celkem"));
    if (units <= 0 && destr <= 0) {
        ShowMessageBox(LanguageText(5011), caption(), MbWarning);
        return PlaceResult::NothingChosen;
    }
    // Every chosen unit becomes a symbol and a row: counts only a damaged file
    // can hold would run for ever and fill the disk.
    qint64 chosen = 0;
    {
        Dataset& types = data_.tResults;
        Dataset::ControlsSuspended quiet(types);
        for (types.first(); !types.eof(); types.next())
            chosen += std::max(0, types.asInteger(QStringLiteral("Pocet_jednotek")));
        types.first();
    }
    if (chosen > MaxPlacedUnits) {
        ShowMessageBox(formatText(LanguageText(3020), {chosen, MaxPlacedUnits}), caption(),
                       MbError);
        return PlaceResult::TooMany;
    }
    if (!(project.asFloat(QStringLiteral("Vyska_jednotek")) > 0) &&
        ShowMessageBox(LanguageText(5012), caption(), MbWarningYesNo) != IdYes) {
        events_->focusControl(Window::ProjectWindow, QLatin1String(UnitHeightControl));
        return PlaceResult::NoUnitHeight;
    }
    if (destr > 0 && !(project.asFloat(QStringLiteral("Vyska_destrat")) > 0) &&
        ShowMessageBox(LanguageText(5013), caption(), MbWarningYesNo) != IdYes) {
        events_->focusControl(Window::ProjectWindow, QLatin1String(DestratifierHeightControl));
        return PlaceResult::NoDestratifierHeight;
    }
    events_->pageChanged(Window::ProjectWindow, tsDraw);
    if (plan.count() > 0 &&
        ShowMessageBox(LanguageText(5014), caption(), MbWarningYesNo) != IdYes) {
        events_->pageChanged(Window::ProjectWindow, tsVyberJednotek);
        return PlaceResult::Declined;
    }
    const std::vector<PlanSymbol> previous = plan.objects();
    plan.ClearObjects(true);
    try {
        BusyCursor busy;
        Dataset& types = data_.tResults;
        Dataset& placed = data_.tJednotky;
        Dataset::ControlsSuspended quietTypes(types);
        Dataset::ControlsSuspended quietPlaced(placed);
        Database::Transaction transaction(*placed.database());
        data_.ClearTable(placed);
        const double A = hallA(), B = hallB();
        int M = 0, N = 0;
        for (types.first(); !types.eof(); types.next()) {
            const QString typ = types.asString(QStringLiteral("Typ"));
            const int k = types.asInteger(QStringLiteral("Pocet_jednotek"));
            if (isMixingUnitType(typ))
                M += k;
            else if (!isDestratifierType(typ))
                N += k;
        }
        const double Z = project.asFloat(QStringLiteral("Vyska_jednotek"));
        if (variant_ == 2) {
            PlaceAroundPerimeter(N, Z);
        } else {
            const bool twoWalls = variant_ != 1;
            const bool alongA = towardsLongerSide ? A >= B : A < B;
            PlaceAlongWalls(N, alongA, twoWalls, Z);
        }
        PlaceMixingUnits(M, Z);
        PlaceDestratifiers(destr, project.asFloat(QStringLiteral("Vyska_destrat")));
        transaction.commit();
        types.first();
        placed.first();
    } catch (...) {
        // Nothing of the placement reached the file: the plan shows what it holds.
        // The symbols come back as they were, with their numbers: after drops
        // the list order is no longer the order of the numbers.
        plan.setObjects(previous);
        throw;
    }
    history.clear();
    plan.repaint();
    return PlaceResult::Placed;
}

void ProjectUnits::PlaceAlongWalls(int N, bool alongA, bool twoWalls, double Z) {
    if (N <= 0)
        return;
    const double A = hallA(), B = hallB();
    const int k = N / 2 + N % 2; // units on the first wall
    double s = (alongA ? A : B) / (N + 1);
    if (!twoWalls)
        s /= 2;
    const double step = 2 * s;
    double X, Y;
    int angle;
    if (alongA) {
        X = twoWalls ? s : step;
        Y = WallGap;
        angle = 0;
    } else {
        X = WallGap;
        Y = twoWalls ? s : step;
        angle = 90;
    }
    int i = 0;
    bool secondWall = false;
    forEachChosenUnit(data_.tResults, isWallUnitRow, [&](const QString& typ) {
        if (N < 3) {
            if (i == 0)
                AddPlacedUnit(ObjWarmAirUnit, typ, WallGap, WallGap, Z, 45);
            else
                AddPlacedUnit(ObjWarmAirUnit, typ, A - WallGap, B - WallGap, Z, 225);
            ++i;
            return;
        }
        if (twoWalls && i == k) {
            secondWall = true;
            if (alongA) {
                Y = B - WallGap;
                X = N % 2 ? A - 2 * s : A - s;
                angle = 180;
            } else {
                X = A - WallGap;
                Y = N % 2 ? B - 2 * s : B - s;
                angle = 270;
            }
        }
        AddPlacedUnit(ObjWarmAirUnit, typ, X, Y, Z, angle);
        const double advance = secondWall ? -step : step;
        if (alongA)
            X += advance;
        else
            Y += advance;
        ++i;
    });
}

void ProjectUnits::PlaceAroundPerimeter(int N, double Z) {
    const double A = hallA(), B = hallB();
    const int q = N / 4; // units per wall
    int r = N % 4;       // units for the corners
    const double dx = N >= 4 ? A / (q + 1) : 1.5;
    const double dy = N >= 4 ? B / (q + 1) : 1.5;
    double X = 0, Y = WallGap;
    int state = 0, onWall = 0;

    forEachChosenUnit(data_.tResults, isWallUnitRow, [&](const QString& typ) {
        auto corner = [&](double x, double y, int angle) {
            if (r <= 0)
                return false;
            AddPlacedUnit(ObjWarmAirUnit, typ, x, y, Z, angle);
            --r;
            return true;
        };
        auto wall = [&](int angle) {
            AddPlacedUnit(ObjWarmAirUnit, typ, X, Y, Z, angle);
            if (++onWall == q) {
                state = (state + 1) % 7;
                onWall = 0;
            }
        };
        // The corner states may pass without placing; the loop ends once this
        // unit has been placed.
        for (;;) {
            switch (state) {
            case 0: {
                const bool placed = corner(WallGap, WallGap, 45);
                state = q == 0 ? 2 : 1;
                if (placed)
                    return;
                break;
            }
            case 1:
                X += dx;
                Y = WallGap;
                wall(0);
                return;
            case 2: {
                const bool placed = corner(A - WallGap, WallGap, 315);
                state = q == 0 ? 4 : 3;
                if (placed)
                    return;
                break;
            }
            case 3:
                X = A - WallGap;
                Y += dy;
                wall(270);
                return;
            case 4: {
                const bool placed = corner(A - WallGap, B - WallGap, 225);
                state = 5;
                if (placed)
                    return;
                break;
            }
            case 5:
                X -= dx;
                Y = B - WallGap;
                wall(180);
                return;
            default:
                X = WallGap;
                Y -= dy;
                wall(90);
                return;
            }
        }
    });
}

namespace {
// Positions in rows of a few columns, dx apart, the rows dy apart, starting at
// (dx, dy); the column count runs on across catalog rows.
struct GridWalk {
    double dx, dy;
    int columns;
    double X = dx, Y = dy;
    int column = 0;
    void advance() {
        if (++column == columns) {
            X = dx;
            Y += dy;
            column = 0;
        } else {
            X += dx;
        }
    }
};
} // namespace

void ProjectUnits::PlaceMixingUnits(int M, double Z) {
    if (M <= 0)
        return;
    const double A = hallA(), B = hallB();
    const double dx = A / 4;
    const double dy = B / (M / 3.0 + 1);
    GridWalk grid{dx, dy, 3};
    forEachChosenUnit(data_.tResults, isMixingUnitType, [&](const QString& typ) {
        AddPlacedUnit(ObjMixingUnit, typ, grid.X, grid.Y, Z, 0);
        grid.advance();
    });
}

void ProjectUnits::PlaceDestratifiers(int D, double Zd) {
    if (D <= 0)
        return;
    Dataset& types = data_.tResults;
    if (!types.hasField(QStringLiteral("Group")))
        return;
    const double A = hallA(), B = hallB();
    const double dx = A / 3;
    const double dy = B / (D / 2.0 + 1);
    GridWalk grid{dx, dy, 2};
    for (const char* model : {"K1", "K2", "K3"}) {
        if (!types.locate(QStringLiteral("Group"), QString::fromLatin1(model)))
            continue;
        const QString typ = types.asString(QStringLiteral("Typ"));
        const int k = types.asInteger(QStringLiteral("Pocet_jednotek"));
        for (int j = 0; j < k; ++j) {
            AddPlacedUnit(ObjDestratifier, typ, grid.X, grid.Y, Zd, 0);
            grid.advance();
        }
    }
}

int ProjectUnits::AddPlacedUnit(int kind, const QString& typ, double x, double y, double z,
                                int angle) {
    const int index = plan.AddObject(kind, angle, x, y, z, typ, false);
    Dataset& row = data_.tJednotky;
    const Dataset& source = data_.tResults;
    row.append();
    try {
        row.setValue(QStringLiteral("IDJednotky"), index + 1);
        row.setValue(QStringLiteral("ObjType"), kind);
        row.setValue(QStringLiteral("Typ"), typ);
        row.setValue(QStringLiteral("X"), x);
        row.setValue(QStringLiteral("Y"), y);
        row.setValue(QStringLiteral("Z"), z);
        row.setValue(QStringLiteral("Uhel"), angle);
        for (const char* c : {"Tep_vykon", "Tep_vykon_min", "Prutok_vzduchu", "El_prikon", "Dosah",
                              "dT", "dB", "dp"}) {
            const QString column = QString::fromLatin1(c);
            if (source.hasField(column))
                row.setValue(column, source.value(column));
        }
        const int control = data_.tADOProject.asInteger(QStringLiteral("Ucinnost_regulace_enum"));
        struct Defaults {
            int location, flueGas, airSupply, control;
        };
        // An empty choice is the index -1: the list shows nothing, no text is written.
        const Defaults d = kind == ObjDestratifier ? Defaults{3, -1, -1, -1}
                           : kind == ObjMixingUnit ? Defaults{2, 4, 2, control}
                                                   : Defaults{0, 0, 0, control};
        SetUnitChoice(UnitProperty::Location, d.location, row);
        SetUnitChoice(UnitProperty::FlueGasExhaust, d.flueGas, row);
        SetUnitChoice(UnitProperty::AirSupply, d.airSupply, row);
        SetUnitChoice(UnitProperty::ControlMethod, d.control, row);
        row.post();
    } catch (...) {
        row.cancel();
        throw;
    }
    if (row.hasField(QStringLiteral("Dosah")))
        plan.object(index).throwM =
            throwFromDosah(row.asString(QStringLiteral("Dosah"))).value_or(0);
    return index;
}

} // namespace zf
