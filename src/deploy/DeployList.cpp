// The deploy list's buttons: Add File(s), Remove File(s) and Clear List. lstDeployables holds the
// full paths and stays hidden; lstDeployables2 shows entry for entry the file names.
#include "deploy/DeployList.h"

#include "app/Host.h"
#include "app/ListHelpers.h"
#include "persist/AppFiles.h"
#include "persist/ListFiles.h"
#include "persist/TextFile.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QListWidget>
#include <algorithm>

namespace corvane {
namespace {

const QString kPickFilter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|"
                                           "INI Files (*.ini)|*.ini|"
                                           "Images (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif");

// The folder part of a path: without its last separator, except at a root (C:\ or /).
QString FolderOf(const QString& path) {
    QString folder = path.left(path.size() - FileNameOf(path).size());
    if (folder.size() > 1 && !folder.endsWith(QStringLiteral(":\\"))) {
        folder.chop(1);
    }
    return folder;
}

} // namespace

DeployList::DeployList(Host& host, DeployControls controls) : m_host(host), m_controls(controls) {}

void DeployList::cmdAddDeployables_Click() {
    if (m_host.IsBusy()) {
        return;
    }
    m_host.SetStatus(StatusColour::Waiting, QStringLiteral("Adding Files"));
    const QStringList parts = GetFiles(QStringLiteral("Open files...")).split(QChar(0));
    QStringList paths;
    if (parts.size() >= 2) {
        // Several files picked: they replace the whole list.
        for (qsizetype k = 1; k < parts.size(); ++k) {
            paths << parts.front() + QDir::separator() + parts[k];
        }
    } else if (!parts.front().isEmpty()) {
        paths = Entries(m_controls.lstDeployables) << parts.front();
    } else {
        paths = Entries(m_controls.lstDeployables);
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

    m_controls.lstDeployables.clear();
    m_controls.lstDeployables.addItems(paths);
    m_controls.lstDeployables2.clear();
    for (const QString& path : paths) {
        m_controls.lstDeployables2.addItem(FileNameOf(path));
    }
    if (!refused.isEmpty()) {
        m_host.MsgBox(
            QStringLiteral("A file whose name holds a double quote (\") or a control character "
                           "cannot stand on the deploy list; these were left out:\r\n") +
                ListBlock(refused),
            MsgStyle::Exclamation);
    }
    if (leftOut > 0) {
        m_host.MsgBox(
            QStringLiteral("The deploy list holds at most %1 files; the last %2 were left out.")
                .arg(kMaxListEntries)
                .arg(leftOut),
            MsgStyle::Exclamation);
    }
    m_host.SetIdleStatus();
}

void DeployList::cmdRemoveDeployables_Click() {
    if (m_host.IsBusy()) {
        return;
    }
    if (m_controls.lstDeployables.count() == 0) {
        m_host.MsgBox(QStringLiteral("There are no files on the deploy list to remove!"));
    } else if (m_controls.lstDeployables2.selectedItems().isEmpty()) {
        m_host.MsgBox(
            QStringLiteral("you forgot to select one or more\r\nfiles to remove from the list."));
    } else {
        // The two lists stay aligned: entry i of one belongs to entry i of the other.
        for (int i = 0; i < m_controls.lstDeployables.count();) {
            if (m_controls.lstDeployables2.item(i)->isSelected()) {
                delete m_controls.lstDeployables2.takeItem(i);
                delete m_controls.lstDeployables.takeItem(i);
            } else {
                ++i;
            }
        }
        const FileResult r =
            m_host.SaveStateList(kDeployListFile, Entries(m_controls.lstDeployables));
        if (!r.ok()) {
            m_host.MsgBox(QStringLiteral("Corvane could not save the deploy list to %1:\r\n%2")
                              .arg(m_host.AppDir() + kDeployListFile, ReasonText(r)),
                          MsgStyle::Exclamation);
        }
    }
    // The list file is always there after a Remove, if only empty.
    CreateIfMissing(m_host.Platform().files, m_host.AppDir() + kDeployListFile);
}

void DeployList::cmdClearDeploy_Click() {
    if (m_host.IsBusy()) {
        return;
    }
    m_controls.lstDeployables.clear();
    m_controls.lstDeployables2.clear();
}

QString DeployList::GetFiles(const QString& sTitle) {
    const QStringList picked = m_host.Platform().dialogs.GetOpenFileNames(sTitle, kPickFilter);
    if (picked.size() <= 1) {
        return picked.value(0);
    }
    // Several files, all in one folder: the folder, then each name, NUL between them.
    QStringList parts{FolderOf(picked.front())};
    for (const QString& path : picked) {
        parts << FileNameOf(path);
    }
    return parts.join(QChar(0));
}

} // namespace corvane
