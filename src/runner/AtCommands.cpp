// Building the AT scheduler's command lines.
#include "runner/AtCommands.h"

#include "runner/ServerName.h"

namespace corvane {
namespace {

bool IsPlainNumber(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    for (const QChar c : text) {
        if (c.unicode() < u'0' || c.unicode() > u'9') {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<QString> AtScheduleLine(const QString& server, const QString& time,
                                      const QString& days, const QString& command) {
    if (!IsSafeServerName(server)) {
        return std::nullopt;
    }
    return QStringLiteral("at \\\\") + server + QLatin1Char(' ') + time + QLatin1Char(' ') + days +
           QLatin1Char(' ') + command;
}

std::optional<QString> AtListCommand(const QString& server) {
    if (!IsSafeServerName(server)) {
        return std::nullopt;
    }
    return QStringLiteral("AT \\\\") + server;
}

std::optional<QString> AtProbeCommand(const QString& server) {
    return AtListCommand(server);
}

std::optional<QString> AtDeleteCommand(const QString& server, const QString& jobId) {
    // The ID goes through the interpreter too: "1 & other" would run "other".
    if (!IsSafeServerName(server) || !IsPlainNumber(jobId)) {
        return std::nullopt;
    }
    return QStringLiteral("AT \\\\") + server + QLatin1Char(' ') + jobId +
           QStringLiteral(" /Delete /Yes");
}

} // namespace corvane
