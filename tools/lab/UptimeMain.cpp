// uptime.exe of the lab network: how long a stand-in server has been up, as the utility says it.
#include "ToolSupport.h"

#include <cstdio>
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
        if (!server.settings.unreadable.empty()) {
            std::fprintf(stderr, "%s\n", server.settings.unreadable.c_str());
        }
        Print("UPTIME was unable to connect to host: " + host + "\n");
        return 1;
    }
    const long long up = UpSeconds(server);
    const std::string answer = host + " has been up for: " + std::to_string(up / 86400) +
                               " day(s), " + std::to_string(up / 3600 % 24) + " hour(s), " +
                               std::to_string(up / 60 % 60) + " minute(s), " +
                               std::to_string(up % 60) + " second(s)\n";
    return Print(answer) ? 0 : 1;
}
