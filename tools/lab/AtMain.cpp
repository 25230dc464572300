// at.exe of the lab network: adds, lists and removes a stand-in server's jobs as AT does.
#include "ToolSupport.h"

#include "platform/posix/LabJobs.h"

#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace corvane::lab;

// Exit statuses; the two failures of the server carry Windows' own error numbers.
constexpr int kOk = 0;
constexpr int kBadCommandLine = 1;
constexpr int kNoSuchJob = 2;
constexpr int kJobFileFailed = 3;
constexpr int kAccessDeniedStatus = 5;
constexpr int kNetworkPathNotFound = 53;

int TodayOfMonth() {
    const auto now = static_cast<std::time_t>(Now());
    std::tm local{};
    return ::localtime_r(&now, &local) != nullptr ? local.tm_mday : 1;
}

int Run(const AtRequest& request, const Server& server) {
    JobStore store(server.folder);
    std::string error;
    switch (request.action) {
    case AtRequest::Action::List: {
        std::vector<Job> jobs;
        if (!store.Read(jobs, error)) {
            break;
        }
        return Print(Listing(jobs)) ? kOk : kJobFileFailed;
    }
    case AtRequest::Action::Add: {
        Job job = request.job;
        if (!store.Add(job, error)) {
            break;
        }
        Print("Added a new job with job ID = " + std::to_string(job.id) + "\n");
        return kOk;
    }
    case AtRequest::Action::Remove:
        switch (store.Remove(request.jobId, error)) {
        case JobStore::Removal::Removed:
            return kOk;
        case JobStore::Removal::NotFound:
            Print("The AT job ID " + std::to_string(request.jobId) + " does not exist on \\\\" +
                  request.server + ".\n");
            return kNoSuchJob;
        case JobStore::Removal::Failed:
            break;
        }
        break;
    }
    Print(error + "\n");
    return kJobFileFailed;
}

} // namespace

int main(int argc, char** argv) {
    const pid_t parent = ::getppid();
    const std::vector<std::string> args(argv + 1, argv + argc);
    AtRequest request;
    std::string error;
    if (!ParseAtRequest(args, TodayOfMonth(), request, error)) {
        Print(error + "\n");
        return kBadCommandLine;
    }
    const Server server = OpenServer(request.server, parent);
    if (!server.settings.unreadable.empty()) {
        Print(server.settings.unreadable + "\n");
        return kJobFileFailed;
    }
    if (!server.Reachable()) {
        Print("The network path was not found.\n");
        return kNetworkPathNotFound;
    }
    if (server.settings.denied) {
        Print("Access is denied.\n");
        return kAccessDeniedStatus;
    }
    return Run(request, server);
}
