// at.exe's command line (the first byte picks today): a job it takes is in range, lists as a line.
#include "FuzzSupport.h"
#include "platform/posix/LabSchedule.h"
#include "platform/posix/WindowsCommandLine.h"

FUZZ_TARGET(bytes) {
    lab::AtRequest request;
    std::string error;
    if (bytes.empty() ||
        !lab::ParseAtRequest(SplitWindowsCommandLine(bytes.substr(1)),
                             1 + static_cast<unsigned char>(bytes[0]) % 31, request, error)) {
        return FUZZ_CHECK(bytes.empty() || !error.empty());
    }
    const lab::Job& job = request.job;
    std::string time = lab::TimeText(job.minutes);
    std::erase(time, ' ');
    FUZZ_CHECK(request.action != lab::AtRequest::Action::Add ||
               (job.minutes >= 0 && job.minutes < 24 * 60 && job.weekdays < (1u << 7) &&
                job.monthDays < (1u << 31) && lab::ParseTime(time) == job.minutes &&
                lab::Listing({job}).ends_with('\n')));
}
