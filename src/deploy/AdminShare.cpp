#include "deploy/AdminShare.h"

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

bool IsSupportedDeployPath(const QString& deployPath) {
    return !AdminShareName(deployPath).isEmpty() &&
           (deployPath.size() == 2 || deployPath[2] == QLatin1Char('\\'));
}

QString AdminShareRoot(const QString& server, const QString& deployPath) {
    return QStringLiteral("\\\\") + server + QLatin1Char('\\') + AdminShareName(deployPath);
}

QString ToAdminSharePath(const QString& server, const QString& deployPath) {
    return AdminShareRoot(server, deployPath) + deployPath.mid(2);
}

} // namespace corvane
