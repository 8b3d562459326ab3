#pragma once

#include "storage/zfdata.h"

#include <QString>

#include <array>

namespace zf {

// The ways of determining the heat loss (Tepelne_ztraty_enum).
enum class LossWay : int { Calculation = 0, Estimate = 1, OwnValue = 2 };

// The cladding classes of the estimate (Tepelne_ztraty_priblizne_enum); None
// while no class is ticked. VeryPoor is never offered: only a stored project
// selects it.
enum class CladdingClass : int {
    None = -1,
    VeryGood = 0,
    Medium = 1,
    NoCladding = 2,
    VeryPoor = 3
};
inline constexpr int CladdingClassCount = 4;

// The estimates of every class for a volume: the caption of each class's
// label and its hidden value, the loss in W written with "%f" in the user's
// locale. Above 15000 m3 every class has a value and the fourth is enabled; up
// to it the fourth keeps the value it had (none in a freshly opened wizard).
struct LossEstimates {
    std::array<QString, CladdingClassCount> text;
    std::array<QString, CladdingClassCount> value;
    bool veryPoorEnabled = false;
};
// Updates the estimates for a temperature difference and a volume.
void ShowLossEstimates(LossEstimates& estimates, float dT, float V);
// The loss a label's hidden value holds [W]; 0 when it holds none.
float estimateOfClass(const LossEstimates& estimates, CladdingClass cls);

// The heat loss in standard and reduced operation, [W] and [kW].
struct HeatLoss {
    float q = 0, qkW = 0, qReduced = 0, qReducedkW = 0;
};

class BuildingModel;

// Determines the heat loss by the chosen way and writes Q, Q_kW, Q_tlumeny and
// Q_tlumeny_kW to the project record: by calculation from the surfaces and
// openings, from the estimate of the ticked class, or from the own value in
// Q_kW; the reduced loss of the last two in proportion to the temperatures.
HeatLoss DetermineHeatLoss(TZFData& data, BuildingModel& building, LossWay way,
                           const LossEstimates& estimates, CladdingClass cls);

} // namespace zf
