#include "building/fieldaccess.h"

#include "building/buildingmodel.h"

#include <cmath>
#include <limits>

namespace zf {

namespace {
SingleOverflows overflows;
}

SingleOverflows singleOverflows() {
    return overflows;
}

void resetSingleOverflows() {
    overflows = SingleOverflows();
}

} // namespace zf

namespace zf::building {

void noteOverflow(const QString& what) {
    if (overflows.count++ == 0)
        overflows.first = what;
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
    // The largest amount the storage layer accepts in a Currency column.
    constexpr double limit = 9.2e14;
    if (!std::isfinite(value))
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
