// Validating 1000 lab servers (10% offline, 5% access-denied) through the real window, beside a
// bash loop that runs the same probes and writes the same two result files.
#include "BenchLab.h"
#include "BenchSupport.h"
#include "app/Look.h"
#include "app/frmMain.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/NativeFileSystem.h"
#include "platform/NativeProcesses.h"
#include "platform/Windowing.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fstream>
#include <unistd.h>

namespace corvane {
namespace {

constexpr int kServers = 1000;

// A temporary AppDir with at.exe beside the program and a bulk lab network.
class LabAppDir {
public:
    LabAppDir() {
        m_appDir = m_tmp.path().toStdString() + "/";
        const std::string network = bench::LabNetwork(m_appDir);
        m_servers = bench::MakeBulkLab(m_appDir,
                                       {QStringLiteral("--servers"), QString::number(kServers),
                                        QStringLiteral("--offline-share"), QStringLiteral("0.1"),
                                        QStringLiteral("--denied-share"), QStringLiteral("0.05")});
        std::ofstream list(m_appDir + "servers.txt");
        for (const QString& server : m_servers) {
            list << server.toStdString() << '\n';
        }
        ::setenv("CORVANE_NETWORK", network.c_str(), 1);
        m_dialogs.yesTo = QStringLiteral("Validate Availability?");
        m_files = MakeNativeFileSystem(network);
        m_processes = MakeNativeProcesses(m_appDir, network);
        Services services{m_dialogs, *m_files, m_processes.get(), m_windowing, m_clock};
        services.endProcess = [](int) {};
        m_window = std::make_unique<frmMain>(QString::fromStdString(m_appDir), services);
        m_window->lstComputers->addItems(m_servers);
    }

    const std::string& appDir() const { return m_appDir; }
    frmMain& window() { return *m_window; }
    std::string Read(const char* name) const {
        std::ifstream in(m_appDir + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
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
};

LabAppDir& Lab() {
    static LabAppDir lab;
    return lab;
}

// The same probes by hand: at.exe per server into schedule.top, the first item compared with
// the two phrases, the server appended to its result file.
const char* const kBashLoop = R"(
cd "$1" || exit 1
rm -f unavailable.top accessdenied.top
while IFS= read -r s; do
    ./at.exe "\\\\$s" > schedule.top
    IFS=, read -r first < schedule.top
    first=${first%$'\r'}
    case "$first" in
        "The network path was not found.") printf '%s\r\n' "$s" >> unavailable.top ;;
        "Access is denied.") printf '%s\r\n' "$s" >> accessdenied.top ;;
    esac
done < servers.txt
: >> unavailable.top
: >> accessdenied.top
)";

void Corvane(benchmark::State& state) {
    LabAppDir& lab = Lab();
    for (auto _ : state) {
        lab.window().cmdValidate_Click();
    }
    const std::string unavailable = lab.Read("unavailable.top");
    if (unavailable.empty() || lab.Read("accessdenied.top").empty() ||
        lab.window().lstComputers->count() != kServers) {
        state.SkipWithError("the validation did not find the offline and denied servers");
    }
    state.counters["unavailable"] =
        static_cast<double>(std::count(unavailable.begin(), unavailable.end(), '\n'));
}

void BashLoop(benchmark::State& state) {
    LabAppDir& lab = Lab();
    const std::string expected = lab.Read("unavailable.top");
    for (auto _ : state) {
        if (QProcess::execute(QStringLiteral("bash"),
                              {QStringLiteral("-c"), QString::fromLatin1(kBashLoop),
                               QStringLiteral("bash"), QString::fromStdString(lab.appDir())}) !=
            0) {
            state.SkipWithError("the bash loop failed");
            break;
        }
    }
    if (!expected.empty() && lab.Read("unavailable.top") != expected) {
        state.SkipWithError("the bash loop found other servers than Corvane");
    }
}

BENCHMARK(Corvane)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(BashLoop)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(5)->UseRealTime();

} // namespace
} // namespace corvane

int main(int argc, char** argv) {
    return corvane::bench::RunBenchmarks(argc, argv);
}
