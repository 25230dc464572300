#include "platform/posix/Spawner.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>

extern char** environ;

namespace corvane {
namespace {

int MakeAttributes(posix_spawnattr_t& attributes) {
    if (int e = posix_spawnattr_init(&attributes); e != 0) {
        return e;
    }
    sigset_t none;
    sigset_t reset;
    sigemptyset(&none);
    sigemptyset(&reset);
    // Handlers are reset at exec anyway; ignored signals would stay ignored in the tool.
    for (int signal : {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGALRM, SIGUSR1,
                       SIGUSR2, SIGTSTP, SIGTTIN, SIGTTOU, SIGXFSZ}) {
        sigaddset(&reset, signal);
    }
    int error = posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    if (error == 0) {
        error = posix_spawnattr_setpgroup(&attributes, 0);
    }
    if (error == 0) {
        error = posix_spawnattr_setsigmask(&attributes, &none);
    }
    if (error == 0) {
        error = posix_spawnattr_setsigdefault(&attributes, &reset);
    }
    return error;
}

} // namespace

Spawner::Spawner(std::string workingDir, std::string networkVariable)
    : m_workingDir(std::move(workingDir)), m_networkVariable(std::move(networkVariable)) {
    m_attributesError = MakeAttributes(m_attributes);
}

Spawner::~Spawner() {
    if (m_actionsReady) {
        posix_spawn_file_actions_destroy(&m_actions);
    }
    posix_spawnattr_destroy(&m_attributes);
}

int Spawner::PrepareActions(const std::string& capture) {
    if (m_actionsReady && m_actionsCapture == capture) {
        return 0;
    }
    if (m_actionsReady) {
        posix_spawn_file_actions_destroy(&m_actions);
        m_actionsReady = false;
    }
    if (int e = posix_spawn_file_actions_init(&m_actions); e != 0) {
        return e;
    }
    m_actionsReady = true;
    m_actionsCapture = capture;
    int error = posix_spawn_file_actions_addopen(&m_actions, 0, "/dev/null", O_RDONLY, 0);
    // No O_CLOEXEC here: it would close the tool's output at the exec (an empty capture,
    // status 0).
    if (error == 0) {
        error =
            capture.empty()
                ? posix_spawn_file_actions_addopen(&m_actions, 1, "/dev/null", O_WRONLY, 0)
                : posix_spawn_file_actions_addopen(&m_actions, 1, capture.c_str(),
                                                   O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY, 0666);
    }
    if (error == 0) {
        error = posix_spawn_file_actions_addchdir_np(&m_actions, m_workingDir.c_str());
    }
    if (error == 0) {
        error = posix_spawn_file_actions_addclosefrom_np(&m_actions, 3);
    }
    if (error != 0) {
        posix_spawn_file_actions_destroy(&m_actions);
        m_actionsReady = false;
    }
    return error;
}

int Spawner::Spawn(const std::string& program, const std::vector<std::string>& words,
                   const std::string& capture, pid_t& pid) {
    if (m_attributesError != 0) {
        return m_attributesError;
    }
    if (int e = PrepareActions(capture); e != 0) {
        return e;
    }
    m_argv.clear();
    m_argv.push_back(const_cast<char*>(program.c_str()));
    for (size_t i = 1; i < words.size(); ++i) {
        m_argv.push_back(const_cast<char*>(words[i].c_str()));
    }
    m_argv.push_back(nullptr);
    // Read afresh each time: the program's own environment may have changed since.
    const size_t nameLength = m_networkVariable.find('=') + 1;
    m_envp.clear();
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, m_networkVariable.c_str(), nameLength) != 0) {
            m_envp.push_back(*e);
        }
    }
    m_envp.push_back(m_networkVariable.data());
    m_envp.push_back(nullptr);
    return posix_spawn(&pid, program.c_str(), &m_actions, &m_attributes, m_argv.data(),
                       m_envp.data());
}

} // namespace corvane
