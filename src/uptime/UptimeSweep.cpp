// Get Uptime for all / for selected: asks each server in turn with uptime.exe and puts one line per
// server into the uptime report window.
#include "uptime/UptimeSweep.h"

#include "app/Host.h"
#include "app/ServerRun.h"
#include "persist/TextFile.h"
#include "platform/Processes.h"
#include "platform/Windowing.h"
#include "uptime/UptimeAnswer.h"
#include "uptime/frmUptimeReport.h"

#include <QPointer>
#include <QPushButton>

namespace corvane {

UptimeSweep::UptimeSweep(Host& host) : m_host(host) {}

void UptimeSweep::cmdUpAll_Click() {
    Sweep(false);
}

void UptimeSweep::cmdUpSel_Click() {
    Sweep(true);
}

frmUptimeReport* UptimeSweep::UptimeReport() {
    if (m_report == nullptr) {
        m_report = new frmUptimeReport(m_host.Window(), m_host);
        m_report->onCancel = [this] { m_cancelled = true; };
        m_report->onClosed = [this] { m_report = nullptr; };
    }
    return m_report;
}

void UptimeSweep::EndSteps() {
    m_cancelled = false;
    UptimeReport()->cmdCancel->setEnabled(false);
    m_host.SetIdleStatus();
}

void UptimeSweep::Sweep(bool selectedOnly) {
    // A click during this sweep's own wait must neither lose a cancel nor take its Cancel away.
    if (m_sweeping) {
        return;
    }
    ServerRun run(m_host, [this] { EndSteps(); });
    if (!run.Open(
            {.selectedOnly = selectedOnly, .startsCommands = true, .oneSelectionMessage = true})) {
        return;
    }
    m_sweeping = true;
    // Its window comes up over the main one at once, and every wait lets the event loop paint:
    // painting the whole main window first would only cost time.
    run.Begin(QStringLiteral("Getting Uptime"), ServerRun::Paint::StatusLine);
    m_cancelled = false;
    UptimeReport()->BeginSweep();
    UptimeReport()->show();
    // The focus only now: taken at every server, it would keep the administrator from typing in
    // any other window during a long sweep.
    m_host.Platform().windowing.BringToFront(*UptimeReport(), Focus::Take);

    // This sweep writes only into the window it showed, and only while that window is open: a
    // closed window is gone for good, even before the event loop has destroyed it.
    const QPointer<frmUptimeReport> shown = UptimeReport();
    const ShownWindow window = [&]() -> frmUptimeReport* {
        return shown && m_report == shown.data() ? shown.data() : nullptr;
    };
    Step step = Step::Next;
    for (const QString& server : m_host.TargetServers(selectedOnly)) {
        if (m_cancelled || (step = AskServer(server, window)) != Step::Next) {
            break;
        }
    }
    if (step == Step::ToolMissing) {
        for (const QString& line : UptimeHelpLines()) {
            if (frmUptimeReport* report = window()) {
                report->AddLine(line);
            }
        }
    }
    run.Done();
    if (frmUptimeReport* report = window()) {
        report->EndSweep(m_cancelled);
    }
    m_sweeping = false;
}

UptimeSweep::Step UptimeSweep::AskServer(const QString& server, const ShownWindow& window) {
    const auto addLine = [&window](const QString& line) {
        if (frmUptimeReport* report = window()) {
            report->AddLine(line);
        }
    };
    const std::optional<QString> command = UptimeCommand(server);
    if (!command) {
        addLine(QStringLiteral("Not a usable server name: ") + server);
        return Step::Next;
    }
    const RunResult result =
        m_host.RunAndWait(*command, kUptimeCapture, [&](RunningCommand& running) {
            if (frmUptimeReport* report = window()) {
                report->SetRunningCommand(&running);
                m_host.Platform().windowing.BringToFront(*report, Focus::Leave);
            }
        });
    if (frmUptimeReport* report = window()) {
        report->SetRunningCommand(nullptr);
    }
    if (!result.ended) {
        return Step::Quit; // the program is quitting
    }
    if (result.exitStatus == kCommandNotFoundStatus) {
        return Step::ToolMissing;
    }
    if (!result.started) {
        addLine(QStringLiteral("Could not ask ") + server + QStringLiteral(": ") + result.error);
        return Step::Next;
    }
    QString answer;
    const FileResult read =
        ReadText(m_host.Platform().files, m_host.AppDir() + kUptimeCapture, answer);
    if (!read.ok()) {
        addLine(QStringLiteral("Could not read the answer of ") + server +
                QStringLiteral(" from ") + kUptimeCapture + QStringLiteral(": ") +
                ReasonText(read));
        return Step::Next;
    }
    addLine(UptimeReportLine(server, answer));
    return Step::Next;
}

} // namespace corvane
