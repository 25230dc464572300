// A test's lab network with the build's stand-in tools, and programs run with posix_spawn.
#include "LabNetwork.h"
#include "Harness.h"
#include "RunProgram.h"

#include "platform/posix/Lab.h"
#include "platform/posix/LabJobs.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace corvane::test {

LabNetwork::LabNetwork(const std::string& appDir) : m_root(appDir + "network/") {
    std::filesystem::create_directories(m_root);
    for (const char* tool : {"at.exe", "uptime.exe"}) {
        std::filesystem::create_symlink(Tool(tool), appDir + tool);
    }
}

void LabNetwork::AddServer(const std::string& name, const LabServerOptions& options) const {
    for (const std::string& share : options.shares) {
        std::filesystem::create_directories(m_root + name + "/" + share);
    }
    WriteFile(
        name + "/.lab",
        lab::FormatSettings({options.offline, options.denied, options.hang, options.boot, {}}));
}

void LabNetwork::WriteFile(const std::string& relative, const std::string& bytes) const {
    std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
    std::ofstream(Path(relative), std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<lab::Job> LabNetwork::Jobs(const std::string& server) const {
    const lab::Server found = lab::Network(m_root).FindServer(server);
    std::vector<lab::Job> jobs;
    std::string error;
    EXPECT_TRUE(found.Exists() && lab::JobStore(found.folder).Read(jobs, error)) << server << error;
    return jobs;
}

std::string LabNetwork::Tool(const std::string& name) {
    return CORVANE_BIN_DIR "/" + name;
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env) {
    char output[] = "/tmp/corvane-program-XXXXXX";
    ::close(::mkstemp(output));
    const pid_t pid = StartProgram(program, args, env, output);
    ProgramResult result{pid < 0 ? -1 : WaitProgram(pid), ReadBytes(output)};
    ::unlink(output);
    return result;
}

pid_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env, const std::string& outputFile) {
    std::vector<std::string> argv{program}, envp;
    argv.insert(argv.end(), args.begin(), args.end());
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string name(*e, std::strchr(*e, '=') + 1);
        if (std::ranges::none_of(env, [&](const std::string& x) { return x.starts_with(name); })) {
            envp.push_back(*e);
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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    const std::string target = outputFile.empty() ? "/dev/null" : outputFile;
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, target.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0666);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argp.data(), envpp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

int WaitProgram(pid_t pid) {
    int status = 0;
    pid_t rc = -1;
    while ((rc = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
    }
    return rc < 0 ? -1 : WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace corvane::test
