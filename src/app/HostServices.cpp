// What the main window gives its features: the status line, the busy cursor, message boxes, the
// file-error notice, the command runner and the servers of a run.
#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "app/frmMsg.h"
#include "computers/Targets.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "runner/ServerName.h"

#include <QLabel>
#include <QListWidget>

namespace corvane {

void frmMain::SetStatus(StatusColour colour, const QString& text) {
    m_statusColour = colour;
    QPalette palette = lblStatus->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, ToQColor(colour));
    lblStatus->setPalette(palette);
    lblStatus->setText(text);
}

void frmMain::RepaintStatus() {
    lblStatus->repaint();
}

bool frmMain::IsBusy() const {
    return testAttribute(Qt::WA_SetCursor) && cursor().shape() == Qt::WaitCursor;
}

void frmMain::SetBusy(bool busy) {
    if (busy) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}

int frmMain::MsgBox(const QString& text, int style) {
    return m_services.dialogs.MsgBox(text, style, kProgramTitle);
}

bool frmMain::HandleFileError(int error, const QString& server) {
    if (error == kBadFileName) {
        frmMsg notice(this);
        notice.lblMsg->setText(UnreachableServerText(server));
        m_services.dialogs.ShowModal(notice);
        return true;
    }
    if (error == kPathNotFound) {
        MsgBox(QStringLiteral("Unable to locate path."));
    }
    return false;
}

RunResult frmMain::RunAndWait(const QString& command, const QString& captureFile,
                              const OnCommandStarted& onStarted) {
    if (m_services.processes == nullptr) {
        RunResult result;
        result.ended = true;
        result.error = QStringLiteral("No command can be started here.");
        return result;
    }
    if (UnsafeAppDirCharacter(AppDir())) {
        RunResult result;
        result.ended = true;
        result.error = QStringLiteral("The program's folder cannot be put into a command line.");
        return result;
    }
    return corvane::RunAndWait(*m_services.processes, AppDir(), command, captureFile, onStarted);
}

bool frmMain::AppDirRefused() {
    const std::optional<QChar> unsafe = UnsafeAppDirCharacter(AppDir());
    if (!unsafe) {
        return false;
    }
    const QString shown = unsafe->unicode() < 0x20 || unsafe->unicode() == 0x7F
                              ? QStringLiteral("a control character")
                              : QStringLiteral("the character %1").arg(*unsafe);
    MsgBox(QStringLiteral("Corvane cannot start commands from the folder %1: its name holds %2, "
                          "which a command line cannot carry (the tools' answers would be written "
                          "elsewhere). Nothing was started. Move Corvane to a folder whose name "
                          "holds no double quote, % or control character.")
               .arg(AppDir(), shown),
           MsgStyle::Exclamation);
    return true;
}

QStringList frmMain::TargetServers(bool selectedOnly) const {
    return corvane::TargetServers(*lstComputers, selectedOnly);
}

QString frmMain::CurrentServer() const {
    return EntryText(*lstComputers, lstComputers->currentRow());
}

bool frmMain::HasServers() const {
    return !EntryText(*lstComputers, 0).isEmpty();
}

} // namespace corvane
