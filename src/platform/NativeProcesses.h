// The operating system's own Processes; each platform supplies it in a file of its own.
#pragma once

#include "platform/Processes.h"

#include <memory>
#include <string>

namespace corvane {

// Commands start in appDir (a folder path ending in a separator) and their programs are looked
// for there first. On POSIX, networkRoot is handed to every started tool as CORVANE_NETWORK,
// so the lab tools see the same network as the program; Windows ignores it.
std::unique_ptr<Processes> MakeNativeProcesses(std::string appDir, std::string networkRoot);

} // namespace corvane
