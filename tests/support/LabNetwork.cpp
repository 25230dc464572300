// Builds a test's lab network and links the build's stand-in tools beside the test's program.
#include "LabNetwork.h"

#include "platform/posix/Lab.h"
#include "platform/posix/LabJobs.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace corvane::test {

namespace fs = std::filesystem;

LabNetwork::LabNetwork(const std::string& appDir) : m_root(appDir + "network/") {
    fs::create_directories(m_root);
    for (const char* tool : {"at.exe", "uptime.exe"}) {
        std::error_code ec;
        fs::create_symlink(Tool(tool), appDir + tool, ec);
        EXPECT_FALSE(ec) << "linking " << tool << ": " << ec.message();
    }
}

void LabNetwork::AddServer(const std::string& name, const LabServerOptions& options) const {
    for (const std::string& share : options.shares) {
        fs::create_directories(m_root + name + "/" + share);
    }
    WriteFile(name + "/.lab", lab::FormatSettings({.offline = options.offline,
                                                   .denied = options.denied,
                                                   .hang = options.hang,
                                                   .boot = options.boot}));
}

void LabNetwork::WriteFile(const std::string& relative, const std::string& bytes) const {
    const fs::path path = Path(relative);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string LabNetwork::ReadFile(const std::string& relative) const {
    std::ostringstream text;
    text << std::ifstream(Path(relative), std::ios::binary).rdbuf();
    return text.str();
}

bool LabNetwork::Exists(const std::string& relative) const {
    return fs::exists(Path(relative));
}

std::vector<lab::Job> LabNetwork::Jobs(const std::string& server) const {
    const lab::Server found = lab::Network(m_root).FindServer(server);
    std::vector<lab::Job> jobs;
    std::string error;
    EXPECT_TRUE(found.Exists()) << server;
    EXPECT_TRUE(!found.Exists() || lab::JobStore(found.folder).Read(jobs, error)) << error;
    return jobs;
}

std::vector<std::string> LabNetwork::Environment(std::optional<long long> now) const {
    std::vector<std::string> env{"CORVANE_NETWORK=" + m_root};
    if (now) {
        env.push_back("CORVANE_LAB_NOW=" + std::to_string(*now));
    }
    return env;
}

std::string LabNetwork::Tool(const std::string& name) {
    return std::string(CORVANE_BIN_DIR) + "/" + name;
}

} // namespace corvane::test
