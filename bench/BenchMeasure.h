// What the deploy and confirm benchmarks share: peak memory per run, a bash script as a child
// with its own peak, and a disk left quiet between runs.
#pragma once

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace corvane::bench {

// This process's peak resident memory is reset before a run and read after it (Linux keeps it
// as VmHWM and resets it through clear_refs), so each run's figure is its own.
inline void ResetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

inline double PeakMemoryMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

// Runs bash -c script with the arguments, waits, and gives its peak memory (that of the largest
// process of the run, as wait4 reports it) in MiB; a negative value when it failed.
inline double RunBash(const std::string& script, const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>("bash"), const_cast<char*>("-c"),
                            const_cast<char*>(script.c_str()), const_cast<char*>("bash")};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    int status = -1;
    rusage usage{};
    if (posix_spawn(&pid, "/bin/bash", nullptr, nullptr, argv.data(), environ) != 0 ||
        ::wait4(pid, &status, 0, &usage) != pid || status != 0) {
        return -1;
    }
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Every file below folder, recursively.
inline void ForEachFile(const std::string& folder, void (*visit)(const std::string&)) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        const std::string path = folder + "/" + name;
        if (entry->d_type == DT_DIR) {
            ForEachFile(path, visit);
        } else {
            visit(path);
        }
    }
    ::closedir(dir);
}

// Writes everything out and drops the files below folder from the page cache, so that neither
// late write-back nor gigabytes of cached copies weigh on the next timed run.
inline void Settle(const std::string& anyPathOnTheDisk, const std::string& dropFolder) {
    if (const int fd = ::open(anyPathOnTheDisk.c_str(), O_RDONLY | O_CLOEXEC); fd >= 0) {
        ::syncfs(fd);
        ::close(fd);
    }
    ForEachFile(dropFolder, [](const std::string& path) {
        if (const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC); fd >= 0) {
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
    });
}

} // namespace corvane::bench
