// Showing a confirm report of 1000 servers x 501 files in the report window: time per showing
// and how far the process's peak memory rises above where it stood before the first showing.
#include "app/Look.h"
#include "deploy/frmReport.h"
#include "platform/NativeFileSystem.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kServers = 1000;
constexpr int kFiles = 501;
constexpr int kShowings = 7;

// Half the servers hold every file, the other half none; each block ends with a one-blank line.
std::string ReportText() {
    std::string text;
    text.reserve(26u << 20);
    char server[16];
    char file[16];
    for (int s = 1; s <= kServers; ++s) {
        std::snprintf(server, sizeof server, "SRV%04d", s);
        const bool held = s % 2 == 0;
        const std::string sign = held ? "+  " : "-  ";
        const std::string phrase = held ? "  DOES exist!\r\n" : "  does NOT exist!\r\n";
        const std::string directory = std::string("\\\\") + server + "\\C$\\Apps\\";
        text += sign + directory + phrase;
        for (int f = 1; f <= kFiles; ++f) {
            std::snprintf(file, sizeof file, "file%04d.dat", f);
            text += sign + directory + file + phrase;
        }
        text += " \r\n";
    }
    return text;
}

// A /proc/self/status figure in KiB.
long StatusKiB(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::stol(line.substr(line.find(':') + 1));
        }
    }
    return -1;
}

// Lets the peak (VmHWM) start again from the current size, so each showing's own peak is seen.
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    corvane::ApplyProgramLook(app);

    QTemporaryDir appDir;
    const std::string path = appDir.path().toStdString() + "/report.top";
    {
        const std::string text = ReportText();
        std::ofstream(path, std::ios::binary) << text;
        std::printf("report.top: %zu bytes\n", text.size());
    }
    const auto files = corvane::MakeNativeFileSystem();
    QWidget owner;
    owner.show();
    auto* report = new corvane::frmReport(owner, *files, QString::fromStdString(path));
    QApplication::processEvents();

    const long before = StatusKiB("VmRSS:");
    std::vector<double> times;
    long peak = 0;
    for (int i = 0; i < kShowings; ++i) {
        ResetPeak();
        const auto start = std::chrono::steady_clock::now();
        report->show();
        report->repaint();
        QApplication::processEvents();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
        const long showingPeak = StatusKiB("VmHWM:");
        peak = std::max(peak, showingPeak);
        std::printf("showing %d: %8.1f ms, peak %ld KiB, then %ld KiB\n", i + 1, took.count(),
                    showingPeak, StatusKiB("VmRSS:"));
        report->hide();
        QApplication::processEvents();
    }
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    std::printf("before the first showing: %ld KiB; highest peak %ld KiB (+%ld KiB)\n", before,
                peak, peak - before);
    std::printf("first showing: %.1f ms; median of %d: %.1f ms\n", times.front(), kShowings,
                sorted[sorted.size() / 2]);
    return 0;
}
