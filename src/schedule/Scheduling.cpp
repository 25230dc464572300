// Schedule All and Schedule Selected: one AT line per target server, all started in one pass,
// then waited for together so that the user learns which servers did not take the job.
#include "schedule/Scheduling.h"

#include "app/Host.h"
#include "app/ListHelpers.h"
#include "app/ServerRun.h"
#include "persist/History.h"
#include "platform/Dialogs.h"
#include "platform/Processes.h"
#include "runner/AtCommands.h"
#include "schedule/ScheduleInputs.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QListWidget>
#include <memory>
#include <vector>

namespace corvane {
namespace {

QString FailureMessage(QStringList failed, QStringList unanswered, int answerSeconds) {
    failed.sort(Qt::CaseInsensitive);
    unanswered.sort(Qt::CaseInsensitive);
    QStringList parts;
    if (!failed.isEmpty()) {
        parts << QStringLiteral("The job could not be scheduled on these servers:\r\n") +
                     ListBlock(failed);
    }
    if (!unanswered.isEmpty()) {
        parts << QStringLiteral("These servers had not answered within %1 seconds; their "
                                "scheduling goes on without Corvane watching it:\r\n")
                         .arg(answerSeconds) +
                     ListBlock(unanswered);
    }
    parts << QStringLiteral("Click a server in the computer list to see its jobs.");
    return parts.join(QStringLiteral("\r\n\r\n"));
}

} // namespace

Scheduling::Scheduling(Host& host, const ScheduleInputs& inputs, QComboBox& cboRun,
                       const std::chrono::milliseconds& answerTime)
    : m_host(host), m_inputs(inputs), m_cboRun(cboRun), m_answerTime(answerTime) {}

void Scheduling::cmdRunSchedule_Click() {
    ScheduleJob(false);
}

void Scheduling::cmdRunSingle_Click() {
    ScheduleJob(true);
}

bool Scheduling::MaySchedule() {
    if (m_cboRun.currentText().isEmpty()) {
        m_host.MsgBox(QStringLiteral("You must first specify a command or app to run."));
        return false;
    }
    if (m_host.AppDirRefused()) {
        return false;
    }
    m_host.SetBusy(true);
    const QString question =
        QStringLiteral("You are about to schedule \"") + m_cboRun.currentText() +
        QStringLiteral("\"\r\non all of the selected computers on the list\r\nto be run at ") +
        m_inputs.TimeArgument() +
        QStringLiteral("\r\non the days/dates you selected.\r\n\r\nAre you sure you want to do "
                       "this?");
    return m_host.Platform().dialogs.MsgBox(
               question, MsgStyle::YesNo | MsgStyle::Exclamation | MsgStyle::DefaultButton2,
               QStringLiteral("Schedule Computers?")) == MsgAnswer::Yes;
}

void Scheduling::ScheduleJob(bool selectedOnly) {
    ServerRun run(m_host);
    if (!run.Open({.selectedOnly = selectedOnly}) || !MaySchedule()) {
        return;
    }
    RememberText(m_cboRun);
    run.Begin(QStringLiteral("Scheduling"));
    QStringList failed;
    QStringList unanswered;
    RunOnServers(m_host.TargetServers(selectedOnly), failed, unanswered);
    if (!m_host.HasServers()) {
        m_host.MsgBox(QStringLiteral("You don't have any servers in your list to schedule!"));
        return;
    }
    run.Done();
    ReportOutcome(failed, unanswered);
}

void Scheduling::RunOnServers(const QStringList& servers, QStringList& failed,
                              QStringList& unanswered) {
    const QString days = m_inputs.DayArgument();
    // Every line is started before any is waited for, as the scheduler expects.
    struct Launched {
        QString server;
        std::unique_ptr<RunningCommand> command;
    };
    std::vector<Launched> running;
    Processes* processes = m_host.Platform().processes;
    for (const QString& server : servers) {
        const auto line =
            AtScheduleLine(server, m_inputs.TimeArgument(), days, m_cboRun.currentText());
        LaunchResult launched;
        if (line && processes != nullptr) {
            launched = processes->Launch(line->toStdString());
        }
        if (launched.command) {
            running.push_back({server, std::move(launched.command)});
        } else {
            failed << server;
        }
    }
    // Then their answers are collected together, within one time limit for all.
    const QDeadlineTimer deadline{m_answerTime};
    for (Launched& job : running) {
        const RunResult result = WaitFor(*job.command, deadline);
        if (!result.ended) {
            unanswered << job.server;
        } else if (result.exitStatus != 0) {
            failed << job.server;
        }
    }
}

void Scheduling::ReportOutcome(const QStringList& failed, const QStringList& unanswered) {
    if (failed.isEmpty() && unanswered.isEmpty()) {
        m_host.MsgBox(QStringLiteral("Systems were successfully Scheduled!"));
        return;
    }
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(m_answerTime);
    m_host.MsgBox(FailureMessage(failed, unanswered, static_cast<int>(seconds.count())),
                  MsgStyle::Exclamation);
}

} // namespace corvane
