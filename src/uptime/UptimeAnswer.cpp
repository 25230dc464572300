// The uptime command and the reading of the utility's answer.
#include "uptime/UptimeAnswer.h"

#include "persist/ItemReader.h"
#include "runner/ServerName.h"

#include <QRegularExpression>

namespace corvane {
namespace {

constexpr int kAnswerItems = 4;

} // namespace

std::optional<QString> UptimeCommand(const QString& server) {
    if (!IsSafeServerName(server)) {
        return std::nullopt;
    }
    return QStringLiteral("uptime \\\\") + server;
}

QString UptimeReportLine(const QString& server, const QString& capture) {
    ItemReader reader(capture);
    const QString first = reader.AtEnd() ? QString() : reader.ReadItem();
    if (first == QStringLiteral("UPTIME was unable to connect to host: \\\\") + server) {
        return QStringLiteral("Unable to connect to ") + server;
    }
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = capture.split(lineEnd);
    lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
    if (lines.isEmpty()) {
        return QStringLiteral("No answer from ") + server;
    }
    if (lines.size() == 1) {
        ItemReader line(lines.first());
        QStringList items;
        while (!line.AtEnd() && items.size() <= kAnswerItems) {
            items << line.ReadItem();
        }
        if (items.size() == kAnswerItems && !items.first().isEmpty()) {
            return items.join(QStringLiteral(", "));
        }
    }
    return QStringLiteral("No uptime in the answer from ") + server + QStringLiteral(": ") +
           lines.first().trimmed();
}

QStringList UptimeHelpLines() {
    return {
        QStringLiteral("UNABLE TO LOCATE UPTIME.EXE!"),
        QStringLiteral(" "),
        QStringLiteral("Get Uptime - is a new feature in version 1.5 which allows you to perform "
                       "an uptime sweep"),
        QStringLiteral("of all of the computers in your computer list."),
        QStringLiteral(" "),
        QStringLiteral("This requires the uptime.exe utility which comes shipped with the Windows "
                       "resource kit"),
        QStringLiteral("or can be downloaded from Microsoft's website at:"),
        QStringLiteral("the Windows Server Resource Kit Tools from Microsoft's download site"),
        QStringLiteral(" "),
        QStringLiteral("Please note that for Corvane to be able to use Uptime.exe it must either "
                       "be in the same"),
        QStringLiteral("install directory as Corvane or in the system path."),
        QStringLiteral(" "),
        QStringLiteral("The Uptime.exe utility is NOT included with the installation package of "
                       "Corvane"),
        QStringLiteral("for legal reasons."),
    };
}

} // namespace corvane
