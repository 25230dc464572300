// Tasks run on several threads at once, their results taken in order on the calling thread.
#include "platform/posix/InOrder.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace corvane {
namespace {

// What the threads share: the next task to begin, and the results not yet taken.
class Results {
public:
    explicit Results(std::size_t n) : m_results(n), m_done(n, false) {}

    // The number of the next task to begin; n or more when none is left or all are to stop.
    std::size_t Next() { return m_stop ? m_results.size() : m_next++; }
    void Stop() { m_stop = true; }

    void Put(std::size_t i, FileResult result) {
        {
            const std::lock_guard lock(m_mutex);
            m_results[i] = std::move(result);
            m_done[i] = true;
        }
        m_ready.notify_all();
    }
    FileResult Take(std::size_t i) {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [&] { return m_done[i]; });
        return std::move(m_results[i]);
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::vector<FileResult> m_results;
    std::vector<bool> m_done;
    std::atomic<std::size_t> m_next{0};
    std::atomic<bool> m_stop{false};
};

// Stops the tasks not yet begun and waits for the others, however the caller leaves.
class Workers {
public:
    explicit Workers(Results& results) : m_results(results) {}
    ~Workers() {
        m_results.Stop();
        for (std::thread& thread : m_threads) {
            thread.join();
        }
    }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    // Starts up to `count` threads; false when not even one could be started.
    bool Start(unsigned count, const std::function<FileResult(std::size_t, unsigned)>& task,
               std::size_t n) {
        for (unsigned w = 0; w < count; ++w) {
            try {
                m_threads.emplace_back([this, &task, n, w] {
                    for (std::size_t i = m_results.Next(); i < n; i = m_results.Next()) {
                        m_results.Put(i, task(i, w));
                    }
                });
            } catch (const std::system_error&) {
                break; // the threads started do all the work
            }
        }
        return !m_threads.empty();
    }

private:
    Results& m_results;
    std::vector<std::thread> m_threads;
};

} // namespace

void RunInOrder(std::size_t n, unsigned workers,
                const std::function<FileResult(std::size_t, unsigned)>& task,
                const FileSystem::CopyResultHandler& each) {
    Results results(n);
    Workers threads(results);
    if (workers < 2 || n < 2 || !threads.Start(workers, task, n)) {
        for (std::size_t i = 0; i < n; ++i) {
            if (!each(i, task(i, 0))) {
                return;
            }
        }
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!each(i, results.Take(i))) {
            return; // the destructor stops the rest
        }
    }
}

} // namespace corvane
