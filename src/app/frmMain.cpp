// The main window's controls and their arrangement; the handlers live in files of their own.
#include "app/frmMain.h"

#include "Version.h"
#include "app/Controls.h"
#include "app/Logo.h"
#include "app/Twips.h"
#include "app/WrapButton.h"
#include "computers/ComputerList.h"
#include "deploy/Confirming.h"
#include "deploy/DeployList.h"
#include "deploy/Deploying.h"
#include "schedule/JobListing.h"
#include "schedule/ScheduleInputs.h"
#include "schedule/Scheduling.h"
#include "uptime/UptimeSweep.h"
#include "validate/Validation.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace corvane {

frmMain::frmMain(QString appDir, Services services, QWidget* parent)
    : QWidget(parent), m_appDir(std::move(appDir)), m_services(std::move(services)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Corvane - Ver ") + QLatin1String(kVersion));
    setWindowIcon(LogoIcon());
    setFixedSize(Twips(11895), Twips(8295));
    BuildComputerList();
    BuildScheduledJobs();
    BuildDeploy();
    BuildSchedule();
    BuildRemove();
    BuildStatus();
    BuildWindowButtons();
    BuildFeatures();
    ConnectHandlers();
}

frmMain::~frmMain() = default;

void frmMain::BuildComputerList() {
    fraComputerList = MakeFrame(this, "fraComputerList", QStringLiteral("COMPUTER LIST"),
                                TwipsRect(240, 240, 2535, 7815));
    QWidget* f = fraComputerList;
    lstComputers = MakeList(f, "lstComputers", QStringLiteral("Computer list"),
                            QStringLiteral("Computer list"), TwipsRect(120, 300, 2295, 5160));
    lstComputers->setSelectionMode(QAbstractItemView::ExtendedSelection);

    // Two buttons a row, then the two uptime buttons across the frame.
    auto row = [](int index) { return 5580 + index * 435; };
    cmdAdd = MakeButton(f, "cmdAdd", QStringLiteral("Add"),
                        QStringLiteral("Add another computer to the list."),
                        TwipsRect(120, row(0), 1110, 375));
    cmdRemove = MakeButton(f, "cmdRemove", QStringLiteral("Remove"),
                           QStringLiteral("Remove a selected computer from the list."),
                           TwipsRect(1305, row(0), 1110, 375));
    cmdClear = MakeButton(f, "cmdClear", QStringLiteral("Clear List"),
                          QStringLiteral("Remove ALL computers from the list."),
                          TwipsRect(120, row(1), 1110, 375));
    cmdValidate = MakeButton(
        f, "cmdValidate", QStringLiteral("Validate List"),
        QStringLiteral("Determines which computers on the list are offline or unreachable."),
        TwipsRect(1305, row(1), 1110, 375));
    cmdImport = MakeButton(f, "cmdImport", QStringLiteral("Import List"),
                           QStringLiteral("Import a text file list of servers."),
                           TwipsRect(120, row(2), 1110, 375));
    cmdExport = MakeButton(f, "cmdExport", QStringLiteral("Export List"),
                           QStringLiteral("Export the current computer list to a text file."),
                           TwipsRect(1305, row(2), 1110, 375));
    cmdUpSel = MakeButton(f, "cmdUpSel", QStringLiteral("Get Uptime for selected"), QString(),
                          TwipsRect(120, row(3), 2295, 375));
    cmdUpAll = MakeButton(f, "cmdUpAll", QStringLiteral("Get Uptime for all"), QString(),
                          TwipsRect(120, row(4), 2295, 375));
}

void frmMain::BuildScheduledJobs() {
    fraScheduledJobs = MakeFrame(this, "fraScheduledJobs", QStringLiteral("SCHEDULED JOBS"),
                                 TwipsRect(3000, 240, 5415, 3255));
    const QString tip = QStringLiteral("Current scheduled jobs on the selected computer.");
    rtbScheduledJobs = new QPlainTextEdit(fraScheduledJobs);
    rtbScheduledJobs->setObjectName(QStringLiteral("rtbScheduledJobs"));
    rtbScheduledJobs->setToolTip(tip);
    rtbScheduledJobs->setAccessibleName(tip);
    rtbScheduledJobs->setReadOnly(true);
    rtbScheduledJobs->setLineWrapMode(QPlainTextEdit::NoWrap);
    rtbScheduledJobs->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 8));
    rtbScheduledJobs->setGeometry(TwipsRect(120, 300, 5175, 2835));
}

void frmMain::BuildDeploy() {
    fraDeploy = MakeFrame(this, "fraDeploy", QStringLiteral("DEPLOY EXECUTABLES"),
                          TwipsRect(3000, 3720, 5415, 4335));
    QWidget* f = fraDeploy;
    lblFilesToDeploy = MakeLabel(f, "lblFilesToDeploy", QStringLiteral("Files to Deploy:"),
                                 TwipsRect(120, 270, 3600, 255));
    const QString listTip = QStringLiteral("List of files to be deployed.");
    lstDeployables2 = MakeList(f, "lstDeployables2", lblFilesToDeploy->text(), listTip,
                               TwipsRect(120, 540, 3600, 1860));
    lstDeployables2->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstDeployables = MakeList(f, "lstDeployables", listTip, listTip, lstDeployables2->geometry());
    lstDeployables->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstDeployables->hide();
    cmdAddDeployables =
        MakeButton(f, "cmdAddDeployables", QStringLiteral("Add File(s)"),
                   QStringLiteral("Add files to deploy list"), TwipsRect(3840, 540, 1455, 375));
    cmdRemoveDeployables = MakeButton(f, "cmdRemoveDeployables", QStringLiteral("Remove File(s)"),
                                      QStringLiteral("Remove selected file(s) from deploy list"),
                                      TwipsRect(3840, 990, 1455, 375));
    cmdClearDeploy =
        MakeButton(f, "cmdClearDeploy", QStringLiteral("Clear List"),
                   QStringLiteral("Clears the file deploy list"), TwipsRect(3840, 1440, 1455, 375));
    lblDeployPath = MakeLabel(f, "lblDeployPath", QStringLiteral("Path to deploy to on server(s):"),
                              TwipsRect(120, 2490, 5175, 255));
    cboDeployPath = MakeComboBox(
        f, "cboDeployPath", lblDeployPath->text(),
        QStringLiteral("Path to deploy to on selected computers. Please note, this must point to a "
                       "local drive on the server. Please do not use UNC paths here."),
        TwipsRect(120, 2760, 5175, 330));
    lblDeployPath->setBuddy(cboDeployPath);
    cmdDeploySelected =
        MakeButton(f, "cmdDeploySelected", QStringLiteral("Deploy to Selected Servers"),
                   QStringLiteral("Deploy current deploy list to selected computer(s)."),
                   TwipsRect(120, 3240, 2535, 375));
    cmdDeployAll = MakeButton(f, "cmdDeployAll", QStringLiteral("Deploy to All Servers"),
                              QStringLiteral("Deploy all files on the deploy list to ALL computers "
                                             "in the computer list."),
                              TwipsRect(2760, 3240, 2535, 375));
    cmdConfirmSel = MakeButton(
        f, "cmdConfirmSel", QStringLiteral("Confirm Existance on Selected"),
        QStringLiteral("Checks to see if the files selected for deployment are already in place "
                       "on the highlighted servers on the computerlist."),
        TwipsRect(120, 3705, 2535, 375));
    cmdConfirmAll = MakeButton(
        f, "cmdConfirmAll", QStringLiteral("Confirm Existance on All"),
        QStringLiteral("Checks to see if the files selected for deployment are already in place "
                       "on ALL servers on the computerlist."),
        TwipsRect(2760, 3705, 2535, 375));
}

void frmMain::BuildSchedule() {
    fraSchedule = MakeFrame(this, "fraSchedule", QStringLiteral("ADD SCHEDULED JOB"),
                            TwipsRect(8640, 240, 3015, 3975));
    QWidget* f = fraSchedule;
    lblTime = MakeLabel(f, "lblTime", QStringLiteral("Time ="), TwipsRect(120, 345, 630, 255));
    lblTime->setToolTip(QStringLiteral("Time of day to schedule job."));
    txtHour = MakeTextBox(f, "txtHour", QStringLiteral("5"), QStringLiteral("Hour"),
                          QStringLiteral("Hour"), TwipsRect(780, 300, 420, 330));
    lblColon = MakeLabel(f, "lblColon", QStringLiteral(":"), TwipsRect(1230, 345, 90, 255));
    txtMinutes = MakeTextBox(f, "txtMinutes", QStringLiteral("00"), QStringLiteral("Minute"),
                             QStringLiteral("Minute"), TwipsRect(1335, 300, 420, 330));
    lblTime->setBuddy(txtHour);
    cboAMPM = MakeComboBox(f, "cboAMPM", QStringLiteral("Select AM or PM"),
                           QStringLiteral("Select AM or PM"), TwipsRect(1815, 300, 1080, 330));
    cboAMPM->addItems({QStringLiteral("AM"), QStringLiteral("PM")});
    cboAMPM->setEditText(QStringLiteral("PM"));

    fraThisOccurs = MakeFrame(f, "fraThisOccurs", QStringLiteral("This Occurs:"),
                              TwipsRect(120, 735, 1155, 1365));
    auto option = [this](const char* name, const QString& caption, int top) {
        auto* button = new QRadioButton(caption, fraThisOccurs);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(TwipsRect(105, top, 990, 285));
        return button;
    };
    optToday = option("optToday", QStringLiteral("Today"), 300);
    optEvery = option("optEvery", QStringLiteral("Every"), 660);
    optNext = option("optNext", QStringLiteral("Next"), 1020);

    fraDays = MakeFrame(f, "fraDays", QStringLiteral("Days:"), TwipsRect(1365, 735, 1530, 1365));
    lstDays = MakeList(fraDays, "lstDays", fraDays->title(),
                       QStringLiteral("Select the day(s) job should be scheduled on. Note, you can "
                                      "select multiple days by holding down the \"Ctrl\" key."),
                       TwipsRect(90, 270, 1350, 1020));
    lstDays->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstDays->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstDays->addItems({QStringLiteral("Monday"), QStringLiteral("Tuesday"),
                       QStringLiteral("Wednesday"), QStringLiteral("Thursday"),
                       QStringLiteral("Friday"), QStringLiteral("Saturday"),
                       QStringLiteral("Sunday")});
    for (int day = 1; day <= 31; ++day) {
        lstDays->addItem(QString::number(day));
    }

    lblCommand = MakeLabel(f, "lblCommand", QStringLiteral("Command or app to run:"),
                           TwipsRect(120, 2175, 2775, 255));
    cboRun = MakeComboBox(f, "cboRun", lblCommand->text(),
                          QStringLiteral("Path of command or executable on server to be "
                                         "scheduled. This path must be exact. Please do not use "
                                         "UNC paths here."),
                          TwipsRect(120, 2445, 2775, 330));
    lblCommand->setBuddy(cboRun);
    cmdRunSingle = MakeButton(f, "cmdRunSingle", QStringLiteral("Schedule Selected"),
                              QStringLiteral("Schedule job on the selected computer on the "
                                             "computer list."),
                              TwipsRect(120, 2910, 2775, 375));
    cmdRunSchedule =
        MakeButton(f, "cmdRunSchedule", QStringLiteral("Schedule All"),
                   QStringLiteral("Schedule job on all of the computers on the computer list."),
                   TwipsRect(120, 3390, 2775, 375));
}

void frmMain::BuildRemove() {
    fraRemove = MakeFrame(this, "fraRemove", QStringLiteral("REMOVE SCHEDULED JOB"),
                          TwipsRect(8640, 4440, 3015, 1575));
    lblJobID =
        MakeLabel(fraRemove, "lblJobID", QStringLiteral("Job ID ="), TwipsRect(120, 345, 780, 255));
    txtJobID = MakeTextBox(fraRemove, "txtJobID", QStringLiteral("1"), lblJobID->text(),
                           QStringLiteral("Job ID to be removed from selected computer."),
                           TwipsRect(930, 300, 735, 330));
    lblJobID->setBuddy(txtJobID);
    cmdRemoveSchedule =
        new WrapButton(QStringLiteral("Remove Selected Computer's Scheduled Job"), fraRemove);
    cmdRemoveSchedule->setObjectName(QStringLiteral("cmdRemoveSchedule"));
    cmdRemoveSchedule->setToolTip(
        QStringLiteral("Remove the Job ID number on the left for the selected computer."));
    cmdRemoveSchedule->setAutoDefault(false);
    cmdRemoveSchedule->setGeometry(TwipsRect(120, 780, 2775, 630));
}

void frmMain::BuildStatus() {
    fraStatus =
        MakeFrame(this, "fraStatus", QStringLiteral("Status"), TwipsRect(8760, 6240, 2775, 615));
    lblStatus = MakeLabel(fraStatus, "lblStatus", kIdleStatus, TwipsRect(90, 255, 2595, 285));
    lblStatus->setToolTip(
        QStringLiteral("The status bar will let you know when Corvane is busy scheduling or "
                       "deploying files to a large list of servers."));
    lblStatus->setAlignment(Qt::AlignCenter);
    lblStatus->setAutoFillBackground(true);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    lblStatus->setFont(font);
    SetIdleStatus();
}

void frmMain::BuildWindowButtons() {
    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(LogoPixmap());
    imgLogo->setAccessibleName(QStringLiteral("Corvane"));
    imgLogo->setGeometry(Twips(8640) + (Twips(3015) - 168) / 2, Twips(6930), 168, 48);
    cmdManual =
        MakeButton(this, "cmdManual", QStringLiteral("Manual"),
                   QStringLiteral("Need help? Read the manual."), TwipsRect(8880, 7680, 735, 375));
    cmdAbout = MakeButton(this, "cmdAbout", QStringLiteral("About"),
                          QStringLiteral("About Corvane."), TwipsRect(9840, 7680, 735, 375));
    cmdExit = MakeButton(this, "cmdExit", QStringLiteral("Exit"),
                         QStringLiteral("Get me out of here!"), TwipsRect(10800, 7680, 735, 375));
}

void frmMain::BuildFeatures() {
    m_computerList = std::make_unique<ComputerList>(*this, *lstComputers);
    const DeployControls deploy{*lstDeployables, *lstDeployables2, *cboDeployPath};
    m_deployList = std::make_unique<DeployList>(*this, deploy);
    m_deploying = std::make_unique<Deploying>(*this, deploy);
    m_confirming = std::make_unique<Confirming>(*this, deploy);
    m_scheduleInputs = std::make_unique<ScheduleInputs>(
        *this, ScheduleControls{*txtHour, *txtMinutes, *cboAMPM, *optEvery, *optNext, *lstDays,
                                *txtJobID});
    m_scheduling =
        std::make_unique<Scheduling>(*this, *m_scheduleInputs, *cboRun, ScheduleAnswerTime);
    m_jobListing = std::make_unique<JobListing>(*this, *rtbScheduledJobs, *txtJobID);
    m_validation = std::make_unique<Validation>(*this, *lstComputers);
    m_uptime = std::make_unique<UptimeSweep>(*this);
}

void frmMain::ConnectHandlers() {
    const std::pair<QPushButton*, void (frmMain::*)()> handlers[] = {
        {cmdAdd, &frmMain::cmdAdd_Click},
        {cmdRemove, &frmMain::cmdRemove_Click},
        {cmdClear, &frmMain::cmdClear_Click},
        {cmdImport, &frmMain::cmdImport_Click},
        {cmdExport, &frmMain::cmdExport_Click},
        {cmdAddDeployables, &frmMain::cmdAddDeployables_Click},
        {cmdRemoveDeployables, &frmMain::cmdRemoveDeployables_Click},
        {cmdClearDeploy, &frmMain::cmdClearDeploy_Click},
        {cmdDeployAll, &frmMain::cmdDeployAll_Click},
        {cmdDeploySelected, &frmMain::cmdDeploySelected_Click},
        {cmdConfirmAll, &frmMain::cmdConfirmAll_Click},
        {cmdConfirmSel, &frmMain::cmdConfirmSel_Click},
        {cmdUpAll, &frmMain::cmdUpAll_Click},
        {cmdUpSel, &frmMain::cmdUpSel_Click},
        {cmdManual, &frmMain::cmdManual_Click},
        {cmdAbout, &frmMain::cmdAbout_Click},
        {cmdExit, &frmMain::cmdExit_Click},
        {cmdRunSchedule, &frmMain::cmdRunSchedule_Click},
        {cmdRunSingle, &frmMain::cmdRunSingle_Click},
        {cmdRemoveSchedule, &frmMain::cmdRemoveSchedule_Click},
        {cmdValidate, &frmMain::cmdValidate_Click},
    };
    for (const auto& [button, handler] : handlers) {
        connect(button, &QPushButton::clicked, this, handler);
    }
    connect(lstComputers, &QListWidget::itemClicked, this, &frmMain::lstComputers_Click);
}

} // namespace corvane
