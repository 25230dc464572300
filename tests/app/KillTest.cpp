// Saves of computerlist.txt killed at random moments leave the whole old or the whole new list.
#include "Harness.h"
#include "RunProgram.h"

#include "persist/ListFiles.h"
#include "persist/TextFile.h"

#include <gtest/gtest.h>
#include <random>
#include <signal.h>
#include <unistd.h>

namespace corvane::test {
namespace {

TEST(KillTest, AKilledSaveLeavesTheWholeOldOrNewListAndNothingThatBreaksTheNext) {
    MainHarness h;
    QStringList lists[3];
    for (int i = 0; i < kMaxListEntries; ++i) {
        for (int l = 0; l < 3; ++l) {
            lists[l] << QChar::fromLatin1("SWA"[l]) + QString::number(1000 + i);
        }
    }
    const std::string bytes[] = {ToNative(FormatListFile(lists[0])),
                                 ToNative(FormatListFile(lists[1]))};
    h.dir.Write("a.bin", bytes[0]);
    h.dir.Write("b.bin", bytes[1]);
    std::mt19937 random(16);
    int sawNew = 0;
    for (int round = 0; round < 200; ++round) {
        const pid_t child = StartProgram(CORVANE_SAVER,
                                         {PathBytes(h.dir.path() + "computerlist.txt"),
                                          h.dir.file("a.bin"), h.dir.file("b.bin")},
                                         {}, h.dir.file("ready"));
        ASSERT_GT(child, 0);
        while (h.dir.Read("ready").empty()) { // killed only once the first save is whole
            usleep(50);
        }
        usleep(static_cast<useconds_t>(random() % 3000));
        kill(child, SIGKILL);
        ASSERT_EQ(WaitProgram(child), 128 + SIGKILL) << "round " << round;
        const std::string now = h.dir.Read("computerlist.txt");
        ASSERT_TRUE(now == bytes[0] || now == bytes[1]) << "round " << round << ": " << now.size();
        sawNew += now == bytes[1];
    }
    EXPECT_GT(sawNew, 0); // the kills did land between saves
    frmMain& w = h.Start();
    ASSERT_TRUE(w.lstComputers->count() == kMaxListEntries && h.dialogs.shown().empty());
    w.lstComputers->clear();
    w.lstComputers->addItems(lists[2]);
    w.cmdExit_Click();
    EXPECT_EQ(h.dir.Read("computerlist.txt"), ToNative(FormatListFile(lists[2])));
}

} // namespace
} // namespace corvane::test
