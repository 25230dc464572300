// Scheduling, listing and removing jobs end to end: the real window, at.exe and a lab network.
#include "Harness.h"
#include "LabNetwork.h"

#include "app/ListHelpers.h"

#include <QTest>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

const QString kClickToSee = QStringLiteral("Click a server in the computer list to see its jobs.");

class JobsOnTheLabTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.Start();
        w().cboRun->setEditText(QStringLiteral("c:\\jobs\\nightly.cmd"));
    }
    frmMain& w() { return *h.window; }
    void Click(int row) {
        w().lstComputers->setCurrentRow(row);
        w().lstComputers_Click();
    }
    QStringList Texts() const { return h.dialogs.MessageTexts(); }
    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
};

TEST_F(JobsOnTheLabTest, ScheduleAllLeavesOneJobOnEachReachableServerAndNamesTheOthers) {
    QStringList failed;
    for (int i = 0; i < 200; ++i) {
        const QString name = QStringLiteral("SRV%1").arg(1000 + i);
        const bool down = i % 8 == 3, denied = i % 25 == 7;
        lab.AddServer(name.toStdString(), {.offline = down, .denied = denied});
        w().lstComputers->addItem(name);
        if (down || denied) {
            failed << name;
        }
    }
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w().cmdRunSchedule->click();

    for (const QString& name : Entries(*w().lstComputers)) {
        const auto jobs = lab.Jobs(name.toStdString());
        ASSERT_EQ(jobs.size(), failed.contains(name) ? 0u : 1u) << name.toStdString();
        EXPECT_TRUE(jobs.empty() || jobs[0].command == "c:\\jobs\\nightly.cmd");
    }
    EXPECT_EQ(Texts().last(),
              QStringLiteral("The job could not be scheduled on these servers:\r\n") +
                  failed.mid(0, 20).join(QStringLiteral("\r\n")) +
                  QStringLiteral("\r\nand %1 more\r\n\r\n").arg(failed.size() - 20) + kClickToSee);
}

TEST_F(JobsOnTheLabTest, AServerThatDoesNotAnswerIsNamedAndTheRunEnds) {
    lab.AddServer("SRV01");
    lab.AddServer("STUCK", {.hang = true});
    w().lstComputers->addItems({QStringLiteral("SRV01"), QStringLiteral("STUCK")});
    w().ScheduleAnswerTime = std::chrono::milliseconds(300);
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w().cmdRunSchedule->click();
    EXPECT_EQ(lab.Jobs("SRV01").size(), 1u);
    const QString report = Texts().last();
    EXPECT_TRUE(report.contains(QStringLiteral("had not answered"))) << report.toStdString();
    EXPECT_TRUE(report.endsWith(QStringLiteral("STUCK\r\n\r\n") + kClickToSee));
    EXPECT_FALSE(w().IsBusy());
}

TEST_F(JobsOnTheLabTest, ClickingAServerListsItsJobsOrSaysWhyNotAndRemovalDeletesOnlyOnce) {
    lab.AddServer("ALPHA");
    lab.AddServer("BRAVO");
    lab.AddServer("DOWN", {.offline = true});
    w().lstComputers->addItems({"ALPHA", "BRAVO", "DOWN", "BAD NAME"});
    w().lstComputers->setCurrentRow(1);
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w().cmdRunSingle->click();
    ASSERT_EQ(lab.Jobs("BRAVO").size(), 1u);
    const int id = lab.Jobs("BRAVO")[0].id;

    Click(1);
    const QString listing = w().rtbScheduledJobs->toPlainText();
    EXPECT_TRUE(listing.startsWith(QStringLiteral("Status ID   Day"))) << listing.toStdString();
    EXPECT_TRUE(listing.contains(QStringLiteral("c:\\jobs\\nightly.cmd")));
    EXPECT_EQ(listing.toStdString(), h.dir.Read("schedule.top"));

    h.dialogs.Clear();
    w().txtJobID->setText(QStringLiteral(" %1 ").arg(id));
    for (int i = 0; i < 2; ++i) {
        h.dialogs.QueueAnswer(MsgAnswer::Yes);
        w().cmdRemoveSchedule->click();
    }
    const QString job = QStringLiteral("ID %1 on computer \\\\BRAVO").arg(id);
    const QString question =
        "You are about to remove job " + job + "\r\nAre you sure you want to do this?";
    EXPECT_EQ(Texts(), (QStringList{question, "Job " + job + " was successfully removed.", question,
                                    "Job " + job + " could not be removed."}));
    EXPECT_EQ(h.dialogs.MessageBoxes()[0].style, 4 + 48 + 256); // Yes/No, No by default
    EXPECT_TRUE(lab.Jobs("BRAVO").empty());
    EXPECT_EQ(w().rtbScheduledJobs->toPlainText(), listing); // kept until the next click

    h.dialogs.Clear();
    Click(2);
    EXPECT_TRUE(w().rtbScheduledJobs->toPlainText().startsWith(
        QStringLiteral("The network path was not found.")));
    Click(3);
    std::remove(h.dir.file("at.exe").c_str());
    Click(0);
    ASSERT_EQ(Texts().size(), 2);
    EXPECT_TRUE(Texts()[0].contains(QStringLiteral("\"BAD NAME\"")));
    EXPECT_TRUE(Texts()[1].contains(QStringLiteral("could not start the AT tool")));
}

} // namespace
} // namespace corvane::test
