// The computer list's buttons: Add, Remove, Clear, Import and Export.
#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "computers/frmAddComputer.h"
#include "persist/ListFiles.h"
#include "persist/TextFile.h"
#include "platform/Dialogs.h"

#include <QListWidget>

namespace corvane {
namespace {

const QString kListFilter = QStringLiteral("Text (*.txt)|*.txt");
const QString kComputerListFile = QStringLiteral("computerlist.txt");

} // namespace

bool frmMain::SaveComputerList() {
    if (LeftAsItIs(kComputerListFile)) {
        return true; // said at start-up
    }
    const FileResult r = WriteListFile(m_services.files, AppDir() + kComputerListFile,
                                       Entries(*lstComputers), EncodingOf(kComputerListFile));
    if (!r.ok()) {
        MsgBox(QStringLiteral("Corvane could not save the computer list to %1:\r\n%2")
                   .arg(AppDir() + kComputerListFile, ReasonText(r)),
               MsgStyle::Exclamation);
    }
    return r.ok();
}

void frmMain::cmdAdd_Click() {
    if (IsBusy()) {
        return;
    }
    SetStatus(StatusColour::Waiting, QStringLiteral("Adding Computer"));
    frmAddComputer dialog(*this);
    m_services.dialogs.ShowModal(dialog);
    SetIdleStatus();
}

void frmMain::cmdRemove_Click() {
    if (IsBusy()) {
        return;
    }
    if (EntryText(*lstComputers, lstComputers->currentRow()).isEmpty()) {
        MsgBox(QStringLiteral("There are no servers on the list!"));
    } else if (lstComputers->selectedItems().isEmpty()) {
        MsgBox(QStringLiteral("you forgot to select one or more\r\nservers to remove from the "
                              "list."));
    } else {
        for (int i = 0; i < lstComputers->count();) {
            if (lstComputers->item(i)->isSelected()) {
                delete lstComputers->takeItem(i);
            } else {
                ++i;
            }
        }
        SaveComputerList();
    }
    // The list file is always there after a Remove, if only empty.
    CreateIfMissing(m_services.files, AppDir() + kComputerListFile);
}

void frmMain::cmdClear_Click() {
    if (IsBusy()) {
        return;
    }
    lstComputers->clear();
}

void frmMain::cmdImport_Click() {
    if (IsBusy()) {
        return;
    }
    SetStatus(StatusColour::Waiting, QStringLiteral("Importing List"));
    if (const auto path =
            m_services.dialogs.GetOpenFileName(QStringLiteral("Import List"), kListFilter)) {
        // Read first, replace after: a file that cannot be read leaves the list as it was.
        ListItems list;
        const FileResult r = ReadListFile(m_services.files, *path, list);
        if (r.error == kPathNotFound) {
            HandleFileError(r.error);
        } else if (!r.ok()) {
            MsgBox(QStringLiteral("Corvane could not read the file %1:\r\n%2\r\nThe computer list "
                                  "was not changed.")
                       .arg(*path, ReasonText(r)),
                   MsgStyle::Exclamation);
        } else {
            QStringList refused;
            lstComputers->clear();
            for (const QString& server : list.items) {
                if (FitsListFile(server)) {
                    InsertSorted(*lstComputers, server);
                } else {
                    refused << ShownEntry(server);
                }
            }
            if (!refused.isEmpty()) {
                MsgBox(QStringLiteral("A computer name cannot hold a double quote (\") or a "
                                      "control character; these names in %1 were left out:\r\n")
                               .arg(*path) +
                           ListBlock(refused),
                       MsgStyle::Exclamation);
            }
            if (list.leftOut > 0) {
                MsgBox(QStringLiteral("%1 holds more than %2 names. The first %2 were imported; "
                                      "%3 more were left out.")
                           .arg(*path)
                           .arg(kMaxListEntries)
                           .arg(list.leftOut),
                       MsgStyle::Exclamation);
            }
        }
    }
    SetIdleStatus();
}

void frmMain::cmdExport_Click() {
    if (IsBusy()) {
        return;
    }
    SetStatus(StatusColour::Waiting, QStringLiteral("Exporting List"));
    if (const auto path =
            m_services.dialogs.GetSaveFileName(QStringLiteral("Export List"), kListFilter)) {
        const FileResult r = WriteListFile(m_services.files, *path, Entries(*lstComputers));
        if (!r.ok()) {
            MsgBox(QStringLiteral("Corvane could not export the computer list to %1:\r\n%2")
                       .arg(*path, ReasonText(r)),
                   MsgStyle::Exclamation);
        }
    }
    SetIdleStatus();
}

} // namespace corvane
