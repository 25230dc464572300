// A stand-in server's job file as at.exe reads it: any bytes are read or refused with a message,
// the jobs read are whole, and rewriting the file after a removal keeps the others exactly.
#include "FuzzSupport.h"
#include "platform/posix/LabJobs.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

using namespace corvane;

namespace {

bool Same(const lab::Job& a, const lab::Job& b) {
    return a.id == b.id && a.repeat == b.repeat && a.weekdays == b.weekdays &&
           a.monthDays == b.monthDays && a.minutes == b.minutes && a.command == b.command;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string server = [] {
        const std::string folder = fuzz::Scratch() + "/SRV01";
        std::filesystem::create_directories(folder);
        return folder;
    }();
    fuzz::WriteBytes(server + "/.jobs", {reinterpret_cast<const char*>(data), size});

    lab::JobStore store(server);
    std::vector<lab::Job> jobs;
    std::string error;
    if (!store.Read(jobs, error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    for (const lab::Job& job : jobs) {
        FUZZ_CHECK(job.id > 0 && job.minutes >= 0 && job.minutes < 24 * 60);
        FUZZ_CHECK(job.command.find('\n') == std::string::npos);
    }
    FUZZ_CHECK(!lab::Listing(jobs).empty());
    if (jobs.empty()) {
        return 0;
    }
    const int id = jobs.front().id;
    FUZZ_CHECK(store.Remove(id, error) == lab::JobStore::Removal::Removed);
    std::vector<lab::Job> after;
    FUZZ_CHECK(store.Read(after, error));
    std::erase_if(jobs, [id](const lab::Job& job) { return job.id == id; });
    FUZZ_CHECK(std::equal(jobs.begin(), jobs.end(), after.begin(), after.end(), Same));
    return 0;
}
