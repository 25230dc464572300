// Deploying through the real window beside a bash script (one mkdir -p and one cp -f per server)
// and a C loop of mkdir and copy_file_range (the floor): 20 files of 2 MB to 20 lab servers and
// 501 files of 1 KB to 100, each as a first deploy and as a redeploy over the copies already there.
#include "BenchLab.h"
#include "BenchMeasure.h"
#include "BenchSupport.h"
#include "app/frmMain.h"
#include "platform/Clock.h"
#include "platform/NativeFileSystem.h"

#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace corvane {
namespace {

struct Load {
    const char* name;
    int files;
    int bytes;
    int servers;
};
constexpr Load kBig{"Big", 20, 2 << 20, 20};
constexpr Load kSmall{"Small", 501, 1024, 100};
constexpr int kServers = 100;

// Lab servers, the local files of both loads, and the window, made once; between runs the old
// copies are moved aside (never deleted: deleting on this disk slows the next run's creations).
class DeployLab {
public:
    DeployLab() {
        m_appDir = m_tmp.path().toStdString() + "/";
        m_network = bench::LabNetwork(m_appDir);
        m_servers =
            bench::MakeBulkLab(m_appDir, {QStringLiteral("--servers"), QString::number(kServers)});
        ::mkdir((m_appDir + "aside").c_str(), 0777);
        for (const Load& load : {kBig, kSmall}) {
            MakeSources(load);
        }
        m_dialogs.yesTo = QStringLiteral("Deploy Files");
        m_files = MakeNativeFileSystem(m_network);
        Services services{m_dialogs, *m_files, nullptr, m_windowing, m_clock};
        services.endProcess = [](int) {};
        m_window = std::make_unique<frmMain>(QString::fromStdString(m_appDir), services);
        m_window->cboDeployPath->setEditText(QStringLiteral("C:\\Apps\\Bin"));
    }

    std::string Source(const Load& load) const { return m_appDir + "src-" + load.name; }
    std::string Target(int server) const {
        return m_network + m_servers[server].toStdString() + "/C$/Apps/Bin";
    }
    std::vector<std::string> Servers(const Load& load) const {
        std::vector<std::string> names;
        for (int i = 0; i < load.servers; ++i) {
            names.push_back(m_servers[i].toStdString());
        }
        return names;
    }
    const std::string& network() const { return m_network; }
    bench::SilentDialogs& dialogs() { return m_dialogs; }

    // Puts the window's lists on this load and the servers in the state the run starts from.
    // Before a first deploy the same copies are made once, untimed, and dropped with the rest: on
    // this virtual machine memory the system has just freed is fast to use again, while memory
    // left free for a few seconds goes back to the host and costs a fault per page when the copies
    // need it; so every run starts with as much recently freed memory as it will fill.
    frmMain& Prepare(const Load& load, bool redeploy) {
        std::vector<std::string> aside;
        if (!redeploy) {
            aside.push_back(MoveAside());
            CLoop(load);
        }
        if (!redeploy || m_deployed != load.name) {
            aside.push_back(MoveAside());
        }
        if (redeploy && m_deployed != load.name) {
            CLoop(load);
        }
        m_deployed = load.name;
        m_window->lstComputers->clear();
        m_window->lstComputers->addItems(m_servers.mid(0, load.servers));
        m_window->lstDeployables->clear();
        m_window->lstDeployables2->clear();
        for (int f = 0; f < load.files; ++f) {
            m_window->lstDeployables->addItem(QString::fromStdString(SourceFile(load, f)));
            m_window->lstDeployables2->addItem(QString::fromStdString(FileName(f)));
        }
        for (const std::string& folder : aside) {
            bench::Settle(m_appDir, folder);
        }
        m_dialogs.boxes = 0;
        return *m_window;
    }

    // The floor: each level made, each file copied by the kernel into a new or emptied file.
    bool CLoop(const Load& load) const {
        for (int s = 0; s < load.servers; ++s) {
            const std::string target = Target(s);
            ::mkdir(target.substr(0, target.size() - 4).c_str(), 0777);
            ::mkdir(target.c_str(), 0777);
            for (int f = 0; f < load.files; ++f) {
                if (!CopyOne(SourceFile(load, f), target + "/" + FileName(f))) {
                    return false;
                }
            }
        }
        return true;
    }

    bool Holds(const Load& load) const {
        struct stat st {};
        return ::stat((Target(load.servers - 1) + "/" + FileName(load.files - 1)).c_str(), &st) ==
                   0 &&
               st.st_size == load.bytes;
    }

private:
    static std::string FileName(int f) {
        char name[32];
        std::snprintf(name, sizeof name, "file%03d.bin", f);
        return name;
    }
    std::string SourceFile(const Load& load, int f) const {
        return Source(load) + "/" + FileName(f);
    }

    void MakeSources(const Load& load) const {
        ::mkdir(Source(load).c_str(), 0777);
        std::string bytes(static_cast<size_t>(load.bytes), '\0');
        for (int f = 0; f < load.files; ++f) {
            for (size_t i = 0; i < bytes.size(); ++i) {
                bytes[i] = static_cast<char>((i * 131 + static_cast<size_t>(f) * 7) & 0xFF);
            }
            std::FILE* out = std::fopen(SourceFile(load, f).c_str(), "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), out);
            std::fclose(out);
        }
    }

    static bool CopyOne(const std::string& from, const std::string& to) {
        const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
        const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        bool ok = in >= 0 && out >= 0;
        while (ok) {
            const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
            ok = n >= 0;
            if (n == 0) {
                break;
            }
        }
        ::close(in);
        return ::close(out) == 0 && ok;
    }

    // Gives the folder the copies went to.
    std::string MoveAside() {
        const std::string aside = m_appDir + "aside/" + std::to_string(m_asideCount++);
        ::mkdir(aside.c_str(), 0777);
        for (int s = 0; s < kServers; ++s) {
            const std::string apps = m_network + m_servers[s].toStdString() + "/C$/Apps";
            ::rename(apps.c_str(), (aside + "/" + std::to_string(s)).c_str());
        }
        return aside;
    }

    QTemporaryDir m_tmp;
    std::string m_appDir;
    std::string m_network;
    QStringList m_servers;
    std::string m_deployed; // the load whose copies are in place
    long m_asideCount = 0;
    bench::SilentDialogs m_dialogs;
    bench::QuietWindowing m_windowing;
    SystemClock m_clock;
    std::unique_ptr<FileSystem> m_files;
    std::unique_ptr<frmMain> m_window;
};

DeployLab& Lab() {
    static DeployLab lab;
    return lab;
}

const char* const kScript = R"(
net=$1 src=$2
shift 2
for s in "$@"; do
    d="$net$s/C\$/Apps/Bin"
    mkdir -p "$d" && cp -f "$src"/* "$d/" || exit 1
done
)";

void Corvane(benchmark::State& state, const Load& load, bool redeploy) {
    frmMain& window = Lab().Prepare(load, redeploy);
    bench::ResetPeakMemory();
    for (auto _ : state) {
        window.cmdDeployAll_Click();
    }
    state.counters["peak_MiB"] = bench::PeakMemoryMiB();
    // The question and the success message, nothing else.
    if (Lab().dialogs().boxes != 2 || !Lab().Holds(load)) {
        state.SkipWithError("the deploy did not copy every file everywhere");
    }
}

void Script(benchmark::State& state, const Load& load, bool redeploy) {
    Lab().Prepare(load, redeploy);
    std::vector<std::string> arguments{Lab().network(), Lab().Source(load)};
    for (const std::string& server : Lab().Servers(load)) {
        arguments.push_back(server);
    }
    double peak = 0;
    for (auto _ : state) {
        peak = bench::RunBash(kScript, arguments);
    }
    state.counters["peak_MiB"] = peak;
    if (peak < 0 || !Lab().Holds(load)) {
        state.SkipWithError("the script failed");
    }
}

void CLoop(benchmark::State& state, const Load& load, bool redeploy) {
    Lab().Prepare(load, redeploy);
    bench::ResetPeakMemory();
    bool ok = false;
    for (auto _ : state) {
        ok = Lab().CLoop(load);
    }
    state.counters["peak_MiB"] = bench::PeakMemoryMiB();
    if (!ok || !Lab().Holds(load)) {
        state.SkipWithError("the C loop failed");
    }
}

void Register() {
    using Variant = void (*)(benchmark::State&, const Load&, bool);
    const std::pair<const char*, Variant> variants[] = {
        {"Corvane", Corvane}, {"Script", Script}, {"CLoop", CLoop}};
    for (const Load* load : {&kBig, &kSmall}) {
        for (const bool redeploy : {false, true}) {
            for (const auto& [name, variant] : variants) {
                const std::string title =
                    std::string(name) + "/" + load->name + (redeploy ? "/Redeploy" : "/First");
                benchmark::RegisterBenchmark(title.c_str(), variant, *load, redeploy)
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(1)
                    ->Repetitions(5)
                    ->UseRealTime();
            }
        }
    }
}

} // namespace
} // namespace corvane

int main(int argc, char** argv) {
    corvane::Register();
    return corvane::bench::RunBenchmarks(argc, argv, [] { corvane::Lab(); });
}
