// Files that are not regular files, for the refusals of the state, import and export files.
#pragma once

#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace corvane::test {

// A FIFO at `path`. Should the code under test block opening it (or reading or writing it), a
// watchdog opens both ends every few seconds so that the test ends and fails instead of hanging.
class GuardedFifo {
public:
    explicit GuardedFifo(std::string path) : m_path(std::move(path)) {
        ::unlink(m_path.c_str());
        ::mkfifo(m_path.c_str(), 0644);
    }
    // True when the watchdog had to free a blocked open.
    bool hung() const { return m_unblocked; }
    bool stillThere() const {
        struct stat st {};
        return ::lstat(m_path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
    }

private:
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

// A file of `size` bytes that takes no room on disk.
inline void WriteSparse(const std::string& path, std::uintmax_t size) {
    std::ofstream{path};
    std::filesystem::resize_file(path, size);
}

} // namespace corvane::test
