// corvane-lab's creation of servers: one at a time, the demo network, and bulk networks.
#include "LabCommands.h"

#include "platform/posix/AtomicFile.h"
#include "platform/posix/LabJobs.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace corvane::lab {
namespace {

namespace fs = std::filesystem;

constexpr long long kMinute = 60;
constexpr long long kHour = 60 * kMinute;
constexpr long long kDay = 24 * kHour;

// A root that is missing or empty; anything else is someone's network and stays untouched.
bool PrepareEmptyRoot(const std::string& root) {
    std::error_code ec;
    if (fs::exists(root, ec) && (!fs::is_directory(root, ec) || !fs::is_empty(root, ec))) {
        std::fprintf(stderr, "corvane-lab: %s exists and is not empty; nothing was changed.\n",
                     root.c_str());
        return false;
    }
    fs::create_directories(root, ec);
    if (ec) {
        std::fprintf(stderr, "corvane-lab: cannot create %s: %s\n", root.c_str(),
                     ec.message().c_str());
        return false;
    }
    return true;
}

bool WriteText(const fs::path& path, const std::string& text) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return !ec && out.good();
}

Job MakeJob(int minutes, Repeat repeat, unsigned weekdays, unsigned monthDays,
            std::string command) {
    Job job;
    job.minutes = minutes;
    job.repeat = repeat;
    job.weekdays = weekdays;
    job.monthDays = monthDays;
    job.command = std::move(command);
    return job;
}

struct DemoServer {
    const char* name;
    ServerSettings settings;
    std::vector<std::pair<const char*, const char*>> files; // path below the server, contents
    std::vector<Job> jobs;
};

std::vector<DemoServer> DemoServers(long long now) {
    constexpr unsigned kWorkdays = 0x1F;
    constexpr unsigned kEveryDay = 0x7F;
    auto bootedAgo = [now](long long seconds) {
        ServerSettings settings;
        settings.boot = now - seconds;
        return settings;
    };
    ServerSettings offline = bootedAgo(9 * kDay);
    offline.offline = true;
    ServerSettings denied = bootedAgo(30 * kDay);
    denied.denied = true;
    return {
        {"WEB01",
         bootedAgo(12 * kDay + 3 * kHour + 17 * kMinute + 5),
         {{"C$/inetpub/wwwroot/index.html", "<html><body>WEB01</body></html>\r\n"},
          {"D$/logs/access.log", "GET / 200\r\n"}},
         {MakeJob(2 * 60, Repeat::Every, kWorkdays, 0, "C:\\scripts\\rotate-logs.cmd")}},
        {"WEB02",
         bootedAgo(3 * kDay + 45 * kMinute),
         {{"C$/inetpub/wwwroot/index.html", "<html><body>WEB02</body></html>\r\n"}},
         {}},
        {"WEB03", bootedAgo(45 * kDay + 7 * kHour), {}, {}},
        {"APP01",
         bootedAgo(6 * kHour + 12),
         {{"C$/Program Files/Corvane Demo/app.ini", "[app]\r\nmode=production\r\n"}},
         {MakeJob(7 * 60 + 5, Repeat::Next, 0x10, 0,
                  "\"C:\\Program Files\\Corvane Demo\\app.exe\" /refresh")}},
        {"APP02", bootedAgo(19 * kDay + 59), {}, {}},
        {"DB01",
         bootedAgo(101 * kDay + 23 * kHour),
         {{"D$/backup/README.txt", "Nightly full backups land here.\r\n"}},
         {MakeJob(23 * 60 + 30, Repeat::Every, kEveryDay, 0, "D:\\backup\\full.cmd"),
          MakeJob(6 * 60, Repeat::Every, 0, 1u | 1u << 14, "D:\\backup\\verify.cmd /all")}},
        {"DB02", bootedAgo(2 * kDay), {}, {}},
        {"FILE01",
         bootedAgo(64 * kDay + 11 * kMinute),
         {{"D$/shares/public/readme.txt", "Public share of FILE01.\r\n"}},
         {}},
        {"MAIL01",
         bootedAgo(8 * kDay + 8 * kHour),
         {},
         {MakeJob(17 * 60, Repeat::Once, 0, 0, "C:\\mail\\purge.cmd")}},
        {"BACKUP01", offline, {}, {}},
        {"LEGACY01", offline, {}, {}},
        {"SECURE01", denied, {}, {}},
    };
}

// Picks count of n places, spread evenly: place i is picked when the running share passes a
// whole number there.
bool Picked(long long i, long long count, long long n) {
    return n > 0 && (i + 1) * count / n > i * count / n;
}

} // namespace

bool CreateServer(const std::string& root, const ServerSetup& setup, std::string& error) {
    const Network network(root);
    const auto plain = [](const std::string& name) {
        return !name.empty() && name[0] != '.' && name.find_first_of("/\\*?") == std::string::npos;
    };
    if (!plain(setup.name)) {
        error = "'" + setup.name + "' is not a server name.";
        return false;
    }
    for (size_t i = 0; i < setup.shares.size(); ++i) {
        const std::string& share = setup.shares[i];
        const char drive = static_cast<char>(share.empty() ? 0 : (share[0] | 0x20));
        if (!plain(share) || share.size() != 2 || share[1] != '$' || drive < 'c' || drive > 'g') {
            error = "'" + share + "' is not a share name: the shares are C$ to G$.";
            return false;
        }
        for (size_t j = 0; j < i; ++j) {
            if (EqualNoCase(setup.shares[j], share)) {
                error = "The share " + share + " is given twice.";
                return false;
            }
        }
    }
    if (network.FindServer(setup.name).Exists()) {
        error = "Server " + setup.name + " exists already.";
        return false;
    }
    const fs::path folder = fs::path(network.Root()) / setup.name;
    std::error_code ec;
    fs::create_directories(folder, ec);
    for (const std::string& share : setup.shares) {
        fs::create_directories(folder / share, ec);
        if (ec) {
            error = "Cannot create " + (folder / share).string() + ": " + ec.message();
            return false;
        }
    }
    return WriteSettings(folder.string(), setup.settings, error);
}

bool WriteSettings(const std::string& serverFolder, const ServerSettings& settings,
                   std::string& error) {
    const std::string text = FormatSettings(settings);
    std::string reason;
    const int folder = ::open(serverFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // Under the job store's lock, so that two changes never share .lab.new.
    const int lock = folder < 0 ? -1 : OpenOwnFile(folder, ".jobs.lock", reason);
    bool locked = false;
    if (folder < 0 || (lock >= 0 && ::flock(lock, LOCK_EX) != 0)) {
        reason = std::strerror(errno);
    } else {
        locked = lock >= 0;
    }
    bool done = false;
    if (locked) {
        AtomicFile file;
        file.folder = folder;
        file.target = ".lab";
        file.temporary = ".lab.new";
        // Not flushed to the disk: the benchmarks create servers by the thousand, and a lab
        // network is a fixture to create again, not data to keep across a crash.
        file.sync = false;
        const AtomicOutcome outcome = WriteAtomically(file, text);
        done = outcome.ok();
        reason = outcome.reason;
    }
    if (lock >= 0) {
        ::close(lock);
    }
    if (folder >= 0) {
        ::close(folder);
    }
    if (!done) {
        error = "Cannot write " + serverFolder + "/.lab: " + reason + ".";
    }
    return done;
}

int CreateDemo(const std::string& root, const std::string& computerList) {
    if (!PrepareEmptyRoot(root)) {
        return 1;
    }
    std::string names;
    for (const DemoServer& demo : DemoServers(Now())) {
        std::string error;
        ServerSetup setup{demo.name, demo.settings, {"C$", "D$"}};
        if (!CreateServer(root, setup, error)) {
            std::fprintf(stderr, "corvane-lab: %s\n", error.c_str());
            return 1;
        }
        const fs::path folder = fs::path(Network(root).Root()) / demo.name;
        fs::create_directories(folder / "C$" / "temp");
        for (const auto& [path, contents] : demo.files) {
            WriteText(folder / path, contents);
        }
        JobStore store(folder.string());
        for (Job job : demo.jobs) {
            if (!store.Add(job, error)) {
                std::fprintf(stderr, "corvane-lab: %s\n", error.c_str());
                return 1;
            }
        }
        names += std::string(demo.name) + "\r\n";
    }
    std::printf("Created a demo network of 12 servers in %s\n", root.c_str());
    if (!computerList.empty() && !fs::exists(computerList)) {
        if (!WriteText(computerList, names)) {
            std::fprintf(stderr, "corvane-lab: cannot write %s\n", computerList.c_str());
            return 1;
        }
        std::printf("Wrote their names to %s\n", computerList.c_str());
    }
    return 0;
}

int CreateBulk(const std::string& root, const BulkSetup& setup) {
    const long long n = setup.servers;
    const long long offline = std::llround(setup.offlineShare * static_cast<double>(n));
    // Shares that add up to 1 may round up to one server more than there are.
    const long long denied =
        std::min(std::llround(setup.deniedShare * static_cast<double>(n)), n - offline);
    if (n < 1 || offline + denied > n || setup.jobsEach < 0) {
        std::fprintf(stderr,
                     "corvane-lab: bad bulk sizes (servers %lld, offline %lld, "
                     "denied %lld).\n",
                     n, offline, denied);
        return 1;
    }
    if (!PrepareEmptyRoot(root)) {
        return 1;
    }
    const int width = std::max<int>(4, static_cast<int>(std::to_string(n).size()));
    const long long now = Now();
    long long reachableRank = 0;
    for (long long i = 0; i < n; ++i) {
        std::string number = std::to_string(i + 1);
        ServerSetup server;
        server.name = "SRV" + std::string(width - number.size(), '0') + number;
        server.shares = {"C$"};
        server.settings.boot = now - (i * 3607) % (90 * kDay) - 60;
        server.settings.offline = Picked(i, offline, n);
        if (!server.settings.offline) {
            server.settings.denied = Picked(reachableRank++, denied, n - offline);
        }
        std::string error;
        if (!CreateServer(root, server, error)) {
            std::fprintf(stderr, "corvane-lab: %s\n", error.c_str());
            return 1;
        }
        JobStore store(Network(root).Root() + server.name);
        for (int j = 0; j < setup.jobsEach; ++j) {
            Job job = MakeJob((j * 37) % (24 * 60), Repeat::Every, 1u << (j % 7), 0,
                              "C:\\jobs\\job" + std::to_string(j + 1) + ".cmd");
            if (!store.Add(job, error)) {
                std::fprintf(stderr, "corvane-lab: %s\n", error.c_str());
                return 1;
            }
        }
    }
    std::printf("Created %lld servers in %s: %lld offline, %lld denying access.\n", n, root.c_str(),
                offline, denied);
    return 0;
}

} // namespace corvane::lab
