// Deploy to All / Selected Servers: every file of the deploy list copied into the deploy path of
// each server, through its administrative share, with the folders on the way created first.
#include "deploy/Deploying.h"

#include "app/Host.h"
#include "app/ListHelpers.h"
#include "app/ServerRun.h"
#include "deploy/AdminShare.h"
#include "deploy/FileChecks.h"
#include "persist/History.h"
#include "persist/TextFile.h"
#include "platform/Dialogs.h"
#include "runner/ServerName.h"

#include <QComboBox>
#include <QListWidget>
#include <string>
#include <vector>

namespace corvane {

// What went wrong on one server, for the report at the end; empty when all went well.
struct Deploying::ServerOutcome {
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
struct Deploying::Sources {
    std::vector<std::string> paths;
    std::vector<std::string> tails; // a separator and the file name
};

namespace {

const QString kNameNotForServers =
    QStringLiteral("the file name holds a character that no server's file name may hold");

Deploying::Sources SourcesOf(const QListWidget& fullPaths) {
    Deploying::Sources sources;
    for (int i = 0; i < fullPaths.count(); ++i) {
        const QString from = EntryText(fullPaths, i);
        sources.paths.push_back(PathBytes(from));
        sources.tails.push_back(PathBytes(QLatin1Char('\\') + FileNameOf(from)));
    }
    return sources;
}

QString ReportLine(const QString& server, const Deploying::ServerOutcome& outcome, int files) {
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

Deploying::Deploying(Host& host, DeployControls controls) : m_host(host), m_controls(controls) {}

void Deploying::cmdDeployAll_Click() {
    DeployFiles(false);
}

void Deploying::cmdDeploySelected_Click() {
    DeployFiles(true);
}

bool Deploying::MayDeploy(const QString& deployPath, bool selectedOnly) {
    if (EntryText(m_controls.lstDeployables, 0).isEmpty()) {
        m_host.MsgBox(QStringLiteral("You haven't selected any files to deploy!"));
        return false;
    }
    if (deployPath.isEmpty()) {
        m_host.MsgBox(kNoDeployPath);
        return false;
    }
    // Only a drive with an administrative share leads anywhere; anything else would copy into
    // the server's share list or beyond it.
    if (!IsSupportedDeployPath(deployPath)) {
        m_host.MsgBox(kUnsupportedDeployPath);
        return false;
    }
    m_host.SetBusy(true);
    QString question = QStringLiteral("You are about to deploy ALL files on the deploy list\r\n");
    if (selectedOnly) {
        question += QStringLiteral("to ONLY the SELECTED computers on the computer list\r\n");
    }
    question += QStringLiteral("Are you sure you want to do this?");
    return m_host.Platform().dialogs.MsgBox(
               question, MsgStyle::YesNo | MsgStyle::Exclamation | MsgStyle::DefaultButton2,
               QStringLiteral("Deploy Files")) == MsgAnswer::Yes;
}

void Deploying::DeployFiles(bool selectedOnly) {
    ServerRun run(m_host);
    const QString deployPath = m_controls.cboDeployPath.currentText();
    if (!run.Open({.selectedOnly = selectedOnly}) || !MayDeploy(deployPath, selectedOnly)) {
        return;
    }
    RememberText(m_controls.cboDeployPath);
    run.Begin(QStringLiteral("Deploying"));
    QStringList report;
    Sources sources = SourcesOf(m_controls.lstDeployables);
    const BatchScope batch(m_host.Platform().files);
    for (const QString& server : m_host.TargetServers(selectedOnly)) {
        const ServerOutcome outcome = DeployToServer(server, deployPath, sources);
        if (!outcome.problem.isEmpty() || outcome.notCopied > 0) {
            report << ReportLine(server, outcome, m_controls.lstDeployables.count());
        }
    }
    if (!m_host.HasServers()) {
        m_host.MsgBox(QStringLiteral("You don't have any servers in your list to deploy to!"));
        return;
    }
    run.Done();
    if (report.isEmpty()) {
        m_host.MsgBox(QStringLiteral("Files were successfully deployed!"));
    } else {
        m_host.MsgBox(QStringLiteral("The files could not be deployed everywhere:\r\n") +
                          ListBlock(report),
                      MsgStyle::Exclamation);
    }
}

bool Deploying::MakeFolders(const QString& server, const QString& root, const QString& relative) {
    // Each level of the path, created where it is missing: Apps, then Apps\Bin.
    const QString padded = relative + QLatin1Char('\\');
    qsizetype k = 0;
    do {
        k = padded.indexOf(QLatin1Char('\\'), k) + 1;
        const std::string directory = PathBytes(root + QLatin1Char('\\') + padded.left(k - 1));
        const SearchResult found = m_host.Platform().files.Search(directory, true);
        if (found.result.error == kBadFileName) {
            // Said once; the server's other folders and files would only wait for it again.
            m_host.MsgBox(UnreachableServerText(server));
            return false;
        }
        if (found.name.empty()) {
            // A folder that cannot be made is said by the copies into it, file by file.
            static_cast<void>(m_host.Platform().files.CreateDirectory(directory));
        }
    } while (k < relative.size());
    return true;
}

Deploying::ServerOutcome Deploying::DeployToServer(const QString& server, const QString& deployPath,
                                                   Sources& sources) {
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

    if (!MakeFolders(server, root, relative)) {
        outcome.problem = QStringLiteral("unreachable");
        return outcome;
    }

    // The copies may run several at once; the deploy list is left as it is until they end.
    const std::string nativeTarget = PathBytes(target);
    std::vector<std::string> destinations;
    destinations.reserve(sources.tails.size());
    for (const std::string& tail : sources.tails) {
        destinations.push_back(nativeTarget + tail);
    }
    std::vector<int> gone;
    m_host.Platform().files.CopyFiles(
        sources.paths, destinations, [&](std::size_t i, const FileResult& copied) {
            return TakeResult(static_cast<int>(i), copied, outcome, gone);
        });
    // The entries no longer pointing to a local file, last first so that the rows stay put.
    for (auto row = gone.rbegin(); row != gone.rend(); ++row) {
        delete m_controls.lstDeployables2.takeItem(*row);
        delete m_controls.lstDeployables.takeItem(*row);
        sources.paths.erase(sources.paths.begin() + *row);
        sources.tails.erase(sources.tails.begin() + *row);
    }
    return outcome;
}

bool Deploying::TakeResult(int row, const FileResult& copied, ServerOutcome& outcome,
                           std::vector<int>& gone) {
    if (copied.ok()) {
        return true;
    }
    if (!FileExists(m_host.Platform().files, EntryText(m_controls.lstDeployables, row))) {
        m_host.MsgBox(QStringLiteral("The file '") + EntryText(m_controls.lstDeployables2, row) +
                      QStringLiteral("' is no longer pointing to a valid local file\r\nand will be "
                                     "removed from the deploylist box.\r\n\r\nIt will NOT be "
                                     "deployed to the target computer(s)."));
        gone.push_back(row);
    } else if (HoldsUnusableCharacter(FileNameOf(EntryText(m_controls.lstDeployables, row)))) {
        // A local name may hold what no server's file name can; the server is not to blame.
        outcome.NotCopied(kNameNotForServers);
    } else if (copied.error == kBadFileName) {
        outcome.problem = QStringLiteral("unreachable");
        return false;
    } else {
        outcome.NotCopied(ReasonText(copied));
    }
    return true;
}

} // namespace corvane
