// Validate List end to end on a lab network: probes, prompts in order, result files and removal.
#include "FaultyFileSystem.h"
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
    // Clicks Validate List with the answers queued; the message boxes it showed.
    std::vector<Shown> Validate(std::initializer_list<int> answers) {
        h.dialogs.Clear();
        for (int answer : answers) {
            h.dialogs.QueueAnswer(answer);
        }
        w().cmdValidate->click();
        return h.dialogs.MessageBoxes();
    }

    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
};

TEST_F(ValidationTest, PromptsInOrderAndRemovesExactlyTheRecordedServers) {
    lab.AddServer("ALPHA");
    lab.AddServer("DOWN", {.offline = true});
    lab.AddServer("LOCKED", {.denied = true});
    h.dir.Write("unavailable.top", CrLf({"STALE"}));
    h.dir.Write("accessdenied.top", CrLf({"STALE"}));
    h.Start();
    // An empty list: all available, and two empty result files in place of the old ones.
    auto boxes = Validate({MsgAnswer::Yes});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, QStringLiteral("All servers in the list are available!"));
    for (const char* file : {"unavailable.top", "accessdenied.top"}) {
        EXPECT_TRUE(h.dir.Exists(file)) << file;
        EXPECT_EQ(h.dir.Read(file), "") << file;
    }

    w().lstComputers->addItems({"ALPHA", "DOWN", "DOWN", "GONE", "LOCKED", "down", "WEB,01"});
    boxes = Validate({MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::No});
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Validate Availability?"));
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

    // Only the reachable and the denied left: all available, then the denied prompt.
    boxes = Validate({MsgAnswer::Yes, MsgAnswer::No});
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1].text, QStringLiteral("All servers in the list are available!"));
    EXPECT_EQ(boxes[2].title, QStringLiteral("Access Denied!"));
    EXPECT_EQ(h.dir.Read("unavailable.top"), "");
    EXPECT_EQ(Entries(*w().lstComputers), (QStringList{"ALPHA", "LOCKED"}));
}

TEST_F(ValidationTest, AMissingAtToolStopsWithAMessageAndChangesNothing) {
    lab.AddServer("DOWN", {.offline = true});
    std::remove(h.dir.file("at.exe").c_str());
    h.Start();
    w().lstComputers->addItems({QStringLiteral("DOWN"), QStringLiteral("SRV02")});
    const auto boxes = Validate({MsgAnswer::Yes});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[1].text.contains(QStringLiteral("at.exe")));
    EXPECT_EQ(w().lstComputers->count(), 2);
    EXPECT_FALSE(w().IsBusy());
}

// A result file that cannot be written stops the run before anything is offered for removal.
TEST_F(ValidationTest, AResultFileThatCannotBeWrittenStopsTheRun) {
    lab.AddServer("DOWN", {.offline = true});
    h.dir.Write("unavailable.top", CrLf({"STALE"}));
    FaultyFileSystem readOnly(*h.nativeFiles);
    h.Start(&readOnly);
    w().lstComputers->addItems({QStringLiteral("DOWN"), QStringLiteral("SRV02")});
    readOnly.writeFailure = {kPermissionDenied, "Permission denied"};
    for (const bool staleFile : {true, false}) {
        if (!staleFile) {
            std::remove(h.dir.file("unavailable.top").c_str());
        }
        const auto boxes = Validate({MsgAnswer::Yes});
        ASSERT_EQ(boxes.size(), 2u) << staleFile;
        EXPECT_EQ(boxes[1].text, "Corvane could not write the result file " + h.dir.path() +
                                     "unavailable.top:\r\nPermission denied\r\n\r\nThe "
                                     "validation was stopped; the computer list was not changed.");
        EXPECT_EQ(w().lstComputers->count(), 2);
        EXPECT_FALSE(w().IsBusy());
        EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
    }
}

TEST_F(ValidationTest, TheProbesRunUnderTheBusyCursor) {
    lab.AddServer("STUCK", {.hang = true});
    RecordingProcesses processes(h.nativeProcesses.get());
    h.Start(nullptr, &processes);
    w().lstComputers->addItem(QStringLiteral("STUCK"));
    bool probing = false;
    QTimer::singleShot(100, [&] {
        EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Validating"));
        probing = w().IsBusy();
        ASSERT_EQ(processes.running.size(), 1u);
        processes.running.front()->End();
    });
    EXPECT_EQ(Validate({MsgAnswer::Yes}).size(), 2u);
    EXPECT_TRUE(probing);
}

} // namespace
} // namespace corvane::test
