// Looks at the file system: does a plain file exist.
#pragma once

#include <QString>

namespace corvane {

class FileSystem;
struct FileResult;

// True when a plain file exists; a failed search gives false and, when asked, its error.
bool FileExists(FileSystem& files, const QString& path, FileResult* failure = nullptr);

} // namespace corvane
