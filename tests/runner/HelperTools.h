// An AppDir holding the test helper programs under Windows names, and ways to wait for them.
#pragma once

#include "platform/Processes.h"

#include <QTemporaryDir>
#include <memory>
#include <string>

namespace corvane::test {

// Puts one helper (exitwith, hang, inspect, printargs, stderronly) at `path`, a symbolic link.
void InstallHelper(const std::string& helper, const std::string& path);
// Installs every helper into a folder ending in '/', as NAME.exe.
void InstallHelpers(const std::string& folder);

// A fresh AppDir whose path holds a blank, with every helper installed, and the native
// Processes made for it (its network root is AppDir + "network/").
class ToolDir {
public:
    ToolDir();

    const std::string& appDir() const { return m_appDir; }
    std::string file(const std::string& name) const { return m_appDir + name; }
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;

    std::unique_ptr<Processes> processes;

private:
    QTemporaryDir m_tmp;
    std::string m_appDir;
};

// Waits without events until the command ends (through its wait handle, at most 20 s), and
// returns its exit status; nothing when it did not end in time.
std::optional<int> WaitBlocking(RunningCommand& command);

// True once no process of that number runs any more (gone, or a zombie nobody collected yet).
bool ProcessGone(int pid);

} // namespace corvane::test
