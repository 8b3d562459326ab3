#pragma once

#include "building/tproject.h"
#include "storage/zfdata.h"

#include <QStringList>
#include <functional>

namespace zf {

// The names GenerateWallRecords gives the surfaces in a language ("CZ", "EN",
// "GE", "PL", "RU"), in generation order; none for another code.
QStringList generatedSurfaceNames(const QString& languageCode);

// The calculations hold their results in single precision; a result beyond it
// (from inputs too large for any hall) is stored as 0. This counts such results
// and names the first, so that a caller can refuse them. The hall's geometry and
// the wall temperatures each count afresh whenever they are recomputed; all
// other results count from resetResultOverflows() on, which an operation that
// recomputes them all calls first.
struct SingleOverflows {
    int count = 0;
    QString first; // the column that overflowed first
};
SingleOverflows singleOverflows();
void resetSingleOverflows();
void resetResultOverflows();

class Database;
// Why the stored results of a project cannot stand: the first result that
// overflowed, or a number in the building's tables beyond a single-precision
// value, named as "table.column"; empty when there is none.
QString overflowingResult(Database& db);

// The headless part of the input wizard that owns the building: the wall records
// of every hall and skylight variant, the geometry of the visible ones, their
// temperatures and the heat losses by calculation. Errors of the database layer
// propagate to the caller.
class BuildingModel {
public:
    // The model keeps the project's geometry (TProject) following the project
    // record: every change of the record or of its current row refreshes it,
    // and nothing else writes it.
    BuildingModel(TZFData& data, TProject& project);
    ~BuildingModel();
    BuildingModel(const BuildingModel&) = delete;
    BuildingModel& operator=(const BuildingModel&) = delete;

    // The indexes chosen in the wizard's roof and skylight type lists; -1 (not
    // chosen yet) lets the types stored in the project record stand. The
    // geometry follows the choice at once.
    void setTypeChoices(int roofIndex, int skylightIndex);

    // Deletes every wall and opening and appends the 51 records of all variants,
    // then shows the roof type's records (none for -1).
    void GenerateWallRecords(int roofIndex);
    // Restricts tSteny to one hall variant and one skylight variant.
    void FilterWallVariants(int roofIndex, int skylightIndex);
    // Areas of the visible records, volumes and sums of the project record, then
    // the infiltration loss. Shows message 5027 (hall) or 5026 (skylight) for an
    // arc higher than half its chord.
    void ComputeHallGeometry();
    void ApplyProjectTemperatures();
    void AssignWallTemperatures(float Ti, float Te, float Tzeme);

    // The total loss in standard operation [W]. With infiltrationOnly only the
    // infiltration loss is computed, written and returned; otherwise every visible
    // wall's and opening's losses and the reduced total are written too, a blank
    // last opening of a wall is removed, and oversized openings are warned about.
    float ComputeHeatLosses(bool infiltrationOnly);

    const TProject& project() const { return project_; }

private:
    // The one place that writes TProject: the hall's and skylight's sizes and
    // types, the purposes and the temperatures of the project record.
    void refreshGeometry();

    TZFData& data_;
    TProject& project_;
    int roofChoice_ = -1, skylightChoice_ = -1;
    int projectHandle_ = 0;
};

} // namespace zf
