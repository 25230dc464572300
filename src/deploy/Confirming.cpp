// Confirm Existance on All / Selected: tests the deploy path and each deploy-list file on the
// servers' administrative shares, writes report.top and shows it in the report window.
#include "deploy/Confirming.h"

#include "app/Host.h"
#include "app/ListHelpers.h"
#include "app/ServerRun.h"
#include "deploy/AdminShare.h"
#include "deploy/frmReport.h"
#include "persist/AppFiles.h"
#include "persist/History.h"
#include "persist/TextFile.h"
#include "platform/Dialogs.h"
#include "runner/ServerName.h"

#include <QComboBox>
#include <QListWidget>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {
namespace {

constexpr std::string_view kFound = "  DOES exist!";
constexpr std::string_view kMissing = "  does NOT exist!";

// report.top for one run: emptied when opened, written through a buffer, closed at the end. The
// first failure is kept, so that the run can stop and say why.
class ReportFile {
public:
    ReportFile(FileSystem& files, const QString& path) : m_path(path) {
        m_failure = files.OpenLineWriter(PathBytes(path), m_writer);
    }
    bool Line(std::string_view line) { return m_writer && Keep(m_writer->WriteLine(line)); }
    bool Flush() { return m_writer && Keep(m_writer->Flush()); }
    bool Close() { return m_writer && Keep(m_writer->Close()); }
    bool ok() const { return m_failure.ok(); }
    const FileResult& failure() const { return m_failure; }
    const QString& path() const { return m_path; }

private:
    bool Keep(FileResult result) {
        if (m_failure.ok()) {
            m_failure = std::move(result);
        }
        return m_failure.ok();
    }

    QString m_path;
    std::unique_ptr<LineWriter> m_writer;
    FileResult m_failure;
};

// One run's tests, in the native spelling throughout: half a million paths leave no time for
// conversions per path.
class ConfirmPass {
public:
    ConfirmPass(Host& host, ReportFile& report, std::vector<std::string> fileNames)
        : m_host(host), m_files(host.Platform().files), m_report(report),
          m_fileNames(std::move(fileNames)) {}

    // The server's lines, the separator left to the caller; false once the report failed.
    bool Server(const QString& server, const QString& deployPath) {
        // A name that could lead the path off the server's shares is not looked up at all.
        if (!IsSafeServerName(server)) {
            return m_report.Line("-  " + ToNative(server) + "  is not a usable server name");
        }
        const std::string directory = PathBytes(ToAdminSharePath(server, deployPath));
        Look look;
        if (!Test(server, directory, look) || !Result(look.found, directory, "\\")) {
            return false;
        }
        // An unreachable server answers no further test; its remaining files get no lines.
        for (size_t f = 0; !look.unreachable && f < m_fileNames.size(); ++f) {
            m_path.assign(directory);
            if (!m_fileNames[f].empty()) {
                m_path.append(1, '\\').append(m_fileNames[f]);
            }
            if (!Test(server, m_path, look) || !Result(look.found, m_path, {})) {
                return false;
            }
        }
        return true;
    }

private:
    struct Look {
        bool found = false;
        bool unreachable = false; // said by the file-error notice
    };

    // A folder check, but the lines so far are written out before a failure is reported: a report
    // that can no longer be written stops the run before the user is asked for anything more.
    bool Test(const QString& server, const std::string& path, Look& look) {
        const SearchResult result = m_files.Search(path, true);
        look = {result.result.ok() && !result.name.empty(), false};
        if (result.result.ok()) {
            return true;
        }
        if (!m_report.Flush()) {
            return false;
        }
        look.unreachable = m_host.HandleFileError(result.result.error, server);
        return true;
    }
    bool Result(bool found, const std::string& path, std::string_view tail) {
        m_line.assign(found ? "+  " : "-  ");
        AppendPathAsText(m_line, path);
        m_line.append(tail);
        m_line.append(found ? kFound : kMissing);
        return m_report.Line(m_line);
    }

    Host& m_host;
    FileSystem& m_files;
    ReportFile& m_report;
    const std::vector<std::string> m_fileNames; // an empty name stands for the folder itself
    std::string m_path;
    std::string m_line;
};

// With an empty deploy list, whether the deploy path alone is to be tested.
bool AskForThePathAlone(Dialogs& dialogs, bool selectedOnly) {
    const QString targets =
        selectedOnly ? QStringLiteral("specified above exists on the selected target servers.")
                     : QStringLiteral("specified above exists on all target servers.");
    return dialogs.MsgBox(
               QStringLiteral("You don't have any files listed in the deployment box!\r\n"
                              "I can still check to see if the deployment path\r\n") +
                   targets + QStringLiteral("\r\nDo you want me to do this?"),
               MsgStyle::YesNo | MsgStyle::Exclamation | MsgStyle::DefaultButton2,
               QStringLiteral("Confirm Existance")) == MsgAnswer::Yes;
}

// Tests every server and writes report.top; false, with the report's failure kept, when it could
// not be written.
bool WriteReport(Host& host, ReportFile& report, const QStringList& servers,
                 const QString& deployPath, const QStringList& fileNames, bool selectedOnly) {
    std::vector<std::string> nativeNames;
    for (const QString& name : fileNames) {
        nativeNames.push_back(PathBytes(name));
    }
    const BatchScope batch(host.Platform().files);
    ConfirmPass pass(host, report, std::move(nativeNames));
    const std::string separator = selectedOnly ? std::string() : std::string(" ");
    bool written = report.ok();
    for (const QString& server : servers) {
        if (!written) {
            break;
        }
        written = pass.Server(server, deployPath) && report.Line(separator);
    }
    return written && report.Close();
}

} // namespace

Confirming::Confirming(Host& host, DeployControls controls) : m_host(host), m_controls(controls) {}

void Confirming::cmdConfirmAll_Click() {
    ConfirmRun(false);
}

void Confirming::cmdConfirmSel_Click() {
    ConfirmRun(true);
}

std::optional<QStringList> Confirming::FilesToTest(bool selectedOnly) {
    // The file name of each entry; an empty name stands for the server directory itself.
    QStringList fileNames;
    for (int i = 0; !EntryText(m_controls.lstDeployables, i).isEmpty(); ++i) {
        fileNames << FileNameOf(EntryText(m_controls.lstDeployables, i));
    }
    if (fileNames.isEmpty() && !AskForThePathAlone(m_host.Platform().dialogs, selectedOnly)) {
        return std::nullopt;
    }
    const QString deployPath = m_controls.cboDeployPath.currentText();
    if (deployPath.isEmpty()) {
        m_host.MsgBox(kNoDeployPath);
        return std::nullopt;
    }
    // Only C$ to G$ are administrative shares of a server's own disks; any other path would be
    // tested somewhere else than where the files were deployed.
    if (!IsSupportedDeployPath(deployPath)) {
        m_host.MsgBox(kUnsupportedDeployPath);
        return std::nullopt;
    }
    return fileNames;
}

void Confirming::ConfirmRun(bool selectedOnly) {
    ServerRun run(m_host);
    if (!run.Open({.selectedOnly = selectedOnly})) {
        return;
    }
    const std::optional<QStringList> fileNames = FilesToTest(selectedOnly);
    if (!fileNames) {
        return;
    }
    run.Begin(QStringLiteral("Checking"));
    RememberText(m_controls.cboDeployPath);
    ReportFile report(m_host.Platform().files, m_host.AppDir() + kReportFile);
    if (!WriteReport(m_host, report, m_host.TargetServers(selectedOnly),
                     m_controls.cboDeployPath.currentText(), *fileNames, selectedOnly)) {
        m_host.MsgBox(QStringLiteral("Corvane could not write the report file %1:\r\n%2\r\n\r\n"
                                     "The check was stopped, so no report is shown.")
                          .arg(report.path(), ReasonText(report.failure())),
                      MsgStyle::Exclamation);
        return;
    }
    if (!selectedOnly && !m_host.HasServers()) {
        m_host.MsgBox(QStringLiteral("You don't have any servers in your list to check!"));
        return;
    }
    run.Done();
    ShowReport();
}

void Confirming::ShowReport() {
    if (m_report == nullptr) {
        m_report =
            new frmReport(m_host.Window(), m_host.Platform().files, m_host.AppDir() + kReportFile);
    }
    m_host.Platform().dialogs.ShowModal(*m_report);
}

} // namespace corvane
