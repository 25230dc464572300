// What the deploy and confirm benchmarks share: peak memory per run, a bash script as a child
// with its own peak, and a disk left quiet between runs.
#pragma once

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
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

// Runs bash -c script with the arguments under /usr/bin/time, waits, and gives the peak memory of
// the largest process of the script in MiB; a negative value when it failed. (Spawned straight
// from this process, the child's figure would start from this process's own peak.)
inline double RunBash(const std::string& script, const std::vector<std::string>& arguments) {
    char peakFile[] = "/tmp/corvane-peak-XXXXXX";
    const int fd = ::mkstemp(peakFile);
    if (fd < 0) {
        return -1;
    }
    ::close(fd);
    std::vector<std::string> words{"/usr/bin/time", "-f", "%M",   "-o",  peakFile,
                                   "bash",          "-c", script, "bash"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    int status = -1;
    const bool ran = posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 &&
                     ::waitpid(pid, &status, 0) == pid && status == 0;
    double kib = -1;
    std::ifstream(peakFile) >> kib;
    ::unlink(peakFile);
    return ran && kib >= 0 ? kib / 1024.0 : -1;
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
