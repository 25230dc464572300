// Get Uptime for all / for selected: asks each server in turn with uptime.exe and puts one line per
// server into the uptime report window.
#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "persist/TextFile.h"
#include "platform/Processes.h"
#include "platform/Windowing.h"
#include "uptime/UptimeAnswer.h"
#include "uptime/frmUptimeReport.h"

#include <QListWidget>
#include <QPointer>
#include <QPushButton>

namespace corvane {
void frmMain::cmdUpAll_Click() {
    UptimeSweep(false);
}

void frmMain::cmdUpSel_Click() {
    UptimeSweep(true);
}

frmUptimeReport* frmMain::UptimeReport() {
    if (m_uptimeReport == nullptr) {
        m_uptimeReport = new frmUptimeReport(*this);
        m_uptimeReport->onClosed = [this] { m_uptimeReport = nullptr; };
    }
    return m_uptimeReport;
}

void frmMain::UptimeEndSteps() {
    m_state.UptimeCancelled = false;
    UptimeReport()->cmdCancel->setEnabled(false);
    SetIdleStatus();
}

void frmMain::UptimeSweep(bool selectedOnly) {
    // A click during this sweep's own wait must neither lose a cancel nor take its Cancel away.
    if (m_uptimeSweeping) {
        return;
    }
    if (IsBusy()) {
        UptimeEndSteps();
        return;
    }
    if (selectedOnly &&
        (EntryText(*lstComputers, lstComputers->currentRow()).isEmpty() || !AnySelected())) {
        MsgBox(QStringLiteral("You forgot to select one or more computers from the list."));
        UptimeEndSteps();
        return;
    }
    if (AppDirRefused()) {
        UptimeEndSteps();
        return;
    }
    m_uptimeSweeping = true;
    SetBusy(true);
    SetStatus(StatusColour::Busy, QStringLiteral("Getting Uptime"));
    repaint();
    m_state.UptimeCancelled = false;
    UptimeReport()->BeginSweep();
    UptimeReport()->show();
    // The focus only now: taken at every server, it would keep the administrator from typing in
    // any other window during a long sweep.
    m_services.windowing.BringToFront(*UptimeReport(), Focus::Take);

    // This sweep writes only into the window it showed, and only while that window is open: a
    // closed window is gone for good, even before the event loop has destroyed it.
    const QPointer<frmUptimeReport> shown = UptimeReport();
    auto report = [&]() -> frmUptimeReport* {
        return shown && m_uptimeReport == shown.data() ? shown.data() : nullptr;
    };
    auto addLine = [&](const QString& line) {
        if (frmUptimeReport* window = report()) {
            window->AddLine(line);
        }
    };

    bool toolMissing = false;
    for (const QString& server : TargetServers(selectedOnly)) {
        if (m_state.UptimeCancelled) {
            break;
        }
        m_state.CurrentServer = server;
        const std::optional<QString> command = UptimeCommand(server);
        if (!command) {
            addLine(QStringLiteral("Not a usable server name: ") + server);
            continue;
        }
        const RunResult result = RunAndWait(*command, kUptimeCapture, [&](RunningCommand& running) {
            if (frmUptimeReport* window = report()) {
                window->SetRunningCommand(&running);
                m_services.windowing.BringToFront(*window, Focus::Leave);
            }
        });
        if (frmUptimeReport* window = report()) {
            window->SetRunningCommand(nullptr);
        }
        if (!result.ended) {
            break; // the program is quitting
        }
        if (result.exitStatus == kCommandNotFoundStatus) {
            toolMissing = true;
            break;
        }
        if (!result.started) {
            addLine(QStringLiteral("Could not ask ") + server + QStringLiteral(": ") +
                    result.error);
            continue;
        }
        QString answer;
        const FileResult read = ReadText(m_services.files, AppDir() + kUptimeCapture, answer);
        if (!read.ok()) {
            addLine(QStringLiteral("Could not read the answer of ") + server +
                    QStringLiteral(" from ") + kUptimeCapture + QStringLiteral(": ") +
                    ReasonText(read));
            continue;
        }
        addLine(UptimeReportLine(server, answer));
    }
    if (toolMissing) {
        for (const QString& line : UptimeHelpLines()) {
            addLine(line);
        }
    }

    SetStatus(StatusColour::Done, QStringLiteral("Done!"));
    if (frmUptimeReport* window = report()) {
        window->EndSweep(m_state.UptimeCancelled);
    }
    SetBusy(false);
    m_uptimeSweeping = false;
    UptimeEndSteps();
}

} // namespace corvane
