// The main window: every control of the program's one entry point, its start-up and shut-down,
// the status line, the busy cursor and the error notice. It builds the controls, owns the
// features and forwards each handler to its feature; the features reach it only through Host.
#pragma once

#include "app/Host.h"

#include <QHash>
#include <QSet>
#include <QWidget>
#include <chrono>
#include <memory>

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
class ComputerList;
class Confirming;
class DeployList;
class Deploying;
class JobListing;
class ScheduleInputs;
class Scheduling;
class UptimeSweep;
class Validation;
class frmAbout;
class frmReport;
class frmTextViewer;
class frmUptimeReport;

class frmMain final : public QWidget, public Host {
public:
    frmMain(QString appDir, Services services, QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: fills the lists and boxes from the files in AppDir. Runs once, before show().
    void Form_Load();
    // Shut-down: writes every list, text and history back to AppDir. Runs once.
    void Form_Unload();
    // Ends the program: saves once, closes every window, ends the process at once.
    void cmdExit_Click();

    // --- The handlers, each forwarding to its feature. ---
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdClear_Click();
    void cmdImport_Click();
    void cmdExport_Click();
    void cmdValidate_Click();
    void cmdUpAll_Click();
    void cmdUpSel_Click();
    void lstComputers_Click();
    void cmdAddDeployables_Click();
    void cmdRemoveDeployables_Click();
    void cmdClearDeploy_Click();
    void cmdDeployAll_Click();
    void cmdDeploySelected_Click();
    void cmdConfirmAll_Click();
    void cmdConfirmSel_Click();
    void txtHour_LostFocus();
    void txtMinutes_LostFocus();
    void cboAMPM_LostFocus();
    void txtJobID_KeyUp();
    void txtJobID_MouseDown();
    void cmdRunSchedule_Click();
    void cmdRunSingle_Click();
    void cmdRemoveSchedule_Click();
    // Manual and About; no busy test, they work during a run.
    void cmdManual_Click();
    void cmdAbout_Click();

    // --- Host. ---
    QWidget& Window() override { return *this; }
    const QString& AppDir() const override { return m_appDir; }
    Services& Platform() override { return m_services; }
    void SetStatus(StatusColour colour, const QString& text) override;
    void RepaintStatus() override;
    StatusColour CurrentStatusColour() const { return m_statusColour; }
    bool IsBusy() const override;
    void SetBusy(bool busy) override;
    int MsgBox(const QString& text, int style = 0) override;
    bool HandleFileError(int error, const QString& server) override;
    RunResult RunAndWait(const QString& command, const QString& captureFile = {},
                         const OnCommandStarted& onStarted = {}) override;
    bool AppDirRefused() override;
    QStringList TargetServers(bool selectedOnly) const override;
    QString CurrentServer() const override;
    bool HasServers() const override;
    FileResult SaveStateList(const QString& name, const QStringList& entries) override;

    // --- The features' windows and values that the tests look at. ---
    bool SaveComputerList();
    QString TimeArgument() const;
    QString DayArgument() const;
    frmReport* Report() const;
    frmUptimeReport* ExistingUptimeReport() const;
    UptimeSweep& Uptime() { return *m_uptime; }
    // Created on first use, then only hidden and shown again.
    frmTextViewer* TextViewer() const { return m_textViewer; }
    frmAbout* About() const { return m_about; }

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
    void BuildFeatures();
    void ConnectHandlers();

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

    QString m_appDir;
    Services m_services;
    StatusColour m_statusColour = StatusColour::Idle;
    bool m_ending = false;
    frmTextViewer* m_textViewer = nullptr;
    frmAbout* m_about = nullptr;

    std::unique_ptr<ComputerList> m_computerList;
    std::unique_ptr<DeployList> m_deployList;
    std::unique_ptr<Deploying> m_deploying;
    std::unique_ptr<Confirming> m_confirming;
    std::unique_ptr<ScheduleInputs> m_scheduleInputs;
    std::unique_ptr<Scheduling> m_scheduling;
    std::unique_ptr<JobListing> m_jobListing;
    std::unique_ptr<Validation> m_validation;
    std::unique_ptr<UptimeSweep> m_uptime;
};

} // namespace corvane
