// Test helper: prints how it was asked to show its window, and whether its standard input is
// empty (at its end at once).
#include <windows.h>

#include <cstdio>

int main() {
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    const bool useShow = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0;
    std::printf("show=%d\n", useShow ? static_cast<int>(startup.wShowWindow) : -1);
    std::printf("stdin=%s\n", std::getchar() == EOF ? "empty" : "data");
    return 0;
}
