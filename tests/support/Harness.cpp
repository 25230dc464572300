// The temporary AppDir and the main window built in it, the scripted dialogs and the recorded
// launches.
#include "Harness.h"
#include "RecordingProcesses.h"

#include "platform/NativeFileSystem.h"
#include "platform/NativeProcesses.h"

#include <QFile>
#include <QLabel>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace corvane::test {

TempDir::TempDir() : m_path(m_dir.path() + QLatin1Char('/')) {
    EXPECT_TRUE(m_dir.isValid());
}

void TempDir::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(file(name), std::ios::binary | std::ios::trunc) << bytes;
}

std::string TempDir::Read(const std::string& name) const {
    std::ostringstream text;
    text << std::ifstream(file(name), std::ios::binary).rdbuf();
    return text.str();
}

bool TempDir::Exists(const std::string& name) const {
    return QFile::exists(QString::fromStdString(file(name)));
}

// UNC paths lead into <AppDir>/network/, where a LabNetwork builds its servers.
MainHarness::MainHarness()
    : nativeFiles(MakeNativeFileSystem(dir.file("network/"))),
      nativeProcesses(MakeNativeProcesses(dir.file(""), dir.file("network/"))) {}

MainHarness::~MainHarness() = default;

frmMain& MainHarness::Start(FileSystem* files, Processes* processes) {
    Services services{dialogs, files != nullptr ? *files : *nativeFiles,
                      processes != nullptr ? processes : nativeProcesses.get(), windowing, clock};
    services.endProcess = [this](int status) {
        ++endCalls;
        endStatus = status;
    };
    window = std::make_unique<frmMain>(appDir.isEmpty() ? dir.path() : appDir, services);
    window->Form_Load();
    return *window;
}

std::string CrLf(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

namespace {

template <class T> std::optional<T> Take(std::deque<T>& queue) {
    if (queue.empty()) {
        return std::nullopt;
    }
    T front = queue.front();
    queue.pop_front();
    return front;
}

class FinishedCommand final : public RunningCommand {
public:
    explicit FinishedCommand(int status) : m_status(status) {}
    long long OpenWaitHandle() override { return -1; }
    void CloseWaitHandle() override {}
    bool Running() override { return false; }
    std::optional<int> ExitStatus() const override { return m_status; }
    void End() override {}

private:
    int m_status;
};

class TrackedCommand final : public RunningCommand {
public:
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

private:
    std::unique_ptr<RunningCommand> m_real;
    std::vector<RunningCommand*>& m_list;
};

} // namespace

ScriptedDialogs::~ScriptedDialogs() {
    EXPECT_TRUE(m_answers.empty() && m_files.empty() && m_fileLists.empty() &&
                m_windowActions.empty())
        << "never asked for: " << m_answers.size() << " answer(s), " << m_files.size()
        << " file(s), " << m_fileLists.size() << " file list(s), " << m_windowActions.size()
        << " window action(s)";
}

std::vector<Shown> ScriptedDialogs::MessageBoxes() const {
    std::vector<Shown> boxes;
    std::ranges::copy_if(m_shown, std::back_inserter(boxes),
                         [](const Shown& s) { return s.kind == Shown::MessageBox; });
    return boxes;
}

QStringList ScriptedDialogs::MessageTexts() const {
    QStringList texts;
    for (const Shown& box : MessageBoxes()) {
        texts << box.text;
    }
    return texts;
}

int ScriptedDialogs::MsgBox(const QString& text, int style, const QString& title) {
    m_shown.push_back({Shown::MessageBox, text, title, style, {}});
    if (m_boxHook) {
        m_boxHook(m_shown.back());
    }
    // Only questions take a queued answer; an OK box just records itself.
    if ((style & 0x0F) != MsgStyle::YesNo) {
        return MsgAnswer::Ok;
    }
    const std::optional<int> answer = Take(m_answers);
    EXPECT_TRUE(answer) << "unexpected question: " << text.toStdString();
    return answer.value_or(MsgAnswer::No);
}

std::optional<QString> ScriptedDialogs::FileDialog(Shown::Kind kind, const QString& title) {
    m_shown.push_back({kind, {}, title, 0, {}});
    EXPECT_FALSE(m_files.empty()) << "unexpected file dialog " << title.toStdString();
    // Copied out before the pop: GCC's optimiser mistakes a moved-out optional for uninitialised.
    const bool chosen = !m_files.empty() && m_files.front().has_value();
    const QString path = chosen ? *m_files.front() : QString();
    if (!m_files.empty()) {
        m_files.pop_front();
    }
    return chosen ? std::optional<QString>(path) : std::nullopt;
}

QStringList ScriptedDialogs::GetOpenFileNames(const QString& title, const QString&) {
    m_shown.push_back({Shown::OpenFiles, {}, title, 0, {}});
    const std::optional<QStringList> answer = Take(m_fileLists);
    EXPECT_TRUE(answer) << "unexpected multi-select dialog";
    return answer.value_or(QStringList());
}

void ScriptedDialogs::ShowModal(QDialog& window) {
    QStringList labels;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            labels << label->text();
        }
    }
    m_shown.push_back({Shown::Window, labels.join(QLatin1Char('\n')), window.windowTitle(), 0,
                       window.objectName()});
    // Shown (not exec'd) so that geometry and contents are real while the action runs.
    window.show();
    if (const std::optional<WindowAction> action = Take(m_windowActions)) {
        (*action)(window);
    }
    window.hide();
}

LaunchResult RecordingProcesses::Launch(const std::string& commandLine) {
    const QString line = QString::fromStdString(commandLine);
    m_lines << line;
    if (m_real == nullptr) {
        return {std::make_unique<FinishedCommand>(statusFor ? statusFor(line) : 0), {}};
    }
    LaunchResult launched = m_real->Launch(commandLine);
    if (launched.command) {
        launched.command = std::make_unique<TrackedCommand>(std::move(launched.command), running);
    }
    return launched;
}

} // namespace corvane::test
