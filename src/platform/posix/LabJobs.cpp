// The job file of a stand-in server: reading it, and changing it under its lock.
#include "platform/posix/LabJobs.h"

#include "platform/posix/AtomicFile.h"
#include "platform/posix/Lab.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace corvane::lab {
namespace {

constexpr std::string_view kRepeatNames[] = {"once", "every", "next"};

constexpr const char* kJobs = ".jobs";
constexpr const char* kLock = ".jobs.lock";
constexpr const char* kTemp = ".jobs.new";

// The exclusive lock on the store, held while the object lives.
class StoreLock {
public:
    StoreLock(int folder, int folderError)
        : m_error(folder < 0 ? std::strerror(folderError) : ""),
          m_fd(folder < 0 ? -1 : OpenOwnFile(folder, kLock, m_error)) {
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                m_error = std::strerror(errno);
                return;
            }
        }
    }
    ~StoreLock() {
        if (m_fd >= 0) {
            ::close(m_fd); // releases the lock
        }
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    // Empty when the lock is held, else the reason it is not.
    const std::string& error() const { return m_error; }

private:
    std::string m_error;
    int m_fd;
};

template <typename T> bool Number(std::string_view text, T& value) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && ptr == text.data() + text.size();
}

// One job line: ID, repeat, weekdays, month days, minutes, command, separated by tabs; the
// command is last, so it may hold tabs itself.
bool ParseJob(std::string_view line, Job& job) {
    std::string_view fields[5];
    for (std::string_view& field : fields) {
        const auto tab = line.find('\t');
        if (tab == std::string_view::npos) {
            return false;
        }
        field = line.substr(0, tab);
        line = line.substr(tab + 1);
    }
    int repeat = 0;
    while (repeat < 3 && kRepeatNames[repeat] != fields[1]) {
        ++repeat;
    }
    job.repeat = static_cast<Repeat>(repeat);
    job.command = line;
    return repeat < 3 && Number(fields[0], job.id) && job.id > 0 &&
           Number(fields[2], job.weekdays) && Number(fields[3], job.monthDays) &&
           Number(fields[4], job.minutes) && job.minutes >= 0 && job.minutes < 24 * 60;
}

std::string JobLine(const Job& job) {
    return std::to_string(job.id) + "\t" + std::string(kRepeatNames[static_cast<int>(job.repeat)]) +
           "\t" + std::to_string(job.weekdays) + "\t" + std::to_string(job.monthDays) + "\t" +
           std::to_string(job.minutes) + "\t" + job.command + "\n";
}

} // namespace

JobStore::JobStore(const std::string& serverFolder)
    : m_folderPath(serverFolder),
      m_folder(::open(serverFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      m_folderError(m_folder < 0 ? errno : 0) {}

JobStore::~JobStore() {
    if (m_folder >= 0) {
        ::close(m_folder);
    }
}

bool JobStore::Fail(std::string& error, const std::string& what, const char* name,
                    const std::string& reason) const {
    error = what + " " + m_folderPath + "/" + name + ": " + reason + ".";
    return false;
}

bool JobStore::Read(std::vector<Job>& jobs, std::string& error) const {
    Contents contents;
    if (!Load(contents, error)) {
        return false;
    }
    jobs = std::move(contents.jobs);
    return true;
}

bool JobStore::Add(Job& job, std::string& error) {
    if (job.command.find_first_of("\r\n") != std::string::npos) {
        error = "The command of a job cannot hold a line break.";
        return false;
    }
    const StoreLock lock(m_folder, m_folderError);
    if (!lock.error().empty()) {
        return Fail(error, "Cannot lock the job file", kLock, lock.error());
    }
    Contents contents;
    if (!Load(contents, error)) {
        return false;
    }
    if (contents.nextId == INT_MAX) {
        error = "The job file " + m_folderPath + "/" + kJobs + " has used every job ID.";
        return false;
    }
    job.id = contents.nextId++;
    contents.jobs.push_back(job);
    return Store(contents, error);
}

JobStore::Removal JobStore::Remove(int id, std::string& error) {
    const StoreLock lock(m_folder, m_folderError);
    if (!lock.error().empty()) {
        Fail(error, "Cannot lock the job file", kLock, lock.error());
        return Removal::Failed;
    }
    Contents contents;
    if (!Load(contents, error)) {
        return Removal::Failed;
    }
    const auto before = contents.jobs.size();
    std::erase_if(contents.jobs, [id](const Job& job) { return job.id == id; });
    if (contents.jobs.size() == before) {
        return Removal::NotFound;
    }
    return Store(contents, error) ? Removal::Removed : Removal::Failed;
}

bool JobStore::Load(Contents& contents, std::string& error) const {
    contents = Contents();
    if (m_folder < 0) {
        return Fail(error, "Cannot read the job file", kJobs, std::strerror(m_folderError));
    }
    std::string text;
    std::string reason;
    switch (ReadOwnFile(m_folder, kJobs, kMaxJobFileBytes, text, reason)) {
    case OwnFile::Read:
        break;
    case OwnFile::Missing:
        return true;
    case OwnFile::Refused:
        return Fail(error, "Cannot read the job file", kJobs, reason);
    }
    std::string_view rest = text;
    int lineNumber = 0;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        ++lineNumber;
        Job job;
        const bool good = lineNumber == 1
                              ? line.substr(0, 5) == "next=" &&
                                    Number(line.substr(5), contents.nextId) && contents.nextId > 0
                              : ParseJob(line, job) && job.id < contents.nextId;
        if (!good) {
            error = "The job file " + m_folderPath + "/" + kJobs + " is damaged at line " +
                    std::to_string(lineNumber) + ".";
            return false;
        }
        if (lineNumber > 1) {
            contents.jobs.push_back(std::move(job));
        }
    }
    return true;
}

bool JobStore::Store(const Contents& contents, std::string& error) const {
    std::string text = "next=" + std::to_string(contents.nextId) + "\n";
    for (const Job& job : contents.jobs) {
        text += JobLine(job);
    }
    if (text.size() > kMaxJobFileBytes) {
        return Fail(error, "Cannot write the job file", kJobs,
                    "it would be larger than " + std::to_string(kMaxJobFileBytes >> 20) + " MB");
    }
    AtomicFile file;
    file.folder = m_folder;
    file.target = kJobs;
    file.temporary = kTemp;
    const AtomicOutcome outcome = WriteAtomically(file, text);
    if (outcome.failed == AtomicStep::Rename) {
        return Fail(error, "Cannot replace the job file", kJobs, outcome.reason);
    }
    if (!outcome.ok()) {
        return Fail(error, "Cannot write the job file", kTemp, outcome.reason);
    }
    return true;
}

} // namespace corvane::lab
