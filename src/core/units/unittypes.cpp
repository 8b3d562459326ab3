#include "units/unittypes.h"

#include "common/numberformat.h"
#include "i18n/texts.h"
#include "storage/zfdata.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zf {

bool isDestratifierType(const QString& typ) {
    return typ.contains(QLatin1String("Destr"));
}

bool isMixingUnitType(const QString& typ) {
    return !isDestratifierType(typ) && typ.contains(QLatin1String("MK"));
}

int roundRequired(double x) {
    if (std::isnan(x))
        return 0;
    double r = std::min(x, double(MaxChosenUnits));
    if (r != std::floor(r))
        r += 1.0;
    return roundToInt(std::trunc(r));
}

namespace {

struct Destratifier {
    const char* typ;
    double flow;
    double input;
    const char* dB;
    const char* group;
};
const Destratifier destratifiers[] = {{"Destratifikátor K1", 4500, 280, "48", "K1"},
                                      {"Destratifikátor K2", 6500, 370, "52", "K2"},
                                      {"Destratifikátor K3", 9000, 630, "56", "K3"}};

} // namespace

void BuildUnitTypesTable(TZFData& data, double, double) {
    Dataset& table = data.tResults;
    Dataset& project = data.tADOProject;
    Dataset& catalog = data.tTmp;
    Database::Transaction transaction(*table.database());
    data.ClearTable(table);
    catalog.close();
    catalog.setTableName(QStringLiteral("tBrisant"));
    catalog.setFiltered(false);
    catalog.open();

    // The placement class and mode make a catalog condition that the family
    // conditions always replace before filtering: it never narrows the offer.
    const bool heating = project.asBoolean(QStringLiteral("Vytapeni_bool"));
    const bool ventilation = project.asBoolean(QStringLiteral("Vetrani_bool"));
    int placement = project.asInteger(QStringLiteral("Umisteni_jednotek"));
    if (placement != 1)
        placement = 0;
    catalog.setFilter(QStringLiteral("(Umisteni_jednotek = %1) AND (Rezim = %2)")
                          .arg(placement)
                          .arg((heating ? 1 : 0) + (ventilation ? 2 : 0)));

    const int families = project.asInteger(QStringLiteral("PouziteJednotky"));
    QStringList filters;
    if (ventilation)
        filters << QStringLiteral("TypeID LIKE '*MK*'");
    if (families & (1 | 8))
        filters << QStringLiteral("TypeID LIKE '*AX*'");
    if (families & 2)
        filters << QStringLiteral("TypeID LIKE '*RD*'");
    if ((families & 4) && !ventilation)
        filters << QStringLiteral("TypeID LIKE '*MK*'");

    int n = 1;
    Dataset::ControlsSuspended quiet(table);
    for (const QString& f : filters) {
        catalog.setFilter(f);
        catalog.setFiltered(true);
        for (catalog.first(); !catalog.eof(); catalog.next()) {
            table.append();
            table.setValue(QStringLiteral("ID"), n++);
            table.setValue(QStringLiteral("Typ"), catalog.asString(QStringLiteral("TypeID")));
            table.setValue(QStringLiteral("Pocet_jednotek"), 0);
            for (const char* c : {"Tep_vykon", "Tep_vykon_min", "Prutok_vzduchu", "El_prikon"})
                table.setValue(QLatin1String(c), catalog.asFloat(QLatin1String(c)));
            for (const char* c : {"Dosah", "dT", "dB", "dp"})
                table.setValue(QLatin1String(c), catalog.asString(QLatin1String(c)));
            table.post();
        }
    }
    for (const Destratifier& d : destratifiers) {
        table.append();
        table.setValue(QStringLiteral("ID"), n++);
        table.setValue(QStringLiteral("Typ"), QString::fromUtf8(d.typ));
        table.setValue(QStringLiteral("Pocet_jednotek"), 0);
        table.setValue(QStringLiteral("Prutok_vzduchu"), d.flow);
        table.setValue(QStringLiteral("El_prikon"), d.input);
        table.setValue(QStringLiteral("dB"), QString::fromLatin1(d.dB));
        table.setValue(QStringLiteral("Group"), QString::fromLatin1(d.group));
        for (const char* c : {"Tep_vykon", "Tep_vykon_min", "Max_pocet_jednotek"})
            table.setNull(QLatin1String(c));
        table.post();
    }
    transaction.commit();
    catalog.setFilter(QString());
    catalog.setFiltered(false);
    catalog.close();
    table.first();
}

QString CoverageState::textHeat() const {
    return formatText(LanguageText(2124), {pHeat, heat / 1000.0, required / 1000.0});
}

QString CoverageState::textCirc() const {
    return formatText(LanguageText(2125), {pCirc, air, requiredCirc});
}

QString CoverageState::textVent() const {
    return ventilation ? formatText(LanguageText(2126), {pVent, ventAir, requiredVent}) : QString();
}

CoverageState UpdateCoverage(TZFData& data) {
    Dataset& table = data.tResults;
    Dataset& project = data.tADOProject;
    CoverageState s;
    if (!table.active() || !project.active() || project.isEmpty())
        return s;
    Database::Transaction transaction(*table.database());
    const int current = table.recNo();
    Dataset::ControlsSuspended quiet(table);

    const double P = project.asFloat(QStringLiteral("Topny_vykon"));
    const double C = project.asFloat(QStringLiteral("Cirkulacni_vykon_m3_hod"));
    const double V = project.asFloat(QStringLiteral("Vetraci_vykon_m3_hod"));
    s.ventilation = project.asBoolean(QStringLiteral("Vetrani_bool"));

    // The counts come from the file: summed wide, so that no count overflows.
    qint64 units = 0, destr = 0;
    for (table.first(); !table.eof(); table.next()) {
        const QString typ = table.asString(QStringLiteral("Typ"));
        const int k = table.asInteger(QStringLiteral("Pocet_jednotek"));
        if (isDestratifierType(typ))
            destr += k;
        else
            units += k;
        s.heat += table.asFloat(QStringLiteral("Tep_vykon")) * k * 1000.0;
        s.air += table.asFloat(QStringLiteral("Prutok_vzduchu")) * k;
        if (isMixingUnitType(typ))
            s.ventAir += table.asFloat(QStringLiteral("Prutok_vzduchu")) * k;
    }
    auto narrow = [](qint64 v) {
        return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(),
                                      std::numeric_limits<int>::max()));
    };
    s.units = narrow(units);
    s.destr = narrow(destr);
    auto percent = [](double part, double whole) {
        return whole > 0 ? roundToInt(100.0 * part / whole) : 0;
    };
    s.pHeat = percent(s.heat, P);
    s.pCirc = percent(s.air, C);
    s.pVent = s.ventilation ? percent(s.ventAir, V) : 0;
    s.barHeat = std::min(s.pHeat, 100);
    s.barCirc = std::min(s.pCirc, 100);
    s.barVent = std::min(s.pVent, 100);
    s.required = P;
    s.requiredCirc = C;
    s.requiredVent = V;
    s.hintCirculation = s.pHeat >= 100 && s.pCirc < 100;
    s.hintVentilation = s.ventilation && s.pHeat >= 100 && s.pVent < 100;
    const bool allCovered = s.pHeat >= 100 && (!s.ventilation || s.pVent >= 100);
    const bool circCovered = s.pCirc >= 100;

    for (table.first(); !table.eof(); table.next()) {
        const QString typ = table.asString(QStringLiteral("Typ"));
        const int k = table.asInteger(QStringLiteral("Pocet_jednotek"));
        const double flow = table.asFloat(QStringLiteral("Prutok_vzduchu"));
        const double output = table.asFloat(QStringLiteral("Tep_vykon"));
        int required = 0;
        if (isDestratifierType(typ)) {
            if (!circCovered)
                required = roundRequired(k + (flow > 0 ? (C - s.air) / flow : 0.0));
        } else if (!allCovered) {
            const double h = output > 0 ? (P - s.heat) / (output * 1000.0) : 0.0;
            const double v = (s.ventilation && flow > 0) ? (V - s.ventAir) / flow : 0.0;
            required = roundRequired(k + std::max(h, v));
        }
        if (table.asInteger(QStringLiteral("Max_pocet_jednotek")) != required ||
            table.isNull(QStringLiteral("Max_pocet_jednotek"))) {
            table.setValue(QStringLiteral("Max_pocet_jednotek"), required);
            table.post();
        }
    }
    s.placeButtonRed = s.pHeat >= 100 && s.pCirc >= 100 && (!s.ventilation || s.pVent >= 100);

    project.setValue(QStringLiteral("Pocet_jednotek_celkem"), s.units);
    project.setValue(QStringLiteral("Pocet_destrat_celkem"), s.destr);
    project.post();
    transaction.commit();

    table.first();
    for (int i = 1; i < current; ++i)
        table.next();
    return s;
}

QStringList countPickList(int requiredNumber, int chosenNumber) {
    const int n = requiredNumber == 0 ? chosenNumber : requiredNumber;
    QStringList entries;
    if (n <= 0) {
        entries << QStringLiteral("0");
    } else if (n <= 100) {
        for (int i = 0; i <= n; ++i)
            entries << QString::number(i);
    } else {
        const int step = n / 100;
        for (int i = 0; i < 100; ++i)
            entries << QString::number(i * step);
        entries << QString::number(n);
    }
    return entries;
}

QStringList FillCountPickList(const TZFData& data) {
    const Dataset& table = data.tResults;
    if (!table.active() || table.isEmpty())
        return {QStringLiteral("0")};
    return countPickList(table.asInteger(QStringLiteral("Max_pocet_jednotek")),
                         table.asInteger(QStringLiteral("Pocet_jednotek")));
}

QStringList FillCountPickList(const TZFData& data, int row) {
    const Dataset& table = data.tResults;
    if (!table.active() || row < 0 || row >= table.recordCount())
        return {QStringLiteral("0")};
    // A value beyond a whole number reads as none, as for the current row.
    const auto number = [&](const char* column) {
        const int field = table.fieldIndex(QLatin1String(column));
        const QVariant v = field < 0 ? QVariant() : table.valueAt(row, field);
        bool ok = false;
        const double d = v.toDouble(&ok);
        return ok && std::isfinite(d) && std::fabs(d) <= std::numeric_limits<int>::max()
                   ? roundToInt(d)
                   : 0;
    };
    return countPickList(number("Max_pocet_jednotek"), number("Pocet_jednotek"));
}

} // namespace zf
