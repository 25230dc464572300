// Starting command lines and following them to their end; no Qt here, so every backend builds
// alone.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace corvane {

// A command that was started. Owned by whoever started it; destroying the handle neither waits
// for nor ends the command.
class RunningCommand {
public:
    virtual ~RunningCommand() = default;

    // A descriptor (a pidfd on Linux, a process handle on Windows) that becomes readable or
    // signalled when the command ends, opened on first use and held until the handle goes away.
    // -1 when the command cannot be waited on this way.
    virtual long long WaitHandle() = 0;
    // True until the command has ended; reaps it when it has, so the exit status is known.
    virtual bool Running() = 0;
    // The exit status once the command has ended.
    virtual std::optional<int> ExitStatus() const = 0;
    // Ends the command and every process it started. Does nothing once it has ended.
    virtual void End() = 0;
};

struct LaunchResult {
    std::unique_ptr<RunningCommand> command; // null when nothing could be started
    std::string error;                       // why, when command is null
};

class Processes {
public:
    virtual ~Processes() = default;

    // Starts a Windows command line (window style 2, minimised) in the given working folder.
    virtual LaunchResult Launch(const std::string& commandLine, const std::string& workingDir) = 0;
};

} // namespace corvane
