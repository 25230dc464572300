// A lab network inside a test's AppDir: servers made to order and the stand-in tools beside it.
#pragma once

#include "platform/posix/LabSchedule.h"

#include <optional>
#include <string>
#include <vector>

namespace corvane::test {

struct LabServerOptions {
    bool offline = false;
    bool denied = false;
    bool hang = false; // at.exe and uptime.exe wait until ended
    // Seconds since the epoch; without it, the time the server folder was created.
    std::optional<long long> boot = std::nullopt;
    std::vector<std::string> shares{"C$"};
};

// Makes <AppDir>/network/ and links at.exe and uptime.exe of the build into AppDir (ending in
// '/'), where the program looks first. Started by hand, the tools need Environment().
class LabNetwork {
public:
    explicit LabNetwork(const std::string& appDir);

    const std::string& root() const { return m_root; }
    // Creates the server folder with its share folders, and writes its settings (again).
    void AddServer(const std::string& name, const LabServerOptions& options = {}) const;
    // Files by their path below the root: "SRV01/C$/dir/a.txt" is \\SRV01\C$\dir\a.txt.
    std::string Path(const std::string& relative) const { return m_root + relative; }
    void WriteFile(const std::string& relative, const std::string& bytes) const;
    std::string ReadFile(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    // The server's jobs as at.exe keeps them.
    std::vector<lab::Job> Jobs(const std::string& server) const;
    // CORVANE_NETWORK=<root>, and CORVANE_LAB_NOW=<now> when now is given.
    std::vector<std::string> Environment(std::optional<long long> now = std::nullopt) const;
    // A program of the build's bin folder: "at.exe", "uptime.exe" or "corvane-lab".
    static std::string Tool(const std::string& name);

private:
    std::string m_root;
};

} // namespace corvane::test
