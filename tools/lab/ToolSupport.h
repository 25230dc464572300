// What at.exe and uptime.exe share: the server named on their command line, and hanging.
#pragma once

#include "platform/posix/Lab.h"

#include <string_view>
#include <sys/types.h>

namespace corvane::lab {

// The server of that name in the tool's network (CORVANE_NETWORK, else network/ beside the
// tool). When its settings say hang=yes, this never returns: the tool waits, touching no other
// file, until it is ended or until parent (the process that started it, taken at the start of
// main) is gone.
Server OpenServer(std::string_view name, pid_t parent);

// Writes the text to standard output at once; false when it could not be written.
bool Print(std::string_view text);

} // namespace corvane::lab
