// Test helper: starts a copy of itself as a child, prints "PID CHILDPID", and both wait until they
// are ended (or for a minute, so that a failed test leaves nothing behind for long).
#include <windows.h>

#include <cstdio>

int main(int argc, char**) {
    wchar_t self[MAX_PATH] = {}, line[] = L"hangtree child";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (argc == 1) {
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        if (!CreateProcessW(self, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &child)) {
            return 1;
        }
        std::printf("%lu %lu\n", GetCurrentProcessId(), child.dwProcessId);
        std::fflush(stdout);
    }
    Sleep(60000);
}
