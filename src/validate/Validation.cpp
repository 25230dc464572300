// Validate List: probes every server with the job listing and offers to drop the unreachable and
// the access-denied ones.
#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "persist/ListFiles.h"
#include "persist/TextFile.h"
#include "platform/Dialogs.h"
#include "runner/AtCommands.h"
#include "runner/CaptureFile.h"

#include <QListWidget>

namespace corvane {
namespace {

const QString kUnavailableFile = QStringLiteral("unavailable.top");
const QString kAccessDeniedFile = QStringLiteral("accessdenied.top");
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

void frmMain::RemoveEveryEntry(const QStringList& names) {
    SetBusy(true);
    SetStatus(StatusColour::Busy, QStringLiteral("Removing"));
    for (const QString& name : names) {
        for (int i = lstComputers->count() - 1; i >= 0; --i) {
            if (lstComputers->item(i)->text() == name) {
                delete lstComputers->takeItem(i);
            }
        }
    }
}

void frmMain::cmdValidate_Click() {
    if (IsBusy() || AppDirRefused()) {
        return;
    }
    const int start = m_services.dialogs.MsgBox(
        QStringLiteral("You are about to validate the availability of all \r\ncomputers on the "
                       "computer list.\r\n\r\nFor a large list of computers, this could take some "
                       "time.\r\nAre you sure you want to do this?"),
        kPromptStyle, QStringLiteral("Validate Availability?"));
    if (start != MsgAnswer::Yes) {
        SetBusy(false);
        SetIdleStatus();
        return;
    }
    SetBusy(true);
    SetStatus(StatusColour::Busy, QStringLiteral("Validating"));
    FileSystem& fs = m_services.files;
    const QString unavailablePath = AppDir() + kUnavailableFile;
    const QString deniedPath = AppDir() + kAccessDeniedFile;
    // The result files must say what this run found, or the run stops and says why.
    const auto written = [this](const QString& path, const FileResult& result) {
        if (result.ok()) {
            return true;
        }
        MsgBox(QStringLiteral("Corvane could not write the result file %1:\r\n%2\r\n\r\nThe "
                              "validation was stopped; the computer list was not changed.")
                   .arg(path, ReasonText(result)),
               MsgStyle::Exclamation);
        SetBusy(false);
        SetIdleStatus();
        return false;
    };
    for (const QString& path : {unavailablePath, deniedPath}) {
        const FileResult deleted = fs.DeleteFile(PathBytes(path));
        if (deleted.error != kFileNotFound && !written(path, deleted)) {
            return;
        }
    }

    // The names found are kept as probed, so that the removal takes exactly those.
    QStringList unavailable;
    QStringList denied;
    for (const QString& server : TargetServers(false)) {
        QString verdict = kNotFoundPhrase; // a name that cannot be probed safely is unusable
        if (const auto command = AtProbeCommand(server)) {
            const RunResult result = RunAndWait(*command, kScheduleCapture);
            if (!result.started) {
                MsgBox(QStringLiteral("Corvane could not start the AT tool (at.exe), so it cannot "
                                      "tell which servers are available:\r\n") +
                           result.error +
                           QStringLiteral("\r\nThe validation was stopped; the computer list was "
                                          "not changed."),
                       MsgStyle::Exclamation);
                SetBusy(false);
                SetIdleStatus();
                return;
            }
            verdict = FirstCapturedItem(fs, AppDir() + kScheduleCapture);
        }
        const bool notFound = verdict == kNotFoundPhrase;
        if (notFound || verdict == kDeniedPhrase) {
            (notFound ? unavailable : denied) << server;
            const QString& path = notFound ? unavailablePath : deniedPath;
            if (!written(path, fs.AppendLine(PathBytes(path), ToNative(QuoteListEntry(server))))) {
                return;
            }
        }
    }
    // Both files are there after a run, if only empty.
    for (const QString& path : {unavailablePath, deniedPath}) {
        const SearchResult found = fs.Search(PathBytes(path), false);
        if (!written(path, found.name.empty() && found.result.ok()
                               ? fs.CreateEmptyFile(PathBytes(path))
                               : found.result)) {
            return;
        }
    }

    SetStatus(StatusColour::Done, QStringLiteral("Done!"));
    if (!unavailable.isEmpty()) {
        if (m_services.dialogs.MsgBox(
                QStringLiteral("The following servers are offline or unavailable: \r\n\r\n") +
                    NameBlock(unavailable) +
                    QStringLiteral("\r\nWould you like to remove these from the computer list?"),
                kPromptStyle,
                QStringLiteral("The network paths were not found.")) == MsgAnswer::Yes) {
            RemoveEveryEntry(unavailable);
        }
    } else {
        MsgBox(QStringLiteral("All servers in the list are available!"));
    }
    if (!denied.isEmpty()) {
        if (m_services.dialogs.MsgBox(
                QStringLiteral("The currently logged on user account does not have "
                               "sufficient\r\nrights to schedule jobs on the following "
                               "computers:\r\n\r\n") +
                    NameBlock(denied) +
                    QStringLiteral("\r\nWould you like to remove these from the computer list?"),
                kPromptStyle, QStringLiteral("Access Denied!")) == MsgAnswer::Yes) {
            RemoveEveryEntry(denied);
        }
    }
    SetBusy(false);
    SetIdleStatus();
}

} // namespace corvane
