#include "building/fieldaccess.h"

#include "building/buildingmodel.h"

#include "storage/sqlite.h"

#include <QStringList>
#include <cmath>
#include <limits>

namespace zf {

namespace {

struct PartOverflows {
    int count = 0;
    QString first;
};
PartOverflows overflows[building::OverflowScope::PartCount];
building::OverflowScope::Part currentPart = building::OverflowScope::Results;

} // namespace

SingleOverflows singleOverflows() {
    SingleOverflows all;
    for (const PartOverflows& part : overflows) {
        if (part.count > 0 && all.count == 0)
            all.first = part.first;
        all.count += part.count;
    }
    return all;
}

void resetSingleOverflows() {
    for (PartOverflows& part : overflows)
        part = PartOverflows();
}

void resetResultOverflows() {
    overflows[building::OverflowScope::Results] = PartOverflows();
}

QString overflowingResult(Database& db) {
    const SingleOverflows noted = singleOverflows();
    if (noted.count > 0)
        return noted.first;
    // One look per table: the first row holding such a number, then its column.
    for (const char* table : {"tRozmery", "tSteny", "tStavOtvory"}) {
        QStringList columns;
        for (const TableColumn& c : db.tableColumns(QLatin1String(table)))
            if (c.declaredType == QLatin1String("DOUBLE"))
                columns << Database::quoteIdentifier(c.name);
        if (columns.isEmpty())
            continue;
        QStringList tests;
        for (const QString& c : columns)
            tests << QStringLiteral("abs(%1) > ?1").arg(c);
        Statement st(db, QStringLiteral("SELECT %1 FROM %2 WHERE %3 LIMIT 1")
                             .arg(columns.join(QLatin1Char(',')),
                                  Database::quoteIdentifier(QLatin1String(table)),
                                  tests.join(QLatin1String(" OR "))));
        st.bind(1, double(std::numeric_limits<float>::max()));
        if (!st.step())
            continue;
        int i = 0;
        for (const TableColumn& c : db.tableColumns(QLatin1String(table))) {
            if (c.declaredType != QLatin1String("DOUBLE"))
                continue;
            const QVariant v = st.column(i++);
            if (v.isValid() && !v.isNull() &&
                std::fabs(v.toDouble()) > double(std::numeric_limits<float>::max()))
                return QStringLiteral("%1.%2").arg(QLatin1String(table), c.name);
        }
    }
    return QString();
}

} // namespace zf

namespace zf::building {

OverflowScope::OverflowScope(Part part) : previous_(currentPart) {
    overflows[part] = PartOverflows();
    currentPart = part;
}

OverflowScope::~OverflowScope() {
    currentPart = previous_;
}

void noteOverflow(const QString& what) {
    PartOverflows& part = overflows[currentPart];
    if (part.count++ == 0)
        part.first = what;
}

float readSingle(const Dataset& ds, const QString& column) {
    const double d = ds.asFloat(column);
    if (std::isnan(d))
        return 0.0f;
    constexpr double maxSingle = std::numeric_limits<float>::max();
    if (d > maxSingle)
        return std::numeric_limits<float>::infinity();
    if (d < -maxSingle)
        return -std::numeric_limits<float>::infinity();
    return float(d);
}

void writeSingle(Dataset& ds, const QString& column, float value) {
    if (!std::isfinite(value))
        noteOverflow(column);
    ds.setValue(column, std::isfinite(value) ? double(value) : 0.0);
}

void writeCurrency(Dataset& ds, const QString& column, float value) {
    // The largest amount the storage layer accepts in a Currency column. An
    // amount beyond it is no result the file can hold: counted like a
    // single-precision overflow, so the finish step refuses it.
    constexpr double limit = MaxCurrency;
    if (!std::isfinite(value) || std::fabs(double(value)) > limit)
        noteOverflow(column);
    double d = std::isfinite(value) ? double(value) : 0.0;
    if (d > limit)
        d = limit;
    else if (d < -limit)
        d = -limit;
    ds.setCurrency(column, qint64(std::llround(d * 10000.0)));
}

Dataset& projectRecord(TZFData& data) {
    // Moving would post an edit in progress; on the first row there is no need.
    if (data.tADOProject.recNo() != 1)
        data.tADOProject.first();
    return data.tADOProject;
}

} // namespace zf::building
