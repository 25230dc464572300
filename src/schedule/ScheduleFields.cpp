// The schedule fields' checks when the user leaves them, and the job-ID field's behaviour.
#include "app/frmMain.h"
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

void frmMain::WireScheduleFields() {
    txtHour->installEventFilter(new UserFocusLoss(this, [this] { txtHour_LostFocus(); }));
    txtMinutes->installEventFilter(new UserFocusLoss(this, [this] { txtMinutes_LostFocus(); }));
    cboAMPM->installEventFilter(new UserFocusLoss(this, [this] { cboAMPM_LostFocus(); }));
    txtJobID->installEventFilter(new KeyAndMouseWatch(
        this, [this] { txtJobID_KeyUp(); }, [this] { txtJobID_MouseDown(); }));
}

void frmMain::txtHour_LostFocus() {
    if (!IsNumeric(txtHour->text())) {
        MsgBox(kNumericHour);
        txtHour->setFocus();
    }
}

void frmMain::txtMinutes_LostFocus() {
    if (!IsNumeric(txtMinutes->text())) {
        MsgBox(kNumeric);
        txtMinutes->setFocus();
    }
}

void frmMain::cboAMPM_LostFocus() {
    const QString marker = cboAMPM->currentText();
    if (marker != QStringLiteral("AM") && marker != QStringLiteral("PM")) {
        MsgBox(QStringLiteral("I'm sorry, but this must be AM or PM."));
        cboAMPM->setFocus();
    }
}

void frmMain::txtJobID_KeyUp() {
    if (!IsNumeric(txtJobID->text())) {
        MsgBox(kNumeric);
        txtJobID->clear();
    }
}

void frmMain::txtJobID_MouseDown() {
    txtJobID->clear();
}

QString frmMain::TimeArgument() const {
    return BuildTimeArgument(txtHour->text(), txtMinutes->text(), cboAMPM->currentText());
}

QString frmMain::DayArgument() const {
    const Occurrence occurrence = optEvery->isChecked()  ? Occurrence::Every
                                  : optNext->isChecked() ? Occurrence::Next
                                                         : Occurrence::Today;
    QStringList days;
    for (int i = 0; i < lstDays->count(); ++i) {
        if (lstDays->item(i)->isSelected()) {
            days << lstDays->item(i)->text();
        }
    }
    return BuildDayArgument(occurrence, days);
}

} // namespace corvane
