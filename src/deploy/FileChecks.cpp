// Looks at the file system: does a plain file exist.
#include "deploy/FileChecks.h"

#include "persist/TextFile.h"
#include "platform/FileSystem.h"

namespace corvane {

bool FileExists(FileSystem& files, const QString& path, FileResult* failure) {
    const SearchResult found = files.Search(PathBytes(path), false);
    if (failure != nullptr) {
        *failure = found.result;
    }
    return found.result.ok() && !found.name.empty();
}

} // namespace corvane
