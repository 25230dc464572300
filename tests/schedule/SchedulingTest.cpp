// Schedule All and Schedule Selected through the real widgets: preconditions, the confirmation
// and the exact AT lines, with launches recorded instead of run.
#include "Harness.h"
#include "RecordingProcesses.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

const QString kNightly = QStringLiteral("c:\\jobs\\nightly.cmd");
const QString kQuestion = QStringLiteral(
    "You are about to schedule \"c:\\jobs\\nightly.cmd\"\r\non all of the selected computers on "
    "the list\r\nto be run at 5:00PM\r\non the days/dates you selected.\r\n\r\nAre you sure you "
    "want to do this?");

class SchedulingTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.Start(nullptr, &processes);
        w().cboRun->setEditText(kNightly);
    }
    frmMain& w() { return *h.window; }
    QStringList Texts() const {
        QStringList texts;
        for (const Shown& box : h.dialogs.MessageBoxes()) {
            texts << box.text;
        }
        return texts;
    }
    RecordingProcesses processes;
    MainHarness h;
};

TEST_F(SchedulingTest, ScheduleAllStartsOneExactLinePerServerWithTheDaysInListOrder) {
    w().lstComputers->addItems({"SRV01", "SRV02", "SRV03"});
    w().optEvery->setChecked(true);
    w().lstDays->item(4)->setSelected(true); // Friday, clicked first
    w().lstDays->item(0)->setSelected(true); // Monday
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    QString statusAtTheEnd;
    h.dialogs.OnMessageBox([&](const Shown&) { statusAtTheEnd = w().lblStatus->text(); });
    w().cmdRunSchedule->click();

    EXPECT_EQ(processes.lines(),
              (QStringList{"at \\\\SRV01 5:00PM /every:Monday,Friday c:\\jobs\\nightly.cmd",
                           "at \\\\SRV02 5:00PM /every:Monday,Friday c:\\jobs\\nightly.cmd",
                           "at \\\\SRV03 5:00PM /every:Monday,Friday c:\\jobs\\nightly.cmd"}));
    EXPECT_EQ(Texts(), (QStringList{kQuestion, "Systems were successfully Scheduled!"}));
    EXPECT_EQ(h.dialogs.MessageBoxes()[0].style, 4 + 48 + 256); // Yes/No, No by default
    EXPECT_EQ(statusAtTheEnd, QStringLiteral("Done!"));
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
    EXPECT_FALSE(w().IsBusy());
    EXPECT_EQ(w().cboRun->itemText(w().cboRun->count() - 1), kNightly);
}

TEST_F(SchedulingTest, ScheduleSelectedTakesSelectedEntriesInListOrderUpToTheFirstEmptyOne) {
    w().lstComputers->addItems({"A1", "B2", "C3", "", "E5"});
    for (int row : {2, 4, 0}) {
        w().lstComputers->item(row)->setSelected(true);
    }
    w().lstComputers->setCurrentRow(2, QItemSelectionModel::NoUpdate);
    w().txtHour->setText(QStringLiteral("7"));
    w().txtMinutes->setText(QStringLiteral("5"));
    w().cboAMPM->setEditText(QStringLiteral("AM"));
    w().cboRun->setEditText(QStringLiteral("notepad.exe /p"));
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w().cmdRunSingle->click();
    EXPECT_EQ(processes.lines(),
              (QStringList{"at \\\\A1 7:5AM  notepad.exe /p", "at \\\\C3 7:5AM  notepad.exe /p"}));
}

TEST_F(SchedulingTest, RefusalsOfSchedulingAndRemovalSpeakInTheirOwnWordsAndStartNothing) {
    w().cmdRunSingle->click(); // no current entry
    w().cmdRemoveSchedule->click();
    w().lstComputers->addItem(QStringLiteral("SRV01"));
    w().lstComputers->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    w().cmdRunSingle->click(); // nothing selected
    w().cmdRemoveSchedule->click();
    w().lstComputers->item(0)->setSelected(true);
    for (const QString& id : {QString(), QStringLiteral("3 & del")}) {
        w().txtJobID->setText(id);
        w().cmdRemoveSchedule->click();
    }
    h.dialogs.QueueAnswer(MsgAnswer::No);
    w().cmdRunSchedule->click();
    EXPECT_EQ(w().cboRun->count(), 0); // the history is left alone
    w().cboRun->setEditText(QString());
    w().cmdRunSchedule->click();
    EXPECT_TRUE(processes.lines().isEmpty());

    w().lstComputers->clear();
    w().cboRun->setEditText(kNightly);
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w().cmdRunSchedule->click();
    EXPECT_EQ(Texts(),
              (QStringList{"you forgot to select one or more computers from the list.",
                           "you forgot to select a computer from the list.",
                           "You forgot to select one or more computers from the list.",
                           "You forgot to select one or more computers from the list.",
                           "You forgot to specify a Job ID.\r\nPlease try again.",
                           "A job ID is a whole number, such as 3: the number in the ID "
                           "column of the job list.\r\nPlease try again.",
                           kQuestion, "You must first specify a command or app to run.", kQuestion,
                           "You don't have any servers in your list to schedule!"}));
    EXPECT_FALSE(w().IsBusy());
}

TEST_F(SchedulingTest, FailedAndUnsafeServersAreListedInsteadOfSuccess) {
    w().lstComputers->addItems({"GOOD", "BAD1", "bad two", "BAD3"});
    processes.statusFor = [](const QString& line) { return line.contains("BAD") ? 53 : 0; };
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w().cmdRunSchedule->click();
    EXPECT_EQ(processes.lines().size(), 3); // the unsafe name never reached a command line
    EXPECT_EQ(Texts().last(), QStringLiteral("The job could not be scheduled on these servers:\r\n"
                                             "bad two\r\nBAD1\r\nBAD3\r\n\r\nClick a server in "
                                             "the computer list to see its jobs."));
}

} // namespace
} // namespace corvane::test
