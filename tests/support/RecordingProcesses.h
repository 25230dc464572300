// Processes that record every command line, and end each at once or pass it to a real backend.
#pragma once

#include "platform/Processes.h"

#include <QStringList>
#include <functional>
#include <vector>

namespace corvane::test {

class RecordingProcesses final : public Processes {
public:
    // Without a real backend every command "ends" at once with the status statusFor gives (0).
    explicit RecordingProcesses(Processes* real = nullptr) : m_real(real) {}

    std::function<int(const QString& line)> statusFor;
    const QStringList& lines() const { return m_lines; }
    // The real commands still owned by their callers; End() on them ends the real command.
    std::vector<RunningCommand*> running;

    LaunchResult Launch(const std::string& commandLine) override;

private:
    Processes* m_real;
    QStringList m_lines;
};

} // namespace corvane::test
