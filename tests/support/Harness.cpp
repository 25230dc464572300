// The temporary AppDir and the main window built in it.
#include "Harness.h"

#include "platform/NativeFileSystem.h"
#include "platform/NativeProcesses.h"

#include <QFile>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace corvane::test {

TempDir::TempDir() : m_path(m_dir.path() + QLatin1Char('/')) {
    EXPECT_TRUE(m_dir.isValid());
}

void TempDir::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(file(name), std::ios::binary | std::ios::trunc) << bytes;
}

std::string TempDir::Read(const std::string& name) const {
    std::ostringstream text;
    text << std::ifstream(file(name), std::ios::binary).rdbuf();
    return text.str();
}

bool TempDir::Exists(const std::string& name) const {
    return QFile::exists(QString::fromStdString(file(name)));
}

// UNC paths lead into <AppDir>/network/, where a LabNetwork builds its servers.
MainHarness::MainHarness()
    : nativeFiles(MakeNativeFileSystem(dir.file("network/"))),
      nativeProcesses(MakeNativeProcesses(dir.file(""), dir.file("network/"))) {}

MainHarness::~MainHarness() = default;

frmMain& MainHarness::Start(FileSystem* files, Processes* processes) {
    Services services{dialogs, files != nullptr ? *files : *nativeFiles,
                      processes != nullptr ? processes : nativeProcesses.get(), windowing, clock};
    services.endProcess = [this](int status) {
        ++endCalls;
        endStatus = status;
    };
    window = std::make_unique<frmMain>(appDir.isEmpty() ? dir.path() : appDir, services);
    window->Form_Load();
    return *window;
}

std::string CrLf(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

} // namespace corvane::test
