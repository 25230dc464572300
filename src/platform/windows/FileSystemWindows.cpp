#include "platform/NativeFileSystem.h"

namespace corvane {
std::unique_ptr<FileSystem> MakeNativeFileSystem(std::string) {
    return nullptr;
}
std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return nullptr;
}
} // namespace corvane
