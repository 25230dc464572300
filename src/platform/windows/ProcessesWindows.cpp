#include "platform/NativeProcesses.h"

namespace corvane {
std::unique_ptr<Processes> MakeNativeProcesses(std::string, std::string) {
    return nullptr;
}
} // namespace corvane
