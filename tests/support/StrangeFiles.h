// Files that are not regular files, for the refusals of the state, import and export files.
#pragma once

#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace corvane::test {

struct GuardedFifo {
    explicit GuardedFifo(std::string path) : m_path(std::move(path)) {
        ::unlink(m_path.c_str());
        ::mkfifo(m_path.c_str(), 0644);
    }
    bool hung() const { return m_unblocked; }
    bool stillThere() const {
        struct stat st {};
        return ::lstat(m_path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
    }

    std::string m_path;
    std::atomic<bool> m_unblocked = false;
    std::jthread m_watchdog{[this](std::stop_token stop) {
        for (int tick = 1; !stop.stop_requested(); ++tick) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (tick % 250 == 0) {
                m_unblocked = true;
                ::close(::open(m_path.c_str(), O_RDWR | O_NONBLOCK));
            }
        }
    }};
};

inline void WriteSparse(const std::string& path, std::uintmax_t size) {
    std::ofstream{path};
    std::filesystem::resize_file(path, size);
}

} // namespace corvane::test
