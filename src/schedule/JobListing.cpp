// A click in the computer list shows the server's jobs; the Remove button deletes one of them.
#include "schedule/JobListing.h"

#include "app/Host.h"
#include "platform/Dialogs.h"
#include "runner/AtCommands.h"
#include "runner/CaptureFile.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>

namespace corvane {
namespace {

QString ToolNotStarted(const RunResult& result) {
    return QStringLiteral("Corvane could not start the AT tool (at.exe):\r\n") + result.error;
}

} // namespace

JobListing::JobListing(Host& host, QPlainTextEdit& rtbScheduledJobs, QLineEdit& txtJobID)
    : m_host(host), m_rtbScheduledJobs(rtbScheduledJobs), m_txtJobID(txtJobID) {}

void JobListing::RefuseServerName(const QString& server) {
    m_host.MsgBox(
        QStringLiteral("The server name \"%1\" cannot be used in a command line: a server name "
                       "may hold only letters, digits and the characters - _ . $\r\nNothing "
                       "was run for it.")
            .arg(server),
        MsgStyle::Exclamation);
}

void JobListing::lstComputers_Click() {
    if (m_host.IsBusy() || m_host.AppDirRefused()) {
        return;
    }
    m_host.SetBusy(true);
    const QString server = m_host.CurrentServer();
    if (server.isEmpty()) {
        m_host.MsgBox(QStringLiteral("you forgot to select a computer\r\nfrom the list to scan."));
    } else if (const auto command = AtListCommand(server)) {
        const RunResult result = m_host.RunAndWait(*command, kScheduleCapture);
        if (!result.started) {
            m_host.MsgBox(ToolNotStarted(result), MsgStyle::Exclamation);
        } else {
            m_rtbScheduledJobs.setPlainText(
                CapturedText(m_host.Platform().files, m_host.AppDir() + kScheduleCapture));
        }
    } else {
        RefuseServerName(server);
    }
    m_host.SetBusy(false);
}

void JobListing::cmdRemoveSchedule_Click() {
    if (m_host.IsBusy() || m_host.AppDirRefused()) {
        return;
    }
    // Read once: a click during the wait may move the current entry.
    const QString server = m_host.CurrentServer();
    const std::optional<Removal> removal = JobToRemove(server);
    if (!removal) {
        return;
    }
    const QString& jobId = removal->jobId;
    const QString where = QStringLiteral(" on computer \\\\") + server;
    const RunResult result = m_host.RunAndWait(removal->command);
    if (!result.started) {
        m_host.MsgBox(ToolNotStarted(result), MsgStyle::Exclamation);
    } else if (result.ended && result.exitStatus == 0) {
        m_host.MsgBox(QStringLiteral("Job ID ") + jobId + where +
                      QStringLiteral(" was successfully removed."));
    } else {
        m_host.MsgBox(QStringLiteral("Job ID ") + jobId + where +
                          QStringLiteral(" could not be removed."),
                      MsgStyle::Exclamation);
    }
}

std::optional<JobListing::Removal> JobListing::JobToRemove(const QString& server) {
    if (server.isEmpty()) {
        m_host.MsgBox(QStringLiteral("you forgot to select a computer from the list."));
        return std::nullopt;
    }
    if (m_host.TargetServers(true).isEmpty()) {
        m_host.MsgBox(QStringLiteral("You forgot to select one or more computers from the list."));
        return std::nullopt;
    }
    if (m_txtJobID.text().isEmpty()) {
        m_host.MsgBox(QStringLiteral("You forgot to specify a Job ID.\r\nPlease try again."));
        m_txtJobID.setFocus();
        return std::nullopt;
    }
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const QString jobId = m_txtJobID.text().trimmed();
    if (!digits.match(jobId).hasMatch()) {
        m_host.MsgBox(QStringLiteral("A job ID is a whole number, such as 3: the number in the ID "
                                     "column of the job list.\r\nPlease try again."),
                      MsgStyle::Exclamation);
        return std::nullopt;
    }
    const std::optional<QString> command = AtDeleteCommand(server, jobId);
    if (!command) {
        RefuseServerName(server);
        return std::nullopt;
    }
    const int answer = m_host.Platform().dialogs.MsgBox(
        QStringLiteral("You are about to remove job ID ") + jobId +
            QStringLiteral(" on computer \\\\") + server +
            QStringLiteral("\r\nAre you sure you want to do this?"),
        MsgStyle::YesNo | MsgStyle::Exclamation | MsgStyle::DefaultButton2,
        QStringLiteral("Remove Scheduled Job From \\\\") + server + QLatin1Char('?'));
    if (answer != MsgAnswer::Yes) {
        return std::nullopt;
    }
    return Removal{jobId, *command};
}

} // namespace corvane
