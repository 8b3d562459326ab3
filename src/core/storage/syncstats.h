#pragma once

#include <QtGlobal>

namespace zf {

// Synced writes are what an operation waits for on a real disk: every commit
// of the database and every file copy that replaces a project or its backup.
// The counters let benchmarks and tests see how many an operation costs.
struct SyncCounts {
    qint64 database = 0; // syncs of database files and their journals
    qint64 files = 0;    // synced file copies
    qint64 total() const { return database + files; }
};
SyncCounts syncCounts();

// The database layer opens every file through a thin layer over the platform's
// file system that counts its syncs; installed once, on first use.
const char* countingVfsName();

// Counted by the file copies.
void countFileSync();

} // namespace zf
