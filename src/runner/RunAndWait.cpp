// RunAndWait: the interpreter line, the launch, and a wait that sleeps in a nested event loop.
#include "runner/RunAndWait.h"

#include "platform/HandleWatch.h"
#include "platform/Processes.h"

#include <QEventLoop>
#include <QTimer>
#include <optional>

namespace corvane {

QString InterpreterCommandLine(const QString& command, const QString& appDir,
                               const QString& captureFile) {
    QString line = QStringLiteral("cmd /c ") + command;
    if (!captureFile.isEmpty()) {
        line += QStringLiteral(" > \"") + appDir + captureFile + QLatin1Char('"');
    }
    return line;
}

std::optional<QChar> UnsafeAppDirCharacter(const QString& appDir) {
    for (const QChar c : appDir) {
        if (c == QLatin1Char('"') || c == QLatin1Char('%') || c.unicode() < 0x20 ||
            c.unicode() == 0x7F) {
            return c;
        }
    }
    return std::nullopt;
}

RunResult WaitFor(RunningCommand& command, QDeadlineTimer deadline) {
    RunResult result;
    // A collected command has no handle; one that ended but is not collected yet has a readable
    // one and wakes the loop at once. Either way no system call is spent on asking first.
    const long long handle = command.OpenWaitHandle();
    result.ended = handle < 0 && !command.Running();
    if (!result.ended && !deadline.hasExpired()) {
        QEventLoop loop;
        auto check = [&] {
            if (!result.ended && !command.Running()) {
                result.ended = true;
                loop.quit();
            }
        };
        // Made only when needed: most waits end through their handle alone.
        std::optional<QTimer> poll;
        auto startPolling = [&] {
            poll.emplace();
            QObject::connect(&*poll, &QTimer::timeout, &loop, check);
            poll->start(2);
        };
        // A handle wakes the loop once, when it becomes readable; until then the wait costs
        // nothing.
        const HandleWatch watch(handle, [&] {
            check();
            // An end the system has not finished recording yet: look again shortly.
            if (!result.ended) {
                startPolling();
            }
        });
        if (!watch.Active()) {
            // No handle to sleep on (no descriptor left, say): look again every few milliseconds.
            startPolling();
        }
        std::optional<QTimer> limit;
        if (!deadline.isForever()) {
            limit.emplace();
            limit->setSingleShot(true);
            QObject::connect(&*limit, &QTimer::timeout, &loop, &QEventLoop::quit);
            limit->start(std::chrono::milliseconds(deadline.remainingTime()));
        }
        // Returns when the command has ended, or at once and for good once the program quits.
        loop.exec();
    }
    result.ended = result.ended || !command.Running();
    command.CloseWaitHandle();
    result.exitStatus = command.ExitStatus();
    result.started = result.exitStatus != kCommandNotFoundStatus;
    return result;
}

RunResult RunAndWait(Processes& processes, const QString& appDir, const QString& command,
                     const QString& captureFile, const OnCommandStarted& onStarted) {
    const QString line = InterpreterCommandLine(command, appDir, captureFile);
    LaunchResult launched = processes.Launch(line.toStdString());
    if (!launched.command) {
        RunResult result;
        result.ended = true;
        result.error = QString::fromStdString(launched.error);
        return result;
    }
    if (onStarted) {
        onStarted(*launched.command);
    }
    RunResult result = WaitFor(*launched.command);
    if (!result.started) {
        result.error = QLatin1Char('\'') + command.section(QLatin1Char(' '), 0, 0) +
                       QStringLiteral("' is not recognized as an internal or external command, "
                                      "operable program or batch file.");
    }
    return result;
}

} // namespace corvane
