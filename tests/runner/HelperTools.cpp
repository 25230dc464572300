// The helper programs' AppDir and plain waits for the process contract tests.
#include "HelperTools.h"

#include "platform/NativeProcesses.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sstream>

namespace corvane::test {

void InstallHelper(const std::string& helper, const std::string& path) {
    std::filesystem::create_symlink(std::string(CORVANE_TEST_HELPERS_DIR) + helper, path);
}

void InstallHelpers(const std::string& folder) {
    for (const char* helper : {"exitwith", "hang", "inspect", "printargs", "stderronly"}) {
        InstallHelper(helper, folder + helper + ".exe");
    }
}

ToolDir::ToolDir() : m_appDir(m_tmp.path().toStdString() + "/App Dir/") {
    EXPECT_TRUE(m_tmp.isValid());
    std::filesystem::create_directories(m_appDir + "network");
    InstallHelpers(m_appDir);
    processes = MakeNativeProcesses(m_appDir, m_appDir + "network/");
}

void ToolDir::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(file(name), std::ios::binary | std::ios::trunc) << bytes;
}

std::string ToolDir::Read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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
