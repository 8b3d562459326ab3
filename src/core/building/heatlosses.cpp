#include "building/buildingmodel.h"
#include "building/fieldaccess.h"
#include "common/dialogs.h"
#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/texts.h"

#include <cmath>

namespace zf {

using building::col;
using building::readSingle;
using building::writeSingle;

namespace {

// A loss that comes out negative is no loss, never a gain; one that is not a
// number at all (inputs beyond single precision) counts as none either.
float lossOf(float q) {
    if (!std::isfinite(q)) {
        building::noteOverflow(col("Q"));
        return 0.0f;
    }
    return q > 0 ? q : 0.0f;
}

float infiltration(float volume, float n, float inside, float outside) {
    return lossOf(volume / 3600.0f * 0.8f * 1020.0f * 1.2f * n * (inside - outside));
}

} // namespace

float BuildingModel::ComputeHeatLosses(bool infiltrationOnly) {
    Dataset& p = building::projectRecord(data_);
    const float V = readSingle(p, col("Vtotal"));
    const float n = readSingle(p, col("n"));
    const float Ti = readSingle(p, col("Ti"));
    const float Te = readSingle(p, col("Te"));
    const float Tred = readSingle(p, col("Ttlumena"));
    const float Qinf = infiltration(V, n, Ti, Te);
    const float QinfRed = infiltration(V, n, Tred, Te);

    if (infiltrationOnly) {
        writeSingle(p, col("Q_infiltrace"), Qinf);
        writeSingle(p, col("Q_infiltrace_kW"), Qinf / 1000);
        p.post();
        return Qinf;
    }

    Dataset& walls = data_.tSteny;
    Dataset& openings = data_.tStavOtvory;
    float Qtotal = 0, Qred = 0;
    QString warnings;
    {
        Database::Transaction transaction(*walls.database());
        writeSingle(p, col("Q_infiltrace"), Qinf);
        writeSingle(p, col("Q_infiltrace_kW"), Qinf / 1000);
        p.post();
        walls.open();
        openings.open();
        {
            // The bound lists stop following the walk; the openings are made to
            // follow the current wall by hand.
            Dataset::ControlsSuspended blockRead(walls);
            const QString nameColumn = QStringLiteral("Nazev") + LanguageCode;
            walls.first();
            while (!walls.eof()) {
                openings.refresh();
                float Aopen = 0, Qopen = 0;
                openings.first();
                while (!openings.eof()) {
                    const float k = readSingle(openings, col("k"));
                    const float oTi = readSingle(openings, col("Ti"));
                    const float oTe = readSingle(openings, col("Te"));
                    const float area = readSingle(openings, col("Vyska")) *
                                       readSingle(openings, col("Sirka")) *
                                       float(openings.asInteger(col("Pocet")));
                    Aopen += area;
                    const float Qo = lossOf(k * area * (oTi - oTe));
                    const float QoRed = lossOf(k * area * (Tred - oTe));
                    Qred += QoRed;
                    Qopen += Qo;
                    writeSingle(openings, col("Ztrata"), Qo);
                    writeSingle(openings, col("Ztrata_kW"), Qo / 1000);
                    openings.post();
                    openings.next();
                }
                // The blank row "New opening" leaves behind; its area is already
                // counted (it is 0 unless the user typed sizes into it).
                if (data_.IsEmptyOpening()) {
                    try {
                        openings.deleteRecord();
                    } catch (const DbError&) {
                    }
                }

                const float plocha = readSingle(walls, col("Plocha"));
                if (plocha < Aopen)
                    warnings += formatText(LanguageText(5020), {walls.asString(nameColumn),
                                                                double(plocha), double(Aopen)}) +
                                QStringLiteral("\r\n");
                const float k = readSingle(walls, col("k"));
                const float wTi = readSingle(walls, col("Ti"));
                const float wTe = readSingle(walls, col("Te"));
                const float net = plocha - Aopen;
                const float Qw = lossOf(k * net * (wTi - wTe));
                const float QwRed = lossOf(k * net * (Tred - wTe));
                Qred += QwRed;
                writeSingle(walls, col("Ztraty_konstrukci"), Qw);
                writeSingle(walls, col("Ztraty_otvory"), Qopen);
                writeSingle(walls, col("Ztraty_konstrukci_kW"), Qw / 1000);
                writeSingle(walls, col("Ztraty_otvory_kW"), Qopen / 1000);
                walls.post();
                Qtotal += Qw + Qopen;
                walls.next();
            }
            Qtotal += Qinf;
            Qred += QinfRed;
        }
        walls.first();
        openings.first();

        writeSingle(p, col("Q_tlumeny"), Qred);
        writeSingle(p, col("Q_tlumeny_kW"), Qred / 1000);
        p.post();
        transaction.commit();
    }

    if (!warnings.isEmpty())
        ShowMessageBox(LanguageText(5006) + QStringLiteral("\r\n\r\n") + warnings,
                       QString::fromLatin1(ProductName), MbWarning);
    if (!std::isfinite(Qtotal))
        building::noteOverflow(col("Q"));
    return std::isfinite(Qtotal) ? Qtotal : 0.0f;
}

} // namespace zf
