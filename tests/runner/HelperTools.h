// An AppDir holding the test helper programs under Windows names, and ways to wait for them.
#pragma once

#include "Harness.h"

#include "platform/Processes.h"

#include <memory>
#include <optional>
#include <string>

namespace corvane::test {

// Puts one helper (exitwith, hang, inspect, printargs, stderronly) at `path`, a symbolic link.
void InstallHelper(const std::string& helper, const std::string& path);

// A fresh AppDir whose path holds a blank, with every helper in it as NAME.exe, and the native
// Processes made for it (its network root is AppDir + "network/").
class ToolDir {
public:
    ToolDir();
    std::string appDir() const { return m_dir.file(kSub); }
    std::string file(const std::string& name) const { return m_dir.file(kSub + name); }
    void Write(const std::string& name, const std::string& bytes) const {
        m_dir.Write(kSub + name, bytes);
    }
    std::string Read(const std::string& name) const { return m_dir.Read(kSub + name); }

    std::unique_ptr<Processes> processes;

private:
    static constexpr const char* kSub = "App Dir/";
    TempDir m_dir;
};

// Waits without events until the command ends (through its wait handle, at most 20 s), and
// returns its exit status; nothing when it did not end in time.
std::optional<int> WaitBlocking(RunningCommand& command);

// True once no process of that number runs any more (gone, or a zombie nobody collected yet).
bool ProcessGone(int pid);

} // namespace corvane::test
