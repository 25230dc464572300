// What the uptime sweep asks a server and how it turns the utility's answer into a report line.
#pragma once

#include "persist/AppFiles.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace corvane {

// The command for RunAndWait with kUptimeCapture: "uptime \\" + server. Nothing for a name that
// IsSafeServerName refuses: no command line may be built for it.
std::optional<QString> UptimeCommand(const QString& server);

// The report line for what the utility wrote into the capture file for this server:
// - "Unable to connect to " + server when the first item is exactly
//   "UPTIME was unable to connect to host: \\" + server (the name spelled as in the list);
// - the four items joined by ", " when the answer is one line of four comma-separated items;
// - "No answer from " + server for an empty capture (a cancel ended the utility early, say);
// - "No uptime in the answer from " + server + ": " + its first line, for any other shape.
QString UptimeReportLine(const QString& server, const QString& capture);

// The lines that say where to get the utility when it is nowhere to be found; " " is a blank line.
QStringList UptimeHelpLines();

} // namespace corvane
