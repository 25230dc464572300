// The commands of corvane-lab; each returns the program's exit status and says what went wrong.
#pragma once

#include "platform/posix/Lab.h"

#include <string>
#include <vector>

namespace corvane::lab {

struct ServerSetup {
    std::string name;
    ServerSettings settings;
    std::vector<std::string> shares{"C$", "D$"};
};

// Creates ROOT/NAME with its share folders and settings; false with a message when the name is
// not a plain folder name or the server exists already (in any case of its letters).
bool CreateServer(const std::string& root, const ServerSetup& setup, std::string& error);
// Replaces SERVER/.lab (written beside it and renamed, so a tool never reads half of it).
bool WriteSettings(const std::string& serverFolder, const ServerSettings& settings,
                   std::string& error);

// A dozen servers for trying every button; computerList, when given and missing, receives their
// names as Corvane's computerlist.txt.
int CreateDemo(const std::string& root, const std::string& computerList);

struct BulkSetup {
    int servers = 0;
    double offlineShare = 0;
    double deniedShare = 0;
    int jobsEach = 0;
};
// SRV0001.. for benchmarks, the offline and denied ones spread evenly and always the same.
int CreateBulk(const std::string& root, const BulkSetup& setup);

int ShowServer(const std::string& root, const std::string& name);
int ListServers(const std::string& root);

} // namespace corvane::lab
