// Get Uptime for all / for selected: asks each server in turn with uptime.exe and puts one line per
// server into the uptime report window.
#pragma once

#include <QString>
#include <functional>

namespace corvane {

class Host;
class frmUptimeReport;

class UptimeSweep {
public:
    explicit UptimeSweep(Host& host);

    void cmdUpAll_Click();
    void cmdUpSel_Click();
    // Asks every server of the list (or only the selected ones) for its uptime, one after the
    // other, into the uptime report window; the window's Cancel stops it after the current server.
    void Sweep(bool selectedOnly);

    // The one uptime report window, created hidden on first use. Closing destroys it; the next use
    // creates a new one.
    frmUptimeReport* UptimeReport();
    // The report window when one exists, else null; creates nothing.
    frmUptimeReport* ExistingUptimeReport() const { return m_report; }
    // Whether the report window asked the running sweep to stop.
    bool CancelAsked() const { return m_cancelled; }

private:
    // The window this sweep writes into while it is open; null once it was closed.
    using ShownWindow = std::function<frmUptimeReport*()>;
    enum class Step { Next, Quit, ToolMissing };
    // Asks one server and puts its line into the window.
    Step AskServer(const QString& server, const ShownWindow& window);
    // Clears the cancel, disables the report window's Cancel, shows the idle status.
    void EndSteps();

    Host& m_host;
    frmUptimeReport* m_report = nullptr;
    bool m_sweeping = false;
    bool m_cancelled = false; // the report window asked for a cancel of the running sweep
};

} // namespace corvane
