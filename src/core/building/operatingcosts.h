#pragma once

#include "storage/zfdata.h"

namespace zf {

// The fuel price per kWh from the price unit of the project record (Cena_enum)
// and the price column it names; 0 for an unknown unit.
float PricePerKWh(TZFData& data);

// The heating costs per day, month and year of the heating season from the
// required outputs, the operating time, the climate and the fuel price; written
// to Cena_den, Cena_mesic and Cena_rok of the project record.
void CalculateOperatingCosts(TZFData& data);

} // namespace zf
