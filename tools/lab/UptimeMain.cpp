// uptime.exe of the lab network: how long a stand-in server has been up, as the utility says it.
#include "ToolSupport.h"

#include <algorithm>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    using namespace corvane::lab;
    const pid_t parent = ::getppid();
    const std::string host = argc == 2 ? argv[1] : "";
    if (argc != 2 || host.compare(0, 2, "\\\\") != 0) {
        Print("Usage: uptime \\\\SERVER\n");
        return 2;
    }
    // The host is repeated as it was given, so the caller can recognise its own server's answer.
    const Server server = OpenServer(std::string_view(host).substr(2), parent);
    if (!server.Reachable() || server.settings.denied) {
        Print("UPTIME was unable to connect to host: " + host + "\n");
        return 1;
    }
    // A boot time in the future (a clock set back) reads as just booted, never as negative.
    const long long up = std::max(0LL, Now() - BootTime(server));
    const std::string answer = host + " has been up for: " + std::to_string(up / 86400) +
                               " day(s), " + std::to_string(up / 3600 % 24) + " hour(s), " +
                               std::to_string(up / 60 % 60) + " minute(s), " +
                               std::to_string(up % 60) + " second(s)\n";
    return Print(answer) ? 0 : 1;
}
