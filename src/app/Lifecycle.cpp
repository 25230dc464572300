// Start-up and shut-down of the main window: the state files read at load and written at unload,
// and the way the program ends.
#include "app/ListHelpers.h"
#include "app/frmMain.h"

#include "persist/AppFiles.h"
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
void frmMain::Form_Load() {
    // Saves cut short by a crash or a kill leave their temporaries beside the files; a leftover
    // that cannot be removed is only clutter.
    for (const QString& name : {kComputerListFile, kDeployListFile, kDeployPathFile, kCommandFile,
                                kDeployPathHistoryFile, kCommandHistoryFile}) {
        static_cast<void>(m_services.files.RemoveLeftovers(PathBytes(AppDir() + name)));
    }
    QStringList notes;
    LoadComputerList(notes);
    LoadDeployList(notes);
    optToday->setChecked(true);
    LoadBoxes(notes);
    if (!notes.isEmpty()) {
        MsgBox(notes.join(QStringLiteral("\r\n\r\n")), MsgStyle::Exclamation);
    }
}

void frmMain::NoteStateRead(const QString& name, const FileResult& read, TextEncoding encoding,
                            QStringList& notes) {
    m_encodings.insert(name, encoding);
    // A missing file (or folder) is no news.
    if (!read.ok() && read.error != kFileNotFound && read.error != kPathNotFound) {
        m_unreadable.insert(name);
        notes << QStringLiteral("%1 could not be read: %2\r\nCorvane will leave it as it is and "
                                "will not save changes to it while it runs.")
                     .arg(name, ReasonText(read));
    }
}

ListItems frmMain::ReadStateList(const QString& name, QStringList& notes) {
    ListItems list;
    const FileResult r = ReadListFile(m_services.files, AppDir() + name, list);
    NoteStateRead(name, r, list.encoding, notes);
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
QString frmMain::ReadStateText(const QString& name, QStringList& notes) {
    QString text;
    TextEncoding encoding = TextEncoding::Native;
    const FileResult r = ReadText(m_services.files, AppDir() + name, text, &encoding);
    NoteStateRead(name, r, encoding, notes);
    return text;
}

void frmMain::LoadComputerList(QStringList& notes) {
    const ListItems list = ReadStateList(kComputerListFile, notes);
    for (const QString& server : list.items) {
        InsertSorted(*lstComputers, server);
    }
}

void frmMain::LoadDeployList(QStringList& notes) {
    const ListItems list = ReadStateList(kDeployListFile, notes);
    lstDeployables->addItems(list.items);
    for (const QString& path : list.items) {
        lstDeployables2->addItem(FileNameOf(path));
    }
}

void frmMain::LoadBoxes(QStringList& notes) {
    const QString deployPath = FirstLine(ReadStateText(kDeployPathFile, notes));
    const QString command = FirstLine(ReadStateText(kCommandFile, notes));
    auto history = [&](const QString& name) {
        const ListItems lines = ParseHistoryFile(ReadStateText(name, notes));
        if (lines.leftOut > 0) {
            notes << QStringLiteral("%1 holds more than the %2 lines its box keeps; %3 more were "
                                    "left out, and the file will be rewritten with %2 lines when "
                                    "Corvane closes.")
                         .arg(name)
                         .arg(kHistoryLines)
                         .arg(lines.leftOut);
        }
        return lines.items;
    };
    // Adding the first entry to an empty box replaces its text: fill the lists, then the texts.
    cboDeployPath->addItems(history(kDeployPathHistoryFile));
    cboRun->addItems(history(kCommandHistoryFile));
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
    QStringList unchanged;
    auto save = [&](const QString& name, auto write, const auto& what) {
        if (LeftAsItIs(name)) {
            unchanged << name;
        } else {
            note(name, write(fs, AppDir() + name, what, EncodingOf(name)));
        }
    };
    save(kComputerListFile, WriteListFile, Entries(*lstComputers));
    save(kDeployListFile, WriteListFile, Entries(*lstDeployables));
    save(kDeployPathFile, WriteLineFile, cboDeployPath->currentText());
    save(kCommandFile, WriteLineFile, cboRun->currentText());
    RememberText(*cboDeployPath);
    RememberText(*cboRun);
    save(kDeployPathHistoryFile, WriteHistoryFile, ComboEntries(*cboDeployPath));
    save(kCommandHistoryFile, WriteHistoryFile, ComboEntries(*cboRun));
    if (!unchanged.isEmpty()) {
        MsgBox(QStringLiteral("These files in %1 could not be read when Corvane started and were "
                              "left unchanged:\r\n\r\n%2")
                   .arg(AppDir(), unchanged.join(QStringLiteral("\r\n"))),
               MsgStyle::Exclamation);
    }
    if (!failures.isEmpty()) {
        MsgBox(QStringLiteral("Corvane could not save these files in %1; they keep their "
                              "previous contents:\r\n\r\n%2")
                   .arg(AppDir(), failures.join(QStringLiteral("\r\n"))),
               MsgStyle::Exclamation);
    }
}

FileResult frmMain::SaveStateList(const QString& name, const QStringList& entries) {
    if (LeftAsItIs(name)) {
        return {}; // said at start-up
    }
    return WriteListFile(m_services.files, AppDir() + name, entries, EncodingOf(name));
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
