// Processes that record every command line, and end each at once or pass it to a real backend.
#pragma once

#include "platform/Processes.h"

#include <functional>
#include <vector>

namespace corvane::test {

struct RecordingProcesses final : Processes {
    explicit RecordingProcesses(Processes* real = nullptr) : m_real(real) {}

    std::function<int(const QString& line)> statusFor;
    const QStringList& lines() const { return m_lines; }
    std::vector<RunningCommand*> running;

    LaunchResult Launch(const std::string& commandLine) override;

    Processes* m_real;
    QStringList m_lines;
};

} // namespace corvane::test
