// The server-name rule for command lines.
#include "runner/ServerName.h"

namespace corvane {

bool IsSafeServerName(const QString& name) {
    if (name.isEmpty()) {
        return false;
    }
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool safe = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') ||
                          (u >= u'0' && u <= u'9') || u == u'-' || u == u'_' || u == u'.' ||
                          u == u'$';
        if (!safe) {
            return false;
        }
    }
    return true;
}

QString UnreachableServerText(const QString& server) {
    return QStringLiteral("Unable to communicate to server ") + server +
           QStringLiteral("\r\nThe server is either offline or unreachable at this time.");
}

} // namespace corvane
