// corvane-lab's views of a network: every server with its state, or one server in full.
#include "LabCommands.h"

#include "platform/posix/LabJobs.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace corvane::lab {
namespace {

namespace fs = std::filesystem;

std::string StateText(const Server& server) {
    if (!server.settings.unreadable.empty()) {
        return "settings unreadable";
    }
    std::string text = !server.Reachable()      ? "offline"
                       : server.settings.denied ? "access denied"
                                                : "reachable";
    if (server.settings.hang) {
        text += ", hangs";
    }
    return text;
}

std::string UptimeText(const Server& server) {
    const long long up = UpSeconds(server);
    return std::to_string(up / 86400) + "d " + std::to_string(up / 3600 % 24) + "h " +
           std::to_string(up / 60 % 60) + "m";
}

// The server's share folders (any case of C$ .. G$), in name order.
std::vector<fs::path> Shares(const std::string& folder) {
    std::vector<fs::path> shares;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        const char drive = static_cast<char>(name.empty() ? 0 : (name[0] | 0x20));
        if (name.size() == 2 && name[1] == '$' && drive >= 'c' && drive <= 'g' &&
            entry.is_directory(ec)) {
            shares.push_back(entry.path());
        }
    }
    std::sort(shares.begin(), shares.end());
    return shares;
}

} // namespace

int ShowServer(const std::string& root, const std::string& name) {
    const Server server = Network(root).FindServer(name);
    if (!server.Exists()) {
        std::fprintf(stderr, "corvane-lab: there is no server %s in %s\n", name.c_str(),
                     root.c_str());
        return 1;
    }
    std::printf("Server %s: %s, up %s (%s)\n", name.c_str(), StateText(server).c_str(),
                UptimeText(server).c_str(), server.folder.c_str());
    if (!server.settings.unreadable.empty()) {
        std::printf("%s\n", server.settings.unreadable.c_str());
    }
    std::printf("\nJobs:\n");
    std::vector<Job> jobs;
    std::string error;
    const bool read = JobStore(server.folder).Read(jobs, error);
    std::fputs(read ? Listing(jobs).c_str() : (error + "\n").c_str(), stdout);
    std::printf("\nFiles:\n");
    for (const fs::path& share : Shares(server.folder)) {
        std::printf("  %s\\\n", share.filename().c_str());
        std::vector<std::string> lines;
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(share, ec);
             it != fs::recursive_directory_iterator(); it.increment(ec)) {
            std::string path = fs::relative(it->path(), share.parent_path(), ec).string();
            std::replace(path.begin(), path.end(), '/', '\\');
            lines.push_back(it->is_directory(ec)
                                ? path + "\\"
                                : path + "  (" + std::to_string(it->file_size(ec)) + " bytes)");
        }
        std::sort(lines.begin(), lines.end());
        for (const std::string& line : lines) {
            std::printf("  %s\n", line.c_str());
        }
    }
    return read && server.settings.unreadable.empty() ? 0 : 1;
}

int ListServers(const std::string& root) {
    const Network network(root);
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(network.Root(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name[0] != '.' && entry.is_directory(ec)) {
            names.push_back(name);
        }
    }
    if (ec) {
        std::fprintf(stderr, "corvane-lab: cannot read %s: %s\n", root.c_str(),
                     ec.message().c_str());
        return 1;
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const Server server = network.FindServer(name);
        std::vector<Job> jobs;
        std::string error;
        JobStore(server.folder).Read(jobs, error);
        std::printf("%-16s %-22s %zu job(s)\n", name.c_str(), StateText(server).c_str(),
                    jobs.size());
    }
    return 0;
}

} // namespace corvane::lab
