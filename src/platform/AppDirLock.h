// One Corvane per AppDir: two processes saving the same state files would lose each other's
// changes.
#pragma once

#include <memory>
#include <string>

namespace corvane {

// Held for as long as it lives. The system lets go of it when the process ends in any way, so a
// killed Corvane never leaves its folder locked.
class AppDirLock {
public:
    virtual ~AppDirLock() = default;
};

// The name of the lock file in AppDir.
inline constexpr const char* kAppDirLockName = "corvane.lock";

struct AppDirLocking {
    std::unique_ptr<AppDirLock> lock; // null when the folder could not be locked
    bool heldElsewhere = false;       // another process holds it; otherwise `reason` says why
    std::string reason;
};

// Locks AppDir (ending with a separator) through its lock file, without waiting.
AppDirLocking LockAppDir(const std::string& appDir);

} // namespace corvane
