// Finding the tool's server and the hang=yes wait shared by at.exe and uptime.exe.
#include "ToolSupport.h"

#include <cerrno>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace corvane::lab {
namespace {

[[noreturn]] void HangUntilEnded(pid_t parent) {
    // The kernel ends the tool when its parent goes; the check after it covers a parent that
    // went before the request was made (the tool then belongs to another process already).
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) {
        ::_exit(1);
    }
    for (;;) {
        ::pause();
    }
}

} // namespace

Server OpenServer(std::string_view name, pid_t parent) {
    const Network network(ToolNetworkRoot());
    Server server = network.FindServer(name);
    if (server.Exists() && server.settings.hang) {
        HangUntilEnded(parent);
    }
    return server;
}

bool Print(std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(STDOUT_FILENO, text.data(), text.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace corvane::lab
