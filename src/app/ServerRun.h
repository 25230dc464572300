// How every run over servers opens and closes: the busy test, the selection checks, the AppDir
// test of runs that start commands, and a guard that gives back the cursor and the idle status
// however the run ends.
#pragma once

#include "app/StatusLine.h"

#include <functional>

namespace corvane {

class Host;

struct RunOpening {
    bool selectedOnly = false;
    // Runs that start commands refuse an AppDir a command line cannot carry.
    bool startsCommands = false;
    // A run over the selected servers with nothing selected says so: the uptime sweep in one
    // message, the others telling a missing current entry from an empty selection.
    bool oneSelectionMessage = false;
    // A refused run shows the idle status (the validation leaves the status line alone).
    bool idleWhenRefused = true;
};

class ServerRun {
public:
    // `onClose` replaces the idle status at the end (the uptime sweep's own end steps).
    explicit ServerRun(Host& host, std::function<void()> onClose = {});
    ~ServerRun();
    ServerRun(const ServerRun&) = delete;
    ServerRun& operator=(const ServerRun&) = delete;

    // The opening checks in their order; false when the run must not go on, the reason said.
    bool Open(const RunOpening& opening);
    // What a run paints of the main window before its first server: all of it when the run may
    // keep the event loop from painting (copying files), else the status line alone.
    enum class Paint { Window, StatusLine };
    // Takes the busy cursor, shows the status in red and paints before the first server.
    void Begin(const QString& status, Paint paint = Paint::Window);
    // The run reports: green "Done!".
    void Done();

private:
    Host& m_host;
    std::function<void()> m_onClose;
    bool m_othersCursor = false;
    bool m_idle = true;
};

} // namespace corvane
