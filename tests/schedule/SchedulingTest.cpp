// Scheduling through the real widgets: preconditions, the confirmation and the exact AT lines
// with launches recorded; then scheduling, listing and removing jobs on a lab network.
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

TEST_F(SchedulingTest, EachTargetGetsOneExactLineInListOrderUpToTheFirstEmptyEntry) {
    w().lstComputers->addItems({"A1", "B2", "C3", "", "E5"});
    for (int row : {2, 4, 0}) {
        w().lstComputers->item(row)->setSelected(true);
    }
    w().lstComputers->setCurrentRow(2, QItemSelectionModel::NoUpdate);
    w().txtHour->setText(QStringLiteral("7"));
    w().txtMinutes->setText(QStringLiteral("5"));
    w().cboAMPM->setEditText(QStringLiteral("AM"));
    w().cboRun->setEditText(QStringLiteral("notepad.exe /p"));
    Schedule(w().cmdRunSingle);
    w().optEvery->setChecked(true);
    w().lstDays->item(4)->setSelected(true); // Friday, clicked first
    w().lstDays->item(0)->setSelected(true); // Monday
    QString statusAtTheEnd;
    h.dialogs.OnMessageBox([&](const Shown&) { statusAtTheEnd = w().lblStatus->text(); });
    Schedule(w().cmdRunSchedule);
    const QString every = "7:5AM /every:Monday,Friday notepad.exe /p";
    EXPECT_EQ(processes.lines(),
              (QStringList{"at \\\\A1 7:5AM  notepad.exe /p", "at \\\\C3 7:5AM  notepad.exe /p",
                           "at \\\\A1 " + every, "at \\\\B2 " + every, "at \\\\C3 " + every}));
    EXPECT_EQ(h.dialogs.MessageTexts().last(),
              QStringLiteral("Systems were successfully Scheduled!"));
    EXPECT_EQ(h.dialogs.MessageBoxes()[0].style, 4 + 48 + 256); // Yes/No, No by default
    EXPECT_EQ(QStringList({statusAtTheEnd, w().lblStatus->text(), w().cboRun->itemText(0)}),
              QStringList({"Done!", "Waiting for Command", "notepad.exe /p"}));
}

TEST_F(SchedulingTest, RefusalsAndFailedOrUnsafeServersAreSaidInTheirOwnWords) {
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
    w().cboRun->setEditText("c:\\jobs\\nightly.cmd");
    Schedule(w().cmdRunSchedule, MsgAnswer::No);
    EXPECT_EQ(w().cboRun->count(), 0); // the history is left alone
    w().cboRun->setEditText(QString());
    w().cmdRunSchedule->click();
    w().lstComputers->clear();
    w().cboRun->setEditText("c:\\jobs\\nightly.cmd");
    Schedule(w().cmdRunSchedule);
    EXPECT_TRUE(processes.lines().isEmpty());
    const QString forgot = "You forgot to select one or more computers from the list.";
    const QString question =
        "You are about to schedule \"c:\\jobs\\nightly.cmd\"\r\non all of the selected computers "
        "on the list\r\nto be run at 5:00PM\r\non the days/dates you selected.\r\n\r\nAre you "
        "sure you want to do this?";
    EXPECT_EQ(h.dialogs.MessageTexts(),
              (QStringList{"you forgot to select one or more computers from the list.",
                           "you forgot to select a computer from the list.", forgot, forgot,
                           "You forgot to specify a Job ID.\r\nPlease try again.",
                           "A job ID is a whole number, such as 3: the number in the ID column of "
                           "the job list.\r\nPlease try again.",
                           question, "You must first specify a command or app to run.", question,
                           "You don't have any servers in your list to schedule!"}));

    // Failed and unsafe servers are named instead of the success, twenty at most.
    QStringList bad{"GOOD", "bad two"};
    for (int i = 1; i <= 22; ++i) {
        bad << QString("BAD%1").arg(i, 2, 10, QChar('0'));
    }
    w().lstComputers->addItems(bad);
    processes.statusFor = [](const QString& line) { return line.contains("BAD") ? 53 : 0; };
    Schedule(w().cmdRunSchedule);
    EXPECT_EQ(processes.lines().size(), 23); // the unsafe name never reached a command line
    EXPECT_EQ(h.dialogs.MessageTexts().last(),
              "The job could not be scheduled on these servers:\r\n" + bad.mid(1, 20).join("\r\n") +
                  "\r\nand 3 more\r\n\r\nClick a server in the computer list to see its jobs.");
    EXPECT_FALSE(w().IsBusy());
}

TEST(JobsOnTheLabTest, JobsAreScheduledListedAndRemovedOnceAndEveryFailureIsNamed) {
    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
    frmMain& w = h.Start();
    const auto texts = [&h] { return h.dialogs.MessageTexts(); };
    const auto click = [&w](int row) {
        w.lstComputers->setCurrentRow(row);
        w.lstComputers_Click();
    };
    lab.AddServer("BRAVO");
    lab.AddServer("STUCK", {.hang = true});
    lab.AddServer("DOWN", {.offline = true});
    w.lstComputers->addItems({"BRAVO", "STUCK", "DOWN", "BAD NAME"});
    w.cboRun->setEditText("c:\\jobs\\nightly.cmd");
    w.ScheduleAnswerTime = std::chrono::milliseconds(300);
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w.cmdRunSchedule->click();
    EXPECT_EQ(texts().last(), "The job could not be scheduled on these servers:\r\nBAD NAME\r\n"
                              "DOWN\r\n\r\nThese servers had not answered within 0 seconds; their "
                              "scheduling goes on without Corvane watching it:\r\nSTUCK\r\n\r\n"
                              "Click a server in the computer list to see its jobs.");
    EXPECT_FALSE(w.IsBusy());
    w.lstComputers->setCurrentRow(0);
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w.cmdRunSingle->click();
    const auto jobs = lab.Jobs("BRAVO");
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[1].command, "c:\\jobs\\nightly.cmd");

    click(0);
    const QString listing = w.rtbScheduledJobs->toPlainText();
    EXPECT_TRUE(listing.startsWith("Status ID   Day") && listing.contains("c:\\jobs\\nightly.cmd"))
        << listing.toStdString();
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
    EXPECT_EQ(texts(), (QStringList{question, "Job " + job + " was successfully removed.", question,
                                    "Job " + job + " could not be removed."}));
    EXPECT_EQ(lab.Jobs("BRAVO").size(), 1u);
    EXPECT_EQ(w.rtbScheduledJobs->toPlainText(), listing); // kept until the next click

    h.dialogs.Clear();
    click(2);
    EXPECT_TRUE(w.rtbScheduledJobs->toPlainText().startsWith("The network path was not found."));
    click(3);
    std::remove(h.dir.file("at.exe").c_str());
    click(0);
    ASSERT_EQ(texts().size(), 2);
    EXPECT_TRUE(texts()[0].contains("\"BAD NAME\"") &&
                texts()[1].contains("could not start the AT tool"))
        << texts().join('\n').toStdString();
}

} // namespace
} // namespace corvane::test
