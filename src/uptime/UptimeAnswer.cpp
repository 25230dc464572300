// The uptime command and the reading of the utility's answer.
#include "uptime/UptimeAnswer.h"

#include "persist/ItemReader.h"
#include "runner/ServerName.h"

#include <vector>

namespace corvane {
namespace {

constexpr int kAnswerItems = 4;

// The first `most` lines of the text that hold more than blanks, a line ending at CR or LF. Read
// once per server in a sweep, so by hand rather than with a regular expression.
std::vector<QStringView> FilledLines(QStringView text, std::size_t most) {
    std::vector<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size() && lines.size() < most; ++i) {
        if (i == text.size() || text[i] == u'\r' || text[i] == u'\n') {
            const QStringView line = text.sliced(start, i - start);
            if (!line.trimmed().isEmpty()) {
                lines.push_back(line);
            }
            start = i + 1;
        }
    }
    return lines;
}

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
    const std::vector<QStringView> lines = FilledLines(capture, 2);
    if (lines.empty()) {
        return QStringLiteral("No answer from ") + server;
    }
    if (lines.size() == 1) {
        ItemReader line(lines.front().toString());
        QStringList items;
        while (!line.AtEnd() && items.size() <= kAnswerItems) {
            items << line.ReadItem();
        }
        if (items.size() == kAnswerItems && !items.first().isEmpty()) {
            return items.join(QStringLiteral(", "));
        }
    }
    return QStringLiteral("No uptime in the answer from ") + server + QStringLiteral(": ") +
           lines.front().trimmed().toString();
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
