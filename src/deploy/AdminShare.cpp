// The deploy path rule and its mapping to a server's administrative share.
#include "deploy/AdminShare.h"

#include <QRegularExpression>
#include <algorithm>

namespace corvane {

QString AdminShareName(const QString& deployPath) {
    // Compared exactly: the drive letter in either case, then the colon.
    const QString drive = deployPath.left(2);
    for (const char letter : {'C', 'D', 'E', 'F', 'G'}) {
        const QChar upper = QLatin1Char(letter);
        if (drive == QString(upper) + QLatin1Char(':') ||
            drive == QString(upper.toLower()) + QLatin1Char(':')) {
            return QString(upper) + QLatin1Char('$');
        }
    }
    return {};
}

bool HoldsUnusableCharacter(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x20 || QStringView(u"*?\"<>|").contains(c);
    });
}

bool IsSupportedDeployPath(const QString& deployPath) {
    if (AdminShareName(deployPath).isEmpty() ||
        (deployPath.size() > 2 && deployPath[2] != QLatin1Char('\\')) ||
        HoldsUnusableCharacter(deployPath)) {
        return false;
    }
    // A ".." part would climb out of the folder the user named, or out of the share.
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    return !deployPath.split(separators).contains(QStringLiteral(".."));
}

QString AdminShareRoot(const QString& server, const QString& deployPath) {
    return QStringLiteral("\\\\") + server + QLatin1Char('\\') + AdminShareName(deployPath);
}

QString ToAdminSharePath(const QString& server, const QString& deployPath) {
    return AdminShareRoot(server, deployPath) + deployPath.mid(2);
}

} // namespace corvane
