// The deploy list's buttons: Add File(s), Remove File(s) and Clear List. lstDeployables holds the
// full paths and stays hidden; lstDeployables2 shows entry for entry the file names.
#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "persist/ListFiles.h"
#include "persist/TextFile.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QListWidget>
#include <algorithm>

namespace corvane {
namespace {

const QString kDeployListFile = QStringLiteral("filelist.txt");

} // namespace

void frmMain::cmdAddDeployables_Click() {
    if (IsBusy()) {
        return;
    }
    SetStatus(StatusColour::Waiting, QStringLiteral("Adding Files"));
    const QStringList parts = GetFiles(QStringLiteral("Open files...")).split(QChar(0));
    QStringList paths;
    if (parts.size() >= 2) {
        // Several files picked: they replace the whole list.
        for (qsizetype k = 1; k < parts.size(); ++k) {
            paths << parts.front() + QDir::separator() + parts[k];
        }
    } else if (!parts.front().isEmpty()) {
        paths = Entries(*lstDeployables) << parts.front();
    } else {
        paths = Entries(*lstDeployables);
    }
    // The list file cannot hold a double quote or a line break (nor any other control
    // character), and Corvane works with at most 1000 entries.
    QStringList refused;
    paths.removeIf([&refused](const QString& path) {
        if (FitsListFile(path)) {
            return false;
        }
        refused << ShownEntry(path);
        return true;
    });
    const qsizetype leftOut = std::max<qsizetype>(paths.size() - kMaxListEntries, 0);
    paths.resize(paths.size() - leftOut);

    lstDeployables->clear();
    lstDeployables->addItems(paths);
    lstDeployables2->clear();
    for (const QString& path : paths) {
        lstDeployables2->addItem(FileNameOf(path));
    }
    if (!refused.isEmpty()) {
        MsgBox(QStringLiteral("A file whose name holds a double quote (\") or a control character "
                              "cannot stand on the deploy list; these were left out:\r\n") +
                   ListBlock(refused),
               MsgStyle::Exclamation);
    }
    if (leftOut > 0) {
        MsgBox(QStringLiteral("The deploy list holds at most %1 files; the last %2 were left out.")
                   .arg(kMaxListEntries)
                   .arg(leftOut),
               MsgStyle::Exclamation);
    }
    SetIdleStatus();
}

void frmMain::cmdRemoveDeployables_Click() {
    if (IsBusy()) {
        return;
    }
    if (lstDeployables->count() == 0) {
        MsgBox(QStringLiteral("There are no files on the deploy list to remove!"));
    } else if (lstDeployables2->selectedItems().isEmpty()) {
        MsgBox(
            QStringLiteral("you forgot to select one or more\r\nfiles to remove from the list."));
    } else {
        // The two lists stay aligned: entry i of one belongs to entry i of the other.
        for (int i = 0; i < lstDeployables->count();) {
            if (lstDeployables2->item(i)->isSelected()) {
                delete lstDeployables2->takeItem(i);
                delete lstDeployables->takeItem(i);
            } else {
                ++i;
            }
        }
        // A list that could not be read at start-up is left as it is, as was said then.
        const FileResult r =
            LeftAsItIs(kDeployListFile)
                ? FileResult{}
                : WriteListFile(m_services.files, AppDir() + kDeployListFile,
                                Entries(*lstDeployables), EncodingOf(kDeployListFile));
        if (!r.ok()) {
            MsgBox(QStringLiteral("Corvane could not save the deploy list to %1:\r\n%2")
                       .arg(AppDir() + kDeployListFile, ReasonText(r)),
                   MsgStyle::Exclamation);
        }
    }
    // The list file is always there after a Remove, if only empty.
    CreateIfMissing(m_services.files, AppDir() + kDeployListFile);
}

void frmMain::cmdClearDeploy_Click() {
    if (IsBusy()) {
        return;
    }
    lstDeployables->clear();
    lstDeployables2->clear();
}

} // namespace corvane
