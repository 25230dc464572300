// Starting command lines and following them to their end; no Qt here, so every backend builds
// alone.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace corvane {

// The status cmd ends with when it finds no program of the name it was given.
inline constexpr int kCommandNotFoundStatus = 9009;

// A command that was started. Owned by whoever started it; destroying the handle neither waits
// for nor ends the command (the backend still collects its end later). One thread only.
class RunningCommand {
public:
    virtual ~RunningCommand() = default;

    // A descriptor that becomes readable (a pidfd on Linux; on Windows a process handle, which
    // becomes signalled) when the command ends. Opened on the first call and held until
    // CloseWaitHandle() or the handle goes away: open it only for the wait, so that commands
    // nobody waits on hold no descriptor. -1 when the command has already been collected
    // (Running() is false) or cannot be waited on this way (then ask Running() from time to
    // time instead).
    virtual long long OpenWaitHandle() = 0;
    // Closes the wait handle. Whoever watches it stops first: a pidfd stays readable after the
    // end, and its number may come back as another file once closed.
    virtual void CloseWaitHandle() = 0;
    // True until the command has ended; collects it when it has, so the exit status is known.
    // Never blocks.
    virtual bool Running() = 0;
    // The exit status once the command has ended: the tool's own status, or 128 + the signal
    // number when a signal ended it on POSIX. Nothing while it runs, or when its end could not
    // be collected (someone else in the process reaped it).
    virtual std::optional<int> ExitStatus() const = 0;
    // Ends the command and every process it started that is still in its group (a job on
    // Windows), at once and without a chance to clean up. Wakes whoever waits on it. Does
    // nothing once the command has been collected.
    virtual void End() = 0;
};

struct LaunchResult {
    std::unique_ptr<RunningCommand> command; // null when nothing could be started
    std::string error;                       // why, when command is null
};

// Starts Windows command lines. The backend is made for one AppDir, which is every command's
// working folder and the first place its program is looked for.
class Processes {
public:
    virtual ~Processes() = default;

    // Starts a command line (window style 2, minimised, on Windows). Standard input is empty,
    // standard error is this program's.
    // - "cmd /c TOOL ARGS" with an optional trailing "> "FILE"" (standard output into FILE,
    //   created or emptied first, even when TOOL then cannot be found). When TOOL is not found,
    //   the command still starts: it complains on standard error, as cmd does, and ends with
    //   kCommandNotFoundStatus.
    // - Any other line names its program directly; when that program is not found, nothing
    //   starts and the result says why.
    // Also fails, starting nothing, when FILE cannot be created or emptied (so that an earlier
    // answer in it is never read as this run's) and, on POSIX, for interpreter syntax beyond
    // that one redirection (&, |, <, ^, >>): the lab does not emulate the interpreter.
    virtual LaunchResult Launch(const std::string& commandLine) = 0;
};

} // namespace corvane
