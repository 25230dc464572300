// A click in the computer list shows the server's jobs; the Remove button deletes one of them.
#include "app/ListHelpers.h"
#include "app/frmMain.h"
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

void frmMain::RefuseServerName(const QString& server) {
    MsgBox(QStringLiteral("The server name \"%1\" cannot be used in a command line: a server name "
                          "may hold only letters, digits and the characters - _ . $\r\nNothing "
                          "was run for it.")
               .arg(server),
           MsgStyle::Exclamation);
}

void frmMain::lstComputers_Click() {
    if (IsBusy() || AppDirRefused()) {
        return;
    }
    SetBusy(true);
    const QString server = EntryText(*lstComputers, lstComputers->currentRow());
    if (server.isEmpty()) {
        MsgBox(QStringLiteral("you forgot to select a computer\r\nfrom the list to scan."));
    } else if (const auto command = AtListCommand(server)) {
        const RunResult result = RunAndWait(*command, kScheduleCapture);
        if (!result.started) {
            MsgBox(ToolNotStarted(result), MsgStyle::Exclamation);
        } else {
            rtbScheduledJobs->setPlainText(
                CapturedText(m_services.files, AppDir() + kScheduleCapture));
        }
    } else {
        RefuseServerName(server);
    }
    SetBusy(false);
}

void frmMain::cmdRemoveSchedule_Click() {
    if (IsBusy() || AppDirRefused()) {
        return;
    }
    // Read once: a click during the wait may move the current entry.
    const QString server = EntryText(*lstComputers, lstComputers->currentRow());
    if (server.isEmpty()) {
        MsgBox(QStringLiteral("you forgot to select a computer from the list."));
        return;
    }
    if (!AnySelected()) {
        MsgBox(QStringLiteral("You forgot to select one or more computers from the list."));
        return;
    }
    if (txtJobID->text().isEmpty()) {
        MsgBox(QStringLiteral("You forgot to specify a Job ID.\r\nPlease try again."));
        txtJobID->setFocus();
        return;
    }
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const QString jobId = txtJobID->text().trimmed();
    if (!digits.match(jobId).hasMatch()) {
        MsgBox(QStringLiteral("A job ID is a whole number, such as 3: the number in the ID column "
                              "of the job list.\r\nPlease try again."),
               MsgStyle::Exclamation);
        return;
    }
    const auto command = AtDeleteCommand(server, jobId);
    if (!command) {
        RefuseServerName(server);
        return;
    }
    const QString where = QStringLiteral(" on computer \\\\") + server;
    const int answer = m_services.dialogs.MsgBox(
        QStringLiteral("You are about to remove job ID ") + jobId + where +
            QStringLiteral("\r\nAre you sure you want to do this?"),
        MsgStyle::YesNo | MsgStyle::Exclamation | MsgStyle::DefaultButton2,
        QStringLiteral("Remove Scheduled Job From \\\\") + server + QLatin1Char('?'));
    if (answer != MsgAnswer::Yes) {
        return;
    }
    const RunResult result = RunAndWait(*command);
    if (!result.started) {
        MsgBox(ToolNotStarted(result), MsgStyle::Exclamation);
    } else if (result.ended && result.exitStatus == 0) {
        MsgBox(QStringLiteral("Job ID ") + jobId + where +
               QStringLiteral(" was successfully removed."));
    } else {
        MsgBox(QStringLiteral("Job ID ") + jobId + where + QStringLiteral(" could not be removed."),
               MsgStyle::Exclamation);
    }
}

} // namespace corvane
