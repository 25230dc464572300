// How every tool is started on POSIX: one set of spawn attributes, and the file actions of the
// last capture file, made once and reused, so that a sweep of a thousand servers spends its time
// in the tools and not in preparing them.
#pragma once

#include <spawn.h>
#include <string>
#include <vector>

namespace corvane {

class Spawner {
public:
    // `workingDir` is every tool's working folder; `networkVariable` ("NAME=value") is added to
    // the environment of every tool, replacing one of the same name.
    Spawner(std::string workingDir, std::string networkVariable);
    ~Spawner();
    Spawner(const Spawner&) = delete;
    Spawner& operator=(const Spawner&) = delete;

    // Starts `program` with words[1..] as its arguments. Standard input from /dev/null, standard
    // output into `capture` (or /dev/null when empty), standard error shared, nothing else open;
    // a process group of its own, so that ending the group reaches what the tool starts.
    // Returns 0 or the error number; when it fails nothing runs, and the error may be the
    // capture file's as well as the program's.
    //
    // As cmd does, the new process opens the capture itself, creating or emptying it: emptying
    // a file frees its blocks, which can wait on the disk, and that wait then never holds up the
    // window.
    int Spawn(const std::string& program, const std::vector<std::string>& words,
              const std::string& capture, pid_t& pid);

private:
    int PrepareActions(const std::string& capture);

    std::string m_workingDir;
    std::string m_networkVariable;
    posix_spawnattr_t m_attributes{};
    int m_attributesError = 0;
    posix_spawn_file_actions_t m_actions{};
    bool m_actionsReady = false;
    std::string m_actionsCapture; // the capture m_actions were made for
    std::vector<char*> m_argv;
    std::vector<char*> m_envp;
};

} // namespace corvane
