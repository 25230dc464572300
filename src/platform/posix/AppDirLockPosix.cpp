// The AppDir lock on POSIX: flock on the lock file, which the kernel drops with the last
// descriptor, however the process ends. Two opens in one process conflict too.
#include "platform/AppDirLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace corvane {
namespace {

class PosixAppDirLock final : public AppDirLock {
public:
    explicit PosixAppDirLock(int fd) : m_fd(fd) {}
    ~PosixAppDirLock() override { ::close(m_fd); }
    PosixAppDirLock(const PosixAppDirLock&) = delete;
    PosixAppDirLock& operator=(const PosixAppDirLock&) = delete;

private:
    int m_fd;
};

} // namespace

AppDirLocking LockAppDir(const std::string& appDir) {
    AppDirLocking result;
    const std::string path = appDir + kAppDirLockName;
    // Close-on-exec: the tools Corvane starts must not keep the folder locked after it ends.
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) {
        result.reason = std::strerror(errno);
        return result;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        result.heldElsewhere = errno == EWOULDBLOCK;
        result.reason = std::strerror(errno);
        ::close(fd);
        return result;
    }
    result.lock = std::make_unique<PosixAppDirLock>(fd);
    return result;
}

} // namespace corvane
