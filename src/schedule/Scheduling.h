// Schedule All and Schedule Selected: one AT line per target server, all started in one pass,
// then waited for together so that the user learns which servers did not take the job.
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>

class QComboBox;

namespace corvane {

class Host;
class ScheduleInputs;

class Scheduling {
public:
    // `answerTime`: how long the run waits, in all, for the servers to take the job.
    Scheduling(Host& host, const ScheduleInputs& inputs, QComboBox& cboRun,
               const std::chrono::milliseconds& answerTime);

    void cmdRunSchedule_Click();
    void cmdRunSingle_Click();

private:
    void ScheduleJob(bool selectedOnly);
    // The command, the AppDir and the question; the busy cursor is taken before the question.
    bool MaySchedule();
    // Starts every line, then collects the answers: the servers that failed and those that did
    // not answer in time.
    void RunOnServers(const QStringList& servers, QStringList& failed, QStringList& unanswered);
    void ReportOutcome(const QStringList& failed, const QStringList& unanswered);

    Host& m_host;
    const ScheduleInputs& m_inputs;
    QComboBox& m_cboRun;
    const std::chrono::milliseconds& m_answerTime;
};

} // namespace corvane
