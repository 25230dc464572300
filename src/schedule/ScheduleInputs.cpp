// The schedule fields' checks when the user leaves them, and the job-ID field's behaviour.
#include "schedule/ScheduleInputs.h"

#include "app/Host.h"
#include "schedule/FieldEvents.h"
#include "schedule/ScheduleArguments.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace corvane {
namespace {

const QString kNumericHour =
    QStringLiteral("I'm sorry, but this must be a numeric value.\r\nplease try again.");
const QString kNumeric =
    QStringLiteral("I'm sorry, but this must be a numeric value.\r\nPlease try again.");

} // namespace

ScheduleInputs::ScheduleInputs(Host& host, ScheduleControls controls)
    : m_host(host), m_controls(controls) {
    QWidget* owner = &host.Window();
    m_controls.txtHour.installEventFilter(
        new UserFocusLoss(owner, [this] { txtHour_LostFocus(); }));
    m_controls.txtMinutes.installEventFilter(
        new UserFocusLoss(owner, [this] { txtMinutes_LostFocus(); }));
    m_controls.cboAMPM.installEventFilter(
        new UserFocusLoss(owner, [this] { cboAMPM_LostFocus(); }));
    m_controls.txtJobID.installEventFilter(new KeyAndMouseWatch(
        owner, [this] { txtJobID_KeyUp(); }, [this] { txtJobID_MouseDown(); }));
}

void ScheduleInputs::txtHour_LostFocus() {
    if (!IsNumeric(m_controls.txtHour.text())) {
        m_host.MsgBox(kNumericHour);
        m_controls.txtHour.setFocus();
    }
}

void ScheduleInputs::txtMinutes_LostFocus() {
    if (!IsNumeric(m_controls.txtMinutes.text())) {
        m_host.MsgBox(kNumeric);
        m_controls.txtMinutes.setFocus();
    }
}

void ScheduleInputs::cboAMPM_LostFocus() {
    const QString marker = m_controls.cboAMPM.currentText();
    if (marker != QStringLiteral("AM") && marker != QStringLiteral("PM")) {
        m_host.MsgBox(QStringLiteral("I'm sorry, but this must be AM or PM."));
        m_controls.cboAMPM.setFocus();
    }
}

void ScheduleInputs::txtJobID_KeyUp() {
    if (!IsNumeric(m_controls.txtJobID.text())) {
        m_host.MsgBox(kNumeric);
        m_controls.txtJobID.clear();
    }
}

void ScheduleInputs::txtJobID_MouseDown() {
    m_controls.txtJobID.clear();
}

QString ScheduleInputs::TimeArgument() const {
    return BuildTimeArgument(m_controls.txtHour.text(), m_controls.txtMinutes.text(),
                             m_controls.cboAMPM.currentText());
}

QString ScheduleInputs::DayArgument() const {
    const Occurrence occurrence = m_controls.optEvery.isChecked()  ? Occurrence::Every
                                  : m_controls.optNext.isChecked() ? Occurrence::Next
                                                                   : Occurrence::Today;
    QStringList days;
    for (int i = 0; i < m_controls.lstDays.count(); ++i) {
        if (m_controls.lstDays.item(i)->isSelected()) {
            days << m_controls.lstDays.item(i)->text();
        }
    }
    return BuildDayArgument(occurrence, days);
}

} // namespace corvane
