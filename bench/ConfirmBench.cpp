// Confirming 501 files on 1000 lab servers (10% offline, every other server holding all the files)
// through the real window, beside a bash loop of [ -e ] tests and a C loop of stat over the same
// local paths writing through one buffered stream (the floor); all three reports must be the same.
#include "BenchLab.h"
#include "BenchMeasure.h"
#include "BenchSupport.h"
#include "app/frmMain.h"
#include "persist/AppFiles.h"
#include "platform/Clock.h"
#include "platform/NativeFileSystem.h"

#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace corvane {
namespace {

constexpr int kServers = 1000;
constexpr int kFiles = 501;

class ConfirmLab {
public:
    ConfirmLab() {
        m_appDir = m_tmp.path().toStdString() + "/";
        m_network = bench::LabNetwork(m_appDir);
        const QStringList servers = bench::MakeBulkLab(
            m_appDir, {QStringLiteral("--servers"), QString::number(kServers),
                       QStringLiteral("--offline-share"), QStringLiteral("0.1")});
        std::ofstream serverList(m_appDir + "servers.txt");
        for (const QString& server : servers) {
            m_servers.push_back(server.toStdString());
            serverList << m_servers.back() << '\n';
        }
        std::ofstream nameList(m_appDir + "names.txt");
        QStringList deployList;
        for (int f = 0; f < kFiles; ++f) {
            m_names.push_back("module" + std::to_string(f) + ".dll");
            nameList << m_names.back() << '\n';
            deployList << QString::fromStdString("C:\\Build\\" + m_names.back());
        }
        for (size_t s = 0; s < m_servers.size(); s += 2) {
            const std::string folder = m_network + m_servers[s] + "/C$/Apps";
            ::mkdir(folder.c_str(), 0777);
            for (const std::string& name : m_names) {
                ::close(::open((folder + "/" + name).c_str(), O_WRONLY | O_CREAT, 0644));
            }
        }
        m_files = MakeNativeFileSystem(m_network);
        Services services{m_dialogs, *m_files, nullptr, m_windowing, m_clock};
        services.endProcess = [](int) {};
        m_window = std::make_unique<frmMain>(QString::fromStdString(m_appDir), services);
        m_window->lstComputers->addItems(servers);
        m_window->lstDeployables->addItems(deployList);
        m_window->cboDeployPath->setEditText(QStringLiteral("C:\\Apps"));
        if (!CLoop("expected.top")) {
            qFatal("the C loop cannot write its report");
        }
    }

    const std::string& appDir() const { return m_appDir; }
    frmMain& window() { return *m_window; }
    bench::SilentDialogs& dialogs() { return m_dialogs; }

    // The floor: a server's settings read once, one stat per path, one buffered report.
    bool CLoop(const char* report) const {
        std::FILE* out = std::fopen((m_appDir + report).c_str(), "wb");
        if (out == nullptr) {
            return false;
        }
        std::string path;
        struct stat st {};
        for (const std::string& server : m_servers) {
            const std::string folder = m_network + server + "/C$/Apps";
            const std::string unc = "\\\\" + server + "\\C$\\Apps";
            const bool online = !Offline(server);
            const bool found = online && ::stat(folder.c_str(), &st) == 0;
            std::fprintf(out, found ? "+  %s\\  DOES exist!\r\n" : "-  %s\\  does NOT exist!\r\n",
                         unc.c_str());
            for (size_t f = 0; online && f < m_names.size(); ++f) {
                path.assign(folder).append(1, '/').append(m_names[f]);
                std::fprintf(out,
                             ::stat(path.c_str(), &st) == 0 ? "+  %s\\%s  DOES exist!\r\n"
                                                            : "-  %s\\%s  does NOT exist!\r\n",
                             unc.c_str(), m_names[f].c_str());
            }
            std::fputs(" \r\n", out);
        }
        return std::fclose(out) == 0;
    }

    // The report matches the one the C loop wrote once at the start.
    bool SameReport(const char* report) const { return Read(report) == Read("expected.top"); }

private:
    bool Offline(const std::string& server) const {
        char text[256];
        const int fd = ::open((m_network + server + "/.lab").c_str(), O_RDONLY | O_CLOEXEC);
        const ssize_t n = fd < 0 ? 0 : ::read(fd, text, sizeof text);
        ::close(fd);
        return n > 0 &&
               std::string(text, static_cast<size_t>(n)).find("offline=yes") != std::string::npos;
    }
    std::string Read(const char* name) const {
        std::ifstream in(m_appDir + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    QTemporaryDir m_tmp;
    std::string m_appDir;
    std::string m_network;
    std::vector<std::string> m_servers;
    std::vector<std::string> m_names;
    bench::SilentDialogs m_dialogs;
    bench::QuietWindowing m_windowing;
    SystemClock m_clock;
    std::unique_ptr<FileSystem> m_files;
    std::unique_ptr<frmMain> m_window;
};

ConfirmLab& Lab() {
    static ConfirmLab lab;
    return lab;
}

// The same tests with [ -e ]: a server's settings read once with the read builtin, every line
// written with printf, as Corvane writes them.
const char* const kBashLoop = R"(
cd "$1" || exit 1
mapfile -t files < names.txt
exec 3> report-bash.top
while IFS= read -r s; do
    online=1
    while IFS= read -r l; do [ "$l" = offline=yes ] && online=; done < "network/$s/.lab"
    d="network/$s/C\$/Apps"
    u="\\\\$s\\C\$\\Apps"
    if [ -n "$online" ] && [ -e "$d" ]; then
        printf -- '+  %s\\  DOES exist!\r\n' "$u" >&3
    else
        printf -- '-  %s\\  does NOT exist!\r\n' "$u" >&3
    fi
    if [ -n "$online" ]; then
        for f in "${files[@]}"; do
            if [ -e "$d/$f" ]; then
                printf -- '+  %s\\%s  DOES exist!\r\n' "$u" "$f" >&3
            else
                printf -- '-  %s\\%s  does NOT exist!\r\n' "$u" "$f" >&3
            fi
        done
    fi
    printf ' \r\n' >&3
done < servers.txt
)";

void Corvane(benchmark::State& state) {
    ConfirmLab& lab = Lab();
    lab.dialogs().boxes = 0;
    bench::ResetPeakMemory();
    for (auto _ : state) {
        lab.window().cmdConfirmAll_Click();
    }
    state.counters["peak_MiB"] = bench::PeakMemoryMiB();
    if (lab.dialogs().boxes != 0 || !lab.SameReport(kReportFile.toStdString().c_str())) {
        state.SkipWithError("Corvane's report differs from the C loop's");
    }
}

void BashLoop(benchmark::State& state) {
    double peak = 0;
    for (auto _ : state) {
        peak = bench::RunBash(kBashLoop, {Lab().appDir()});
    }
    state.counters["peak_MiB"] = peak;
    if (peak < 0 || !Lab().SameReport("report-bash.top")) {
        state.SkipWithError("the bash loop's report differs from the C loop's");
    }
}

void CLoop(benchmark::State& state) {
    bench::ResetPeakMemory();
    bool ok = false;
    for (auto _ : state) {
        ok = Lab().CLoop("report-c.top");
    }
    state.counters["peak_MiB"] = bench::PeakMemoryMiB();
    if (!ok || !Lab().SameReport("report-c.top")) {
        state.SkipWithError("the C loop failed");
    }
}

#define CONFIRM_BENCHMARK(name)                                                                    \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime()
CONFIRM_BENCHMARK(Corvane);
CONFIRM_BENCHMARK(BashLoop);
CONFIRM_BENCHMARK(CLoop);

} // namespace
} // namespace corvane

int main(int argc, char** argv) {
    return corvane::bench::RunBenchmarks(argc, argv, [] { corvane::Lab(); });
}
