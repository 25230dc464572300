// The main window as a person and a screen reader meet it: controls, names, arrangement.
#include "Harness.h"
#include "RecordingProcesses.h"

#include "app/ListHelpers.h"
#include "app/Twips.h"
#include "persist/History.h"

#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

// The name a screen reader reads. Editable combo boxes are read by their text on Linux whatever
// their name says (their label comes through the labelled-by relation): their name is checked.
QString AccessibleName(QWidget* widget) {
    if (auto* box = qobject_cast<QComboBox*>(widget); box && box->isEditable()) {
        return box->accessibleName();
    }
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }
    frmMain& w() { return *h.window; }
    MainHarness h;
};

TEST_F(MainWindowTest, EveryControlStandsInItsFrameWithItsAccessibleName) {
    EXPECT_EQ(w().windowTitle(), QStringLiteral("Corvane - Ver 1.7"));
    EXPECT_EQ(w().size(), QSize(Twips(11895), Twips(8295)));
    // Names, parents and screen-reader names; the visible controls of a frame never overlap and
    // stay inside it.
    const struct {
        const char* name;
        const char* parent;
        const char* accessibleName; // for frames, labels and buttons their caption
    } controls[] = {
        {"fraComputerList", "frmMain", "COMPUTER LIST"},
        {"lstComputers", "fraComputerList", "Computer list"},
        {"cmdAdd", "fraComputerList", "Add"},
        {"cmdRemove", "fraComputerList", "Remove"},
        {"cmdClear", "fraComputerList", "Clear List"},
        {"cmdValidate", "fraComputerList", "Validate List"},
        {"cmdImport", "fraComputerList", "Import List"},
        {"cmdExport", "fraComputerList", "Export List"},
        {"cmdUpSel", "fraComputerList", "Get Uptime for selected"},
        {"cmdUpAll", "fraComputerList", "Get Uptime for all"},
        {"fraScheduledJobs", "frmMain", "SCHEDULED JOBS"},
        {"rtbScheduledJobs", "fraScheduledJobs",
         "Current scheduled jobs on the selected computer."},
        {"fraDeploy", "frmMain", "DEPLOY EXECUTABLES"},
        {"lblFilesToDeploy", "fraDeploy", "Files to Deploy:"},
        {"lstDeployables2", "fraDeploy", "Files to Deploy:"},
        {"lstDeployables", "fraDeploy", "List of files to be deployed."},
        {"cmdAddDeployables", "fraDeploy", "Add File(s)"},
        {"cmdRemoveDeployables", "fraDeploy", "Remove File(s)"},
        {"cmdClearDeploy", "fraDeploy", "Clear List"},
        {"lblDeployPath", "fraDeploy", "Path to deploy to on server(s):"},
        {"cboDeployPath", "fraDeploy", "Path to deploy to on server(s):"},
        {"cmdDeploySelected", "fraDeploy", "Deploy to Selected Servers"},
        {"cmdDeployAll", "fraDeploy", "Deploy to All Servers"},
        {"cmdConfirmSel", "fraDeploy", "Confirm Existance on Selected"},
        {"cmdConfirmAll", "fraDeploy", "Confirm Existance on All"},
        {"fraSchedule", "frmMain", "ADD SCHEDULED JOB"},
        {"lblTime", "fraSchedule", "Time ="},
        {"txtHour", "fraSchedule", "Hour"},
        {"lblColon", "fraSchedule", ":"},
        {"txtMinutes", "fraSchedule", "Minute"},
        {"cboAMPM", "fraSchedule", "Select AM or PM"},
        {"fraThisOccurs", "fraSchedule", "This Occurs:"},
        {"optToday", "fraThisOccurs", "Today"},
        {"optEvery", "fraThisOccurs", "Every"},
        {"optNext", "fraThisOccurs", "Next"},
        {"fraDays", "fraSchedule", "Days:"},
        {"lstDays", "fraDays", "Days:"},
        {"lblCommand", "fraSchedule", "Command or app to run:"},
        {"cboRun", "fraSchedule", "Command or app to run:"},
        {"cmdRunSingle", "fraSchedule", "Schedule Selected"},
        {"cmdRunSchedule", "fraSchedule", "Schedule All"},
        {"fraRemove", "frmMain", "REMOVE SCHEDULED JOB"},
        {"lblJobID", "fraRemove", "Job ID ="},
        {"txtJobID", "fraRemove", "Job ID ="},
        {"cmdRemoveSchedule", "fraRemove", "Remove Selected Computer's Scheduled Job"},
        {"fraStatus", "frmMain", "Status"},
        {"lblStatus", "fraStatus", "Waiting for Command"},
        {"cmdManual", "frmMain", "Manual"},
        {"cmdAbout", "frmMain", "About"},
        {"cmdExit", "frmMain", "Exit"},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.name);
        auto* control = w().findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName().toStdString(), c.parent);
        EXPECT_EQ(AccessibleName(control).toStdString(), c.accessibleName);
        EXPECT_TRUE(control->isEnabled());
        EXPECT_TRUE(control->parentWidget()->rect().contains(control->geometry()));
        for (const QWidget* other :
             control->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(other == control || other->isHidden() || control->isHidden() ||
                        !other->geometry().intersects(control->geometry()))
                << other->objectName().toStdString();
        }
    }
    EXPECT_EQ(AccessibleName(w().findChild<QLabel*>(QStringLiteral("imgLogo"))),
              QStringLiteral("Corvane"));
}

TEST_F(MainWindowTest, LabelsAreTheBuddiesAndAccessibleLabelsOfTheirBoxes) {
    const std::pair<QLabel*, QWidget*> pairs[] = {{w().lblDeployPath, w().cboDeployPath},
                                                  {w().lblTime, w().txtHour},
                                                  {w().lblCommand, w().cboRun},
                                                  {w().lblJobID, w().txtJobID}};
    for (const auto& [label, box] : pairs) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_EQ(label->buddy(), box);
        // Qt reports the pair as (the label, Label): the label is the label of this box.
        QStringList labels;
        for (const auto& relation :
             QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label)) {
            labels << relation.first->text(QAccessible::Name);
        }
        EXPECT_TRUE(labels.contains(label->text())) << labels.join(u'|').toStdString();
    }
}

TEST_F(MainWindowTest, ListsAndBoxesStartAsTheSchedulerExpects) {
    for (QListWidget* list :
         {w().lstComputers, w().lstDeployables, w().lstDeployables2, w().lstDays}) {
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection)
            << list->objectName().toStdString();
    }
    EXPECT_TRUE(w().lstDeployables->isHidden());
    QStringList days{"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    for (int day = 1; day <= 31; ++day) {
        days << QString::number(day);
    }
    EXPECT_EQ(Entries(*w().lstDays), days);
    EXPECT_EQ(ComboEntries(*w().cboAMPM), (QStringList{"AM", "PM"}));
    EXPECT_EQ(w().cboAMPM->currentText(), QStringLiteral("PM"));
    EXPECT_EQ(w().txtHour->text() + ':' + w().txtMinutes->text() + ' ' + w().txtJobID->text(),
              QStringLiteral("5:00 1"));
}

TEST_F(MainWindowTest, StatusLineShowsEachColourOnBlackAndBusyShowsTheWaitCursor) {
    const std::pair<StatusColour, QColor> colours[] = {
        {StatusColour::Idle, QColor(255, 255, 0)},
        {StatusColour::Waiting, QColor(255, 128, 0)},
        {StatusColour::Busy, QColor(255, 0, 0)},
        {StatusColour::Done, QColor(0, 255, 0)},
    };
    EXPECT_TRUE(w().lblStatus->font().bold());
    for (const auto& [colour, rgb] : colours) {
        w().SetStatus(colour, QStringLiteral("Checking"));
        EXPECT_EQ(w().lblStatus->palette().color(QPalette::WindowText), rgb);
        EXPECT_EQ(w().lblStatus->palette().color(QPalette::Window), QColor(Qt::black));
        EXPECT_EQ(w().CurrentStatusColour(), colour);
    }

    w().SetBusy(true);
    EXPECT_TRUE(w().IsBusy());
    EXPECT_EQ(w().cursor().shape(), Qt::WaitCursor);
    w().SetBusy(false);
    EXPECT_FALSE(w().IsBusy());
    EXPECT_EQ(w().cursor().shape(), Qt::ArrowCursor);
}

// While a run shows the busy cursor every guarded handler refuses: no box, no window, no
// command, no list or file touched. The manual and About still open.
TEST(BusyCursorTest, EveryGuardedHandlerRefusesAndTheInfoWindowsStillOpen) {
    MainHarness h;
    RecordingProcesses processes;
    frmMain& w = h.Start(nullptr, &processes);
    w.lstComputers->addItems({"SRV01", "SRV02"});
    w.lstComputers->setCurrentRow(0);
    w.lstDeployables->addItem("C:\\a.exe");
    w.lstDeployables2->addItem("a.exe");
    w.lstDeployables2->item(0)->setSelected(true);
    w.cboDeployPath->setEditText("C:\\Apps");
    w.cboRun->setEditText("job.cmd");
    const QString busy = "Checking", idle = "Waiting for Command";
    const struct {
        QPushButton* button; // else the computer list is clicked
        QString status;      // the status line afterwards
        const char* window;  // the window that still opens
    } cases[] = {
        {w.cmdAdd, busy, nullptr},
        {w.cmdRemove, busy, nullptr},
        {w.cmdClear, busy, nullptr},
        {w.cmdImport, busy, nullptr},
        {w.cmdExport, busy, nullptr},
        {w.cmdValidate, busy, nullptr},
        {w.cmdAddDeployables, busy, nullptr},
        {w.cmdRemoveDeployables, busy, nullptr},
        {w.cmdClearDeploy, busy, nullptr},
        {w.cmdDeployAll, idle, nullptr},
        {w.cmdDeploySelected, idle, nullptr},
        {w.cmdConfirmAll, idle, nullptr},
        {w.cmdConfirmSel, idle, nullptr},
        {w.cmdRunSchedule, idle, nullptr},
        {w.cmdRunSingle, idle, nullptr},
        {w.cmdRemoveSchedule, busy, nullptr},
        {w.cmdUpAll, idle, nullptr},
        {w.cmdUpSel, idle, nullptr},
        {nullptr, busy, nullptr},
        {w.cmdManual, busy, "frmTextViewer"},
        {w.cmdAbout, busy, "frmAbout"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button != nullptr ? c.button->objectName().toStdString() : "list click");
        h.dialogs.Clear();
        w.SetBusy(true);
        w.SetStatus(StatusColour::Busy, busy);
        c.button != nullptr ? c.button->click() : w.lstComputers_Click();
        EXPECT_TRUE(w.IsBusy());
        EXPECT_EQ(w.lblStatus->text(), c.status);
        ASSERT_EQ(h.dialogs.shown().size(), c.window != nullptr ? 1u : 0u);
        if (c.window != nullptr) {
            EXPECT_EQ(h.dialogs.shown()[0].objectName, QLatin1String(c.window));
        }
    }
    EXPECT_TRUE(processes.lines().isEmpty());
    EXPECT_EQ(w.lstComputers->count() + w.lstDeployables->count() + w.lstDeployables2->count(), 4);
    EXPECT_FALSE(h.dir.Exists("computerlist.txt") || h.dir.Exists("report.top"));
}

} // namespace
} // namespace corvane::test
