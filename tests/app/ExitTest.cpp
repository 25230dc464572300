// Exit while a handler waits: the state is saved, the process ends, the handler never resumes.
#include "Harness.h"

#include "platform/NativeFileSystem.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace corvane::test {
namespace {

// The death test runs its statement in a fresh copy of this program, which inherits the
// environment: that is how both processes agree on one folder.
std::string SharedFolder() {
    constexpr const char* kVariable = "CORVANE_EXIT_TEST_DIR";
    if (const char* existing = std::getenv(kVariable)) {
        return existing;
    }
    std::string folder = QDir::tempPath().toStdString() + "/corvane-exit-XXXXXX";
    EXPECT_NE(::mkdtemp(folder.data()), nullptr);
    folder += '/';
    ::setenv(kVariable, folder.c_str(), 1);
    return folder;
}

void PressExitWhileAHandlerWaits(const std::string& folder) {
    ScriptedDialogs dialogs;
    const auto files = MakeNativeFileSystem();
    RecordingWindowing windowing;
    FixedClock clock;
    Services services{dialogs, *files, nullptr, windowing, clock}; // the real way to end
    frmMain window(QString::fromStdString(folder), services);
    window.Form_Load();
    window.lstComputers->addItem(QStringLiteral("SRV01"));
    window.cboRun->setEditText(QStringLiteral("backup.cmd"));
    window.show();

    QTimer::singleShot(10, window.cmdExit, &QPushButton::click);
    QEventLoop wait; // a handler waiting for its command, delivering events meanwhile
    wait.exec();
    std::ofstream(folder + "resumed") << "resumed"; // only a resumed handler gets here
    std::exit(3);
}

TEST(ExitDeathTest, ExitDuringAWaitSavesAndNeverResumesTheHandler) {
    const std::string folder = SharedFolder();
    EXPECT_EXIT(PressExitWhileAHandlerWaits(folder), ::testing::ExitedWithCode(0), "");

    auto read = [&folder](const char* name) {
        std::ostringstream text;
        text << std::ifstream(folder + name, std::ios::binary).rdbuf();
        return text.str();
    };
    EXPECT_EQ(read("computerlist.txt"), CrLf({"SRV01"}));
    EXPECT_EQ(read("schedapp.top"), CrLf({"backup.cmd"}));
    EXPECT_EQ(read("resumed"), "");
    QDir(QString::fromStdString(folder)).removeRecursively();
    ::unsetenv("CORVANE_EXIT_TEST_DIR");
}

} // namespace
} // namespace corvane::test
