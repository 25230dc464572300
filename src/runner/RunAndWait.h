// Running one tool through the command interpreter and waiting for it while the program's events
// are delivered.
#pragma once

#include <QDeadlineTimer>
#include <QString>
#include <functional>
#include <optional>
#include <string>

namespace corvane {

class Processes;
class RunningCommand;

struct RunResult {
    // False when the tool never ran: the line could not be launched (see `error`), or the
    // interpreter found no such program (exit status 9009).
    bool started = false;
    // False only when the wait was cut short because the program is quitting; the command may
    // still be running then.
    bool ended = false;
    // The tool's exit status once it has ended (when the system could tell it).
    std::optional<int> exitStatus;
    // Why the tool did not start, for a message.
    QString error;
};

// Called with the running command before the wait begins; the reference is valid until
// RunAndWait returns (an uptime sweep raises its window here and its cancel calls End()).
using OnCommandStarted = std::function<void(RunningCommand&)>;

// The first character of AppDir that a command line cannot carry inside its quotes: a double
// quote ends them, % is expanded by the command interpreter even there, and a control character
// (a line break, say) ends or splits the line. Nothing when every character is safe.
std::optional<QChar> UnsafeAppDirCharacter(const QString& appDir);

// The exact line: "cmd /c " + command, and with a capture file
// " > \"" + appDir + captureFile + "\"" (quoted, since AppDir may hold blanks).
QString InterpreterCommandLine(const QString& command, const QString& appDir,
                               const QString& captureFile);

// Waits until the command ends, delivering the program's events meanwhile: a nested event loop
// sleeps until an event arrives or the command's wait handle wakes it, so an idle wait costs no
// CPU and the end is seen at once. Also returns when the program quits during the wait, or when
// the deadline passes (then `ended` is false unless the command happened to end too).
RunResult WaitFor(RunningCommand& command, QDeadlineTimer deadline = QDeadlineTimer::Forever);

// Builds the line, launches it, hands the running command to onStarted, waits (WaitFor).
// The capture file is named relative to AppDir; an empty name means no capture. Changes
// neither the cursor nor the status line: the caller owns the busy state.
RunResult RunAndWait(Processes& processes, const QString& appDir, const QString& command,
                     const QString& captureFile = {}, const OnCommandStarted& onStarted = {});

} // namespace corvane
