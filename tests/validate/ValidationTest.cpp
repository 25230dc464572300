// Validate List end to end on a lab network: probes, prompts in order, result files and removal.
#include "FaultyFileSystem.h"
#include "Harness.h"
#include "LabNetwork.h"
#include "RecordingProcesses.h"

#include "app/ListHelpers.h"

#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

class ValidationTest : public ::testing::Test {
protected:
    frmMain& w() { return *h.window; }
    // Clicks Validate List with these answers; the texts of the boxes after the first question.
    QStringList Validate(std::initializer_list<int> answers) {
        h.dialogs.Clear();
        for (int answer : answers)
            h.dialogs.QueueAnswer(answer);
        w().cmdValidate->click();
        EXPECT_EQ(w().lblStatus->text() + (w().IsBusy() ? " busy" : ""), "Waiting for Command");
        return h.dialogs.MessageTexts().mid(1);
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
    const QString allAvailable = "All servers in the list are available!";
    EXPECT_EQ(Validate({MsgAnswer::Yes}), QStringList{allAvailable});
    EXPECT_EQ(h.dir.Read("unavailable.top") + h.dir.Read("accessdenied.top"), "");
    EXPECT_TRUE(h.dir.Exists("unavailable.top") && h.dir.Exists("accessdenied.top"));

    // Each probe is recorded; a name unfit for a command line counts as unavailable unprobed.
    w().lstComputers->addItems({"ALPHA", "DOWN", "DOWN", "GONE", "LOCKED", "down", "WEB,01"});
    const QString denied = "The currently logged on user account does not have "
                           "sufficient\r\nrights to schedule jobs on the following computers:"
                           "\r\n\r\nLOCKED\r\n\r\nWould you like to remove these from the "
                           "computer list?";
    EXPECT_EQ(Validate({MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::No}),
              (QStringList{"The following servers are "
                           "offline or unavailable: \r\n\r\nDOWN\r\nDOWN\r\nGONE\r\ndown\r\nWEB,01"
                           "\r\n\r\nWould you like to remove these from the computer list?",
                           denied}));
    EXPECT_EQ(h.dialogs.MessageBoxes()[1].style, 4 + 48 + 256);
    EXPECT_EQ(Entries(*w().lstComputers), (QStringList{"ALPHA", "LOCKED"}));
    EXPECT_EQ(h.dir.Read("unavailable.top"), CrLf({"DOWN", "DOWN", "GONE", "down", "\"WEB,01\""}));
    EXPECT_EQ(h.dir.Read("accessdenied.top"), CrLf({"LOCKED"}));

    // Only the reachable and the denied left: all available, then the denied prompt; Yes.
    EXPECT_EQ(Validate({MsgAnswer::Yes, MsgAnswer::Yes}), (QStringList{allAvailable, denied}));
    EXPECT_EQ(Entries(*w().lstComputers), QStringList{"ALPHA"});
}

// A missing at.exe or a result file that cannot be written stops the run and changes nothing;
// the probes run under the busy cursor.
TEST_F(ValidationTest, AMissingToolOrAnUnwritableResultFileStopsTheRun) {
    lab.AddServer("STUCK", {.hang = true});
    std::filesystem::remove(h.dir.file("at.exe"));
    FaultyFileSystem readOnly(*h.nativeFiles);
    RecordingProcesses processes(h.nativeProcesses.get());
    h.Start(&readOnly, &processes).lstComputers->addItems({"STUCK", "SRV02"});
    EXPECT_EQ(Validate({MsgAnswer::Yes}).join("").count(QStringLiteral("at.exe")), 1);
    std::filesystem::create_symlink(LabNetwork::Tool("at.exe"), h.dir.file("at.exe"));
    readOnly.writeFailure = {kPermissionDenied, "Permission denied"};
    QString during;
    QTimer::singleShot(100, [&] {
        during = w().lblStatus->text() + (w().IsBusy() ? " busy" : "");
        ASSERT_EQ(processes.running.size(), 1u);
        processes.running.front()->End();
    });
    const QString unwritable = h.dir.path() + "unavailable.top:\r\nPermission denied";
    EXPECT_EQ(Validate({MsgAnswer::Yes}).join("").count(unwritable), 1);
    EXPECT_EQ(during, QStringLiteral("Validating busy"));
    // An old result file that cannot be replaced stops the run before any probe, and stays.
    h.dir.Write("unavailable.top", CrLf({"STALE"}));
    EXPECT_EQ(Validate({MsgAnswer::Yes}).join("").count(unwritable), 1);
    EXPECT_EQ(w().lstComputers->count(), 2);
    EXPECT_EQ(h.dir.Read("unavailable.top"), CrLf({"STALE"}));
}

} // namespace
} // namespace corvane::test
