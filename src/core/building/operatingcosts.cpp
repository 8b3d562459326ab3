#include "building/operatingcosts.h"

#include "building/fieldaccess.h"

namespace zf {

using building::col;
using building::readSingle;

float PricePerKWh(TZFData& data) {
    const Dataset& p = building::projectRecord(data);
    switch (p.asInteger(col("Cena_enum"))) {
    case 0:
        // kWh in one m3 of natural gas
        return readSingle(p, col("Cena_Kc_m3")) / 10.1975211f;
    case 1:
        return readSingle(p, col("Cena_Kc_kWh"));
    case 2:
        // 116/9 kWh in one kg of liquefied gas
        return readSingle(p, col("Cena_Kc_kg")) * 9 / 116;
    default:
        return 0;
    }
}

void CalculateOperatingCosts(TZFData& data) {
    Dataset& p = building::projectRecord(data);
    const float eta = readSingle(p, col("Ucinnost_regulace"));
    // Hours of standard operation in a week; the rest of the 168 are reduced.
    const float H =
        float(p.asInteger(col("Provoz_hodiny_den"))) * float(p.asInteger(col("Provoz_dny_tyden")));
    float P = readSingle(p, col("Topny_vykon_kW"));
    float Pred = readSingle(p, col("Topny_vykon_tlumeny_kW"));
    if (P < 0)
        P = 0;
    if (Pred < 0)
        Pred = 0;
    if (eta > 0) {
        P = P / eta;
        Pred = Pred / eta;
    }
    const float Ti = readSingle(p, col("Ti"));
    const float Te = readSingle(p, col("Te"));
    const float Tes = readSingle(p, col("Tes"));
    // The mean load of the season against the design load.
    float k = Ti - Te > 0 ? (Ti - Tes) / (Ti - Te) : 0.0f;
    if (k < 0)
        k = 0;
    P = P * k;
    Pred = Pred * k;
    const float c = PricePerKWh(data);
    const float W = P * H * c + Pred * (168 - H) * c;
    const float days = float(p.asInteger(col("Pocet_dnu_otop_obd")));
    building::writeCurrency(p, col("Cena_den"), W / 7);
    building::writeCurrency(p, col("Cena_mesic"), W / 7 * 30);
    building::writeCurrency(p, col("Cena_rok"), days * W / 7);
    p.post();
}

} // namespace zf
