// Builds the real main window in its own temporary AppDir with scripted and recording services.
#pragma once

#include "QtPrinters.h"
#include "ScriptedDialogs.h"

#include "app/frmMain.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Windowing.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

namespace corvane::test {

// A fresh folder that disappears with the test.
class TempDir {
public:
    TempDir();
    QString path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path.toStdString() + name; }
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

class FixedClock final : public Clock {
public:
    std::chrono::system_clock::time_point now{std::chrono::seconds(1'800'000'000)};
    std::chrono::system_clock::time_point Now() const override { return now; }
};

// Records whether each call asked for the focus, and passes it on to `real` when one is set.
class RecordingWindowing final : public Windowing {
public:
    std::vector<Focus> calls;
    Windowing* real = nullptr;
    void BringToFront(QWidget& window, Focus focus) override {
        calls.push_back(focus);
        if (real != nullptr) {
            real->BringToFront(window, focus);
        }
    }
};

struct MainHarness {
    MainHarness();
    ~MainHarness();

    // Builds the window over these services (when null, the real ones working in this AppDir and
    // its lab network) and runs Form_Load.
    frmMain& Start(FileSystem* files = nullptr, Processes* processes = nullptr);

    TempDir dir;
    QString appDir; // the window's AppDir when set; dir otherwise
    ScriptedDialogs dialogs;
    std::unique_ptr<FileSystem> nativeFiles;
    std::unique_ptr<Processes> nativeProcesses;
    RecordingWindowing windowing;
    FixedClock clock;
    int endCalls = 0;
    int endStatus = -1;
    std::unique_ptr<frmMain> window;
};

// Joins lines, each ended with CR LF, the way the program writes its files.
std::string CrLf(std::initializer_list<std::string> lines);

} // namespace corvane::test
