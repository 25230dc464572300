// Test helper: starts a child, prints "PID CHILDPID", and both wait until they are ended (or for
// a minute, so that a failed test leaves nothing behind for long).
#include <cstdio>
#include <unistd.h>

int main() {
    const pid_t child = fork();
    alarm(60);
    if (child > 0) {
        std::printf("%d %d\n", static_cast<int>(getpid()), static_cast<int>(child));
        std::fflush(stdout);
    }
    for (;;) {
        pause();
    }
}
