// The handlers of the main window's controls, each forwarding to the feature it belongs to, and
// the Manual and About buttons, which wait for no run.
#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "app/frmTextViewer.h"
#include "computers/ComputerList.h"
#include "deploy/Confirming.h"
#include "deploy/DeployList.h"
#include "deploy/Deploying.h"
#include "persist/AppFiles.h"
#include "platform/Dialogs.h"
#include "schedule/JobListing.h"
#include "schedule/ScheduleInputs.h"
#include "schedule/Scheduling.h"
#include "uptime/UptimeSweep.h"
#include "validate/Validation.h"

namespace corvane {

void frmMain::cmdAdd_Click() {
    m_computerList->cmdAdd_Click();
}
void frmMain::cmdRemove_Click() {
    m_computerList->cmdRemove_Click();
}
void frmMain::cmdClear_Click() {
    m_computerList->cmdClear_Click();
}
void frmMain::cmdImport_Click() {
    m_computerList->cmdImport_Click();
}
void frmMain::cmdExport_Click() {
    m_computerList->cmdExport_Click();
}
bool frmMain::SaveComputerList() {
    return m_computerList->Save();
}

void frmMain::cmdValidate_Click() {
    m_validation->cmdValidate_Click();
}
void frmMain::cmdUpAll_Click() {
    m_uptime->cmdUpAll_Click();
}
void frmMain::cmdUpSel_Click() {
    m_uptime->cmdUpSel_Click();
}
frmUptimeReport* frmMain::ExistingUptimeReport() const {
    return m_uptime->ExistingUptimeReport();
}

void frmMain::lstComputers_Click() {
    m_jobListing->lstComputers_Click();
}
void frmMain::cmdRemoveSchedule_Click() {
    m_jobListing->cmdRemoveSchedule_Click();
}

void frmMain::cmdAddDeployables_Click() {
    m_deployList->cmdAddDeployables_Click();
}
void frmMain::cmdRemoveDeployables_Click() {
    m_deployList->cmdRemoveDeployables_Click();
}
void frmMain::cmdClearDeploy_Click() {
    m_deployList->cmdClearDeploy_Click();
}
void frmMain::cmdDeployAll_Click() {
    m_deploying->cmdDeployAll_Click();
}
void frmMain::cmdDeploySelected_Click() {
    m_deploying->cmdDeploySelected_Click();
}
void frmMain::cmdConfirmAll_Click() {
    m_confirming->cmdConfirmAll_Click();
}
void frmMain::cmdConfirmSel_Click() {
    m_confirming->cmdConfirmSel_Click();
}
frmReport* frmMain::Report() const {
    return m_confirming->Report();
}

void frmMain::txtHour_LostFocus() {
    m_scheduleInputs->txtHour_LostFocus();
}
void frmMain::txtMinutes_LostFocus() {
    m_scheduleInputs->txtMinutes_LostFocus();
}
void frmMain::cboAMPM_LostFocus() {
    m_scheduleInputs->cboAMPM_LostFocus();
}
void frmMain::txtJobID_KeyUp() {
    m_scheduleInputs->txtJobID_KeyUp();
}
void frmMain::txtJobID_MouseDown() {
    m_scheduleInputs->txtJobID_MouseDown();
}
QString frmMain::TimeArgument() const {
    return m_scheduleInputs->TimeArgument();
}
QString frmMain::DayArgument() const {
    return m_scheduleInputs->DayArgument();
}
void frmMain::cmdRunSchedule_Click() {
    m_scheduling->cmdRunSchedule_Click();
}
void frmMain::cmdRunSingle_Click() {
    m_scheduling->cmdRunSingle_Click();
}

void frmMain::cmdManual_Click() {
    if (m_textViewer == nullptr) {
        m_textViewer = new frmTextViewer(*this);
    }
    m_textViewer->LoadItems(m_services.files, AppDir() + kManualFile);
    m_services.dialogs.ShowModal(*m_textViewer);
}

void frmMain::cmdAbout_Click() {
    if (m_about == nullptr) {
        m_about = new frmAbout(*this);
    }
    m_services.dialogs.ShowModal(*m_about);
}

} // namespace corvane
