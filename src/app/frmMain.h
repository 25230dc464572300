// The main window: every control of the program's one entry point, its start-up and shut-down,
// the status line, the busy cursor and the error notice.
#pragma once

#include "app/Services.h"
#include "app/SharedState.h"
#include "app/StatusLine.h"
#include "persist/TextFile.h"
#include "platform/FileSystem.h"
#include "runner/RunAndWait.h"

#include <QHash>
#include <QSet>
#include <QWidget>
#include <chrono>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace corvane {

struct ListItems;
class frmAbout;
class frmReport;
class frmTextViewer;
class frmUptimeReport;

class frmMain final : public QWidget {
public:
    frmMain(QString appDir, Services services, QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: fills the lists and boxes from the files in AppDir. Runs once, before show().
    void Form_Load();
    // Shut-down: writes every list, text and history back to AppDir. Runs once.
    void Form_Unload();

    // --- Shared state, status line, busy cursor, errors. ---
    SharedState& State() { return m_state; }
    const QString& AppDir() const { return m_state.AppDir; }
    Services& Platform() { return m_services; }

    // Colour first, then text.
    void SetStatus(StatusColour colour, const QString& text);
    void SetIdleStatus() { SetStatus(StatusColour::Idle, kIdleStatus); }
    StatusColour CurrentStatusColour() const { return m_statusColour; }

    // The one busy test every guarded handler makes first.
    bool IsBusy() const;
    void SetBusy(bool busy);

    // Reports a failed file operation: 52 shows the unreachable-server notice naming
    // CurrentServer and raises ServerUnreachable, 76 says the path was not found, others pass.
    void HandleFileError(int error);

    // Add the current text of the deploy-path or command box to its history, unless it is there.
    void RememberDeployPath();
    void RememberCommand();

    // The message box of the program's conventions, through Dialogs.
    int MsgBox(const QString& text, int style = 0);

    // Ends the program: saves once, closes every window, ends the process at once.
    void cmdExit_Click();

    // --- Computer list. ---
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdClear_Click();
    void cmdImport_Click();
    void cmdExport_Click();
    // Writes lstComputers to computerlist.txt; says so and returns false when that fails.
    bool SaveComputerList();

    // --- Manual and About; no busy test, they work during a run. ---
    void cmdManual_Click();
    void cmdAbout_Click();
    // Created on first use, then only hidden and shown again.
    frmTextViewer* TextViewer() const { return m_textViewer; }
    frmAbout* About() const { return m_about; }

    // --- Command runner. ---
    // RunAndWait in AppDir with the program's Processes; not started when there are none.
    // Nor when AppDir cannot be put into a command line (UnsafeAppDirCharacter).
    RunResult RunAndWait(const QString& command, const QString& captureFile = {},
                         const OnCommandStarted& onStarted = {});
    // Called before an action starts its commands: when AppDir cannot be put into a command line,
    // says so in one message and returns true, and the action starts nothing.
    bool AppDirRefused();

    // --- Schedule inputs. ---
    // Checks made when the user moves the focus out of the field; a failed check says so and
    // gives the focus back.
    void txtHour_LostFocus();
    void txtMinutes_LostFocus();
    void cboAMPM_LostFocus();
    // The job ID stays numeric while it is typed; a click into it empties it.
    void txtJobID_KeyUp();
    void txtJobID_MouseDown();
    QString TimeArgument() const;
    QString DayArgument() const;

    // --- Scheduling, job listing and removal, validation. ---
    void cmdRunSchedule_Click();
    void cmdRunSingle_Click();
    void lstComputers_Click();
    void cmdRemoveSchedule_Click();
    void cmdValidate_Click();
    // --- File checks and the deploy list. ---
    // True when the folder (or a file of that name) exists; a failed search is reported through
    // HandleFileError and gives false. The empty path is false without a search.
    bool DirExists(const QString& directory);
    // True when a plain file exists; a failed search gives false and, when asked, its error.
    bool FileExists(const QString& path, FileResult* failure = nullptr);
    // The multi-select open dialog: one path, or the folder and each name separated by NUL;
    // empty when cancelled.
    QString GetFiles(const QString& sTitle = {});
    void cmdAddDeployables_Click();
    void cmdRemoveDeployables_Click();
    void cmdClearDeploy_Click();

    // --- Deploying the deploy list to the servers' administrative shares. ---
    void cmdDeployAll_Click();
    void cmdDeploySelected_Click();
    // What went wrong on one server during a deploy.
    struct ServerOutcome;
    struct DeploySources;

    // --- Confirming deployed files; the report window. ---
    void cmdConfirmAll_Click();
    void cmdConfirmSel_Click();
    // Tests the deploy path and every deploy-list file on all (or the selected) servers, writes
    // report.top and shows it in the report window.
    void ConfirmRun(bool selectedOnly);
    // Created on the first report, then only hidden and shown again.
    frmReport* Report() const;

    // --- Uptime sweep; the uptime report window. ---
    void cmdUpAll_Click();
    void cmdUpSel_Click();
    // Asks every server of the list (or only the selected ones) for its uptime, one after the
    // other, into the uptime report window; the window's Cancel stops it after the current server.
    void UptimeSweep(bool selectedOnly);
    // The one uptime report window, created hidden on first use. Closing destroys it; the next use
    // creates a new one.
    frmUptimeReport* UptimeReport();
    // The report window when one exists, else null; creates nothing.
    frmUptimeReport* ExistingUptimeReport() const { return m_uptimeReport; }

    // How long scheduling waits, in all, for the servers to take the job.
    std::chrono::milliseconds ScheduleAnswerTime{std::chrono::seconds(60)};

    // --- Controls, named as the handlers refer to them. ---
    QGroupBox* fraComputerList;
    QListWidget* lstComputers;
    QPushButton* cmdAdd;
    QPushButton* cmdRemove;
    QPushButton* cmdClear;
    QPushButton* cmdValidate;
    QPushButton* cmdImport;
    QPushButton* cmdExport;
    QPushButton* cmdUpSel;
    QPushButton* cmdUpAll;

    QGroupBox* fraScheduledJobs;
    QPlainTextEdit* rtbScheduledJobs;

    QGroupBox* fraDeploy;
    QLabel* lblFilesToDeploy;
    QPushButton* cmdAddDeployables;
    QPushButton* cmdRemoveDeployables;
    QPushButton* cmdClearDeploy;
    QListWidget* lstDeployables2;
    QListWidget* lstDeployables;
    QLabel* lblDeployPath;
    QComboBox* cboDeployPath;
    QPushButton* cmdDeploySelected;
    QPushButton* cmdDeployAll;
    QPushButton* cmdConfirmSel;
    QPushButton* cmdConfirmAll;

    QGroupBox* fraSchedule;
    QLabel* lblTime;
    QLineEdit* txtHour;
    QLabel* lblColon;
    QLineEdit* txtMinutes;
    QComboBox* cboAMPM;
    QGroupBox* fraThisOccurs;
    QRadioButton* optToday;
    QRadioButton* optEvery;
    QRadioButton* optNext;
    QGroupBox* fraDays;
    QListWidget* lstDays;
    QLabel* lblCommand;
    QComboBox* cboRun;
    QPushButton* cmdRunSingle;
    QPushButton* cmdRunSchedule;

    QGroupBox* fraRemove;
    QLabel* lblJobID;
    QLineEdit* txtJobID;
    QPushButton* cmdRemoveSchedule;

    QGroupBox* fraStatus;
    QLabel* lblStatus;

    QLabel* imgLogo;
    QPushButton* cmdManual;
    QPushButton* cmdAbout;
    QPushButton* cmdExit;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildComputerList();
    void BuildScheduledJobs();
    void BuildDeploy();
    void BuildSchedule();
    void BuildRemove();
    void BuildStatus();
    void BuildWindowButtons();
    void ConnectHandlers();
    void WireScheduleFields();
    void ScheduleJob(bool selectedOnly);
    // The servers a run works on: the entries up to the first empty one (1001 at most), all of
    // them or only the selected ones, in list order.
    QStringList TargetServers(bool selectedOnly) const;
    bool AnySelected() const;
    // For a run over the selected servers: says what is missing (no current entry, nothing
    // selected) and gives false, or gives true.
    bool CheckSelection();
    // Tells the user a server name cannot go into a command line.
    void RefuseServerName(const QString& server);
    void RemoveEveryEntry(const QStringList& names);
    // Deploying.
    void DeployFiles(bool selectedOnly);
    ServerOutcome DeployToServer(const QString& server, const QString& deployPath,
                                 DeploySources& sources);

    void LoadComputerList(QStringList& notes);
    void LoadDeployList(QStringList& notes);
    void LoadBoxes(QStringList& notes);
    // Read a state file in AppDir and remember how it was read.
    ListItems ReadStateList(const QString& name, QStringList& notes);
    QString ReadStateText(const QString& name, QStringList& notes);
    void NoteStateRead(const QString& name, const FileResult& read, TextEncoding encoding,
                       QStringList& notes);
    // A state file that could not be read at start-up is never written or deleted by this run:
    // what it holds is not known, so nothing written could stand for it.
    bool LeftAsItIs(const QString& name) const { return m_unreadable.contains(name); }
    TextEncoding EncodingOf(const QString& name) const {
        return m_encodings.value(name, TextEncoding::Native);
    }
    QSet<QString> m_unreadable;
    QHash<QString, TextEncoding> m_encodings;

    // Confirming.
    frmReport* m_report = nullptr;
    // Uptime sweep.
    // Clears UptimeCancelled, disables the report window's Cancel, shows the idle status.
    void UptimeEndSteps();
    frmUptimeReport* m_uptimeReport = nullptr;
    bool m_uptimeSweeping = false;
    SharedState m_state;
    Services m_services;
    StatusColour m_statusColour = StatusColour::Idle;
    bool m_ending = false;
    frmTextViewer* m_textViewer = nullptr;
    frmAbout* m_about = nullptr;
};

} // namespace corvane
