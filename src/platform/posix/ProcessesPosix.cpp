// Processes on POSIX: Windows command lines read as cmd reads them, their tools started directly
// with posix_spawn (never through a shell) and followed through a pidfd.
#include "platform/NativeProcesses.h"

#include "platform/posix/ProgramLookup.h"
#include "platform/posix/WindowsCommandLine.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace corvane {
namespace {

// glibc 2.36 declares pidfd_open in <sys/pidfd.h> without extern "C"; the system call needs none.
int OpenPidfd(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

enum class Reaped { No, Yes, Lost };

// Collects the child when it has ended, without blocking. Only by its own number: waitpid(-1)
// would steal the children of every other part of the process.
Reaped TryReap(pid_t pid, std::optional<int>& status) {
    for (;;) {
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG) == 0) {
            if (info.si_pid == 0) {
                return Reaped::No;
            }
            status = info.si_code == CLD_EXITED ? info.si_status : 128 + info.si_status;
            return Reaped::Yes;
        }
        if (errno != EINTR) {
            return Reaped::Lost;
        }
    }
}

// Children whose handles went away before they ended; collected at every later launch, so that a
// scheduled job nobody waits for does not stay a zombie.
struct Unwatched {
    std::vector<pid_t> pids;
    void Collect() {
        std::erase_if(pids, [](pid_t pid) {
            std::optional<int> ignored;
            return TryReap(pid, ignored) != Reaped::No;
        });
    }
};

class PosixCommand final : public RunningCommand {
public:
    PosixCommand(pid_t pid, std::shared_ptr<Unwatched> unwatched)
        : m_pid(pid), m_unwatched(std::move(unwatched)) {}
    // A command that ended as it began, as cmd does when it finds no program.
    explicit PosixCommand(int status) : m_status(status) {}

    ~PosixCommand() override {
        CloseWaitHandle();
        if (Running()) {
            m_unwatched->pids.push_back(m_pid);
        }
    }

    long long OpenWaitHandle() override {
        if (m_pidfd < 0 && m_pid > 0) {
            m_pidfd = OpenPidfd(m_pid); // fine for an ended child: it is not collected yet
        }
        return m_pidfd;
    }

    void CloseWaitHandle() override {
        if (m_pidfd >= 0) {
            ::close(m_pidfd);
            m_pidfd = -1;
        }
    }

    bool Running() override {
        if (m_pid <= 0) {
            return false;
        }
        if (TryReap(m_pid, m_status) == Reaped::No) {
            return true;
        }
        m_pid = -1; // from here on the number may belong to anyone
        return false;
    }

    std::optional<int> ExitStatus() const override { return m_pid > 0 ? std::nullopt : m_status; }

    void End() override {
        // The leader is not collected yet, so its number, and with it the group, is still ours.
        if (m_pid > 0) {
            ::kill(-m_pid, SIGKILL);
        }
    }

private:
    pid_t m_pid = -1; // -1 once collected, or when nothing was started
    int m_pidfd = -1;
    std::optional<int> m_status;
    std::shared_ptr<Unwatched> m_unwatched;
};

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }
    void reset(int fd = -1) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Opens (creating or emptying) the file that receives standard output, kept clear of 0 to 2 so
// that the spawn's own redirections cannot overwrite it.
int OpenOutput(const std::string& file) {
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd >= 0 && fd <= 2) {
        const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        const int saved = errno;
        ::close(fd);
        errno = saved;
        fd = moved;
    }
    return fd;
}

void WriteToStandardError(const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(STDERR_FILENO, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        done += static_cast<size_t>(n);
    }
}

LaunchResult Refused(std::string why) {
    return {nullptr, std::move(why)};
}

class PosixProcesses final : public Processes {
public:
    PosixProcesses(std::string appDir, const std::string& networkRoot)
        : m_appDir(std::move(appDir)), m_lookup(m_appDir),
          m_networkVariable("CORVANE_NETWORK=" + networkRoot),
          m_unwatched(std::make_shared<Unwatched>()) {
        if (m_appDir.empty() || m_appDir.back() != '/') {
            m_appDir += '/';
        }
    }

    LaunchResult Launch(const std::string& commandLine) override {
        m_unwatched->Collect();
        const ParsedCommandLine parsed = ParseWindowsCommandLine(commandLine);
        if (!parsed.error.empty()) {
            return Refused("Cannot run \"" + commandLine + "\": " + parsed.error + ".");
        }
        // As cmd does, the file is emptied before the tool is even looked for: a run that fails
        // never leaves the previous answer in it.
        Descriptor output;
        if (parsed.outputFile) {
            const std::string file = parsed.outputFile->front() == '/'
                                         ? *parsed.outputFile
                                         : m_appDir + *parsed.outputFile;
            output.reset(OpenOutput(file));
            if (output.get() < 0) {
                return Refused("Cannot write the capture file " + file + ": " +
                               std::strerror(errno) + ".");
            }
        }

        const std::string& word = parsed.words.front();
        int error = 0;
        // A second try when the cached program vanished since it was found.
        for (int attempt = 0; attempt < 2; ++attempt) {
            const std::string* program = m_lookup.Find(word);
            if (!program) {
                return NotFound(word, parsed.throughInterpreter);
            }
            pid_t pid = -1;
            error = Spawn(*program, parsed.words, output.get(), pid);
            if (error == 0) {
                return {std::make_unique<PosixCommand>(pid, m_unwatched), {}};
            }
            m_lookup.Forget(word);
            if (error != ENOENT) {
                break;
            }
        }
        return Refused("Cannot start '" + word + "': " + std::strerror(error) + ".");
    }

private:
    LaunchResult NotFound(const std::string& word, bool throughInterpreter) const {
        if (throughInterpreter) {
            WriteToStandardError("'" + word +
                                 "' is not recognized as an internal or external command,\r\n"
                                 "operable program or batch file.\r\n");
            return {std::make_unique<PosixCommand>(kCommandNotFoundStatus), {}};
        }
        return Refused("Cannot start '" + word + "': no program " + ProgramFileName(word) + " in " +
                       m_appDir + " or on the search path.");
    }

    // Standard input from /dev/null, standard output into `output` (or /dev/null), standard
    // error shared, nothing else open; a process group of its own, so that End() reaches what
    // the tool starts; AppDir as working folder. Returns 0 or the error number.
    int Spawn(const std::string& program, const std::vector<std::string>& words, int output,
              pid_t& pid) {
        posix_spawn_file_actions_t actions;
        posix_spawnattr_t attributes;
        if (int e = posix_spawn_file_actions_init(&actions); e != 0) {
            return e;
        }
        if (int e = posix_spawnattr_init(&attributes); e != 0) {
            posix_spawn_file_actions_destroy(&actions);
            return e;
        }
        int error = posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        // A dup2 leaves the copy open across exec. Opening the file in a spawn action with
        // O_CLOEXEC instead would close it at the exec: the tool's output would vanish and the
        // capture stay empty, with status 0.
        if (error == 0) {
            error = output >= 0
                        ? posix_spawn_file_actions_adddup2(&actions, output, 1)
                        : posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        }
        if (error == 0) {
            error = posix_spawn_file_actions_addchdir_np(&actions, m_appDir.c_str());
        }
        if (error == 0) {
            error = posix_spawn_file_actions_addclosefrom_np(&actions, 3);
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
        if (error == 0) {
            error = posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP |
                                                              POSIX_SPAWN_SETSIGMASK |
                                                              POSIX_SPAWN_SETSIGDEF);
        }
        if (error == 0) {
            error = posix_spawnattr_setpgroup(&attributes, 0);
        }
        if (error == 0) {
            error = posix_spawnattr_setsigmask(&attributes, &none);
        }
        if (error == 0) {
            error = posix_spawnattr_setsigdefault(&attributes, &reset);
        }

        if (error == 0) {
            std::vector<char*> argv;
            argv.reserve(words.size() + 1);
            argv.push_back(const_cast<char*>(program.c_str()));
            for (size_t i = 1; i < words.size(); ++i) {
                argv.push_back(const_cast<char*>(words[i].c_str()));
            }
            argv.push_back(nullptr);
            std::vector<char*> envp;
            envp.reserve(64);
            for (char** e = environ; *e != nullptr; ++e) {
                if (std::strncmp(*e, "CORVANE_NETWORK=", 16) != 0) {
                    envp.push_back(*e);
                }
            }
            envp.push_back(m_networkVariable.data());
            envp.push_back(nullptr);
            error =
                posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data());
        }
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        return error;
    }

    std::string m_appDir;
    ProgramLookup m_lookup;
    std::string m_networkVariable;
    std::shared_ptr<Unwatched> m_unwatched;
};

} // namespace

std::unique_ptr<Processes> MakeNativeProcesses(std::string appDir, std::string networkRoot) {
    return std::make_unique<PosixProcesses>(std::move(appDir), networkRoot);
}

} // namespace corvane
