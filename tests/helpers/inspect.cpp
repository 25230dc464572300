// Test helper: prints what a started tool finds around it: working folder, network root, a namesake
// of its variable, standard input, descriptors above 2, and whether it leads a process group of its
// own.
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

int main() {
    char cwd[PATH_MAX] = {};
    char in[PATH_MAX] = {};
    const char* network = std::getenv("CORVANE_NETWORK");
    std::printf("cwd=%s\n", getcwd(cwd, sizeof cwd) != nullptr ? cwd : "?");
    const char* kept = std::getenv("CORVANE_NETWORK_KEPT");
    std::printf("network=%s\n", network != nullptr ? network : "(unset)");
    std::printf("kept=%s\n", kept != nullptr ? kept : "(unset)");
    const ssize_t n = readlink("/proc/self/fd/0", in, sizeof in - 1);
    std::printf("stdin=%s\n", n > 0 ? in : "?");
    std::printf("fds=");
    for (int fd = 3; fd < 1024; ++fd) {
        if (fcntl(fd, F_GETFD) != -1) {
            std::printf("%d ", fd);
        }
    }
    std::printf("\ngroup=%s\n", getpgrp() == getpid() ? "own" : "shared");
    return 0;
}
