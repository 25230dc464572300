// The operating system's own FileSystem; each platform supplies it in a file of its own.
#pragma once

#include "platform/FileSystem.h"

#include <memory>

namespace corvane {

std::unique_ptr<FileSystem> MakeNativeFileSystem();

} // namespace corvane
