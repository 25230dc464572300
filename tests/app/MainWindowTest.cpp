// The main window as a person and a screen reader meet it, and its refusals while a run is busy.
#include "Harness.h"
#include "RecordingProcesses.h"

#include "app/ListHelpers.h"
#include "app/frmMsg.h"

#include <QAccessible>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

QString AccessibleName(QWidget* widget) {
    if (auto* box = qobject_cast<QComboBox*>(widget); box && box->isEditable())
        return box->accessibleName();
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { h.Start(nullptr, &processes); }
    frmMain& w() { return *h.window; }
    MainHarness h;
    RecordingProcesses processes;
};

TEST_F(MainWindowTest, EveryControlIsEnabledWithAnAccessibleName) {
    const QRegularExpression named(QStringLiteral("^(fra|lst|cmd|rtb|lbl|txt|cbo|opt|img)[A-Z]"));
    const QList<QWidget*> controls = w().findChildren<QWidget*>(named);
    EXPECT_EQ(controls.size(), 51);
    for (QWidget* control : controls) { // a list is extended-select
        const auto* list = qobject_cast<QListWidget*>(control);
        EXPECT_TRUE(!AccessibleName(control).isEmpty() && control->isEnabled() &&
                    (!list || list->selectionMode() == QAbstractItemView::ExtendedSelection))
            << control->objectName().toStdString();
    }
    const std::pair<QLabel*, QWidget*> labelled[] = {{w().lblDeployPath, w().cboDeployPath},
                                                     {w().lblTime, w().txtHour},
                                                     {w().lblCommand, w().cboRun},
                                                     {w().lblJobID, w().txtJobID}};
    for (const auto& [label, box] : labelled) {
        const auto relations =
            QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label);
        EXPECT_TRUE(label->buddy() == box && !relations.isEmpty() &&
                    relations[0].first->text(QAccessible::Name) == label->text())
            << label->text().toStdString();
    }
    const QStringList days = Entries(*w().lstDays); // the week, then the days of a month
    EXPECT_TRUE(days.size() == 38 && days[6] == "Sunday" && days[7] == "1" && days[37] == "31");
    EXPECT_TRUE(w().lblStatus->font().bold() && !w().cmdRemoveSchedule->autoDefault() &&
                w().rtbScheduledJobs->lineWrapMode() == QPlainTextEdit::NoWrap);
    EXPECT_EQ(AccessibleName(w().rtbScheduledJobs), w().rtbScheduledJobs->toolTip());
}

TEST_F(MainWindowTest, WhileBusyEveryGuardedHandlerRefusesAndTheInfoWindowsStillOpen) {
    w().lstComputers->addItems({"SRV01", "SRV02"});
    w().lstComputers->setCurrentRow(0);
    w().lstDeployables->addItem("C:\\a.exe");
    w().lstDeployables2->addItem("a.exe");
    w().lstDeployables2->setCurrentRow(0);
    w().cboDeployPath->setEditText("C:\\Apps");
    w().cboRun->setEditText("job.cmd");
    const QList<QPushButton*> reset{w().cmdDeployAll,  w().cmdDeploySelected, w().cmdConfirmAll,
                                    w().cmdConfirmSel, w().cmdRunSchedule,    w().cmdRunSingle,
                                    w().cmdUpAll,      w().cmdUpSel};
    QList<QPushButton*> buttons = reset;
    buttons << w().cmdAdd << w().cmdRemove << w().cmdClear << w().cmdImport << w().cmdExport
            << w().cmdValidate << w().cmdAddDeployables << w().cmdRemoveDeployables
            << w().cmdClearDeploy << w().cmdRemoveSchedule << nullptr << w().cmdManual
            << w().cmdAbout;
    QStringList shown;
    for (QPushButton* button : buttons) {
        SCOPED_TRACE(button != nullptr ? button->objectName().toStdString() : "list click");
        h.dialogs.Clear();
        w().SetBusy(true);
        w().SetStatus(StatusColour::Busy, QStringLiteral("Checking"));
        button != nullptr ? button->click() : w().lstComputers_Click();
        EXPECT_EQ(w().lblStatus->text() + (w().IsBusy() ? "" : " idle"),
                  reset.contains(button) ? "Waiting for Command" : "Checking");
        for (const Shown& s : h.dialogs.shown())
            shown << s.objectName;
    }
    EXPECT_EQ(shown, (QStringList{"frmTextViewer", "frmAbout"}));
    EXPECT_EQ(processes.lines() + Entries(*w().lstComputers) + Entries(*w().lstDeployables2),
              (QStringList{"SRV01", "SRV02", "a.exe"}));
    EXPECT_FALSE(h.dir.Exists("computerlist.txt") || h.dir.Exists("report.top"));
    EXPECT_EQ(w().cursor().shape(), Qt::WaitCursor);
    w().SetBusy(false);
    EXPECT_EQ(w().cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainWindowTest, AFileErrorSaysAMissingPathAndAnUnreachableServerAndNothingElse) {
    for (int error : {53, 61, 70, 75, 76})
        EXPECT_FALSE(w().HandleFileError(error, QStringLiteral("SRV01"))) << error;
    EXPECT_TRUE(w().HandleFileError(52, QStringLiteral("SRV01")));
    ASSERT_EQ(h.dialogs.shown().size(), 2u);
    EXPECT_EQ(h.dialogs.shown()[0].text + '|' + h.dialogs.shown()[1].objectName + ": " +
                  h.dialogs.shown()[1].text,
              QStringLiteral("Unable to locate path.|frmMsg: Unable to communicate to server "
                             "SRV01\r\nThe server is either offline or unreachable at this time."));
    EXPECT_EQ(w().findChild<frmMsg*>(), nullptr);
}

} // namespace
} // namespace corvane::test
