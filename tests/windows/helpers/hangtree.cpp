// Test helper: starts a copy of itself as a child, prints "PID CHILDPID", and both wait until they
// are ended (or for a minute, so that a failed test leaves nothing behind for long).
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "child") == 0) {
        Sleep(60000);
        return 0;
    }
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t line[MAX_PATH + 16] = L"hangtree child";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(self, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &child)) {
        return 1;
    }
    std::printf("%lu %lu\n", GetCurrentProcessId(), child.dwProcessId);
    std::fflush(stdout);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    Sleep(60000);
    return 0;
}
