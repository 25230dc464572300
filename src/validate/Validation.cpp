// Validate List: probes every server with the job listing and offers to drop the unreachable and
// the access-denied ones.
#include "validate/Validation.h"

#include "app/Host.h"
#include "app/ServerRun.h"
#include "persist/AppFiles.h"
#include "persist/ListFiles.h"
#include "persist/TextFile.h"
#include "platform/Dialogs.h"
#include "runner/AtCommands.h"
#include "runner/CaptureFile.h"

#include <QListWidget>

namespace corvane {
namespace {

const QString kNotFoundPhrase = QStringLiteral("The network path was not found.");
const QString kDeniedPhrase = QStringLiteral("Access is denied.");
constexpr int kPromptStyle = MsgStyle::YesNo | MsgStyle::Exclamation | MsgStyle::DefaultButton2;

// Every name followed by a line break, so the block ends in an empty line before the question.
QString NameBlock(const QStringList& names) {
    QString block;
    for (const QString& name : names) {
        block += name + QStringLiteral("\r\n");
    }
    return block;
}

} // namespace

Validation::Validation(Host& host, QListWidget& lstComputers)
    : m_host(host), m_lstComputers(lstComputers) {}

void Validation::RemoveEveryEntry(const QStringList& names) {
    m_host.SetBusy(true);
    m_host.SetStatus(StatusColour::Busy, QStringLiteral("Removing"));
    for (const QString& name : names) {
        for (int i = m_lstComputers.count() - 1; i >= 0; --i) {
            if (m_lstComputers.item(i)->text() == name) {
                delete m_lstComputers.takeItem(i);
            }
        }
    }
}

bool Validation::Written(const QString& path, const FileResult& result) {
    if (result.ok()) {
        return true;
    }
    m_host.MsgBox(QStringLiteral("Corvane could not write the result file %1:\r\n%2\r\n\r\nThe "
                                 "validation was stopped; the computer list was not changed.")
                      .arg(path, ReasonText(result)),
                  MsgStyle::Exclamation);
    return false;
}

void Validation::cmdValidate_Click() {
    ServerRun run(m_host);
    if (!run.Open({.startsCommands = true, .idleWhenRefused = false})) {
        return;
    }
    const int start = m_host.Platform().dialogs.MsgBox(
        QStringLiteral("You are about to validate the availability of all \r\ncomputers on the "
                       "computer list.\r\n\r\nFor a large list of computers, this could take some "
                       "time.\r\nAre you sure you want to do this?"),
        kPromptStyle, QStringLiteral("Validate Availability?"));
    if (start != MsgAnswer::Yes) {
        return;
    }
    run.Begin(QStringLiteral("Validating"));
    Found found;
    if (!ProbeServers(found)) {
        return;
    }
    run.Done();
    ReportFound(found);
}

bool Validation::Probe(const QString& server, QString& verdict) {
    verdict = kNotFoundPhrase; // a name that cannot be probed safely is unusable
    const auto command = AtProbeCommand(server);
    if (!command) {
        return true;
    }
    const RunResult result = m_host.RunAndWait(*command, kScheduleCapture);
    if (!result.started) {
        m_host.MsgBox(QStringLiteral("Corvane could not start the AT tool (at.exe), so it cannot "
                                     "tell which servers are available:\r\n") +
                          result.error +
                          QStringLiteral("\r\nThe validation was stopped; the computer list was "
                                         "not changed."),
                      MsgStyle::Exclamation);
        return false;
    }
    verdict = FirstCapturedItem(m_host.Platform().files, m_host.AppDir() + kScheduleCapture);
    return true;
}

bool Validation::ProbeServers(Found& found) {
    FileSystem& fs = m_host.Platform().files;
    const QString unavailablePath = m_host.AppDir() + kUnavailableFile;
    const QString deniedPath = m_host.AppDir() + kAccessDeniedFile;
    // The result files must say what this run found, or the run stops and says why.
    for (const QString& path : {unavailablePath, deniedPath}) {
        const FileResult deleted = fs.DeleteFile(PathBytes(path));
        if (deleted.error != kFileNotFound && !Written(path, deleted)) {
            return false;
        }
    }
    // The names found are kept as probed, so that the removal takes exactly those.
    for (const QString& server : m_host.TargetServers(false)) {
        QString verdict;
        if (!Probe(server, verdict)) {
            return false;
        }
        const bool notFound = verdict == kNotFoundPhrase;
        if (notFound || verdict == kDeniedPhrase) {
            (notFound ? found.unavailable : found.denied) << server;
            const QString& path = notFound ? unavailablePath : deniedPath;
            if (!Written(path, fs.AppendLine(PathBytes(path), ToNative(QuoteListEntry(server))))) {
                return false;
            }
        }
    }
    // Both files are there after a run, if only empty.
    for (const QString& path : {unavailablePath, deniedPath}) {
        const SearchResult there = fs.Search(PathBytes(path), false);
        if (!Written(path, there.name.empty() && there.result.ok()
                               ? fs.CreateEmptyFile(PathBytes(path))
                               : there.result)) {
            return false;
        }
    }
    return true;
}

void Validation::ReportFound(const Found& found) {
    Dialogs& dialogs = m_host.Platform().dialogs;
    if (!found.unavailable.isEmpty()) {
        if (dialogs.MsgBox(
                QStringLiteral("The following servers are offline or unavailable: \r\n\r\n") +
                    NameBlock(found.unavailable) +
                    QStringLiteral("\r\nWould you like to remove these from the computer list?"),
                kPromptStyle,
                QStringLiteral("The network paths were not found.")) == MsgAnswer::Yes) {
            RemoveEveryEntry(found.unavailable);
        }
    } else {
        m_host.MsgBox(QStringLiteral("All servers in the list are available!"));
    }
    if (!found.denied.isEmpty()) {
        if (dialogs.MsgBox(
                QStringLiteral("The currently logged on user account does not have "
                               "sufficient\r\nrights to schedule jobs on the following "
                               "computers:\r\n\r\n") +
                    NameBlock(found.denied) +
                    QStringLiteral("\r\nWould you like to remove these from the computer list?"),
                kPromptStyle, QStringLiteral("Access Denied!")) == MsgAnswer::Yes) {
            RemoveEveryEntry(found.denied);
        }
    }
}

} // namespace corvane
