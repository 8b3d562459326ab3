#include "exchange/projectsnapshot.h"

#include "catalogs/unitscatalog.h"
#include "common/numberformat.h"
#include "storage/dataset.h"
#include "storage/zfdata.h"

#include <cmath>

namespace zf::exchange {

namespace {

bool nullValue(const QVariant& v) {
    return !v.isValid() || v.isNull();
}

std::vector<Row> rowsOf(const Dataset& ds) {
    std::vector<Row> rows;
    rows.reserve(size_t(ds.recordCount()));
    for (int r = 0; r < ds.recordCount(); ++r)
        rows.emplace_back(ds, r);
    return rows;
}

// The plan's symbol: 1 m across the blowing direction, 0.5 m along it.
constexpr Footprint PlanSymbol{1.0, 0.5};

} // namespace

Row::Row(const Dataset& ds, int row) {
    const auto& fields = ds.fields();
    values_.reserve(qsizetype(fields.size()));
    for (size_t f = 0; f < fields.size(); ++f) {
        const QVariant v = ds.valueAt(row, int(f));
        values_.insert(fields[f].name, nullValue(v) ? QVariant() : v);
    }
}

double Row::number(const QString& column) const {
    const QVariant v = values_.value(column);
    if (nullValue(v))
        return 0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok && std::isfinite(d) ? d : 0;
}

bool Row::finite(const QString& column) const {
    const QVariant v = values_.value(column);
    return nullValue(v) || std::isfinite(v.toDouble());
}

int Row::integer(const QString& column) const {
    return roundToInt(number(column));
}

QString Row::text(const QString& column) const {
    const QVariant v = values_.value(column);
    return nullValue(v) ? QString() : v.toString();
}

bool Row::flag(const QString& column) const {
    const QVariant v = values_.value(column);
    return !nullValue(v) && v.toBool();
}

int unitAngle(const Row& unit) {
    return roundToInt(unit.number(QStringLiteral("Uhel")));
}

Footprint ProjectSnapshot::footprint(const QString& type, int kind) const {
    auto it = dimensions.constFind(type);
    if (it == dimensions.constEnd()) {
        // The catalog names the dimensions of a warm-air type with its design
        // suffix ("Brisant AX 20 - S" for "Brisant AX 20").
        for (auto d = dimensions.constBegin(); d != dimensions.constEnd(); ++d) {
            if (UnitsCatalog::brisantKey(d.key()) == type) {
                it = d;
                break;
            }
        }
    }
    if (it == dimensions.constEnd())
        return PlanSymbol;
    const double a = it->number(QStringLiteral("A")) / 1000;
    const double c = it->number(QStringLiteral("C")) / 1000;
    const bool destratifier = kind == 2;
    if (destratifier)
        return a > 0 ? Footprint{a, a} : PlanSymbol;
    if (a <= 0 || c <= 0)
        return PlanSymbol;
    return {a, c};
}

ProjectSnapshot readProject(TZFData& data) {
    ProjectSnapshot s;
    if (!data.tADOProject.active() || data.tADOProject.isEmpty())
        throw DbError(QStringLiteral("No project is open."));
    s.project = Row(data.tADOProject, 0);
    if (data.tSteny.active())
        s.surfaces = rowsOf(data.tSteny);
    if (data.tResults.active())
        s.unitTypes = rowsOf(data.tResults);
    if (data.tJednotky.active())
        s.units = rowsOf(data.tJednotky);

    // The shared openings follow the current surface; a dataset of its own
    // reads those of every surface and leaves the windows' cursors alone.
    Dataset all(QStringLiteral("tStavOtvoryAll"));
    all.setDatabase(&data.projectConnection());
    all.setTableName(QStringLiteral("tStavOtvory"));
    all.setIndexName(QStringLiteral("IDSteny"));
    all.setReadOnly(true);
    all.open();
    QHash<int, std::vector<int>> byWall;
    const int wallField = all.fieldIndex(QStringLiteral("IDSteny"));
    for (int r = 0; r < all.recordCount(); ++r) {
        const QVariant id = all.valueAt(r, wallField);
        if (!nullValue(id))
            byWall[id.toInt()].push_back(r);
    }
    s.openingsOf.reserve(s.surfaces.size());
    for (const Row& surface : s.surfaces) {
        const auto rows = byWall.value(surface.integer(QStringLiteral("IDSteny")));
        for (int r : rows)
            s.openings.emplace_back(all, r);
        s.openingsOf.push_back(int(rows.size()));
    }
    all.close();

    if (data.catalogConnection().isOpen()) {
        Dataset dims(QStringLiteral("tBrisantRozmeryAll"));
        dims.setDatabase(&data.catalogConnection());
        dims.setTableName(QStringLiteral("tBrisantRozmery"));
        dims.setReadOnly(true);
        try {
            dims.open();
            const int typeField = dims.fieldIndex(QStringLiteral("Typ"));
            for (int r = 0; r < dims.recordCount(); ++r) {
                const QString type = dims.valueAt(r, typeField).toString().trimmed();
                if (!type.isEmpty() && !s.dimensions.contains(type))
                    s.dimensions.insert(type, Row(dims, r));
            }
            dims.close();
        } catch (const DbError&) {
            // Without the catalog's dimensions the units keep the plan's size.
            s.dimensions.clear();
        }
    }
    return s;
}

} // namespace zf::exchange
