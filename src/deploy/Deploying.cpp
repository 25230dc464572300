// Deploy to All / Selected Servers: every file of the deploy list copied into the deploy path of
// each server, through its administrative share, with the folders on the way created first.
#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "deploy/AdminShare.h"
#include "persist/TextFile.h"
#include "platform/Dialogs.h"
#include "runner/ServerName.h"

#include <QComboBox>
#include <QListWidget>
#include <string>
#include <vector>

namespace corvane {

// What went wrong on one server, for the report at the end; empty when all went well.
struct frmMain::ServerOutcome {
    QString problem; // the server was not worked on at all, and why
    int notCopied = 0;
    QString firstReason;

    void NotCopied(const QString& reason) {
        if (notCopied++ == 0) {
            firstReason = reason;
        }
    }
};

// The deploy list in the file system's spelling, made once per run and kept in step with the list
// boxes: the copies of a run are too many to convert each path for each server.
struct frmMain::DeploySources {
    std::vector<std::string> paths;
    std::vector<std::string> tails; // a separator and the file name
};

namespace {

const QString kNameNotForServers =
    QStringLiteral("the file name holds a character that no server's file name may hold");

frmMain::DeploySources SourcesOf(const QListWidget& fullPaths) {
    frmMain::DeploySources sources;
    for (int i = 0; i < fullPaths.count(); ++i) {
        const QString from = EntryText(fullPaths, i);
        sources.paths.push_back(PathBytes(from));
        sources.tails.push_back(PathBytes(QLatin1Char('\\') + FileNameOf(from)));
    }
    return sources;
}

QString ReportLine(const QString& server, const frmMain::ServerOutcome& outcome, int files) {
    if (!outcome.problem.isEmpty()) {
        return server + QStringLiteral(": ") + outcome.problem;
    }
    return QStringLiteral("%1: %2 of %3 file(s) not copied (%4)")
        .arg(server)
        .arg(outcome.notCopied)
        .arg(files)
        .arg(outcome.firstReason);
}

} // namespace

void frmMain::cmdDeployAll_Click() {
    DeployFiles(false);
}

void frmMain::cmdDeploySelected_Click() {
    DeployFiles(true);
}

void frmMain::DeployFiles(bool selectedOnly) {
    if (IsBusy()) {
        SetIdleStatus();
        return;
    }
    if (selectedOnly && !CheckSelection()) {
        SetIdleStatus();
        return;
    }
    if (EntryText(*lstDeployables, 0).isEmpty()) {
        MsgBox(QStringLiteral("You haven't selected any files to deploy!"));
        SetIdleStatus();
        return;
    }
    const QString deployPath = cboDeployPath->currentText();
    if (deployPath.isEmpty()) {
        MsgBox(QStringLiteral("There is no Deploy Path Specified.\r\nType a path in the field and "
                              "try again."));
        SetIdleStatus();
        return;
    }
    // Only a drive with an administrative share leads anywhere; anything else would copy into
    // the server's share list or beyond it.
    if (!IsSupportedDeployPath(deployPath)) {
        MsgBox(kUnsupportedDeployPath);
        SetIdleStatus();
        return;
    }
    SetBusy(true);
    QString question = QStringLiteral("You are about to deploy ALL files on the deploy list\r\n");
    if (selectedOnly) {
        question += QStringLiteral("to ONLY the SELECTED computers on the computer list\r\n");
    }
    question += QStringLiteral("Are you sure you want to do this?");
    const int answer = m_services.dialogs.MsgBox(
        question, MsgStyle::YesNo | MsgStyle::Exclamation | MsgStyle::DefaultButton2,
        QStringLiteral("Deploy Files"));
    if (answer == MsgAnswer::Yes) {
        RememberDeployPath();
        SetStatus(StatusColour::Busy, QStringLiteral("Deploying"));
        repaint();
        QStringList report;
        DeploySources sources = SourcesOf(*lstDeployables);
        const BatchScope batch(m_services.files);
        for (const QString& server : TargetServers(selectedOnly)) {
            const ServerOutcome outcome = DeployToServer(server, deployPath, sources);
            if (!outcome.problem.isEmpty() || outcome.notCopied > 0) {
                report << ReportLine(server, outcome, lstDeployables->count());
            }
        }
        if (!EntryText(*lstComputers, 0).isEmpty()) {
            SetStatus(StatusColour::Done, QStringLiteral("Done!"));
            if (report.isEmpty()) {
                MsgBox(QStringLiteral("Files were successfully deployed!"));
            } else {
                MsgBox(QStringLiteral("The files could not be deployed everywhere:\r\n") +
                           ListBlock(report),
                       MsgStyle::Exclamation);
            }
        } else {
            MsgBox(QStringLiteral("You don't have any servers in your list to deploy to!"));
        }
    }
    SetBusy(false);
    SetIdleStatus();
}

frmMain::ServerOutcome frmMain::DeployToServer(const QString& server, const QString& deployPath,
                                               DeploySources& sources) {
    m_state.CurrentServer = server;
    ServerOutcome outcome;
    if (!IsSafeServerName(server)) {
        outcome.problem = QStringLiteral("not a usable server name");
        return outcome;
    }
    const QString root = AdminShareRoot(server, deployPath);
    QString target = ToAdminSharePath(server, deployPath);
    if (target.endsWith(QLatin1Char('\\'))) {
        target.chop(1);
    }
    const QString relative = target.mid(root.size() + 1);

    // Each level of the path, created where it is missing: Apps, then Apps\Bin.
    const QString padded = relative + QLatin1Char('\\');
    qsizetype k = 0;
    do {
        k = padded.indexOf(QLatin1Char('\\'), k) + 1;
        const std::string directory = PathBytes(root + QLatin1Char('\\') + padded.left(k - 1));
        const SearchResult found = m_services.files.Search(directory, true);
        if (found.result.error == kBadFileName) {
            // Said once; the server's other folders and files would only wait for it again.
            MsgBox(QStringLiteral("Unable to communicate to server ") + server +
                   QStringLiteral("\r\nThe server is either offline or unreachable at this time."));
            outcome.problem = QStringLiteral("unreachable");
            return outcome;
        }
        if (found.name.empty()) {
            // A folder that cannot be made is said by the copies into it, file by file.
            static_cast<void>(m_services.files.CreateDirectory(directory));
        }
    } while (k < relative.size());

    const std::string nativeTarget = PathBytes(target);
    std::string destination;
    for (int i = 0; i < static_cast<int>(sources.paths.size()); ++i) {
        destination.assign(nativeTarget).append(sources.tails[i]);
        const FileResult copied = m_services.files.CopyFile(sources.paths[i], destination);
        if (copied.ok()) {
            continue;
        }
        if (!FileExists(EntryText(*lstDeployables, i))) {
            MsgBox(QStringLiteral("The file '") + EntryText(*lstDeployables2, i) +
                   QStringLiteral("' is no longer pointing to a valid local file\r\nand will be "
                                  "removed from the deploylist box.\r\n\r\nIt will NOT be "
                                  "deployed to the target computer(s)."));
            delete lstDeployables2->takeItem(i);
            delete lstDeployables->takeItem(i);
            sources.paths.erase(sources.paths.begin() + i);
            sources.tails.erase(sources.tails.begin() + i);
            --i;
        } else if (HoldsUnusableCharacter(FileNameOf(EntryText(*lstDeployables, i)))) {
            // A local name may hold what no server's file name can; the server is not to blame.
            outcome.NotCopied(kNameNotForServers);
        } else if (copied.error == kBadFileName) {
            outcome.problem = QStringLiteral("unreachable");
            return outcome;
        } else {
            outcome.NotCopied(ReasonText(copied));
        }
    }
    return outcome;
}

} // namespace corvane
