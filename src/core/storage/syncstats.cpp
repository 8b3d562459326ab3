#include "storage/syncstats.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sqlite3.h>

namespace zf {

namespace {

std::atomic<qint64> databaseSyncs{0};
std::atomic<qint64> fileSyncs{0};

// A file of the counting layer: the platform's file follows this header in the
// same allocation (szOsFile of the layer is the platform's plus ours).
struct CountingFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_vfs* platformVfs = nullptr;
sqlite3_vfs countingVfs{};
sqlite3_io_methods countingMethods{};
std::once_flag installed;

sqlite3_file* realOf(sqlite3_file* f) {
    return reinterpret_cast<CountingFile*>(f)->real;
}

int xClose(sqlite3_file* f) {
    sqlite3_file* r = realOf(f);
    const int rc = r->pMethods ? r->pMethods->xClose(r) : SQLITE_OK;
    f->pMethods = nullptr;
    return rc;
}
int xRead(sqlite3_file* f, void* p, int n, sqlite3_int64 o) {
    return realOf(f)->pMethods->xRead(realOf(f), p, n, o);
}
int xWrite(sqlite3_file* f, const void* p, int n, sqlite3_int64 o) {
    return realOf(f)->pMethods->xWrite(realOf(f), p, n, o);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size) {
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}
int xSync(sqlite3_file* f, int flags) {
    ++databaseSyncs;
    return realOf(f)->pMethods->xSync(realOf(f), flags);
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) {
    return realOf(f)->pMethods->xFileSize(realOf(f), size);
}
int xLock(sqlite3_file* f, int l) {
    return realOf(f)->pMethods->xLock(realOf(f), l);
}
int xUnlock(sqlite3_file* f, int l) {
    return realOf(f)->pMethods->xUnlock(realOf(f), l);
}
int xCheckReservedLock(sqlite3_file* f, int* out) {
    return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out);
}
int xFileControl(sqlite3_file* f, int op, void* arg) {
    return realOf(f)->pMethods->xFileControl(realOf(f), op, arg);
}
int xSectorSize(sqlite3_file* f) {
    return realOf(f)->pMethods->xSectorSize(realOf(f));
}
int xDeviceCharacteristics(sqlite3_file* f) {
    return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
}

int xOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    auto* cf = reinterpret_cast<CountingFile*>(f);
    cf->real = reinterpret_cast<sqlite3_file*>(cf + 1);
    std::memset(cf->real, 0, size_t(platformVfs->szOsFile));
    const int rc = platformVfs->xOpen(platformVfs, name, cf->real, flags, outFlags);
    f->pMethods = cf->real->pMethods ? &countingMethods : nullptr;
    return rc;
}

} // namespace

const char* countingVfsName() {
    std::call_once(installed, [] {
        platformVfs = sqlite3_vfs_find(nullptr);
        countingMethods.iVersion = 1;
        countingMethods.xClose = xClose;
        countingMethods.xRead = xRead;
        countingMethods.xWrite = xWrite;
        countingMethods.xTruncate = xTruncate;
        countingMethods.xSync = xSync;
        countingMethods.xFileSize = xFileSize;
        countingMethods.xLock = xLock;
        countingMethods.xUnlock = xUnlock;
        countingMethods.xCheckReservedLock = xCheckReservedLock;
        countingMethods.xFileControl = xFileControl;
        countingMethods.xSectorSize = xSectorSize;
        countingMethods.xDeviceCharacteristics = xDeviceCharacteristics;
        // Everything but the files themselves is the platform's.
        countingVfs = *platformVfs;
        countingVfs.szOsFile = int(sizeof(CountingFile)) + platformVfs->szOsFile;
        countingVfs.zName = "zf-counting";
        countingVfs.pAppData = nullptr;
        countingVfs.pNext = nullptr;
        countingVfs.xOpen = xOpen;
        sqlite3_vfs_register(&countingVfs, 0);
    });
    return countingVfs.zName;
}

void countFileSync() {
    ++fileSyncs;
}

SyncCounts syncCounts() {
    return {databaseSyncs.load(), fileSyncs.load()};
}

} // namespace zf
