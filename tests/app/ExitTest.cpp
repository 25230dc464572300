// Exit while a handler waits: the state is saved, the process ends, the handler never resumes.
#include "Harness.h"

#include "platform/NativeFileSystem.h"

#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>

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
    // Only an abandoned handler that resumed could get here.
    if (std::FILE* marker = std::fopen((folder + "resumed").c_str(), "w")) {
        std::fputs("resumed", marker);
        std::fclose(marker);
    }
    std::exit(3);
}

TEST(ExitDeathTest, ExitDuringAWaitSavesAndNeverResumesTheHandler) {
    const std::string folder = SharedFolder();
    EXPECT_EXIT(PressExitWhileAHandlerWaits(folder), ::testing::ExitedWithCode(0), "");

    auto read = [&folder](const char* name) {
        std::FILE* f = std::fopen((folder + name).c_str(), "rb");
        std::string text;
        if (f != nullptr) {
            char buffer[256];
            size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
                text.append(buffer, n);
            }
            std::fclose(f);
        }
        return text;
    };
    EXPECT_EQ(read("computerlist.txt"), CrLf({"SRV01"}));
    EXPECT_EQ(read("schedapp.top"), CrLf({"backup.cmd"}));
    EXPECT_EQ(read("resumed"), "");
    QDir(QString::fromStdString(folder)).removeRecursively();
    ::unsetenv("CORVANE_EXIT_TEST_DIR");
}

} // namespace
} // namespace corvane::test
