// corvane-lab: creates, changes and shows the lab network that stands in for Windows servers.
#include "LabCommands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace corvane::lab;

constexpr const char* kUsage = R"(Usage: corvane-lab COMMAND [ARGUMENTS]
Creates and inspects the lab network: the stand-in for Windows servers that Corvane's at.exe,
uptime.exe and its file operations on \\SERVER\C$ .. G$ use on Linux. A server is a folder
ROOT/SERVER/ with share folders C$ .. G$ and a settings file .lab.

  demo [ROOT] [--computer-list FILE]
        creates 12 servers: most reachable, BACKUP01 and LEGACY01 offline, SECURE01 denying
        access, some with jobs and files; with --computer-list, writes their names to FILE
        (Corvane's computerlist.txt) unless it exists
  bulk --servers N [--offline-share F] [--denied-share F] [--jobs K] ROOT
        creates SRV0001 .. (N up to 100000) for benchmarks, each with C$ and K jobs (up to
        1000); the shares F (0 to 1, together at most 1) of them offline or denying access,
        spread evenly
  add SERVER [SETTINGS] [--shares C$,D$]   adds a server (shares C$ and D$ unless given; C$ to G$)
  set SERVER SETTINGS                      changes a server's settings
        SETTINGS: --offline | --online, --denied | --allowed, --hang | --no-hang,
                  --boot EPOCH (seconds since 1970; without it, the folder's creation time)
  show SERVER                              its state, jobs and the files on its shares
  list                                     every server with its state

demo and bulk refuse a ROOT that exists and is not empty. The network root is ROOT or
--root ROOT, else $CORVANE_NETWORK, else network/ beside this program.
)";

int Usage(const std::string& problem) {
    std::fprintf(stderr, "corvane-lab: %s\n\n%s", problem.c_str(), kUsage);
    return 2;
}

template <typename T> bool Parse(const std::string& text, T& value) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && ptr == text.data() + text.size();
}

// The command line, split into named options and the plain arguments between them.
struct CommandLine {
    std::vector<std::string> plain;
    std::vector<std::pair<std::string, std::string>> options; // name, value ("" for a flag)
};

std::optional<CommandLine> Split(int argc, char** argv, std::string& problem) {
    static const std::vector<std::string> kWithValue{
        "--root",          "--boot",         "--shares", "--servers",
        "--offline-share", "--denied-share", "--jobs",   "--computer-list"};
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) {
            line.plain.push_back(arg);
            continue;
        }
        std::string value;
        if (std::find(kWithValue.begin(), kWithValue.end(), arg) != kWithValue.end()) {
            if (i + 1 == argc) {
                problem = arg + " needs a value.";
                return std::nullopt;
            }
            value = argv[++i];
        }
        line.options.emplace_back(arg, value);
    }
    return line;
}

// Applies the settings options; false with a problem for anything else.
bool ApplySettings(const CommandLine& line, ServerSettings& settings,
                   std::vector<std::string>* shares, std::string& problem) {
    for (const auto& [name, value] : line.options) {
        if (name == "--offline" || name == "--online") {
            settings.offline = name == "--offline";
        } else if (name == "--denied" || name == "--allowed") {
            settings.denied = name == "--denied";
        } else if (name == "--hang" || name == "--no-hang") {
            settings.hang = name == "--hang";
        } else if (name == "--boot") {
            long long boot = 0;
            if (!Parse(value, boot) || boot < 0 || boot > kLatestTime) {
                problem = "--boot needs seconds since 1970, at most " +
                          std::to_string(kLatestTime) + " (the end of 9999), not '" + value + "'.";
                return false;
            }
            settings.boot = boot;
        } else if (name == "--shares" && shares != nullptr) {
            shares->clear();
            for (size_t start = 0; start <= value.size();) {
                const size_t comma = std::min(value.find(',', start), value.size());
                shares->push_back(value.substr(start, comma - start));
                start = comma + 1;
            }
        } else if (name != "--root") {
            problem = "unknown option " + name + ".";
            return false;
        }
    }
    return true;
}

std::string Option(const CommandLine& line, const std::string& name, const std::string& fallback) {
    for (const auto& [option, value] : line.options) {
        if (option == name) {
            return value;
        }
    }
    return fallback;
}

// Refuses options the command does not take, so that a typing error is never ignored.
bool OnlyOptions(const CommandLine& line, const std::vector<std::string>& allowed,
                 std::string& problem) {
    for (const auto& option : line.options) {
        if (option.first != "--root" &&
            std::find(allowed.begin(), allowed.end(), option.first) == allowed.end()) {
            problem = "unknown option " + option.first + ".";
            return false;
        }
    }
    return true;
}

int AddOrSet(const std::string& root, const std::string& command, const CommandLine& line) {
    if (line.plain.size() != 2) {
        return Usage(command + " needs one SERVER.");
    }
    const std::string& name = line.plain[1];
    std::string problem;
    if (command == "add") {
        ServerSetup setup;
        setup.name = name;
        if (!ApplySettings(line, setup.settings, &setup.shares, problem)) {
            return Usage(problem);
        }
        if (!CreateServer(root, setup, problem)) {
            std::fprintf(stderr, "corvane-lab: %s\n", problem.c_str());
            return 1;
        }
        return 0;
    }
    Server server = Network(root).FindServer(name);
    if (!server.Exists()) {
        std::fprintf(stderr, "corvane-lab: there is no server %s in %s\n", name.c_str(),
                     root.c_str());
        return 1;
    }
    if (!server.settings.unreadable.empty()) {
        std::fprintf(stderr, "corvane-lab: %s Nothing was changed.\n",
                     server.settings.unreadable.c_str());
        return 1;
    }
    if (!ApplySettings(line, server.settings, nullptr, problem)) {
        return Usage(problem);
    }
    if (!WriteSettings(server.folder, server.settings, problem)) {
        std::fprintf(stderr, "corvane-lab: %s\n", problem.c_str());
        return 1;
    }
    return 0;
}

// A share of the servers: a number from 0 to 1 ("nan" and "inf" are numbers to from_chars).
bool ParseShare(const CommandLine& line, const std::string& name, double& share,
                std::string& problem) {
    const std::string text = Option(line, name, "0");
    if (!Parse(text, share) || !std::isfinite(share) || share < 0 || share > 1) {
        problem = name + " needs a number from 0 to 1, not '" + text + "'.";
        return false;
    }
    return true;
}

int Bulk(const std::string& root, const CommandLine& line) {
    constexpr int kMaxServers = 100000;
    constexpr int kMaxJobs = 1000; // each server's job file stays far below its bound
    BulkSetup setup;
    const std::string servers = Option(line, "--servers", "");
    const std::string jobs = Option(line, "--jobs", "0");
    std::string problem;
    if (!Parse(servers, setup.servers) || setup.servers < 1 || setup.servers > kMaxServers) {
        return Usage("bulk needs --servers N, a number from 1 to " + std::to_string(kMaxServers) +
                     ", not '" + servers + "'.");
    }
    if (!Parse(jobs, setup.jobsEach) || setup.jobsEach < 0 || setup.jobsEach > kMaxJobs) {
        return Usage("--jobs needs a number from 0 to " + std::to_string(kMaxJobs) + ", not '" +
                     jobs + "'.");
    }
    if (!ParseShare(line, "--offline-share", setup.offlineShare, problem) ||
        !ParseShare(line, "--denied-share", setup.deniedShare, problem)) {
        return Usage(problem);
    }
    if (setup.offlineShare + setup.deniedShare > 1) {
        return Usage("the offline and denied shares add up to more than 1.");
    }
    return CreateBulk(root, setup);
}

} // namespace

int main(int argc, char** argv) {
    std::string problem;
    const auto line = Split(argc, argv, problem);
    if (!line) {
        return Usage(problem);
    }
    if (line->plain.empty()) {
        return Usage("a command is needed.");
    }
    const std::string& command = line->plain[0];
    const bool createsRoot = command == "demo" || command == "bulk";
    const size_t plainCount = line->plain.size();
    std::string root = Option(*line, "--root", "");
    if (createsRoot && plainCount == 2 && root.empty()) {
        root = line->plain[1];
    } else if (createsRoot && plainCount > 1) {
        return Usage(command + " takes at most one ROOT.");
    }
    if (root.empty()) {
        root = ToolNetworkRoot();
    }
    const std::vector<std::string> allowed =
        command == "demo" ? std::vector<std::string>{"--computer-list"}
        : command == "bulk"
            ? std::vector<std::string>{"--servers", "--offline-share", "--denied-share", "--jobs"}
        : command == "add" || command == "set"
            ? std::vector<std::string>{"--offline", "--online",  "--denied", "--allowed",
                                       "--hang",    "--no-hang", "--boot",   "--shares"}
            : std::vector<std::string>{};
    if (!OnlyOptions(*line, allowed, problem)) {
        return Usage(problem);
    }
    if (command == "demo") {
        return CreateDemo(root, Option(*line, "--computer-list", ""));
    }
    if (command == "bulk") {
        return Bulk(root, *line);
    }
    if (command == "add" || command == "set") {
        return AddOrSet(root, command, *line);
    }
    if (command == "show" && plainCount == 2) {
        return ShowServer(root, line->plain[1]);
    }
    if (command == "list" && plainCount == 1) {
        return ListServers(root);
    }
    return Usage("unknown command line.");
}
