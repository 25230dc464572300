// Files that are not regular files, for the refusals of the state, import and export files.
#pragma once

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace corvane::test {

// A FIFO at `path`. Should the code under test block opening it (or reading or writing it), a
// watchdog opens both ends after a few seconds so that the test ends and fails instead of hanging.
class GuardedFifo {
public:
    explicit GuardedFifo(std::string path) : m_path(std::move(path)) {
        ::unlink(m_path.c_str());
        ::mkfifo(m_path.c_str(), 0644);
        m_watchdog = std::thread([this] {
            std::unique_lock lock(m_mutex);
            while (!m_done) {
                if (!m_wake.wait_for(lock, std::chrono::seconds(5), [this] { return m_done; })) {
                    m_unblocked = true;
                    const int fd = ::open(m_path.c_str(), O_RDWR | O_NONBLOCK);
                    if (fd >= 0) {
                        ::close(fd);
                    }
                }
            }
        });
    }
    ~GuardedFifo() {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_watchdog.join();
    }
    GuardedFifo(const GuardedFifo&) = delete;
    GuardedFifo& operator=(const GuardedFifo&) = delete;

    // True when the watchdog had to free a blocked open.
    bool hung() {
        std::lock_guard lock(m_mutex);
        return m_unblocked;
    }
    bool stillThere() const {
        struct stat st {};
        return ::lstat(m_path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
    }

private:
    std::string m_path;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    bool m_unblocked = false;
    std::thread m_watchdog;
};

// A file of `size` bytes that takes no room on disk.
inline void WriteSparse(const std::string& path, std::uintmax_t size) {
    std::ofstream{path};
    std::filesystem::resize_file(path, size);
}

} // namespace corvane::test
