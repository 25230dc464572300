// The main window's way into the command runner: its AppDir and its Processes.
#include "app/frmMain.h"

namespace corvane {

RunResult frmMain::RunAndWait(const QString& command, const QString& captureFile,
                              const OnCommandStarted& onStarted) {
    if (m_services.processes == nullptr) {
        RunResult result;
        result.ended = true;
        result.error = QStringLiteral("No command can be started here.");
        return result;
    }
    return corvane::RunAndWait(*m_services.processes, AppDir(), command, captureFile, onStarted);
}

} // namespace corvane
