// Schedule All and Schedule Selected through the real widgets: preconditions, the confirmation
// and the exact AT lines, with launches recorded instead of run.
#include "Harness.h"
#include "RecordingProcesses.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

class SchedulingTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.Start(nullptr, &processes);
        w().cboRun->setEditText(QStringLiteral("c:\\jobs\\nightly.cmd"));
    }
    frmMain& w() { return *h.window; }
    void Fill(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            w().lstComputers->addItem(QString::fromLatin1(name));
        }
    }
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

TEST_F(SchedulingTest, ScheduleAllStartsOneExactLinePerServer) {
    Fill({"SRV01", "SRV02", "SRV03"});
    w().optEvery->setChecked(true);
    w().lstDays->item(4)->setSelected(true); // Friday, clicked first
    w().lstDays->item(0)->setSelected(true); // Monday
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    QString statusDuringRun;
    h.dialogs.OnMessageBox([&](const Shown& box) {
        if (box.title == QStringLiteral("Corvane")) {
            statusDuringRun = w().lblStatus->text();
        }
    });
    w().cmdRunSchedule->click();

    EXPECT_EQ(processes.lines(),
              (QStringList{"at \\\\SRV01 5:00PM /every:Monday,Friday c:\\jobs\\nightly.cmd",
                           "at \\\\SRV02 5:00PM /every:Monday,Friday c:\\jobs\\nightly.cmd",
                           "at \\\\SRV03 5:00PM /every:Monday,Friday c:\\jobs\\nightly.cmd"}));
    const auto boxes = h.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Schedule Computers?"));
    EXPECT_EQ(boxes[0].style, 4 + 48 + 256);
    EXPECT_EQ(boxes[0].text,
              QStringLiteral("You are about to schedule \"c:\\jobs\\nightly.cmd\"\r\non all of the "
                             "selected computers on the list\r\nto be run at 5:00PM\r\non the "
                             "days/dates you selected.\r\n\r\nAre you sure you want to do this?"));
    EXPECT_EQ(boxes[1].text, QStringLiteral("Systems were successfully Scheduled!"));
    EXPECT_EQ(statusDuringRun, QStringLiteral("Done!"));
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
    EXPECT_FALSE(w().IsBusy());
    EXPECT_EQ(w().cboRun->itemText(w().cboRun->count() - 1),
              QStringLiteral("c:\\jobs\\nightly.cmd"));
}

TEST_F(SchedulingTest, ScheduleSelectedTakesSelectedEntriesInListOrderWithTodaysTwoBlanks) {
    Fill({"A1", "B2", "C3", "D4"});
    w().lstComputers->item(2)->setSelected(true);
    w().lstComputers->item(0)->setSelected(true);
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

TEST_F(SchedulingTest, PreconditionsSpeakInTheirOwnWords) {
    w().cmdRunSingle->click(); // no current entry
    Fill({"SRV01"});
    w().lstComputers->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    w().cmdRunSingle->click(); // nothing selected
    w().cboRun->setEditText(QString());
    w().cmdRunSchedule->click();
    EXPECT_EQ(Texts(), (QStringList{"you forgot to select one or more computers from the list.",
                                    "You forgot to select one or more computers from the list.",
                                    "You must first specify a command or app to run."}));
    EXPECT_TRUE(processes.lines().isEmpty());
}

TEST_F(SchedulingTest, NoSchedulesNothingAndLeavesTheHistory) {
    Fill({"SRV01"});
    h.dialogs.QueueAnswer(MsgAnswer::No);
    w().cmdRunSchedule->click();
    EXPECT_TRUE(processes.lines().isEmpty());
    EXPECT_EQ(w().cboRun->count(), 0);
    EXPECT_EQ(h.dialogs.MessageBoxes().size(), 1u);
    EXPECT_FALSE(w().IsBusy());
}

TEST_F(SchedulingTest, AnEmptyListIsSaidAfterTheConfirmation) {
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w().cmdRunSchedule->click();
    EXPECT_EQ(Texts().size(), 2);
    EXPECT_EQ(Texts().last(),
              QStringLiteral("You don't have any servers in your list to schedule!"));
}

TEST_F(SchedulingTest, FailedAndUnsafeServersAreListedInsteadOfSuccess) {
    Fill({"GOOD", "BAD1", "bad two", "BAD3"});
    processes.statusFor = [](const QString& line) { return line.contains("BAD") ? 53 : 0; };
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w().cmdRunSchedule->click();
    EXPECT_EQ(processes.lines().size(), 3); // the unsafe name never reached a command line
    const QString report = Texts().last();
    EXPECT_TRUE(report.contains("bad two\r\nBAD1\r\nBAD3")) << report.toStdString();
    EXPECT_FALSE(report.contains("GOOD"));
    EXPECT_FALSE(report.contains("successfully"));
}

TEST_F(SchedulingTest, ABusyWindowRefusesAndShowsTheIdleStatus) {
    Fill({"SRV01"});
    w().SetBusy(true);
    w().SetStatus(StatusColour::Busy, QStringLiteral("Deploying"));
    w().cmdRunSchedule->click();
    EXPECT_TRUE(h.dialogs.shown().empty());
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
}

} // namespace
} // namespace corvane::test
