// Validate List: probes every server with the job listing and offers to drop the unreachable and
// the access-denied ones.
#pragma once

#include <QString>
#include <QStringList>

class QListWidget;

namespace corvane {

class Host;
struct FileResult;

class Validation {
public:
    Validation(Host& host, QListWidget& lstComputers);

    void cmdValidate_Click();

private:
    struct Found {
        QStringList unavailable;
        QStringList denied;
    };
    // Probes each server and appends the ones found to the result files; false when the run
    // stopped, the reason said.
    bool ProbeServers(Found& found);
    // The probe's verdict for one server: the at tool's first captured line; nothing when the
    // tool could not be started (said).
    bool Probe(const QString& server, QString& verdict);
    // The offers to remove what was found.
    void ReportFound(const Found& found);
    // True when the result file operation succeeded; otherwise says so and the run stops.
    bool Written(const QString& path, const FileResult& result);
    void RemoveEveryEntry(const QStringList& names);

    Host& m_host;
    QListWidget& m_lstComputers;
};

} // namespace corvane
