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
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <fstream>

namespace corvane::test {

std::string ReadBytes(const std::string& path);

struct TempDir {
    QString path() const { return m_dir.path() + '/'; }
    std::string file(const std::string& name) const { return path().toStdString() + name; }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string Read(const std::string& name) const { return ReadBytes(file(name)); }
    bool Exists(const std::string& name) const { return QFile::exists(path() + name.c_str()); }

    QTemporaryDir m_dir;
};

struct FixedClock final : Clock {
    std::chrono::system_clock::time_point now{std::chrono::seconds(1'800'000'000)};
    std::chrono::system_clock::time_point Now() const override { return now; }
};

struct RecordingWindowing final : Windowing {
    std::vector<Focus> calls;
    Windowing* real = nullptr;
    void BringToFront(QWidget& window, Focus focus) override {
        calls.push_back(focus);
        real != nullptr ? real->BringToFront(window, focus) : void();
    }
};

struct MainHarness {
    MainHarness();

    frmMain& Start(FileSystem* files = nullptr, Processes* processes = nullptr);

    TempDir dir;
    QString appDir; // the window's AppDir when set; dir otherwise
    ScriptedDialogs dialogs;
    std::unique_ptr<FileSystem> nativeFiles;
    std::unique_ptr<Processes> nativeProcesses;
    RecordingWindowing windowing;
    FixedClock clock;
    std::vector<int> ends; // the statuses the window ended with
    std::unique_ptr<frmMain> window;
};

std::string CrLf(const std::vector<std::string>& lines);

} // namespace corvane::test
