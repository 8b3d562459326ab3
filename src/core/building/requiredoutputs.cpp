#include "building/requiredoutputs.h"

#include "building/fieldaccess.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "i18n/texts.h"

#include <algorithm>

namespace zf {

using building::col;
using building::readSingle;
using building::writeSingle;

float circulationAirChanges(float volume) {
    struct Step {
        float upTo, changes;
    };
    static constexpr Step steps[] = {{1000, 5}, {2000, 4.5f}, {3000, 4}, {4000, 3.5f},
                                     {6000, 3}, {8000, 2.5f}, {10000, 2}};
    for (const Step& s : steps)
        if (!(volume > s.upTo))
            return s.changes;
    return 1.5f;
}

RequiredOutputs CalculateRequiredOutputs(TZFData& data) {
    Dataset& p = building::projectRecord(data);
    const bool ventilation = p.asBoolean(col("Vetrani_bool"));
    const float Ti = readSingle(p, col("Ti"));
    const float Te = readSingle(p, col("Te"));
    const float recovery = readSingle(p, col("Rekuperace"));
    const float Q = readSingle(p, col("Q"));
    const float Qred = readSingle(p, col("Q_tlumeny"));
    const float Vc_zima = readSingle(p, col("Vc_zima"));
    const float Vc_leto = readSingle(p, col("Vc_leto"));

    float G = readSingle(p, col("TZ_technologie")) + readSingle(p, col("TZ_vytapeci_system")) +
              readSingle(p, col("TZ_ostatni"));
    // A loss the user entered already accounts for the gains.
    if (p.asInteger(col("Tepelne_ztraty_enum")) == 2)
        G = 0;
    const float dT = Ti - Te;
    // The air flow that carries the loss at a temperature rise of 32 K.
    const float Vheat = Q * 3600 / 41369.6f;
    const float V = readSingle(p, col("Vhala")) + readSingle(p, col("Vsvetlik"));
    const float Vcirc = V * circulationAirChanges(V);

    float Vfresh = 0, Qvent = 0;
    if (ventilation) {
        Vfresh = std::max(Vc_zima, Vc_leto);
        // Only the winter supply is heated.
        Qvent = Vc_zima / 3600 * 1.28f * 1010 * dT * (1 - recovery / 100);
    }
    const float Vvent = std::max(Vfresh, Vheat);

    const float Qreq = Q + Qvent;
    float P = 0;
    if (1000 * G >= Qreq)
        ShowMessageBox(LanguageText(5010), QString::fromLatin1(ProductName), MbWarning);
    else
        P = Qreq - 1000 * G;

    // Not limited below: gains above the reduced loss give a negative output.
    const float Pred = Qred - 1000 * G;

    Dataset& row = building::projectRecord(data);
    writeSingle(row, col("Q_vetrani"), Qvent);
    writeSingle(row, col("Q_vetrani_kW"), Qvent / 1000);
    writeSingle(row, col("Topny_vykon"), P);
    writeSingle(row, col("Topny_vykon_kW"), P / 1000);
    writeSingle(row, col("Topny_vykon_tlumeny"), Pred);
    writeSingle(row, col("Topny_vykon_tlumeny_kW"), Pred / 1000);
    writeSingle(row, col("Vetraci_vykon"), Vvent / 3600);
    writeSingle(row, col("Vetraci_vykon_m3_hod"), Vvent);
    writeSingle(row, col("Cirkulacni_vykon"), Vcirc / 3600);
    writeSingle(row, col("Cirkulacni_vykon_m3_hod"), Vcirc);
    writeSingle(row, col("TZ_total"), G);
    row.post();
    return {P, Vvent};
}

} // namespace zf
