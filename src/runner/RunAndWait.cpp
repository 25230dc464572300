// RunAndWait: the interpreter line, the launch, and a wait that sleeps in a nested event loop.
#include "runner/RunAndWait.h"

#include "platform/Processes.h"

#include <QEventLoop>
#include <QSocketNotifier>
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
        std::optional<QSocketNotifier> notifier;
        std::optional<QTimer> poll;
        std::optional<QTimer> limit;
        if (handle >= 0) {
            notifier.emplace(static_cast<qintptr>(handle), QSocketNotifier::Read);
            QObject::connect(&*notifier, &QSocketNotifier::activated, &loop, check);
        } else {
            // No handle to sleep on (no descriptor left, say): look again every few milliseconds.
            poll.emplace();
            QObject::connect(&*poll, &QTimer::timeout, &loop, check);
            poll->start(2);
        }
        if (!deadline.isForever()) {
            limit.emplace();
            limit->setSingleShot(true);
            QObject::connect(&*limit, &QTimer::timeout, &loop, &QEventLoop::quit);
            limit->start(std::chrono::milliseconds(deadline.remainingTime()));
        }
        // Returns when the command has ended, or at once and for good once the program quits.
        loop.exec();
        // The handle stays readable after the end: stop watching before it is closed.
        if (notifier) {
            notifier->setEnabled(false);
            notifier.reset();
        }
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
