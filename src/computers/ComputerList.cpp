// The computer list's buttons: Add, Remove, Clear, Import and Export.
#include "computers/ComputerList.h"

#include "app/Host.h"
#include "app/ListHelpers.h"
#include "computers/frmAddComputer.h"
#include "persist/AppFiles.h"
#include "persist/ListFiles.h"
#include "persist/TextFile.h"
#include "platform/Dialogs.h"

#include <QListWidget>

namespace corvane {
namespace {

const QString kListFilter = QStringLiteral("Text (*.txt)|*.txt");

} // namespace

ComputerList::ComputerList(Host& host, QListWidget& lstComputers)
    : m_host(host), m_list(lstComputers) {}

bool ComputerList::Save() {
    const FileResult r = m_host.SaveStateList(kComputerListFile, Entries(m_list));
    if (!r.ok()) {
        m_host.MsgBox(QStringLiteral("Corvane could not save the computer list to %1:\r\n%2")
                          .arg(m_host.AppDir() + kComputerListFile, ReasonText(r)),
                      MsgStyle::Exclamation);
    }
    return r.ok();
}

void ComputerList::cmdAdd_Click() {
    if (m_host.IsBusy()) {
        return;
    }
    m_host.SetStatus(StatusColour::Waiting, QStringLiteral("Adding Computer"));
    frmAddComputer dialog(*this);
    m_host.Platform().dialogs.ShowModal(dialog);
    m_host.SetIdleStatus();
}

void ComputerList::cmdRemove_Click() {
    if (m_host.IsBusy()) {
        return;
    }
    if (EntryText(m_list, m_list.currentRow()).isEmpty()) {
        m_host.MsgBox(QStringLiteral("There are no servers on the list!"));
    } else if (m_list.selectedItems().isEmpty()) {
        m_host.MsgBox(
            QStringLiteral("you forgot to select one or more\r\nservers to remove from the "
                           "list."));
    } else {
        for (int i = 0; i < m_list.count();) {
            if (m_list.item(i)->isSelected()) {
                delete m_list.takeItem(i);
            } else {
                ++i;
            }
        }
        Save();
    }
    // The list file is always there after a Remove, if only empty.
    CreateIfMissing(m_host.Platform().files, m_host.AppDir() + kComputerListFile);
}

void ComputerList::cmdClear_Click() {
    if (m_host.IsBusy()) {
        return;
    }
    m_list.clear();
}

void ComputerList::cmdImport_Click() {
    if (m_host.IsBusy()) {
        return;
    }
    m_host.SetStatus(StatusColour::Waiting, QStringLiteral("Importing List"));
    if (const auto path =
            m_host.Platform().dialogs.GetOpenFileName(QStringLiteral("Import List"), kListFilter)) {
        // Read first, replace after: a file that cannot be read leaves the list as it was.
        ListItems list;
        const FileResult r = ReadListFile(m_host.Platform().files, *path, list);
        if (r.error == kPathNotFound) {
            m_host.HandleFileError(r.error, {});
        } else if (!r.ok()) {
            m_host.MsgBox(
                QStringLiteral("Corvane could not read the file %1:\r\n%2\r\nThe computer list "
                               "was not changed.")
                    .arg(*path, ReasonText(r)),
                MsgStyle::Exclamation);
        } else {
            QStringList refused;
            m_list.clear();
            for (const QString& server : list.items) {
                if (FitsListFile(server)) {
                    InsertSorted(m_list, server);
                } else {
                    refused << ShownEntry(server);
                }
            }
            if (!refused.isEmpty()) {
                m_host.MsgBox(
                    QStringLiteral("A computer name cannot hold a double quote (\") or a "
                                   "control character; these names in %1 were left out:\r\n")
                            .arg(*path) +
                        ListBlock(refused),
                    MsgStyle::Exclamation);
            }
            if (list.leftOut > 0) {
                m_host.MsgBox(
                    QStringLiteral("%1 holds more than %2 names. The first %2 were imported; "
                                   "%3 more were left out.")
                        .arg(*path)
                        .arg(kMaxListEntries)
                        .arg(list.leftOut),
                    MsgStyle::Exclamation);
            }
        }
    }
    m_host.SetIdleStatus();
}

void ComputerList::cmdExport_Click() {
    if (m_host.IsBusy()) {
        return;
    }
    m_host.SetStatus(StatusColour::Waiting, QStringLiteral("Exporting List"));
    if (const auto path =
            m_host.Platform().dialogs.GetSaveFileName(QStringLiteral("Export List"), kListFilter)) {
        const FileResult r = WriteListFile(m_host.Platform().files, *path, Entries(m_list));
        if (!r.ok()) {
            m_host.MsgBox(QStringLiteral("Corvane could not export the computer list to %1:\r\n%2")
                              .arg(*path, ReasonText(r)),
                          MsgStyle::Exclamation);
        }
    }
    m_host.SetIdleStatus();
}

} // namespace corvane
