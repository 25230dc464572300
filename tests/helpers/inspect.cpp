// Test helper: prints what a started tool finds around it: working folder, network root, a namesake
// of its variable, standard input, descriptors above 2, and whether it leads its process group.
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

int main() {
    char cwd[PATH_MAX] = {}, in[PATH_MAX] = {};
    const char* network = std::getenv("CORVANE_NETWORK");
    const char* kept = std::getenv("CORVANE_NETWORK_KEPT");
    std::printf("cwd=%s\nnetwork=%s\nkept=%s\n", getcwd(cwd, sizeof cwd) ? cwd : "?",
                network ? network : "(unset)", kept ? kept : "(unset)");
    std::printf("stdin=%s\nfds=", readlink("/proc/self/fd/0", in, sizeof in - 1) > 0 ? in : "?");
    for (int fd = 3; fd < 1024; ++fd) {
        if (fcntl(fd, F_GETFD) != -1) {
            std::printf("%d ", fd);
        }
    }
    std::printf("\ngroup=%s\n", getpgrp() == getpid() ? "own" : "shared");
}
