// The AppDir lock on Windows: the lock file kept open without sharing, which the system closes
// when the process ends, however it ends. A second open, even in the same process, is refused.
#include "platform/AppDirLock.h"
#include "platform/windows/WindowsText.h"

#include <windows.h>

namespace corvane {
namespace {

class WindowsAppDirLock final : public AppDirLock {
public:
    explicit WindowsAppDirLock(HANDLE file) : m_file(file) {}
    ~WindowsAppDirLock() override { CloseHandle(m_file); }
    WindowsAppDirLock(const WindowsAppDirLock&) = delete;
    WindowsAppDirLock& operator=(const WindowsAppDirLock&) = delete;

private:
    HANDLE m_file;
};

} // namespace

AppDirLocking LockAppDir(const std::string& appDir) {
    AppDirLocking result;
    std::wstring path;
    if (!windows::ToWide(appDir + kAppDirLockName, path)) {
        result.reason = "Bad file name";
        return result;
    }
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        result.heldElsewhere = code == ERROR_SHARING_VIOLATION;
        result.reason = windows::SystemMessage(code);
        return result;
    }
    result.lock = std::make_unique<WindowsAppDirLock>(file);
    return result;
}

} // namespace corvane
