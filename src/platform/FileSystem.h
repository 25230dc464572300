// The file operations Corvane needs, with failures reported in the program's file-error numbers.
#pragma once

#include "platform/FileError.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct [[nodiscard]] FileResult {
    int error = kFileOk;
    std::string reason; // the system's explanation, for messages; empty on success

    bool ok() const { return error == kFileOk; }
};

// The largest list, history, state, import or export file read: a list of a thousand entries is
// well under 1 MB, so a bigger file is not one of Corvane's.
inline constexpr std::uint64_t kMaxListFileSize = std::uint64_t{16} << 20;
inline constexpr std::uint64_t kNoSizeLimit = UINT64_MAX;

// Refusals of a file that is not one Corvane can read or write as a whole: a pipe or a device
// would block or never end.
inline FileResult NotRegularFile() {
    return {kPathFileAccess, "Not a regular file"};
}
inline FileResult LargerThan(std::uint64_t limit) {
    return {kPathFileAccess, "Larger than " + std::to_string(limit >> 20) + " MB"};
}

// Outcome of a directory search: the name found (empty when nothing matched) or an error.
struct [[nodiscard]] SearchResult {
    FileResult result;
    std::string name;
};

// The temporary file a copy or a replacement writes beside its target until it is whole is named
// TemporaryPrefix(target's name) followed by a part that keeps it unique. Only Corvane makes names
// of this form, so the leftovers of an interrupted save can be told from everything else.
inline std::string TemporaryPrefix(std::string_view fileName) {
    std::string prefix(1, '.');
    prefix.append(fileName).append(".corvane-tmp-");
    return prefix;
}

// A text file written line by line while it stays open: the lines are gathered and written in
// large pieces. The first failure is kept and every later call returns it, so a caller may check
// each line or only Close. Destroying a writer that was not closed closes the file silently.
class LineWriter {
public:
    virtual ~LineWriter() = default;
    // Adds the line and CR LF.
    virtual FileResult WriteLine(std::string_view line) = 0;
    // Hands what is gathered to the system.
    virtual FileResult Flush() = 0;
    // Writes the rest and closes the file; a failure of the close itself is reported too.
    virtual FileResult Close() = 0;
};

// Paths are full paths in the platform's own spelling; on POSIX a UNC path of the form
// \\SERVER\SHARE\rest is resolved through the lab network. Paths, found names and reasons are
// UTF-8 on every platform (Windows uses its wide-character calls, so any name works). File
// contents are raw bytes (UTF-8 on Linux, the ANSI code page on Windows) never interpreted.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The directory search. Without the directory attribute only plain files match; with it,
    // directories match as well as files. A path ending in a separator names the folder itself.
    // Wildcards are never expanded: on Windows and in the lab network a path holding * or ? is
    // error 52; a local POSIX path may hold them as ordinary characters of a name. On Windows, as
    // with Dir, hidden and system entries never match (a folder named by a separator does).
    virtual SearchResult Search(const std::string& path, bool withDirectories) = 0;

    virtual FileResult CreateDirectory(const std::string& path) = 0;
    // Copies a file, replacing the target. The source is opened first, so a missing source is 53
    // whatever the target. The copy is written beside the target and put in its place only when
    // whole, so a failure leaves the old target whole or no target at all. A target that is the
    // source itself (the same file through a share, a link or a mount) is left untouched: 75.
    virtual FileResult CopyFile(const std::string& from, const std::string& to) = 0;
    // Takes the result of the copy number i; false when no further copy is to be begun.
    using CopyResultHandler = std::function<bool(std::size_t, const FileResult&)>;
    // Copies from[i] to to[i] as CopyFile does, for every i, and hands each result to `each` on
    // the calling thread in the order of i. The copies may run several at once (the lab network
    // does), so `each` must leave `from` and `to` alone; once it returns false no further copy is
    // begun. Copies that lead to one file, in any spelling, end as if made one after the other.
    virtual void CopyFiles(const std::vector<std::string>& from, const std::vector<std::string>& to,
                           const CopyResultHandler& each) {
        for (std::size_t i = 0; i < from.size() && i < to.size(); ++i) {
            if (!each(i, CopyFile(from[i], to[i]))) {
                return;
            }
        }
    }
    // Deleting a file that does not exist is error 53.
    virtual FileResult DeleteFile(const std::string& path) = 0;
    // From here on, files are read or written only when they are regular files: anything else (a
    // pipe, a device) is refused with NotRegularFile, found without waiting for a writer or a
    // reader.
    // Creates the file empty, truncating one that exists.
    virtual FileResult CreateEmptyFile(const std::string& path) = 0;
    // Opens for appending (creating it if missing), writes the line and CR LF, closes.
    virtual FileResult AppendLine(const std::string& path, const std::string& line) = 0;
    // A file of more than `limit` bytes is refused with LargerThan(limit), nothing kept.
    virtual FileResult ReadTextFile(const std::string& path, std::string& contents,
                                    std::uint64_t limit) = 0;
    // Writes the contents to a temporary file beside the target, flushes it to disk and renames it
    // over the target, so that a failure or a crash at any point leaves the old file whole.
    virtual FileResult ReplaceFile(const std::string& path, const std::string& contents) = 0;
    // Deletes the temporary files (see TemporaryPrefix) that interrupted copies or replacements of
    // this file left beside it, and nothing else. Finding none is no error.
    virtual FileResult RemoveLeftovers(const std::string& path) = 0;
    // Creates the file, or empties the one there, for writing line by line. On failure the
    // writer is left empty.
    virtual FileResult OpenLineWriter(const std::string& path,
                                      std::unique_ptr<LineWriter>& writer) = 0;

    // A run over many paths. Until the outermost EndBatch the file system may remember what it
    // learnt about servers and folders instead of looking again for every path (the lab network
    // does; Windows need not). What the program changes through this interface is seen at once;
    // what others change during the run may not be. Use BatchScope rather than calling these.
    virtual void BeginBatch() = 0;
    virtual void EndBatch() = 0;
};

// One run over many paths, for as long as it lives.
class BatchScope {
public:
    explicit BatchScope(FileSystem& files) : m_files(files) { m_files.BeginBatch(); }
    ~BatchScope() { m_files.EndBatch(); }
    BatchScope(const BatchScope&) = delete;
    BatchScope& operator=(const BatchScope&) = delete;

private:
    FileSystem& m_files;
};

} // namespace corvane
