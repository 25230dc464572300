// A stand-in server's job file: read whole or refused with a message; a removal keeps the others.
#include "FuzzSupport.h"
#include "platform/posix/LabJobs.h"

#include <algorithm>
#include <tuple>

FUZZ_TARGET(bytes) {
    lab::JobStore store(std::filesystem::path(ScratchFile("SRV01/.jobs", bytes)).parent_path());
    std::vector<lab::Job> jobs, after;
    std::string error;
    const bool read = store.Read(jobs, error);
    if (!read || jobs.empty()) {
        return FUZZ_CHECK(read || !error.empty());
    }
    for (const lab::Job& job : jobs) {
        FUZZ_CHECK(job.id > 0 && job.minutes >= 0 && job.minutes < 24 * 60 &&
                   job.command.find('\n') == std::string::npos &&
                   lab::Listing({job}).ends_with('\n'));
    }
    const auto key = [](const lab::Job& j) {
        return std::tie(j.id, j.repeat, j.weekdays, j.monthDays, j.minutes, j.command);
    };
    const int id = jobs.front().id;
    FUZZ_CHECK(store.Remove(id, error) == lab::JobStore::Removal::Removed &&
               store.Read(after, error));
    std::erase_if(jobs, [id](const lab::Job& job) { return job.id == id; });
    FUZZ_CHECK(std::ranges::equal(jobs, after, {}, key, key));
}
