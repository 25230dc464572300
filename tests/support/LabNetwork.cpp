// A test's lab network with the build's stand-in tools linked beside the test's program, and
// programs started with posix_spawn, their output and status collected.
#include "LabNetwork.h"
#include "RunProgram.h"

#include "platform/posix/Lab.h"
#include "platform/posix/LabJobs.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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
                                                   .boot = options.boot,
                                                   .unreadable = {}}));
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

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env) {
    char output[] = "/tmp/corvane-program-XXXXXX";
    const int fd = ::mkstemp(output);
    if (fd < 0) {
        return {};
    }
    ::close(fd);
    const pid_t pid = StartProgram(program, args, env, output);
    ProgramResult result{pid < 0 ? -1 : WaitProgram(pid), {}};
    std::ostringstream text;
    text << std::ifstream(output, std::ios::binary).rdbuf();
    result.out = text.str();
    ::unlink(output);
    return result;
}

pid_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env, const std::string& outputFile) {
    std::vector<std::string> argv{program}, envp;
    argv.insert(argv.end(), args.begin(), args.end());
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        if (std::ranges::none_of(env, [&](const std::string& x) { return x.starts_with(name); })) {
            envp.push_back(entry);
        }
    }
    envp.insert(envp.end(), env.begin(), env.end());
    std::vector<char*> argp, envpp;
    for (auto [texts, pointers] : {std::pair{&argv, &argp}, std::pair{&envp, &envpp}}) {
        for (std::string& text : *texts) {
            pointers->push_back(text.data());
        }
        pointers->push_back(nullptr);
    }
    const std::string target = outputFile.empty() ? "/dev/null" : outputFile;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, target.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0666);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argp.data(), envpp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

int WaitProgram(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace corvane::test
