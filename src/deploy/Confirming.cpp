// Confirm Existance on All / Selected: tests the deploy path and each deploy-list file on the
// servers' administrative shares, writes report.top and shows it in the report window.
#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "deploy/AdminShare.h"
#include "deploy/frmReport.h"
#include "persist/TextFile.h"
#include "platform/Dialogs.h"
#include "runner/ServerName.h"

#include <QComboBox>
#include <QListWidget>

namespace corvane {
namespace {

const QString kReportFile = QStringLiteral("report.top");
const QString kFound = QStringLiteral("  DOES exist!");
const QString kMissing = QStringLiteral("  does NOT exist!");

// report.top, emptied once per run and then appended to line by line. The first failure is kept
// and every later write is skipped, so the run can stop and say why.
class ReportFile {
public:
    ReportFile(FileSystem& files, const QString& path) : m_files(files), m_path(path) {}

    bool Empty() { return Keep(m_files.CreateEmptyFile(ToNative(m_path))); }
    bool Append(const QString& line) {
        return m_failure.ok() && Keep(m_files.AppendLine(ToNative(m_path), ToNative(line)));
    }
    const FileResult& failure() const { return m_failure; }
    const QString& path() const { return m_path; }

private:
    bool Keep(FileResult result) {
        m_failure = std::move(result);
        return m_failure.ok();
    }

    FileSystem& m_files;
    QString m_path;
    FileResult m_failure;
};

QString ResultLine(bool found, const QString& path) {
    return (found ? QStringLiteral("+  ") : QStringLiteral("-  ")) + path +
           (found ? kFound : kMissing);
}

} // namespace

frmReport* frmMain::Report() const {
    return m_report;
}

void frmMain::cmdConfirmAll_Click() {
    ConfirmRun(false);
}

void frmMain::cmdConfirmSel_Click() {
    ConfirmRun(true);
}

void frmMain::ConfirmRun(bool selectedOnly) {
    if (IsBusy()) {
        SetIdleStatus();
        return;
    }
    const auto end = [this] {
        SetBusy(false);
        SetIdleStatus();
    };
    if (selectedOnly && !CheckSelection()) {
        SetIdleStatus();
        return;
    }

    // The file name of each entry; an empty name stands for the server directory itself.
    QStringList fileNames;
    for (int i = 0; !EntryText(*lstDeployables, i).isEmpty(); ++i) {
        fileNames << FileNameOf(EntryText(*lstDeployables, i));
    }
    if (fileNames.isEmpty()) {
        const QString targets = selectedOnly
                                    ? QStringLiteral("specified above exists on the selected "
                                                     "target servers.")
                                    : QStringLiteral("specified above exists on all target "
                                                     "servers.");
        const int answer = m_services.dialogs.MsgBox(
            QStringLiteral("You don't have any files listed in the deployment box!\r\n"
                           "I can still check to see if the deployment path\r\n") +
                targets + QStringLiteral("\r\nDo you want me to do this?"),
            MsgStyle::YesNo | MsgStyle::Exclamation | MsgStyle::DefaultButton2,
            QStringLiteral("Confirm Existance"));
        if (answer != MsgAnswer::Yes) {
            end();
            return;
        }
    }
    const QString deployPath = cboDeployPath->currentText();
    if (deployPath.isEmpty()) {
        MsgBox(QStringLiteral("There is no Deploy Path Specified.\r\nType a path in the field and "
                              "try again."));
        end();
        return;
    }
    // Only C$ to G$ are administrative shares of a server's own disks; any other path would be
    // tested somewhere else than where the files were deployed.
    if (!IsSupportedDeployPath(deployPath)) {
        MsgBox(kUnsupportedDeployPath);
        end();
        return;
    }

    SetBusy(true);
    SetStatus(StatusColour::Busy, QStringLiteral("Checking"));
    repaint();
    RememberDeployPath();
    ReportFile report(m_services.files, AppDir() + kReportFile);
    const QString separator = selectedOnly ? QString() : QStringLiteral(" ");
    bool written = report.Empty();
    for (const QString& server : TargetServers(selectedOnly)) {
        if (!written) {
            break;
        }
        m_state.CurrentServer = server;
        m_state.ServerUnreachable = false;
        // A name that could lead the path off the server's shares is not looked up at all.
        if (!IsSafeServerName(server)) {
            written = report.Append(QStringLiteral("-  ") + server +
                                    QStringLiteral("  is not a usable server name")) &&
                      report.Append(separator);
            continue;
        }
        const QString directory = ToAdminSharePath(server, deployPath);
        const bool dirFound = DirExists(directory);
        written = report.Append(ResultLine(dirFound, directory + QLatin1Char('\\')));
        // An unreachable server answers no further test; its remaining files get no lines.
        bool reachable = dirFound || !m_state.ServerUnreachable;
        for (int f = 0; written && reachable && f < fileNames.size(); ++f) {
            const QString path =
                fileNames[f].isEmpty() ? directory : directory + QLatin1Char('\\') + fileNames[f];
            const bool found = DirExists(path);
            written = report.Append(ResultLine(found, path));
            reachable = found || !m_state.ServerUnreachable;
        }
        m_state.ServerUnreachable = false;
        written = written && report.Append(separator);
    }
    if (!written) {
        MsgBox(QStringLiteral("Corvane could not write the report file %1:\r\n%2\r\n\r\nThe check "
                              "was stopped, so no report is shown.")
                   .arg(report.path(), ReasonText(report.failure())),
               MsgStyle::Exclamation);
        end();
        return;
    }

    if (!selectedOnly && EntryText(*lstComputers, 0).isEmpty()) {
        MsgBox(QStringLiteral("You don't have any servers in your list to check!"));
    } else {
        SetStatus(StatusColour::Done, QStringLiteral("Done!"));
        if (m_report == nullptr) {
            m_report = new frmReport(*this, m_services.files, AppDir() + kReportFile);
        }
        m_services.dialogs.ShowModal(*m_report);
    }
    end();
}

} // namespace corvane
