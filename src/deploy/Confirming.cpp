// Confirm Existance on All / Selected: tests the deploy path and each deploy-list file on the
// servers' administrative shares, writes report.top and shows it in the report window.
#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "deploy/AdminShare.h"
#include "deploy/frmReport.h"
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

const QString kReportFile = QStringLiteral("report.top");
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
    ConfirmPass(frmMain& main, ReportFile& report, std::vector<std::string> fileNames)
        : m_main(main), m_files(main.Platform().files), m_report(report),
          m_fileNames(std::move(fileNames)) {}

    // The server's lines, the separator left to the caller; false once the report failed.
    bool Server(const QString& server, const QString& deployPath) {
        SharedState& state = m_main.State();
        state.CurrentServer = server;
        state.ServerUnreachable = false;
        // A name that could lead the path off the server's shares is not looked up at all.
        if (!IsSafeServerName(server)) {
            return m_report.Line("-  " + ToNative(server) + "  is not a usable server name");
        }
        const std::string directory = PathBytes(ToAdminSharePath(server, deployPath));
        bool found = false;
        if (!Test(directory, found) || !Result(found, directory, "\\")) {
            return false;
        }
        // An unreachable server answers no further test; its remaining files get no lines.
        bool reachable = found || !state.ServerUnreachable;
        for (size_t f = 0; reachable && f < m_fileNames.size(); ++f) {
            m_path.assign(directory);
            if (!m_fileNames[f].empty()) {
                m_path.append(1, '\\').append(m_fileNames[f]);
            }
            if (!Test(m_path, found) || !Result(found, m_path, {})) {
                return false;
            }
            reachable = found || !state.ServerUnreachable;
        }
        state.ServerUnreachable = false;
        return true;
    }

private:
    // DirExists, but the lines so far are written out before a failure is reported: a report
    // that can no longer be written stops the run before the user is asked for anything more.
    bool Test(const std::string& path, bool& found) {
        const SearchResult result = m_files.Search(path, true);
        found = result.result.ok() && !result.name.empty();
        if (result.result.ok()) {
            return true;
        }
        if (!m_report.Flush()) {
            return false;
        }
        m_main.HandleFileError(result.result.error);
        return true;
    }
    bool Result(bool found, const std::string& path, std::string_view tail) {
        m_line.assign(found ? "+  " : "-  ");
        AppendPathAsText(m_line, path);
        m_line.append(tail);
        m_line.append(found ? kFound : kMissing);
        return m_report.Line(m_line);
    }

    frmMain& m_main;
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
bool WriteReport(frmMain& main, ReportFile& report, const QStringList& servers,
                 const QString& deployPath, const QStringList& fileNames, bool selectedOnly) {
    std::vector<std::string> nativeNames;
    for (const QString& name : fileNames) {
        nativeNames.push_back(PathBytes(name));
    }
    const BatchScope batch(main.Platform().files);
    ConfirmPass pass(main, report, std::move(nativeNames));
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

frmReport* frmMain::Report() const {
    return m_report;
}

void frmMain::cmdConfirmAll_Click() {
    ConfirmRun(false);
}

void frmMain::cmdConfirmSel_Click() {
    ConfirmRun(true);
}

void frmMain::ConfirmRun(bool selectedOnly) {
    if (IsBusy()) {
        SetIdleStatus();
        return;
    }
    const auto end = [this] {
        SetBusy(false);
        SetIdleStatus();
    };
    if (selectedOnly && !CheckSelection()) {
        SetIdleStatus();
        return;
    }

    // The file name of each entry; an empty name stands for the server directory itself.
    QStringList fileNames;
    for (int i = 0; !EntryText(*lstDeployables, i).isEmpty(); ++i) {
        fileNames << FileNameOf(EntryText(*lstDeployables, i));
    }
    if (fileNames.isEmpty()) {
        if (!AskForThePathAlone(m_services.dialogs, selectedOnly)) {
            end();
            return;
        }
    }
    const QString deployPath = cboDeployPath->currentText();
    if (deployPath.isEmpty()) {
        MsgBox(QStringLiteral("There is no Deploy Path Specified.\r\nType a path in the field and "
                              "try again."));
        end();
        return;
    }
    // Only C$ to G$ are administrative shares of a server's own disks; any other path would be
    // tested somewhere else than where the files were deployed.
    if (!IsSupportedDeployPath(deployPath)) {
        MsgBox(kUnsupportedDeployPath);
        end();
        return;
    }

    SetBusy(true);
    SetStatus(StatusColour::Busy, QStringLiteral("Checking"));
    repaint();
    RememberDeployPath();
    ReportFile report(m_services.files, AppDir() + kReportFile);
    const bool written = WriteReport(*this, report, TargetServers(selectedOnly), deployPath,
                                     fileNames, selectedOnly);
    if (!written) {
        MsgBox(QStringLiteral("Corvane could not write the report file %1:\r\n%2\r\n\r\nThe check "
                              "was stopped, so no report is shown.")
                   .arg(report.path(), ReasonText(report.failure())),
               MsgStyle::Exclamation);
        end();
        return;
    }

    if (!selectedOnly && EntryText(*lstComputers, 0).isEmpty()) {
        MsgBox(QStringLiteral("You don't have any servers in your list to check!"));
    } else {
        SetStatus(StatusColour::Done, QStringLiteral("Done!"));
        if (m_report == nullptr) {
            m_report = new frmReport(*this, m_services.files, AppDir() + kReportFile);
        }
        m_services.dialogs.ShowModal(*m_report);
    }
    end();
}

} // namespace corvane
