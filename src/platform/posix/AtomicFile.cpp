// Replacing a file whole on POSIX: write a temporary beside it, flush, close, rename.
#include "platform/posix/AtomicFile.h"

#include "platform/posix/Lab.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {
namespace {

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

AtomicOutcome Failed(AtomicStep step, int err) {
    return {step, err, std::strerror(err)};
}

} // namespace

int CreateUniqueFile(int folder, const std::string& prefix, mode_t mode, std::string& name) {
    static std::atomic<unsigned> counter{0};
    static const std::string pid = std::to_string(::getpid());
    const std::string stem = prefix + pid + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = stem + std::to_string(++counter);
        const int fd = ::openat(folder, name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

AtomicOutcome WriteAtomically(const AtomicFile& file, std::string_view contents) {
    std::string temporary = file.temporary;
    int fd = -1;
    if (file.uniqueTemporary) {
        fd = CreateUniqueFile(file.folder, file.temporary, 0600, temporary);
        if (fd < 0) {
            return Failed(AtomicStep::Create, errno);
        }
    } else {
        std::string reason;
        errno = 0;
        fd = lab::CreateOwnFile(file.folder, temporary, reason);
        if (fd < 0) {
            return {AtomicStep::Create, errno, reason};
        }
    }
    // The first failure is the one reported; the close is tried in any case.
    int err = 0;
    if ((file.mode && ::fchmod(fd, *file.mode) != 0) || !WriteAll(fd, contents) ||
        (file.sync && ::fsync(fd) != 0)) {
        err = errno;
    }
    if (::close(fd) != 0 && err == 0) {
        err = errno;
    }
    if (err != 0) {
        ::unlinkat(file.folder, temporary.c_str(), 0);
        return Failed(AtomicStep::Write, err);
    }
    if (::renameat(file.folder, temporary.c_str(), file.folder, file.target.c_str()) != 0) {
        err = errno;
        ::unlinkat(file.folder, temporary.c_str(), 0);
        return Failed(AtomicStep::Rename, err);
    }
    return {};
}

} // namespace corvane
