// Starts Corvane: computes AppDir, picks the real platform services and shows the main window.
#include "app/AppDir.h"
#include "app/Look.h"
#include "app/frmMain.h"

#include "platform/AppDirLock.h"
#include "platform/Clock.h"
#include "platform/NativeFileSystem.h"
#include "platform/NativeProcesses.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtWindowing.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    corvane::ApplyProgramLook(app);

    corvane::QtDialogs dialogs;
    corvane::QtWindowing windowing;
    corvane::SystemClock clock;
    const QString appDir = corvane::AppDirOfExecutable();
    // Held until the program ends. A folder that cannot be locked for another reason (read-only,
    // say) is used anyway: nothing there could be saved to conflict.
    const corvane::AppDirLocking locking = corvane::LockAppDir(appDir.toStdString());
    if (locking.heldElsewhere) {
        dialogs.MsgBox(QStringLiteral("Corvane is already running from %1. Use that window: two "
                                      "Corvane windows on one folder would overwrite each "
                                      "other's lists.")
                           .arg(QDir::toNativeSeparators(appDir)),
                       corvane::MsgStyle::Exclamation, corvane::kProgramTitle);
        return 1;
    }
    // The lab network beside the program; the real Windows backends ignore it.
    const std::string networkRoot = (appDir + QStringLiteral("network/")).toStdString();
    const auto files = corvane::MakeNativeFileSystem(networkRoot);
    const auto processes = corvane::MakeNativeProcesses(appDir.toStdString(), networkRoot);
    corvane::Services services{dialogs, *files, processes.get(), windowing, clock};

    corvane::frmMain window(appDir, services);
    window.Form_Load();
    window.show();
    return app.exec();
}
