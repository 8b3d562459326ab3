#pragma once

#include "storage/sqlite.h"

#include <functional>

namespace zf {

// Runs one user operation as one transaction of the database: its writes reach
// the file with one commit, or, when it fails, not at all; the user then gets
// the program's message naming the file and the reason, and the result is
// false. Inside another operation it joins that one and a failure propagates to
// it, so the outermost operation decides and reports once.
bool runOperation(Database& db, const std::function<void()>& operation);

class Dataset;

// Writes one value into the current row of a dataset and posts it, as one
// operation. A value the data layer refuses (a text too long for its column, a
// text that is no number) writes nothing and its message comes back in
// *refused; a failure of the file has been reported by runOperation. True when
// the value was stored.
bool writeField(Dataset& dataset, const QString& field, const QVariant& value, QString* refused);

// The program's message for an operation on the file that failed.
void reportFailedOperation(const QString& file, const QString& detail);

} // namespace zf
