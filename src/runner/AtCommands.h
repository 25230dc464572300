// The four command lines of the AT scheduler, built in one place.
#pragma once

#include "persist/AppFiles.h"

#include <QString>
#include <optional>

namespace corvane {

// Each builder returns nothing when a part would be unsafe in a command line: a server name
// that IsSafeServerName refuses, or (for the deletion) a job ID that is not plain ASCII digits.
// Nothing may be started then; the caller says so.

// Scheduling, started directly (not through the interpreter) and not waited for:
// "at \\" + server + " " + time + " " + days + " " + command. The parts are used as they are,
// so empty days leave two blanks before the command.
std::optional<QString> AtScheduleLine(const QString& server, const QString& time,
                                      const QString& days, const QString& command);

// The job listing, for RunAndWait with kScheduleCapture: "AT \\" + server.
std::optional<QString> AtListCommand(const QString& server);

// The availability probe: the same listing, whose first item tells an unreachable server or a
// denied scheduler.
std::optional<QString> AtProbeCommand(const QString& server);

// Deleting one job, for RunAndWait without capture: "AT \\" + server + " " + jobId +
// " /Delete /Yes".
std::optional<QString> AtDeleteCommand(const QString& server, const QString& jobId);

} // namespace corvane
