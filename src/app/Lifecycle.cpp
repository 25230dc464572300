// Start-up and shut-down of the main window: the state files read at load and written at unload,
// and the way the program ends.
#include "app/ListHelpers.h"
#include "app/frmMain.h"

#include "persist/History.h"
#include "persist/ListFiles.h"
#include "persist/TextFile.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QListWidget>
#include <QRadioButton>

namespace corvane {
namespace {

const QString kComputerList = QStringLiteral("computerlist.txt");
const QString kFileList = QStringLiteral("filelist.txt");
const QString kDeployPath = QStringLiteral("srvpath.top");
const QString kCommand = QStringLiteral("schedapp.top");
const QString kDeployPathHistory = QStringLiteral("sp.top");
const QString kCommandHistory = QStringLiteral("sa.top");

// Reads a list file; a missing file is no news, anything else is worth a line in the message.
ListItems ReadList(FileSystem& fs, const QString& appDir, const QString& name, QStringList& notes) {
    ListItems list;
    const FileResult r = ReadListFile(fs, appDir + name, list);
    if (!r.ok() && r.error != kFileNotFound) {
        notes << QStringLiteral("%1 could not be read: %2").arg(name, ReasonText(r));
    }
    if (list.leftOut > 0) {
        notes << QStringLiteral("%1 holds more than %2 entries. The first %2 were read and %3 "
                                "more were left out; the file will be rewritten with %2 entries "
                                "when Corvane closes.")
                     .arg(name)
                     .arg(kMaxListEntries)
                     .arg(list.leftOut);
    }
    return list;
}

// A one-line state file or a history: whole lines, so commands keep their commas and quotes.
QString ReadWhole(FileSystem& fs, const QString& path) {
    QString text;
    // A state file that cannot be read leaves its box empty, as a missing one does.
    static_cast<void>(ReadText(fs, path, text));
    return text;
}

} // namespace

void frmMain::Form_Load() {
    QStringList notes;
    LoadComputerList(notes);
    LoadDeployList(notes);
    optToday->setChecked(true);
    m_state.ServerUnreachable = false;
    LoadBoxes();
    if (!notes.isEmpty()) {
        MsgBox(notes.join(QStringLiteral("\r\n\r\n")), MsgStyle::Exclamation);
    }
}

void frmMain::LoadComputerList(QStringList& notes) {
    const ListItems list = ReadList(m_services.files, AppDir(), kComputerList, notes);
    for (const QString& server : list.items) {
        InsertSorted(*lstComputers, server);
    }
}

void frmMain::LoadDeployList(QStringList& notes) {
    const ListItems list = ReadList(m_services.files, AppDir(), kFileList, notes);
    lstDeployables->addItems(list.items);
    for (const QString& path : list.items) {
        lstDeployables2->addItem(FileNameOf(path));
    }
}

void frmMain::LoadBoxes() {
    FileSystem& fs = m_services.files;
    const QString deployPath = FirstLine(ReadWhole(fs, AppDir() + kDeployPath));
    const QString command = FirstLine(ReadWhole(fs, AppDir() + kCommand));
    // Adding the first entry to an empty box replaces its text: fill the lists, then the texts.
    cboDeployPath->addItems(ParseHistoryFile(ReadWhole(fs, AppDir() + kDeployPathHistory)));
    cboRun->addItems(ParseHistoryFile(ReadWhole(fs, AppDir() + kCommandHistory)));
    cboDeployPath->setEditText(deployPath);
    cboRun->setEditText(command);
}

void frmMain::Form_Unload() {
    FileSystem& fs = m_services.files;
    QStringList failures;
    auto note = [&failures](const QString& name, const FileResult& r) {
        if (!r.ok()) {
            failures << QStringLiteral("%1: %2").arg(name, ReasonText(r));
        }
    };
    note(kComputerList, WriteListFile(fs, AppDir() + kComputerList, Entries(*lstComputers)));
    note(kFileList, WriteListFile(fs, AppDir() + kFileList, Entries(*lstDeployables)));
    note(kDeployPath, WriteLineFile(fs, AppDir() + kDeployPath, cboDeployPath->currentText()));
    note(kCommand, WriteLineFile(fs, AppDir() + kCommand, cboRun->currentText()));
    RememberDeployPath();
    RememberCommand();
    note(kDeployPathHistory,
         WriteHistoryFile(fs, AppDir() + kDeployPathHistory, ComboEntries(*cboDeployPath)));
    note(kCommandHistory, WriteHistoryFile(fs, AppDir() + kCommandHistory, ComboEntries(*cboRun)));
    if (!failures.isEmpty()) {
        MsgBox(QStringLiteral("Corvane could not save these files in %1; they keep their "
                              "previous contents:\r\n\r\n%2")
                   .arg(AppDir(), failures.join(QStringLiteral("\r\n"))),
               MsgStyle::Exclamation);
    }
}

void frmMain::RememberDeployPath() {
    RememberText(*cboDeployPath);
}

void frmMain::RememberCommand() {
    RememberText(*cboRun);
}

void frmMain::cmdExit_Click() {
    if (m_ending) {
        return;
    }
    m_ending = true;
    Form_Unload();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this) {
            window->close();
        }
    }
    hide();
    // Never return into a handler that is waiting further down the stack: end here.
    m_services.endProcess(0);
}

void frmMain::closeEvent(QCloseEvent* event) {
    cmdExit_Click();
    event->accept();
}

} // namespace corvane
