#pragma once

// Reading and writing the single-precision values of the calculations. Internal
// to the building library.

#include "storage/dataset.h"
#include "storage/zfdata.h"

#include <QString>
#include <exception>

namespace zf::building {

// A stored number as the calculations hold it. A null column counts as 0; a
// value beyond the single range becomes an infinity, which the writers store as 0.
float readSingle(const Dataset& ds, const QString& column);

// Counts a result that is not a finite number (see SingleOverflows).
void noteOverflow(const QString& what);

// While it lives, overflows count for one recomputed part of the results, whose
// earlier count it clears.
class OverflowScope {
public:
    enum Part { Results, Geometry, Temperatures, PartCount };
    explicit OverflowScope(Part part);
    ~OverflowScope();
    OverflowScope(const OverflowScope&) = delete;
    OverflowScope& operator=(const OverflowScope&) = delete;

private:
    Part previous_;
};

// Writes a result held in single precision. A result that is not a finite
// number (an input beyond the single range) is stored as 0, so no NaN or
// infinity reaches the file.
void writeSingle(Dataset& ds, const QString& column, float value);
// Writes an amount to a Currency column, exact to ten-thousandths; a value that
// is not finite is stored as 0, one beyond the column's range as its limit.
void writeCurrency(Dataset& ds, const QString& column, float value);

// The project record: the first row of tRozmery, made current.
Dataset& projectRecord(TZFData& data);

inline QString col(const char* name) {
    return QString::fromLatin1(name);
}

} // namespace zf::building
