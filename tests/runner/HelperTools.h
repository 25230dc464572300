// An AppDir holding the test helper programs under Windows names, and ways to wait for them.
#pragma once

#include "Harness.h"

#include "platform/NativeProcesses.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <string>

namespace corvane::test {

inline void InstallHelper(const std::string& helper, const std::string& path) {
    std::filesystem::create_symlink(std::string(CORVANE_TEST_HELPERS_DIR) + helper, path);
}

// A fresh AppDir whose path holds a blank, every helper in it as NAME.exe, its native Processes.
struct ToolDir : TempDir {
    ToolDir() {
        std::filesystem::create_directories(file("network"));
        for (const char* helper : {"exitwith", "hang", "inspect", "printargs", "stderronly"}) {
            InstallHelper(helper, file(helper + std::string(".exe")));
        }
        processes = MakeNativeProcesses(appDir(), file("network/"));
    }
    std::string appDir() const { return TempDir::file("App Dir/"); }
    std::string file(const std::string& name) const { return appDir() + name; }
    void Write(const std::string& n, const std::string& b) const {
        TempDir::Write("App Dir/" + n, b);
    }
    std::string Read(const std::string& name) const { return TempDir::Read("App Dir/" + name); }

    std::unique_ptr<Processes> processes;
};

// Waits without events (at most 20 s) for the command's exit status.
inline std::optional<int> WaitBlocking(RunningCommand& command) {
    if (const long long handle = command.OpenWaitHandle(); handle >= 0) {
        pollfd p{static_cast<int>(handle), POLLIN, 0};
        ::poll(&p, 1, 20'000);
    }
    const bool running = command.Running();
    command.CloseWaitHandle();
    return running ? std::nullopt : command.ExitStatus();
}

// True once no process of that number runs any more (gone, or a zombie nobody collected yet).
inline bool ProcessGone(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string text{std::istreambuf_iterator<char>(stat), {}};
    return ::kill(pid, 0) != 0 || text.find(") Z ") != std::string::npos;
}

} // namespace corvane::test
