// The rule for server names that may be put into a command line.
#pragma once

#include <QString>

namespace corvane {

// True when the name is not empty and holds only ASCII letters, digits, '-', '_', '.' and '$'.
// Anything else (a blank, &, |, <, >, ^, %, a quote, a comma, a backslash, any non-ASCII letter)
// could make the command interpreter run something other than the tool, so no command line is
// built for such a name.
bool IsSafeServerName(const QString& name);

// What the user is told of a server that a file operation could not reach.
QString UnreachableServerText(const QString& server);

} // namespace corvane
