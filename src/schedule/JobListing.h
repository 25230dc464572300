// Job listing and removal: a click in the computer list shows the server's jobs; the Remove button
// deletes one of them.
#pragma once

#include <QString>
#include <optional>

class QLineEdit;
class QPlainTextEdit;

namespace corvane {

class Host;

class JobListing {
public:
    JobListing(Host& host, QPlainTextEdit& rtbScheduledJobs, QLineEdit& txtJobID);

    void lstComputers_Click();
    void cmdRemoveSchedule_Click();

private:
    // The job ID to remove from the current server and the line that removes it, after the checks
    // and the question; nothing when nothing is to be removed, the reason said.
    struct Removal {
        QString jobId;
        QString command;
    };
    std::optional<Removal> JobToRemove(const QString& server);
    // Tells the user a server name cannot go into a command line.
    void RefuseServerName(const QString& server);

    Host& m_host;
    QPlainTextEdit& m_rtbScheduledJobs;
    QLineEdit& m_txtJobID;
};

} // namespace corvane
