// Scheduling through the real widgets, with AT lines recorded, and then on a lab network.
#include "Harness.h"
#include "LabNetwork.h"
#include "RecordingProcesses.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

class SchedulingTest : public ::testing::Test {
protected:
    void SetUp() override { h.Start(nullptr, &processes); }
    frmMain& w() { return *h.window; }
    void Schedule(QPushButton* button, int answer = MsgAnswer::Yes) {
        h.dialogs.QueueAnswer(answer);
        button->click();
    }
    RecordingProcesses processes;
    MainHarness h;
};

// An unsafe name never reaches a command line; it is named instead of the success.
TEST_F(SchedulingTest, EachTargetGetsOneExactLineInListOrderUpToTheFirstEmptyEntry) {
    w().lstComputers->addItems({"A1", "B 2", "C3", "", "E5"});
    for (int row : {2, 4, 0})
        w().lstComputers->item(row)->setSelected(true);
    w().lstComputers->setCurrentRow(2, QItemSelectionModel::NoUpdate);
    w().cboRun->setEditText(QStringLiteral("notepad.exe /p"));
    Schedule(w().cmdRunSingle);
    w().optEvery->setChecked(true);
    w().lstDays->item(4)->setSelected(true); // Friday, clicked first
    w().lstDays->item(0)->setSelected(true); // Monday
    Schedule(w().cmdRunSchedule);
    const QString every = "5:00PM /every:Monday,Friday notepad.exe /p";
    EXPECT_EQ(processes.lines(),
              (QStringList{"at \\\\A1 5:00PM  notepad.exe /p", "at \\\\C3 5:00PM  notepad.exe /p",
                           "at \\\\A1 " + every, "at \\\\C3 " + every}));
    const QStringList texts = h.dialogs.MessageTexts();
    EXPECT_EQ(h.dialogs.MessageBoxes()[0].style, 4 + 48 + 256); // Yes/No, No by default
    EXPECT_EQ(QStringList(
                  {texts.value(1), texts.value(3), w().lblStatus->text(), w().cboRun->itemText(0)}),
              QStringList({"Systems were successfully Scheduled!",
                           "The job could not be scheduled on these servers:\r\nB 2\r\n\r\nClick "
                           "a server in the computer list to see its jobs.",
                           "Waiting for Command", "notepad.exe /p"}));
}

TEST_F(SchedulingTest, RefusalsOfSchedulingAndRemovalSpeakInTheirOwnWordsAndStartNothing) {
    w().lstComputers->addItem(QStringLiteral("SRV01"));
    w().lstComputers->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    w().cmdRunSingle->click(); // nothing selected
    w().cmdRemoveSchedule->click();
    w().lstComputers->item(0)->setSelected(true);
    for (const QString& id : {QString(), QStringLiteral("3 & del")}) {
        w().txtJobID->setText(id);
        w().cmdRemoveSchedule->click();
    }
    w().cmdRunSchedule->click(); // no command
    w().lstComputers->clear();
    w().cboRun->setEditText("c:\\jobs\\nightly.cmd");
    Schedule(w().cmdRunSchedule);
    EXPECT_TRUE(processes.lines().isEmpty());
    EXPECT_EQ(h.dialogs.MessageTexts(),
              (QStringList{"You forgot to select one or more computers from the list.",
                           "You forgot to select one or more computers from the list.",
                           "You forgot to specify a Job ID.\r\nPlease try again.",
                           "A job ID is a whole number, such as 3: the number in the ID column of "
                           "the job list.\r\nPlease try again.",
                           "You must first specify a command or app to run.",
                           "You are about to schedule \"c:\\jobs\\nightly.cmd\"\r\non all of the "
                           "selected computers on the list\r\nto be run at 5:00PM\r\non the "
                           "days/dates you selected.\r\n\r\nAre you sure you want to do this?",
                           "You don't have any servers in your list to schedule!"}));
}

TEST(JobsOnTheLabTest, JobsAreScheduledListedAndRemovedOnceAndEveryFailureIsNamed) {
    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
    frmMain& w = h.Start();
    lab.AddServer("BRAVO");
    lab.AddServer("STUCK", {.hang = true});
    lab.AddServer("DOWN", {.offline = true});
    w.lstComputers->addItems({"BRAVO", "STUCK", "DOWN", "BAD NAME"});
    w.cboRun->setEditText("c:\\jobs\\nightly.cmd");
    w.ScheduleAnswerTime = std::chrono::milliseconds(300);
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w.cmdRunSchedule->click();
    EXPECT_EQ(h.dialogs.MessageTexts().last(),
              "The job could not be scheduled on these servers:\r\nBAD NAME\r\n"
              "DOWN\r\n\r\nThese servers had not answered within 0 seconds; their "
              "scheduling goes on without Corvane watching it:\r\nSTUCK\r\n\r\n"
              "Click a server in the computer list to see its jobs.");
    w.lstComputers->setCurrentRow(0);
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w.cmdRunSingle->click();
    const auto jobs = lab.Jobs("BRAVO");
    ASSERT_EQ(jobs.size(), 2u);

    w.lstComputers_Click(); // on BRAVO, the current entry
    const QString listing = w.rtbScheduledJobs->toPlainText();
    EXPECT_EQ(listing.toStdString(), h.dir.Read("schedule.top"));
    h.dialogs.Clear();
    w.txtJobID->setText(QStringLiteral(" %1 ").arg(jobs[0].id));
    for (int i = 0; i < 2; ++i) {
        h.dialogs.QueueAnswer(MsgAnswer::Yes);
        w.cmdRemoveSchedule->click();
    }
    const QString job = QStringLiteral("ID %1 on computer \\\\BRAVO").arg(jobs[0].id);
    const QString question =
        "You are about to remove job " + job + "\r\nAre you sure you want to do this?";
    EXPECT_EQ(h.dialogs.MessageTexts(),
              (QStringList{question, "Job " + job + " was successfully removed.", question,
                           "Job " + job + " could not be removed."}));
    EXPECT_EQ(lab.Jobs("BRAVO").size(), 1u);
    EXPECT_EQ(w.rtbScheduledJobs->toPlainText(), listing); // kept until the next click

    h.dialogs.Clear();
    w.lstComputers->setCurrentRow(3);
    w.lstComputers_Click();
    std::remove(h.dir.file("at.exe").c_str());
    w.lstComputers->setCurrentRow(0);
    w.lstComputers_Click();
    const QString said = h.dialogs.MessageTexts().join("|");
    EXPECT_TRUE(said.contains("\"BAD NAME\"") && said.contains("could not start the AT tool"))
        << said.toStdString();
}

} // namespace
} // namespace corvane::test
