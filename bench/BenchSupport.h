// What every benchmark program shares: silent services for a window, and the offscreen main.
#pragma once

#include "app/Look.h"
#include "platform/Dialogs.h"
#include "platform/Windowing.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <functional>

namespace corvane::bench {

// Answers every box at once and counts them: Yes to questions titled `yesTo`, No to the others,
// Ok to plain messages. A box where none is expected means the window took an error path.
class SilentDialogs final : public Dialogs {
public:
    QString yesTo;
    int boxes = 0;
    int MsgBox(const QString&, int style, const QString& title) override {
        ++boxes;
        if ((style & 0x0F) != MsgStyle::YesNo) {
            return MsgAnswer::Ok;
        }
        return !yesTo.isEmpty() && title == yesTo ? MsgAnswer::Yes : MsgAnswer::No;
    }
    std::optional<QString> GetOpenFileName(const QString&, const QString&) override { return {}; }
    std::optional<QString> GetSaveFileName(const QString&, const QString&) override { return {}; }
    QStringList GetOpenFileNames(const QString&, const QString&) override { return {}; }
    void ShowModal(QDialog&) override {}
};

class QuietWindowing final : public Windowing {
public:
    void BringToFront(QWidget&, Focus) override {}
};

// Runs the registered benchmarks inside a QApplication on the offscreen platform, after the
// optional preparation (building a lab network, say) so that it is not timed.
inline int RunBenchmarks(int argc, char** argv, const std::function<void()>& prepare = {}) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ApplyProgramLook(app);
    if (prepare) {
        prepare();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace corvane::bench
