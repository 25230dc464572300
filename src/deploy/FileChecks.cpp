// Looks at the file system: does a folder or a plain file exist.
#include "deploy/FileChecks.h"

#include "app/Host.h"
#include "persist/TextFile.h"
#include "platform/FileSystem.h"

namespace corvane {

bool DirExists(Host& host, const QString& directory, const QString& server) {
    if (directory.isEmpty()) {
        return false;
    }
    const SearchResult found = host.Platform().files.Search(PathBytes(directory), true);
    if (!found.result.ok()) {
        host.HandleFileError(found.result.error, server);
        return false;
    }
    return !found.name.empty();
}

bool FileExists(FileSystem& files, const QString& path, FileResult* failure) {
    const SearchResult found = files.Search(PathBytes(path), false);
    if (failure != nullptr) {
        *failure = found.result;
    }
    return found.result.ok() && !found.name.empty();
}

} // namespace corvane
