// The operating system's own FileSystem; each platform supplies it in a file of its own.
#pragma once

#include "platform/FileSystem.h"

#include <memory>
#include <string>

namespace corvane {

// UNC paths (\\SERVER\SHARE\...) are the system's own on Windows. On POSIX they lead into the lab
// network whose folder is networkRoot (AppDir + "network/" in the program); the rules are those of
// lab::Network::Resolve (platform/posix/Lab.h). Windows ignores networkRoot.
std::unique_ptr<FileSystem> MakeNativeFileSystem(std::string networkRoot);
// Local paths only: on POSIX every UNC path fails with 52, as an unreachable server does.
std::unique_ptr<FileSystem> MakeNativeFileSystem();

} // namespace corvane
