// Validate List end to end on a lab network: the probes, the prompts in their order, the result
// files and the removal.
#include "Harness.h"

#include "LabNetwork.h"
#include "RecordingProcesses.h"
#include "app/ListHelpers.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

class ValidationTest : public ::testing::Test {
protected:
    frmMain& w() { return *h.window; }
    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
};

TEST_F(ValidationTest, PromptsInOrderAndRemovesExactlyTheRecordedServers) {
    lab.AddServer("ALPHA");
    lab.AddServer("DOWN", {.offline = true});
    lab.AddServer("LOCKED", {.denied = true});
    h.Start();
    w().lstComputers->addItems({"ALPHA", "DOWN", "DOWN", "GONE", "LOCKED", "down", "WEB,01"});
    for (int answer : {MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::No}) {
        h.dialogs.QueueAnswer(answer);
    }
    w().cmdValidate->click();

    const auto boxes = h.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Validate Availability?"));
    EXPECT_EQ(boxes[0].text,
              QStringLiteral("You are about to validate the availability of all \r\ncomputers on "
                             "the computer list.\r\n\r\nFor a large list of computers, this could "
                             "take some time.\r\nAre you sure you want to do this?"));
    EXPECT_EQ(boxes[1].title, QStringLiteral("The network paths were not found."));
    EXPECT_EQ(boxes[1].style, 4 + 48 + 256);
    // Each probe is recorded; a name unfit for a command line counts as unavailable unprobed.
    EXPECT_EQ(boxes[1].text,
              QStringLiteral("The following servers are offline or unavailable: \r\n\r\nDOWN\r\n"
                             "DOWN\r\nGONE\r\ndown\r\nWEB,01\r\n\r\nWould you like to remove these "
                             "from the computer list?"));
    EXPECT_EQ(boxes[2].title, QStringLiteral("Access Denied!"));
    EXPECT_EQ(boxes[2].text,
              QStringLiteral("The currently logged on user account does not have sufficient\r\n"
                             "rights to schedule jobs on the following computers:\r\n\r\nLOCKED"
                             "\r\n\r\nWould you like to remove these from the computer list?"));
    EXPECT_EQ(Entries(*w().lstComputers), (QStringList{"ALPHA", "LOCKED"}));
    EXPECT_EQ(h.dir.Read("unavailable.top"), CrLf({"DOWN", "DOWN", "GONE", "down", "\"WEB,01\""}));
    EXPECT_EQ(h.dir.Read("accessdenied.top"), CrLf({"LOCKED"}));
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
    EXPECT_FALSE(w().IsBusy());
}

TEST_F(ValidationTest, AllAvailableComesFirstAndOldResultsNeverLeak) {
    lab.AddServer("LOCKED", {.denied = true});
    h.dir.Write("unavailable.top", CrLf({"STALE"}));
    h.Start();
    w().lstComputers->addItem(QStringLiteral("LOCKED"));
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    h.dialogs.QueueAnswer(MsgAnswer::No);
    w().cmdValidate->click();
    const auto boxes = h.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1].text, QStringLiteral("All servers in the list are available!"));
    EXPECT_EQ(boxes[2].title, QStringLiteral("Access Denied!"));
    EXPECT_EQ(h.dir.Read("unavailable.top"), "");
    EXPECT_EQ(w().lstComputers->count(), 1);
}

TEST_F(ValidationTest, AnEmptyListLeavesTwoEmptyFilesAndSaysAllAreAvailable) {
    h.Start();
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w().cmdValidate->click();
    EXPECT_EQ(h.dialogs.MessageBoxes().back().text,
              QStringLiteral("All servers in the list are available!"));
    EXPECT_TRUE(h.dir.Exists("unavailable.top"));
    EXPECT_EQ(h.dir.Read("accessdenied.top"), "");
}

TEST_F(ValidationTest, AMissingAtToolStopsWithAMessageAndChangesNothing) {
    lab.AddServer("DOWN", {.offline = true});
    std::remove(h.dir.file("at.exe").c_str());
    h.Start();
    w().lstComputers->addItems({QStringLiteral("DOWN"), QStringLiteral("SRV02")});
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w().cmdValidate->click();
    const auto boxes = h.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[1].text.contains(QStringLiteral("at.exe")));
    EXPECT_EQ(w().lstComputers->count(), 2);
    EXPECT_FALSE(w().IsBusy());
}

TEST_F(ValidationTest, TheBusyCursorRefusesOtherHandlersDuringTheProbes) {
    lab.AddServer("STUCK", {.hang = true});
    RecordingProcesses processes(h.nativeProcesses.get());
    h.Start(nullptr, &processes);
    w().lstComputers->addItem(QStringLiteral("STUCK"));
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    bool triedDuringProbe = false;
    QTimer::singleShot(100, [&] {
        EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Validating"));
        EXPECT_TRUE(w().IsBusy());
        w().cmdClear->click();
        w().cmdValidate->click();
        EXPECT_EQ(w().lstComputers->count(), 1);
        triedDuringProbe = true;
        ASSERT_EQ(processes.running.size(), 1u);
        processes.running.front()->End();
    });
    w().cmdValidate->click();
    EXPECT_TRUE(triedDuringProbe);
    EXPECT_EQ(processes.lines().size(), 1); // the refused second validation probed nothing
    EXPECT_EQ(h.dialogs.MessageBoxes().size(), 2u);
    EXPECT_EQ(w().lstComputers->count(), 1);
}

} // namespace
} // namespace corvane::test
