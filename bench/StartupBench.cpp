// How long the main window takes to load its state files and to save them, with every list full.
#include "BenchSupport.h"
#include "app/Look.h"
#include "app/frmMain.h"

#include "persist/AppFiles.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/NativeFileSystem.h"
#include "platform/Windowing.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace corvane {
namespace {

constexpr int kServers = 1000;
constexpr int kDeployEntries = 1000;
constexpr int kHistory = 10;

void WriteLines(const QString& path, const QStringList& lines) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qFatal("cannot write %s", qPrintable(path));
    }
    for (const QString& line : lines) {
        file.write(line.toUtf8() + "\r\n");
    }
}

// A temporary AppDir holding full lists and histories, and the services a window is built with.
class FullAppDir {
public:
    FullAppDir() : m_files(MakeNativeFileSystem()) {
        if (!m_dir.isValid()) {
            qFatal("cannot create a temporary folder");
        }
        m_path = m_dir.path() + QLatin1Char('/');
        // Stepping through the indices by a number prime to the count gives an unsorted list, so
        // the sorted insertion does real work; the case alternates as typed names would.
        QStringList servers;
        for (int i = 0; i < kServers; ++i) {
            const int n = (i * 379) % kServers;
            servers << QStringLiteral("%1%2")
                           .arg(n % 2 ? QStringLiteral("srv") : QStringLiteral("SRV"))
                           .arg(n, 4, 10, QLatin1Char('0'));
        }
        QStringList deploy;
        for (int i = 0; i < kDeployEntries; ++i) {
            deploy << QStringLiteral("C:\\deploy\\dir\\file%1.exe").arg(i, 4, 10, QLatin1Char('0'));
        }
        QStringList paths;
        QStringList commands;
        for (int i = 0; i < kHistory; ++i) {
            paths << QStringLiteral("C:\\Program Files\\Deploy Target %1\\").arg(i);
            commands
                << QStringLiteral("\"C:\\Program Files\\App %1\\app.exe\" /quiet /log=%1").arg(i);
        }
        WriteLines(m_path + kComputerListFile, servers);
        WriteLines(m_path + kDeployListFile, deploy);
        WriteLines(m_path + kDeployPathHistoryFile, paths);
        WriteLines(m_path + kCommandHistoryFile, commands);
        // Texts that are not yet in their histories, so the shut-down remembers them.
        WriteLines(m_path + kDeployPathFile, {QStringLiteral("D:\\Apps\\")});
        WriteLines(m_path + kCommandFile,
                   {QStringLiteral("rundll32.exe user32.dll,LockWorkStation")});
    }

    std::unique_ptr<frmMain> NewWindow() {
        Services services{m_dialogs, *m_files, nullptr, m_windowing, m_clock};
        // Ending the process would end the benchmark.
        services.endProcess = [](int) {};
        return std::make_unique<frmMain>(m_path, services);
    }

    int boxes() const { return m_dialogs.boxes; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<FileSystem> m_files;
    bench::SilentDialogs m_dialogs;
    bench::QuietWindowing m_windowing;
    SystemClock m_clock;
};

// A load that found less than the full lists would make the figures meaningless.
bool LoadedEverything(const frmMain& window) {
    return window.lstComputers->count() == kServers &&
           window.lstDeployables->count() == kDeployEntries &&
           window.lstDeployables2->count() == kDeployEntries &&
           window.cboDeployPath->count() == kHistory && window.cboRun->count() == kHistory;
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Building and destroying the window are not timed: only the handler is.
void Form_Load(benchmark::State& state) {
    FullAppDir appDir;
    for (auto _ : state) {
        auto window = appDir.NewWindow();
        const auto start = std::chrono::steady_clock::now();
        window->Form_Load();
        state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
        if (!LoadedEverything(*window) || appDir.boxes() != 0) {
            state.SkipWithError("Form_Load did not load the full lists without a message");
            break;
        }
        window.reset();
        QCoreApplication::processEvents();
    }
}

// Argument 0: a plain exit after start-up, files already as the window holds them.
// Argument 1: every list, text and history changed, so all six files are rewritten.
void Form_Unload(benchmark::State& state) {
    FullAppDir appDir;
    int round = 0;
    for (auto _ : state) {
        auto window = appDir.NewWindow();
        window->Form_Load();
        if (!LoadedEverything(*window)) {
            state.SkipWithError("Form_Load did not load the full lists");
            break;
        }
        if (state.range(0) == 1) {
            const QString mark = QStringLiteral("-%1").arg(++round);
            window->lstComputers->item(0)->setText(window->lstComputers->item(0)->text() + mark);
            window->lstDeployables->item(0)->setText(window->lstDeployables->item(0)->text() +
                                                     mark);
            window->cboDeployPath->setItemText(0, window->cboDeployPath->itemText(0) + mark);
            window->cboRun->setItemText(0, window->cboRun->itemText(0) + mark);
            window->cboDeployPath->setEditText(QStringLiteral("D:\\Deploy") + mark);
            window->cboRun->setEditText(QStringLiteral("job.cmd") + mark);
        }
        const auto start = std::chrono::steady_clock::now();
        window->Form_Unload();
        state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
        if (appDir.boxes() != 0) {
            state.SkipWithError("Form_Unload could not save every file");
            break;
        }
        window.reset();
        QCoreApplication::processEvents();
    }
}

BENCHMARK(Form_Load)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(Form_Unload)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace corvane

int main(int argc, char** argv) {
    return corvane::bench::RunBenchmarks(argc, argv);
}
