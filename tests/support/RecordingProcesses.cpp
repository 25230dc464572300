// Recorded launches: finished commands with a chosen status, or real ones passed through.
#include "RecordingProcesses.h"

namespace corvane::test {
namespace {

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
