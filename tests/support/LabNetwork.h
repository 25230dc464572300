// A lab network inside a test's AppDir: servers made to order and the stand-in tools beside it.
#pragma once

#include "platform/posix/LabSchedule.h"

#include <filesystem>

namespace corvane::test {

std::string ReadBytes(const std::string& path);

struct LabServerOptions {
    bool offline = false;
    bool denied = false;
    bool hang = false; // at.exe and uptime.exe wait until ended
    std::optional<long long> boot = std::nullopt;
    std::vector<std::string> shares{"C$"};
};

struct LabNetwork {
    explicit LabNetwork(const std::string& appDir);

    const std::string& root() const { return m_root; }
    void AddServer(const std::string& name, const LabServerOptions& options = {}) const;
    std::string Path(const std::string& relative) const { return m_root + relative; }
    void WriteFile(const std::string& relative, const std::string& bytes) const;
    std::string ReadFile(const std::string& relative) const { return ReadBytes(Path(relative)); }
    bool Exists(const std::string& relative) const {
        return std::filesystem::exists(Path(relative));
    }
    std::vector<lab::Job> Jobs(const std::string& server) const;
    std::vector<std::string> Environment(std::optional<long long> now = std::nullopt) const {
        return now ? std::vector<std::string>{"CORVANE_NETWORK=" + m_root,
                                              "CORVANE_LAB_NOW=" + std::to_string(*now)}
                   : std::vector<std::string>{"CORVANE_NETWORK=" + m_root};
    }
    static std::string Tool(const std::string& name);

    std::string m_root;
};

} // namespace corvane::test
