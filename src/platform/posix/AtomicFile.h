// Replacing a file whole on POSIX: the one writer of the file system's saves, the lab's job files
// and the servers' settings files.
#pragma once

#include <fcntl.h>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace corvane {

// Creates a new file in folder (AT_FDCWD with prefix a path) named prefix followed by a part no
// other file there has, with O_EXCL and O_NOFOLLOW, open for writing, with the given permissions
// (less the umask). Its name goes into `name`. A descriptor below 0, with errno set, on failure.
int CreateUniqueFile(int folder, const std::string& prefix, mode_t mode, std::string& name);

// The new contents of a file go into a temporary file in the same folder, which is written,
// closed and only then renamed over the target: readers see the old file or the new one, never a
// part, and a failure leaves the old file as it was. The temporary is removed on any failure.
struct AtomicFile {
    int folder = AT_FDCWD; // the folder of both names; AT_FDCWD when they are paths
    std::string target;
    // The temporary's name when uniqueTemporary is false: created with O_EXCL and O_NOFOLLOW, a
    // regular file of that name being the leftover of an interrupted write and removed first (the
    // caller holds the lock that guards it), anything else refused (see lab::CreateOwnFile). When
    // uniqueTemporary is true, the start of a name completed as CreateUniqueFile does.
    std::string temporary;
    bool uniqueTemporary = false;
    // The permissions the file gets, whatever the umask; without them, those it was created with.
    std::optional<mode_t> mode;
    // Flushed to the disk before the rename, so that a crash leaves the old file or the whole new
    // one.
    bool sync = true;
};

enum class AtomicStep { Done, Create, Write, Rename };

// What failed, and why. `error` is the errno of the failure, 0 for a temporary refused by
// lab::CreateOwnFile's own rules; `reason` says it in words.
struct [[nodiscard]] AtomicOutcome {
    AtomicStep failed = AtomicStep::Done;
    int error = 0;
    std::string reason;

    bool ok() const { return failed == AtomicStep::Done; }
};

AtomicOutcome WriteAtomically(const AtomicFile& file, std::string_view contents);

} // namespace corvane
