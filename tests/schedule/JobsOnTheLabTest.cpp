// Scheduling, listing and removing jobs end to end: the real window, at.exe and a lab network.
#include "Harness.h"
#include "LabNetwork.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

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
    QStringList Texts() const {
        QStringList texts;
        for (const Shown& box : h.dialogs.MessageBoxes()) {
            texts << box.text;
        }
        return texts;
    }
    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
};

TEST_F(JobsOnTheLabTest, ScheduleAllLeavesOneJobOnEachReachableServerAndNamesTheOthers) {
    QStringList offline;
    for (int i = 0; i < 200; ++i) {
        const std::string name = "SRV" + std::to_string(1000 + i);
        const bool down = i % 8 == 3;
        const bool denied = i % 25 == 7;
        lab.AddServer(name, {.offline = down, .denied = denied});
        if (down || denied) {
            offline << QString::fromStdString(name);
        }
        w().lstComputers->addItem(QString::fromStdString(name));
    }
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w().cmdRunSchedule->click();

    for (int i = 0; i < 200; ++i) {
        const std::string name = "SRV" + std::to_string(1000 + i);
        const bool reachable = !offline.contains(QString::fromStdString(name));
        ASSERT_EQ(lab.Jobs(name).size(), reachable ? 1u : 0u) << name;
        if (reachable) {
            EXPECT_EQ(lab.Jobs(name)[0].command, "c:\\jobs\\nightly.cmd");
        }
    }
    const QString report = Texts().last();
    EXPECT_TRUE(report.startsWith(QStringLiteral("The job could not be scheduled on these "
                                                 "servers:\r\n") +
                                  offline.mid(0, 20).join(QStringLiteral("\r\n")) +
                                  QStringLiteral("\r\nand %1 more").arg(offline.size() - 20)))
        << report.toStdString();
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
    EXPECT_TRUE(report.endsWith(QStringLiteral("STUCK\r\n\r\nClick a server in the computer list "
                                               "to see its jobs.")))
        << report.toStdString();
    EXPECT_FALSE(w().IsBusy());
}

TEST_F(JobsOnTheLabTest, ClickingAServerShowsItsJobsAndRemovalDeletesOne) {
    lab.AddServer("ALPHA");
    lab.AddServer("BRAVO");
    w().lstComputers->addItems({QStringLiteral("ALPHA"), QStringLiteral("BRAVO")});
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
    w().show();
    EXPECT_TRUE(w().grab().toImage().save(QCoreApplication::applicationDirPath() +
                                          QStringLiteral("/frmMain-jobs.png")));

    h.dialogs.Clear();
    w().txtJobID->setText(QStringLiteral(" %1 ").arg(id));
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w().cmdRemoveSchedule->click();
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w().cmdRemoveSchedule->click();
    const auto boxes = h.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Remove Scheduled Job From \\\\BRAVO?"));
    EXPECT_EQ(boxes[0].style, 4 + 48 + 256);
    EXPECT_EQ(boxes[0].text, QStringLiteral("You are about to remove job ID %1 on computer "
                                            "\\\\BRAVO\r\nAre you sure you want to do this?")
                                 .arg(id));
    EXPECT_EQ(boxes[1].text,
              QStringLiteral("Job ID %1 on computer \\\\BRAVO was successfully removed.").arg(id));
    EXPECT_EQ(boxes[3].text,
              QStringLiteral("Job ID %1 on computer \\\\BRAVO could not be removed.").arg(id));
    EXPECT_TRUE(lab.Jobs("BRAVO").empty());
    // The view keeps the old listing until the server is clicked again.
    EXPECT_EQ(w().rtbScheduledJobs->toPlainText(), listing);
}

TEST_F(JobsOnTheLabTest, RemovalChecksItsInputsBeforeAnythingRuns) {
    lab.AddServer("SRV01");
    w().cmdRemoveSchedule->click();
    w().lstComputers->addItem(QStringLiteral("SRV01"));
    w().lstComputers->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    w().cmdRemoveSchedule->click();
    w().lstComputers->item(0)->setSelected(true);
    w().txtJobID->clear();
    w().cmdRemoveSchedule->click();
    w().txtJobID->setText(QStringLiteral("3 & del"));
    w().cmdRemoveSchedule->click();
    const QStringList texts = Texts();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[0], QStringLiteral("you forgot to select a computer from the list."));
    EXPECT_EQ(texts[1],
              QStringLiteral("You forgot to select one or more computers from the list."));
    EXPECT_EQ(texts[2], QStringLiteral("You forgot to specify a Job ID.\r\nPlease try again."));
    EXPECT_TRUE(texts[3].startsWith(QStringLiteral("A job ID is a whole number")));
}

TEST_F(JobsOnTheLabTest, UnreachableUnsafeAndToolessListingsSaySo) {
    lab.AddServer("DOWN", {.offline = true});
    w().lstComputers->addItems({QStringLiteral("DOWN"), QStringLiteral("BAD NAME")});
    Click(0);
    EXPECT_TRUE(w().rtbScheduledJobs->toPlainText().startsWith(
        QStringLiteral("The network path was not found.")));
    Click(1);
    ASSERT_EQ(Texts().size(), 1);
    EXPECT_TRUE(Texts()[0].contains(QStringLiteral("\"BAD NAME\"")));

    std::remove(h.dir.file("at.exe").c_str());
    Click(0);
    ASSERT_EQ(Texts().size(), 2);
    EXPECT_TRUE(Texts()[1].contains(QStringLiteral("could not start the AT tool")));
}

} // namespace
} // namespace corvane::test
