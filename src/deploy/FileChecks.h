// Looks at the file system: does a folder or a plain file exist.
#pragma once

#include <QString>

namespace corvane {

class FileSystem;
class Host;
struct FileResult;

// True when the folder (or a file of that name) exists. A failed search is reported through
// HandleFileError naming `server` and gives false; the empty path is false without a search.
bool DirExists(Host& host, const QString& directory, const QString& server = {});
// True when a plain file exists; a failed search gives false and, when asked, its error.
bool FileExists(FileSystem& files, const QString& path, FileResult* failure = nullptr);

} // namespace corvane
