// The helper programs' AppDir and plain waits for the process contract tests.
#include "HelperTools.h"

#include "platform/NativeProcesses.h"

#include <filesystem>
#include <fstream>
#include <poll.h>
#include <signal.h>

namespace corvane::test {

void InstallHelper(const std::string& helper, const std::string& path) {
    std::filesystem::create_symlink(std::string(CORVANE_TEST_HELPERS_DIR) + helper, path);
}

ToolDir::ToolDir() {
    std::filesystem::create_directories(file("network"));
    for (const char* helper : {"exitwith", "hang", "inspect", "printargs", "stderronly"}) {
        InstallHelper(helper, file(helper + std::string(".exe")));
    }
    processes = MakeNativeProcesses(appDir(), file("network/"));
}

std::optional<int> WaitBlocking(RunningCommand& command) {
    const long long handle = command.OpenWaitHandle();
    if (handle >= 0) {
        pollfd p{static_cast<int>(handle), POLLIN, 0};
        ::poll(&p, 1, 20'000);
    }
    const bool running = command.Running();
    command.CloseWaitHandle();
    return running ? std::nullopt : command.ExitStatus();
}

bool ProcessGone(int pid) {
    if (::kill(pid, 0) != 0) {
        return true;
    }
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    return close == std::string::npos || text.compare(close, 4, ") Z ") == 0;
}

} // namespace corvane::test
