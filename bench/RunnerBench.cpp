// How long the AT listing of 1000 lab servers takes through RunAndWait, beside a plain bash loop
// and a plain C loop of posix_spawn + wait that start the same at.exe with the same redirection.
#include "BenchLab.h"
#include "BenchSupport.h"
#include "platform/NativeProcesses.h"
#include "runner/AtCommands.h"
#include "runner/RunAndWait.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace corvane {
namespace {

constexpr int kServers = 1000;

// A temporary AppDir (its name holds a blank, as AppDir may) with at.exe beside the program and
// a lab network of kServers servers made by corvane-lab, two jobs each.
class LabAppDir {
public:
    LabAppDir() {
        if (!m_tmp.isValid()) {
            qFatal("cannot create a temporary folder");
        }
        m_appDir = m_tmp.path().toStdString() + "/Bench App/";
        const std::string network = bench::LabNetwork(m_appDir);
        QDir().mkpath(QString::fromStdString(m_appDir));
        const QStringList names =
            bench::MakeBulkLab(m_appDir, {QStringLiteral("--servers"), QString::number(kServers),
                                          QStringLiteral("--jobs"), QStringLiteral("2")});
        for (const QString& name : names) {
            m_servers.push_back(name);
        }
        if (m_servers.size() != kServers) {
            qFatal("the lab network holds %zu servers, not %d", m_servers.size(), kServers);
        }
        std::ofstream list(m_appDir + "servers.txt");
        for (const QString& server : m_servers) {
            list << server.toStdString() << '\n';
        }
        // The bash and C loops start at.exe themselves: it finds the network the same way.
        ::setenv("CORVANE_NETWORK", network.c_str(), 1);
        m_processes = MakeNativeProcesses(m_appDir, network);
    }

    const std::string& appDir() const { return m_appDir; }
    const std::vector<QString>& servers() const { return m_servers; }
    Processes& processes() { return *m_processes; }
    // The last listing must be a real one, or the loop measured failures.
    bool CaptureLooksRight() const {
        std::ifstream in(m_appDir + "schedule.top");
        std::string first;
        std::getline(in, first);
        return first.rfind("Status ID", 0) == 0;
    }

private:
    QTemporaryDir m_tmp;
    std::string m_appDir;
    std::vector<QString> m_servers;
    std::unique_ptr<Processes> m_processes;
};

LabAppDir& Lab() {
    static LabAppDir lab;
    return lab;
}

void Corvane(benchmark::State& state) {
    LabAppDir& lab = Lab();
    const QString appDir = QString::fromStdString(lab.appDir());
    for (auto _ : state) {
        for (const QString& server : lab.servers()) {
            const RunResult r =
                RunAndWait(lab.processes(), appDir, *AtListCommand(server), kScheduleCapture);
            if (!r.started || r.exitStatus != 0) {
                state.SkipWithError(("AT failed for " + server.toStdString()).c_str());
                return;
            }
        }
    }
    if (!lab.CaptureLooksRight()) {
        state.SkipWithError("the capture holds no job listing");
    }
}

void BashLoop(benchmark::State& state) {
    LabAppDir& lab = Lab();
    const std::string script = R"(cd "$1" || exit 1
while IFS= read -r s; do ./at.exe "\\\\$s" > "$1schedule.top" || exit 1; done < "$1servers.txt")";
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
        state.SkipWithError("the capture holds no job listing");
    }
}

void CLoop(benchmark::State& state) {
    LabAppDir& lab = Lab();
    const std::string tool = lab.appDir() + "at.exe";
    const std::string capture = lab.appDir() + "schedule.top";
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
            if (error != 0 || ::waitpid(pid, &status, 0) != pid || status != 0) {
                state.SkipWithError("the C loop failed");
                return;
            }
        }
    }
    if (!lab.CaptureLooksRight()) {
        state.SkipWithError("the capture holds no job listing");
    }
}

// One iteration is a sweep of all servers: its milliseconds are microseconds per command. The
// CPU time is this process's own, the starting and waiting; the tools' time is not in it.
#define RUNNER_BENCHMARK(name)                                                                     \
    BENCHMARK(name)                                                                                \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(1)                                                                            \
        ->Repetitions(11)                                                                          \
        ->UseRealTime()                                                                            \
        ->MeasureProcessCPUTime()                                                                  \
        ->ReportAggregatesOnly(true)
RUNNER_BENCHMARK(Corvane);
RUNNER_BENCHMARK(BashLoop);
RUNNER_BENCHMARK(CLoop);

} // namespace
} // namespace corvane

int main(int argc, char** argv) {
    return corvane::bench::RunBenchmarks(argc, argv, [] { corvane::Lab(); });
}
