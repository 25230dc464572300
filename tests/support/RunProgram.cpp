// Starting a program with posix_spawn for a test, and collecting its output and status.
#include "RunProgram.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace corvane::test {
namespace {

std::vector<std::string> Environment(const std::vector<std::string>& extra) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const auto eq = entry.find('=');
        const std::string name = entry.substr(0, eq == std::string::npos ? 0 : eq + 1);
        bool replaced = false;
        for (const std::string& x : extra) {
            replaced = replaced || (!name.empty() && x.compare(0, name.size(), name) == 0);
        }
        if (!replaced) {
            env.push_back(entry);
        }
    }
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Spawns with standard output on outFd (closed in the child's copy by the actions only).
pid_t Spawn(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& env, int outFd) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envp = Environment(env);
    std::vector<char*> argp = Pointers(argv);
    std::vector<char*> envpp = Pointers(envp);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argp.data(), envpp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

} // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env) {
    ProgramResult result;
    char output[] = "/tmp/corvane-program-XXXXXX";
    const int fd = ::mkstemp(output);
    if (fd < 0) {
        return result;
    }
    ::close(fd);
    const pid_t pid = StartProgram(program, args, env, output);
    result.status = pid < 0 ? -1 : WaitProgram(pid);
    std::ostringstream text;
    text << std::ifstream(output, std::ios::binary).rdbuf();
    result.out = text.str();
    ::unlink(output);
    return result;
}

pid_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env, const std::string& outputFile) {
    const std::string target = outputFile.empty() ? "/dev/null" : outputFile;
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return -1;
    }
    const pid_t pid = Spawn(program, args, env, fd);
    ::close(fd);
    return pid;
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
