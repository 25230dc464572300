// RunAndWait: the interpreter line, the launch, and a wait that sleeps in a nested event loop.
#include "runner/RunAndWait.h"

#include "platform/HandleWatch.h"
#include "platform/Processes.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
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

namespace {

// How long a wait sleeps on the command's handle alone before it turns to the event loop.
constexpr int kShortWaitMs = 5;
// How often the events that came during short waits are handled: a twentieth of a second is
// quicker than a person notices, and each turn of the event loop costs as much as a whole wait.
constexpr std::chrono::milliseconds kEventsEvery(50);

int ShortWaitMs(const QDeadlineTimer& deadline) {
    return deadline.isForever()
               ? kShortWaitMs
               : static_cast<int>(std::min<qint64>(kShortWaitMs, deadline.remainingTime()));
}

void HandleEventsWhenDue() {
    static auto last = std::chrono::steady_clock::time_point();
    if (std::chrono::steady_clock::now() - last >= kEventsEvery) {
        QCoreApplication::processEvents();
        last = std::chrono::steady_clock::now();
    }
}

} // namespace

RunResult WaitFor(RunningCommand& command, QDeadlineTimer deadline) {
    RunResult result;
    // A collected command has no handle; one that ended but is not collected yet has a readable
    // one and wakes the loop at once. Either way no system call is spent on asking first.
    const long long handle = command.OpenWaitHandle();
    result.ended = handle < 0 && !command.Running();
    // Most commands of a sweep end within a few milliseconds: a short sleep on the handle alone
    // sees them end for less than a turn of the event loop. The events that came meanwhile are
    // handled afterwards, when due.
    if (!result.ended && !deadline.hasExpired() &&
        HandleReadyWithin(handle, ShortWaitMs(deadline)) && !command.Running()) {
        result.ended = true;
        HandleEventsWhenDue();
    }
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
