#pragma once

#include "storage/zfdata.h"

namespace zf {

// What the units selection is built from: the required heating output [W] and
// the required ventilation air flow [m3/h].
struct RequiredOutputs {
    float heatingOutputW = 0;
    float ventilationFlowM3h = 0;
};

// From the stored losses and inputs of the project record: the loss by
// ventilation, the counted gains, the required heating output in standard and
// reduced operation and the required ventilation and circulation air flows.
// Shows message 5010 when the gains cover the whole heating output. The caller
// rebuilds the table of usable unit types from the result and recomputes its
// coverage.
RequiredOutputs CalculateRequiredOutputs(TZFData& data);

// Circulation air changes per hour of a hall of the total volume [m3].
float circulationAirChanges(float volume);

} // namespace zf
