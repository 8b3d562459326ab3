#pragma once

namespace zf {

// Results of the storage operations.
enum StorageResult : int {
    ResultOk = 0,
    ResultNoBackup = -1,     // the backup copy could not be created
    ResultFileNotFound = -3, // the file does not exist
    ResultCancelled = -6,    // the user cancelled
    ResultNotWritable = -7,  // the project could not be written to the chosen file
    ResultInvalidFile = -8,  // not a valid project file, or the connection failed
};

} // namespace zf
