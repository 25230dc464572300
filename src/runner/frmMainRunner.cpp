// The main window's way into the command runner: its AppDir and its Processes.
#include "app/frmMain.h"

#include "platform/Dialogs.h"

namespace corvane {

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

} // namespace corvane
