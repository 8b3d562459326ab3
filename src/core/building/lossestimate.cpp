#include "building/lossestimate.h"

#include "building/buildingmodel.h"
#include "building/fieldaccess.h"
#include "common/numberformat.h"
#include "i18n/texts.h"

#include <QLocale>
#include <cmath>

namespace zf {

using building::col;
using building::readSingle;

namespace {

// Specific loss above 15000 m3 [W/m3] and the polynomial's coefficients below.
struct Cladding {
    float specific;
    float a, b, c;
};
constexpr Cladding claddings[CladdingClassCount] = {{15, 1e-9f, 3e-5f, 0.5538f},
                                                    {19, 2e-9f, 5e-5f, 0.9363f},
                                                    {23, 3e-9f, 9e-5f, 1.8424f},
                                                    {28, 0, 0, 0}};

} // namespace

void ShowLossEstimates(LossEstimates& e, float dT, float V) {
    if (V <= 15000.0f) {
        for (int k = 0; k < 3; ++k) {
            const Cladding& c = claddings[k];
            const float q = V * dT * (c.a * V * V - c.b * V + c.c);
            e.text[k] = formatText(LanguageText(815), {double(V), double(q / 1000.0f)});
            e.value[k] = formatText(QStringLiteral("%f"), {double(q)});
        }
        // The fourth class has only its specific loss: a stored project of that
        // class gets it at every volume rather than no estimate at all.
        e.value[3] = formatText(QStringLiteral("%f"), {double(V * claddings[3].specific)});
        return;
    }
    for (int k = 0; k < CladdingClassCount; ++k) {
        const float q = V * claddings[k].specific;
        if (k < 3)
            e.text[k] = formatText(LanguageText(816),
                                   {int(claddings[k].specific), double(V), double(q / 1000.0f)});
        e.value[k] = formatText(QStringLiteral("%f"), {double(q)});
    }
    e.veryPoorEnabled = true;
}

float estimateOfClass(const LossEstimates& e, CladdingClass cls) {
    const int k = int(cls);
    if (k < 0 || k >= CladdingClassCount || e.value[k].isEmpty())
        return 0;
    // The hidden value is written with the locale's separators.
    bool ok = false;
    float v = QLocale().toFloat(e.value[k], &ok);
    if (!ok)
        v = e.value[k].toFloat(&ok);
    return ok ? v : 0;
}

HeatLoss DetermineHeatLoss(TZFData& data, BuildingModel& building, LossWay way,
                           const LossEstimates& estimates, CladdingClass cls) {
    Dataset& p = building::projectRecord(data);
    const float ti = readSingle(p, col("Ti"));
    const float te = readSingle(p, col("Te"));
    const float tred = readSingle(p, col("Ttlumena"));
    const float dT = ti - te;
    const float ratio = dT > 0 ? (tred - te) / dT : 0.0f;
    HeatLoss h;
    switch (way) {
    case LossWay::Calculation:
        h.q = building.ComputeHeatLosses(false);
        h.qkW = h.q / 1000.0f;
        building::projectRecord(data);
        h.qReduced = readSingle(p, col("Q_tlumeny"));
        h.qReducedkW = readSingle(p, col("Q_tlumeny_kW"));
        break;
    case LossWay::Estimate:
        // The walls are not computed; the infiltration loss that is shown and
        // printed is stored for the committed temperatures.
        building.ComputeHeatLosses(true);
        h.q = estimateOfClass(estimates, cls);
        h.qkW = h.q / 1000.0f;
        h.qReduced = h.q * ratio;
        h.qReducedkW = h.qkW * ratio;
        break;
    case LossWay::OwnValue:
        building.ComputeHeatLosses(true);
        h.qkW = readSingle(p, col("Q_kW"));
        h.q = h.qkW * 1000.0f;
        h.qReduced = h.q * ratio;
        h.qReducedkW = h.qkW * ratio;
        break;
    }
    Dataset& row = building::projectRecord(data);
    building::writeSingle(row, col("Q"), h.q);
    building::writeSingle(row, col("Q_kW"), h.qkW);
    building::writeSingle(row, col("Q_tlumeny"), h.qReduced);
    building::writeSingle(row, col("Q_tlumeny_kW"), h.qReducedkW);
    row.post();
    return h;
}

} // namespace zf
