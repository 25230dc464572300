// The program's file-error numbers, shared by the FileSystem backends and the lab network (which
// has no use for the rest of the FileSystem interface).
#pragma once

namespace corvane {

// Callers act on 52, 53 and 76; the rest are reported as they come, with the system's own reason
// text.
enum FileError : int {
    kFileOk = 0,
    kBadFileName = 52, // unusable name, or a server or share that cannot be reached
    kFileNotFound = 53,
    kDiskFull = 61,
    kPermissionDenied = 70,
    kPathFileAccess = 75, // any other failure
    kPathNotFound = 76,
};

} // namespace corvane
