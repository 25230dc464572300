// The uptime report window: the sweep's lines, a picture of where it stands, Cancel and Close.
#pragma once

#include "uptime/UptimePicture.h"

#include <QBasicTimer>
#include <QStringList>
#include <QWidget>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace corvane {

class Host;
class RunningCommand;

// Not modal: the sweep fills it while the main window stays usable. Made by
// UptimeSweep::UptimeReport(), one at a time; closing it destroys it (later, through the event
// loop).
class frmUptimeReport final : public QWidget {
public:
    frmUptimeReport(QWidget& owner, Host& host);

    // --- What the sweep does with it. ---
    // A sweep starts: Cancel enabled, Close disabled, the Collecting picture. The lines of earlier
    // sweeps stay.
    void BeginSweep();
    // The sweep has ended: the Complete or the Cancelled picture, Close enabled, every line shown
    // and the list scrolled to the last one.
    void EndSweep(bool cancelled);
    // The line goes into lstUptimeReport, scrolled to the end, at once when none came during the
    // last frame (a quarter of a second), else with the next frame or when the sweep ends.
    void AddLine(const QString& line);
    // The command the sweep is waiting for, which Cancel and closing end; null between commands.
    // The command must outlive its registration.
    void SetRunningCommand(RunningCommand* command) { m_running = command; }

    void ShowPicture(UptimePicture picture);
    UptimePicture Picture() const { return m_picture; }

    // --- Events. ---
    // Cancel: tells onCancel, shows Canceling and ends the sweep's running command, so the
    // sweep reads that server's answer at once and stops before the next server.
    void cmdCancel_Click();
    // Closes the window, which runs Form_Unload and destroys it.
    void cmdClose_Click();
    // The window is being closed, in whatever way: tells onCancel. During a sweep it ends
    // the running command too, and the sweep, which ends at once, gives back the pointer and the
    // status line; otherwise, unless another operation holds the busy cursor, the status line
    // returns to "Waiting for Command".
    void Form_Unload();

    // Told of every cancel: Cancel clicked or the window closed.
    std::function<void()> onCancel;
    // Told once, when the window is closed, before it goes away.
    std::function<void()> onClosed;

    QLabel* WebBrowser1;
    QListWidget* lstUptimeReport;
    QPushButton* cmdCancel;
    QPushButton* cmdClose;

protected:
    void closeEvent(QCloseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void ShowNewLines();

    Host& m_host;
    UptimePicture m_picture = UptimePicture::Collecting;
    RunningCommand* m_running = nullptr;
    bool m_sweeping = false;
    bool m_unloaded = false;
    // Runs for a frame after lines went into the list; lines added meanwhile wait in m_newLines.
    QBasicTimer m_frame;
    QStringList m_newLines;
};

} // namespace corvane
