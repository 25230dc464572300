// Waking the event loop when a command's wait handle becomes readable, for the runner's wait, and
// a short sleep on the handle alone for the commands that end at once.
#pragma once

#include <functional>

namespace corvane {

// Watches one wait handle (RunningCommand::OpenWaitHandle) while it exists. `ready` is called
// from the event loop, at most once, when the handle has become readable; it must not destroy
// the watch. Waits may nest: each watch wakes only its own caller. Destroy the watch before the
// handle is closed. Main thread only.
class HandleWatch {
public:
    HandleWatch(long long handle, std::function<void()> ready);
    ~HandleWatch();
    HandleWatch(const HandleWatch&) = delete;
    HandleWatch& operator=(const HandleWatch&) = delete;

    // False when the handle cannot be watched (no descriptor left, say): then ask the command
    // from time to time instead.
    bool Active() const { return m_active; }
    // Called by the platform's watcher.
    void Fire();

private:
    long long m_handle;
    std::function<void()> m_ready;
    bool m_active = false;
    bool m_fired = false;
    void* m_platform = nullptr; // what the platform's watcher keeps for this watch
};

// Sleeps until the wait handle is readable, for at most `milliseconds`, without the event loop:
// true when it is readable. For a command that ends within that time this costs one system call,
// where a turn of the event loop costs several; the events that came meanwhile wait as long.
bool HandleReadyWithin(long long handle, int milliseconds);

} // namespace corvane
