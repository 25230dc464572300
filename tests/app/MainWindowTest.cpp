// The main window as a person and a screen reader meet it, and its refusals while a run is busy.
#include "Harness.h"
#include "RecordingProcesses.h"

#include "app/ListHelpers.h"
#include "app/frmMsg.h"
#include "persist/History.h"

#include <QAccessible>
#include <QRegularExpression>
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
    void SetUp() override { h.Start(nullptr, &processes); }
    frmMain& w() { return *h.window; }
    MainHarness h;
    RecordingProcesses processes;
};

// Every control stands inside its frame without overlapping a visible neighbour, enabled and
// named for a screen reader; a box with a label has it as buddy and labelled-by relation.
TEST_F(MainWindowTest, EveryControlStandsInItsFrameWithAnAccessibleName) {
    const QRegularExpression named(QStringLiteral("^(fra|lst|cmd|rtb|lbl|txt|cbo|opt|img)[A-Z]"));
    const QList<QWidget*> controls = w().findChildren<QWidget*>(named);
    EXPECT_EQ(controls.size(), 51);
    for (QWidget* control : controls) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_FALSE(AccessibleName(control).isEmpty());
        EXPECT_TRUE(control->isEnabled());
        EXPECT_TRUE(control->parentWidget()->rect().contains(control->geometry()));
        for (const QWidget* other :
             control->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(other == control || other->isHidden() || control->isHidden() ||
                        !other->geometry().intersects(control->geometry()))
                << other->objectName().toStdString();
        }
    }
    const std::pair<QLabel*, QWidget*> labelled[] = {{w().lblDeployPath, w().cboDeployPath},
                                                     {w().lblTime, w().txtHour},
                                                     {w().lblCommand, w().cboRun},
                                                     {w().lblJobID, w().txtJobID}};
    for (const auto& [label, box] : labelled) {
        QStringList labels; // Qt reports the pair as (the label, Label)
        for (const auto& relation :
             QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label)) {
            labels << relation.first->text(QAccessible::Name);
        }
        EXPECT_TRUE(label->buddy() == box && labels.contains(label->text()))
            << label->text().toStdString();
    }
}

TEST_F(MainWindowTest, ListsBoxesAndTheStatusLineStartAsTheSchedulerExpects) {
    for (QListWidget* list :
         {w().lstComputers, w().lstDeployables, w().lstDeployables2, w().lstDays}) {
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    }
    EXPECT_TRUE(w().lstDeployables->isHidden());
    EXPECT_EQ(Entries(*w().lstDays).join(u' ') + ' ' + ComboEntries(*w().cboAMPM).join(u' '),
              QStringLiteral("Monday Tuesday Wednesday Thursday Friday Saturday Sunday 1 2 3 4 5 6 "
                             "7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 "
                             "31 AM PM"));
    EXPECT_EQ(w().txtHour->text() + ':' + w().txtMinutes->text() + ' ' +
                  w().cboAMPM->currentText() + ' ' + w().txtJobID->text(),
              QStringLiteral("5:00 PM 1"));
    // Each status colour on black, in bold.
    QStringList colours;
    for (StatusColour colour :
         {StatusColour::Idle, StatusColour::Waiting, StatusColour::Busy, StatusColour::Done}) {
        w().SetStatus(colour, QStringLiteral("Checking"));
        const QPalette palette = w().lblStatus->palette();
        colours << palette.color(QPalette::WindowText).name() + '/' +
                       palette.color(QPalette::Window).name();
        EXPECT_EQ(w().CurrentStatusColour(), colour);
    }
    EXPECT_EQ(colours, (QStringList{"#ffff00/#000000", "#ff8000/#000000", "#ff0000/#000000",
                                    "#00ff00/#000000"}));
    EXPECT_TRUE(w().lblStatus->font().bold());
}

// While a run shows the busy cursor every guarded handler refuses: no box, no window, no
// command, no list or file touched. The manual and About still open.
TEST_F(MainWindowTest, WhileBusyEveryGuardedHandlerRefusesAndTheInfoWindowsStillOpen) {
    w().lstComputers->addItems({"SRV01", "SRV02"});
    w().lstComputers->setCurrentRow(0);
    w().lstDeployables->addItem("C:\\a.exe");
    w().lstDeployables2->addItem("a.exe");
    w().lstDeployables2->setCurrentRow(0);
    w().cboDeployPath->setEditText("C:\\Apps");
    w().cboRun->setEditText("job.cmd");
    // The runs that start commands reset the status line; the others leave it.
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
        EXPECT_TRUE(w().IsBusy());
        EXPECT_EQ(w().lblStatus->text(),
                  reset.contains(button) ? "Waiting for Command" : "Checking");
        for (const Shown& s : h.dialogs.shown()) {
            shown << s.objectName;
        }
    }
    EXPECT_EQ(shown, (QStringList{"frmTextViewer", "frmAbout"}));
    EXPECT_TRUE(processes.lines().isEmpty());
    EXPECT_EQ(Entries(*w().lstComputers) + Entries(*w().lstDeployables2),
              (QStringList{"SRV01", "SRV02", "a.exe"}));
    EXPECT_FALSE(h.dir.Exists("computerlist.txt") || h.dir.Exists("report.top"));
    EXPECT_EQ(w().cursor().shape(), Qt::WaitCursor);
    w().SetBusy(false);
    EXPECT_EQ(w().cursor().shape(), Qt::ArrowCursor);
}

// The file-error routine: the unreachable-server notice for 52, a message for 76, silence
// otherwise; the notice is made anew for each error and gone afterwards.
TEST_F(MainWindowTest, AFileErrorSaysAMissingPathAndAnUnreachableServerAndNothingElse) {
    for (int error : {53, 61, 70, 75, 76}) {
        EXPECT_FALSE(w().HandleFileError(error, QStringLiteral("SRV01")));
    }
    EXPECT_TRUE(w().HandleFileError(52, QStringLiteral("SRV01")));
    ASSERT_EQ(h.dialogs.shown().size(), 2u);
    EXPECT_EQ(h.dialogs.shown()[0].text, QStringLiteral("Unable to locate path."));
    EXPECT_EQ(h.dialogs.shown()[1].objectName + ": " + h.dialogs.shown()[1].text,
              QStringLiteral("frmMsg: Unable to communicate to server SRV01\r\nThe server is "
                             "either offline or unreachable at this time."));
    EXPECT_EQ(w().findChild<frmMsg*>(), nullptr);
}

} // namespace
} // namespace corvane::test
