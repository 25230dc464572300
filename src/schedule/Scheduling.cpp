// Schedule All and Schedule Selected: one AT line per target server, all started in one pass,
// then waited for together so that the user learns which servers did not take the job.
#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "platform/Dialogs.h"
#include "platform/Processes.h"
#include "runner/AtCommands.h"

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

void frmMain::cmdRunSchedule_Click() {
    ScheduleJob(false);
}

void frmMain::cmdRunSingle_Click() {
    ScheduleJob(true);
}

void frmMain::ScheduleJob(bool selectedOnly) {
    if (IsBusy()) {
        SetIdleStatus();
        return;
    }
    if (selectedOnly && !CheckSelection()) {
        SetIdleStatus();
        return;
    }
    if (cboRun->currentText().isEmpty()) {
        MsgBox(QStringLiteral("You must first specify a command or app to run."));
        SetIdleStatus();
        return;
    }
    if (AppDirRefused()) {
        SetIdleStatus();
        return;
    }
    SetBusy(true);
    const QString question =
        QStringLiteral("You are about to schedule \"") + cboRun->currentText() +
        QStringLiteral("\"\r\non all of the selected computers on the list\r\nto be run at ") +
        TimeArgument() +
        QStringLiteral("\r\non the days/dates you selected.\r\n\r\nAre you sure you want to do "
                       "this?");
    const int answer = m_services.dialogs.MsgBox(
        question, MsgStyle::YesNo | MsgStyle::Exclamation | MsgStyle::DefaultButton2,
        QStringLiteral("Schedule Computers?"));
    if (answer == MsgAnswer::Yes) {
        RememberCommand();
        SetStatus(StatusColour::Busy, QStringLiteral("Scheduling"));
        repaint();
        const QString days = DayArgument();

        // Every line is started before any is waited for, as the scheduler expects.
        struct Launched {
            QString server;
            std::unique_ptr<RunningCommand> command;
        };
        std::vector<Launched> running;
        QStringList failed;
        for (const QString& server : TargetServers(selectedOnly)) {
            const auto line = AtScheduleLine(server, TimeArgument(), days, cboRun->currentText());
            LaunchResult launched;
            if (line && m_services.processes != nullptr) {
                launched = m_services.processes->Launch(line->toStdString());
            }
            if (launched.command) {
                running.push_back({server, std::move(launched.command)});
            } else {
                failed << server;
            }
        }

        // Then their answers are collected together, within one time limit for all.
        const QDeadlineTimer deadline{ScheduleAnswerTime};
        QStringList unanswered;
        for (Launched& job : running) {
            const RunResult result = WaitFor(*job.command, deadline);
            if (!result.ended) {
                unanswered << job.server;
            } else if (result.exitStatus != 0) {
                failed << job.server;
            }
        }

        if (!EntryText(*lstComputers, 0).isEmpty()) {
            SetStatus(StatusColour::Done, QStringLiteral("Done!"));
            if (failed.isEmpty() && unanswered.isEmpty()) {
                MsgBox(QStringLiteral("Systems were successfully Scheduled!"));
            } else {
                const auto seconds =
                    std::chrono::duration_cast<std::chrono::seconds>(ScheduleAnswerTime);
                MsgBox(FailureMessage(failed, unanswered, static_cast<int>(seconds.count())),
                       MsgStyle::Exclamation);
            }
        } else {
            MsgBox(QStringLiteral("You don't have any servers in your list to schedule!"));
        }
    }
    SetBusy(false);
    SetIdleStatus();
}

} // namespace corvane
