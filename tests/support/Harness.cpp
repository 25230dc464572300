// The temporary AppDir, the main window built in it, the scripted dialogs and recorded launches.
#include "Harness.h"
#include "RecordingProcesses.h"

#include "platform/NativeFileSystem.h"
#include "platform/NativeProcesses.h"

#include <gtest/gtest.h>

namespace corvane::test {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

MainHarness::MainHarness()
    : nativeFiles(MakeNativeFileSystem(dir.file("network/"))),
      nativeProcesses(MakeNativeProcesses(dir.file(""), dir.file("network/"))) {}

frmMain& MainHarness::Start(FileSystem* files, Processes* processes) {
    Services services{dialogs, files != nullptr ? *files : *nativeFiles,
                      processes != nullptr ? processes : nativeProcesses.get(), windowing, clock};
    services.endProcess = [this](int status) { ends.push_back(status); };
    window = std::make_unique<frmMain>(appDir.isEmpty() ? dir.path() : appDir, services);
    window->Form_Load();
    return *window;
}

std::string CrLf(const std::vector<std::string>& lines) {
    std::string text;
    std::ranges::for_each(lines, [&text](const std::string& line) { text += line + "\r\n"; });
    return text;
}

namespace {

template <class T> std::optional<T> Take(std::deque<T>& queue) {
    const std::optional<T> front = queue.empty() ? std::nullopt : std::optional<T>(queue.front());
    if (front)
        queue.pop_front();
    return front;
}

struct FinishedCommand final : RunningCommand {
    explicit FinishedCommand(int s) : status(s) {}
    long long OpenWaitHandle() override { return -1; }
    void CloseWaitHandle() override {}
    bool Running() override { return false; }
    std::optional<int> ExitStatus() const override { return status; }
    void End() override {}
    int status;
};

struct TrackedCommand final : RunningCommand {
    TrackedCommand(std::unique_ptr<RunningCommand> real, std::vector<RunningCommand*>& list)
        : m_real(std::move(real)), m_list(list) {
        m_list.push_back(this);
    }
    ~TrackedCommand() override { std::erase(m_list, this); }
    long long OpenWaitHandle() override { return m_real->OpenWaitHandle(); }
    void CloseWaitHandle() override { m_real->CloseWaitHandle(); }
    bool Running() override { return m_real->Running(); }
    std::optional<int> ExitStatus() const override { return m_real->ExitStatus(); }
    void End() override { m_real->End(); }
    std::unique_ptr<RunningCommand> m_real;
    std::vector<RunningCommand*>& m_list;
};

} // namespace

ScriptedDialogs::~ScriptedDialogs() {
    EXPECT_EQ(m_answers.size() + m_files.size() + m_fileLists.size() + m_windowActions.size(), 0u);
}

std::vector<Shown> ScriptedDialogs::MessageBoxes() const {
    std::vector<Shown> boxes;
    std::ranges::copy_if(m_shown, std::back_inserter(boxes),
                         [](const Shown& s) { return s.kind == Shown::MessageBox; });
    return boxes;
}

QStringList ScriptedDialogs::MessageTexts() const {
    QStringList texts;
    std::ranges::for_each(MessageBoxes(), [&texts](const Shown& box) { texts << box.text; });
    return texts;
}

int ScriptedDialogs::MsgBox(const QString& text, int style, const QString&) {
    m_shown.push_back({Shown::MessageBox, text, style, {}});
    const std::optional<int> answer =
        (style & 0x0F) != MsgStyle::YesNo ? MsgAnswer::Ok : Take(m_answers);
    EXPECT_TRUE(answer) << "unexpected question: " << text.toStdString();
    return answer.value_or(MsgAnswer::No);
}

std::optional<QString> ScriptedDialogs::FileDialog(Shown::Kind kind, const QString& title) {
    m_shown.push_back({kind, {}, 0, {}});
    const std::optional<std::optional<QString>> path = Take(m_files);
    EXPECT_TRUE(path) << "unexpected file dialog " << title.toStdString();
    return path.value_or(std::nullopt);
}

QStringList ScriptedDialogs::GetOpenFileNames(const QString&, const QString&) {
    m_shown.push_back({Shown::OpenFiles, {}, 0, {}});
    const std::optional<QStringList> answer = Take(m_fileLists);
    EXPECT_TRUE(answer) << "unexpected multi-select dialog";
    return answer.value_or(QStringList());
}

void ScriptedDialogs::ShowModal(QDialog& window) {
    QStringList labels;
    for (const QLabel* label : window.findChildren<QLabel*>())
        labels << label->text();
    labels.removeAll(QString());
    m_shown.push_back({Shown::Window, labels.join(QLatin1Char('\n')), 0, window.objectName()});
    window.show();
    Take(m_windowActions).value_or([](QDialog&) {})(window);
    window.hide();
}

LaunchResult RecordingProcesses::Launch(const std::string& commandLine) {
    m_lines << QString::fromStdString(commandLine);
    if (m_real == nullptr)
        return {std::make_unique<FinishedCommand>(statusFor ? statusFor(m_lines.last()) : 0), {}};
    LaunchResult launched = m_real->Launch(commandLine);
    if (launched.command)
        launched.command = std::make_unique<TrackedCommand>(std::move(launched.command), running);
    return launched;
}

} // namespace corvane::test
