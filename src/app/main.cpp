// Starts Corvane: computes AppDir, picks the real platform services and shows the main window.
#include "app/AppDir.h"
#include "app/Look.h"
#include "app/frmMain.h"

#include "platform/Clock.h"
#include "platform/NativeFileSystem.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtWindowing.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    corvane::ApplyProgramLook(app);

    corvane::QtDialogs dialogs;
    const auto files = corvane::MakeNativeFileSystem();
    corvane::QtWindowing windowing;
    corvane::SystemClock clock;
    corvane::Services services{dialogs, *files, nullptr, windowing, clock};

    corvane::frmMain window(corvane::AppDirOfExecutable(), services);
    window.Form_Load();
    window.show();
    return app.exec();
}
