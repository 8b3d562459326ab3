#pragma once

#include "storage/zfdata.h"

#include <functional>

namespace zf {

// The units selection's operations that the required outputs call; an unset
// member does nothing. UpdateCoverage is the data module's hook
// (TZFData::hooks.updateCoverage).
struct RequiredOutputsHooks {
    // BuildUnitTypesTable with the required heating output [W] and the required
    // ventilation air flow [m3/h].
    std::function<void(float heatingOutputW, float ventilationFlowM3h)> buildUnitTypesTable;
    std::function<void()> fillCountPickList;
};

// From the stored losses and inputs of the project record: the loss by
// ventilation, the counted gains, the required heating output in standard and
// reduced operation and the required ventilation and circulation air flows.
// Shows message 5010 when the gains cover the whole heating output.
void CalculateRequiredOutputs(TZFData& data, const RequiredOutputsHooks& hooks = {});

// Circulation air changes per hour of a hall of the total volume [m3].
float circulationAirChanges(float volume);

} // namespace zf
