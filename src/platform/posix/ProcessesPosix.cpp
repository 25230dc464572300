// Processes on POSIX: Windows command lines read as cmd reads them, their tools started directly
// with posix_spawn (never through a shell) and followed through a pidfd.
#include "platform/NativeProcesses.h"

#include "platform/posix/ProgramLookup.h"
#include "platform/posix/Spawner.h"
#include "platform/posix/WindowsCommandLine.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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

// Creates or empties the capture file here, in this process: for a command that starts nothing,
// which must not leave an earlier answer behind. Empty when that worked, else why not.
std::string EmptyCaptureFile(const std::string& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
        return "Cannot write the capture file " + file + ": " + std::strerror(errno) + ".";
    }
    ::close(fd);
    return {};
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
    PosixProcesses(std::string appDir, std::string networkRoot)
        : m_appDir(std::move(appDir)), m_lookup(m_appDir),
          m_spawner(m_appDir, "CORVANE_NETWORK=" + std::move(networkRoot)),
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
        std::string capture;
        if (parsed.outputFile) {
            capture = parsed.outputFile->front() == '/' ? *parsed.outputFile
                                                        : m_appDir + *parsed.outputFile;
        }

        const std::string& word = parsed.words.front();
        int error = 0;
        // A second try when the cached program vanished since it was found.
        for (int attempt = 0; attempt < 2; ++attempt) {
            const std::string* program = m_lookup.Find(word);
            if (!program) {
                // cmd empties the file before it looks for the program: a run that fails never
                // leaves the previous answer in it.
                if (std::string why = parsed.outputFile ? EmptyCaptureFile(capture) : "";
                    !why.empty()) {
                    return Refused(why);
                }
                return NotFound(word, parsed.throughInterpreter);
            }
            pid_t pid = -1;
            error = m_spawner.Spawn(*program, parsed.words, capture, pid);
            if (error == 0) {
                return {std::make_unique<PosixCommand>(pid, m_unwatched), {}};
            }
            m_lookup.Forget(word);
            if (error != ENOENT) {
                break;
            }
        }
        // Nothing started. The error may be the capture file's (the new process opens it):
        // empty it here, which also says whether it can be written at all.
        if (parsed.outputFile) {
            if (std::string why = EmptyCaptureFile(capture); !why.empty()) {
                return Refused(why);
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

    std::string m_appDir;
    ProgramLookup m_lookup;
    Spawner m_spawner;
    std::shared_ptr<Unwatched> m_unwatched;
};

} // namespace

std::unique_ptr<Processes> MakeNativeProcesses(std::string appDir, std::string networkRoot) {
    return std::make_unique<PosixProcesses>(std::move(appDir), std::move(networkRoot));
}

} // namespace corvane
