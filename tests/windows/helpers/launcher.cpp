// Test helper: starts the command line given as its second argument through the native
// Processes, for the AppDir given as its first, and ends at once without waiting for it.
#include "platform/NativeProcesses.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    const auto processes = corvane::MakeNativeProcesses(argv[1], "");
    const corvane::LaunchResult launched = processes->Launch(argv[2]);
    if (!launched.command) {
        std::fprintf(stderr, "launcher: %s\n", launched.error.c_str());
        return 1;
    }
    return 0;
}
