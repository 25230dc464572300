// The uptime sweep of 1000 lab servers (10% offline) through the real window, beside a plain bash
// loop and a plain C loop of posix_spawn + wait that start the same uptime.exe the same way.
#include "BenchLab.h"
#include "BenchSupport.h"
#include "app/frmMain.h"
#include "platform/Clock.h"
#include "platform/NativeFileSystem.h"
#include "platform/NativeProcesses.h"
#include "runner/RunAndWait.h"
#include "uptime/UptimeAnswer.h"
#include "uptime/frmUptimeReport.h"

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace corvane {
namespace {

constexpr int kServers = 1000;
constexpr int kOffline = kServers / 10;

// This process's peak resident memory so far. (A spawned tool's own figure is useless: Linux
// carries the spawning process's peak over into it.)
double PeakMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A temporary AppDir (its name holds a blank, as AppDir may) with uptime.exe beside the program,
// a bulk lab network and the main window on screen over it, its list holding every server.
class LabAppDir {
public:
    LabAppDir() {
        m_appDir = m_tmp.path().toStdString() + "/Bench App/";
        const std::string network = bench::LabNetwork(m_appDir);
        QDir().mkpath(QString::fromStdString(m_appDir));
        m_servers = bench::MakeBulkLab(m_appDir,
                                       {QStringLiteral("--servers"), QString::number(kServers),
                                        QStringLiteral("--offline-share"), QStringLiteral("0.1")});
        if (m_servers.size() != kServers) {
            qFatal("the lab network holds %lld servers, not %d",
                   static_cast<long long>(m_servers.size()), kServers);
        }
        std::ofstream list(m_appDir + "servers.txt");
        for (const QString& server : m_servers) {
            list << server.toStdString() << '\n';
        }
        // The bash and C loops start uptime.exe themselves: it finds the network the same way.
        ::setenv("CORVANE_NETWORK", network.c_str(), 1);
        m_files = MakeNativeFileSystem(network);
        m_processes = MakeNativeProcesses(m_appDir, network);
        Services services{m_dialogs, *m_files, m_processes.get(), m_windowing, m_clock};
        services.endProcess = [](int) {};
        m_window = std::make_unique<frmMain>(QString::fromStdString(m_appDir), services);
        m_window->lstComputers->addItems(m_servers);
        m_window->show();
        QApplication::processEvents();
        m_baselineMegabytes = PeakMegabytes();
    }

    const std::string& appDir() const { return m_appDir; }
    const QStringList& servers() const { return m_servers; }
    frmMain& window() { return *m_window; }
    bench::SilentDialogs& dialogs() { return m_dialogs; }
    // The window must go before the application object does.
    void CloseWindow() { m_window.reset(); }
    // The process's peak before the first sweep, with the main window on screen.
    double baselineMegabytes() const { return m_baselineMegabytes; }
    // The last answer must be a real one, or the loop measured failures.
    bool CaptureLooksRight() const {
        std::ifstream in(m_appDir + "resgen.top");
        std::string first;
        std::getline(in, first);
        return first.rfind("\\\\", 0) == 0 || first.rfind("UPTIME was unable", 0) == 0;
    }

private:
    QTemporaryDir m_tmp;
    std::string m_appDir;
    QStringList m_servers;
    bench::SilentDialogs m_dialogs;
    bench::QuietWindowing m_windowing;
    SystemClock m_clock;
    std::unique_ptr<FileSystem> m_files;
    std::unique_ptr<Processes> m_processes;
    std::unique_ptr<frmMain> m_window;
    double m_baselineMegabytes = 0;
};

LabAppDir& Lab() {
    static LabAppDir lab;
    return lab;
}

// Every sweep starts with a new, empty report window, as after the user closed the last one.
void CloseReport(frmMain& window) {
    if (frmUptimeReport* report = window.ExistingUptimeReport()) {
        report->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QApplication::processEvents();
}

void Corvane(benchmark::State& state) {
    LabAppDir& lab = Lab();
    for (auto _ : state) {
        state.PauseTiming();
        CloseReport(lab.window());
        state.ResumeTiming();
        lab.window().cmdUpAll_Click();
    }
    frmUptimeReport* report = lab.window().ExistingUptimeReport();
    const QListWidget* lines = report != nullptr ? report->lstUptimeReport : nullptr;
    if (lines == nullptr || lines->count() != kServers || lab.dialogs().boxes != 0 ||
        lines->findItems(QStringLiteral("Unable to connect to "), Qt::MatchStartsWith).size() !=
            kOffline) {
        state.SkipWithError("the sweep did not report every server as the lab has it");
    }
    state.counters["peak_MB"] = PeakMegabytes();
    state.counters["before_MB"] = lab.baselineMegabytes();
}

// The same commands through RunAndWait alone, without the window, reading or report lines: the
// share of the command runner in Corvane's figures, for information.
void RunAndWaitOnly(benchmark::State& state) {
    LabAppDir& lab = Lab();
    const QString appDir = QString::fromStdString(lab.appDir());
    const std::unique_ptr<Processes> processes =
        MakeNativeProcesses(lab.appDir(), bench::LabNetwork(lab.appDir()));
    for (auto _ : state) {
        for (const QString& server : lab.servers()) {
            if (!RunAndWait(*processes, appDir, *UptimeCommand(server), kUptimeCapture).ended) {
                state.SkipWithError("RunAndWait did not wait for the command");
                return;
            }
        }
    }
}

void BashLoop(benchmark::State& state) {
    LabAppDir& lab = Lab();
    const std::string script = R"(cd "$1" || exit 1
while IFS= read -r s; do ./uptime.exe "\\\\$s" > "$1resgen.top"; done < "$1servers.txt"
exit 0)";
    const std::string appDir = lab.appDir();
    char* argv[] = {const_cast<char*>("bash"),         const_cast<char*>("-c"),
                    const_cast<char*>(script.c_str()), const_cast<char*>("bash"),
                    const_cast<char*>(appDir.c_str()), nullptr};
    for (auto _ : state) {
        pid_t pid = -1;
        int status = -1;
        if (posix_spawn(&pid, "/bin/bash", nullptr, nullptr, argv, environ) != 0 ||
            ::waitpid(pid, &status, 0) != pid || status != 0) {
            state.SkipWithError("the bash loop failed");
            return;
        }
    }
    if (!lab.CaptureLooksRight()) {
        state.SkipWithError("the capture holds no uptime answer");
    }
}

void CLoop(benchmark::State& state) {
    LabAppDir& lab = Lab();
    const std::string tool = lab.appDir() + "uptime.exe";
    const std::string capture = lab.appDir() + "resgen.top";
    std::vector<std::string> arguments;
    for (const QString& server : lab.servers()) {
        arguments.push_back("\\\\" + server.toStdString());
    }
    for (auto _ : state) {
        for (std::string& argument : arguments) {
            // The new process opens its output, as the shell and cmd do: the least this process
            // can do to start the tool.
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_addopen(&actions, 1, capture.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0666);
            char* argv[] = {const_cast<char*>(tool.c_str()), argument.data(), nullptr};
            pid_t pid = -1;
            int status = -1;
            const int error = posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv, environ);
            posix_spawn_file_actions_destroy(&actions);
            if (error != 0 || ::waitpid(pid, &status, 0) != pid) {
                state.SkipWithError("the C loop failed");
                return;
            }
        }
    }
    if (!lab.CaptureLooksRight()) {
        state.SkipWithError("the capture holds no uptime answer");
    }
}

// One iteration is a sweep of all servers: its milliseconds are microseconds per server. The
// CPU time is this process's own, the starting, waiting, reading and showing; the tools' time is
// not in it.
#define UPTIME_BENCHMARK(name)                                                                     \
    BENCHMARK(name)                                                                                \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(1)                                                                            \
        ->Repetitions(9)                                                                           \
        ->UseRealTime()                                                                            \
        ->MeasureProcessCPUTime()                                                                  \
        ->ReportAggregatesOnly(true)
UPTIME_BENCHMARK(Corvane);
UPTIME_BENCHMARK(BashLoop);
UPTIME_BENCHMARK(CLoop);
UPTIME_BENCHMARK(RunAndWaitOnly);

} // namespace
} // namespace corvane

int main(int argc, char** argv) {
    return corvane::bench::RunBenchmarks(argc, argv, [] {
        corvane::Lab();
        qAddPostRoutine([] { corvane::Lab().CloseWindow(); });
    });
}
