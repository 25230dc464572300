// Starting a program with posix_spawn for a test, and collecting its output and status.
#include "RunProgram.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace corvane::test {

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
