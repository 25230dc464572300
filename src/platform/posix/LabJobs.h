// A stand-in server's scheduled jobs, kept in a file that many at.exe processes change safely.
#pragma once

#include "platform/posix/LabSchedule.h"

#include <string>
#include <vector>

namespace corvane::lab {

// The jobs live in SERVER/.jobs, one line each after a line with the next job ID. Every change
// runs under an exclusive lock on SERVER/.jobs.lock, a file that is never renamed or removed,
// and replaces .jobs by writing .jobs.new, flushing it and renaming it over; so readers need no
// lock, a crash leaves the old file whole, and processes started at once never lose or repeat a
// job. IDs only grow: removing the newest job does not give its ID back. These files are used
// only as regular files in the server folder (see ReadOwnFile); the job file holds at most
// kMaxJobFileBytes.
class JobStore {
public:
    // The server folder is opened once, so that every file of one change is in the same folder.
    explicit JobStore(const std::string& serverFolder);
    ~JobStore();
    JobStore(const JobStore&) = delete;
    JobStore& operator=(const JobStore&) = delete;

    // Every job in ID order; none when the server has no job file yet. False with a message when
    // the file cannot be read or is damaged.
    bool Read(std::vector<Job>& jobs, std::string& error) const;
    // Gives the job the next ID and stores it.
    bool Add(Job& job, std::string& error);

    enum class Removal { Removed, NotFound, Failed };
    Removal Remove(int id, std::string& error);

private:
    struct Contents {
        int nextId = 1;
        std::vector<Job> jobs;
    };
    bool Load(Contents& contents, std::string& error) const;
    bool Store(const Contents& contents, std::string& error) const;

    bool Fail(std::string& error, const std::string& what, const char* name,
              const std::string& reason) const;

    std::string m_folderPath;
    int m_folder = -1;
    int m_folderError = 0;
};

} // namespace corvane::lab
