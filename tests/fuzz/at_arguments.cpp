// at.exe's command line, split as Windows splits it, then read as at.exe reads it: a job it takes
// has a time of day, days within the week and the month, and lists as one line.
#include "FuzzSupport.h"
#include "platform/posix/LabSchedule.h"
#include "platform/posix/WindowsCommandLine.h"

#include <algorithm>
#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks today's day of the month.
    const int today = 1 + data[0] % 31;
    const std::string_view line(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<std::string> args = SplitWindowsCommandLine(line);

    lab::AtRequest request;
    std::string error;
    if (!lab::ParseAtRequest(args, today, request, error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    if (request.action == lab::AtRequest::Action::Add) {
        const lab::Job& job = request.job;
        FUZZ_CHECK(job.minutes >= 0 && job.minutes < 24 * 60);
        FUZZ_CHECK(job.weekdays < (1u << 7) && job.monthDays < (1u << 31));
        std::string time = lab::TimeText(job.minutes);
        std::erase(time, ' ');
        FUZZ_CHECK(lab::ParseTime(time) == job.minutes);
        const std::string listing = lab::Listing({job});
        FUZZ_CHECK(!listing.empty() && listing.back() == '\n');
    }
    return 0;
}
