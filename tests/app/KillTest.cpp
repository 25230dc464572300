// Saves of computerlist.txt killed at random moments: the file is always the whole old or the
// whole new list, and what an interrupted save leaves behind breaks neither the next save nor the
// next start.
#include "Harness.h"
#include "RunProgram.h"

#include "persist/ListFiles.h"
#include "persist/TextFile.h"
#include "platform/NativeFileSystem.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <random>
#include <signal.h>
#include <unistd.h>

namespace corvane::test {
namespace {

QStringList Numbered(const QString& prefix) {
    QStringList entries;
    for (int i = 0; i < kMaxListEntries; ++i) {
        entries << prefix + QString::number(1000 + i);
    }
    return entries;
}

TEST(KillTest, AKilledSaveLeavesTheWholeOldOrNewListAndNothingThatBreaksTheNext) {
    // AppDir in memory where there is a memory file system: a kill loses what the process had not
    // yet written, never what the file system holds, so this only makes each flush quicker.
    const QByteArray tmp = qgetenv("TMPDIR");
    if (QFileInfo(QStringLiteral("/dev/shm")).isDir()) {
        qputenv("TMPDIR", "/dev/shm");
    }
    MainHarness h;
    tmp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmp);
    const auto fs = MakeNativeFileSystem();
    const QString path = h.dir.path() + QStringLiteral("computerlist.txt");
    const QStringList lists[] = {Numbered("SRV"), Numbered("WEB"), Numbered("APP")};
    const std::string bytes[] = {ToNative(FormatListFile(lists[0])),
                                 ToNative(FormatListFile(lists[1]))};
    h.dir.Write("a.bin", bytes[0]);
    h.dir.Write("b.bin", bytes[1]);
    std::mt19937 random(16);
    std::uniform_int_distribution<int> delayMicroseconds(0, 3000);
    int sawNew = 0;
    for (int round = 0; round < 200; ++round) {
        const pid_t child =
            StartProgram(CORVANE_SAVER, {PathBytes(path), h.dir.file("a.bin"), h.dir.file("b.bin")},
                         {}, h.dir.file("ready"));
        ASSERT_GT(child, 0);
        // Killed only once the first save is whole: from then on the file is always being saved.
        while (h.dir.Read("ready").empty()) {
            usleep(50);
        }
        usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        kill(child, SIGKILL);
        ASSERT_EQ(WaitProgram(child), 128 + SIGKILL) << "round " << round;

        const std::string now = h.dir.Read("computerlist.txt");
        ASSERT_TRUE(now == bytes[0] || now == bytes[1]) << "round " << round << ": " << now.size();
        sawNew += now == bytes[1];
        // The next save, over whatever the killed one left.
        ListItems read;
        ASSERT_TRUE(ReadListFile(*fs, path, read).ok());
        ASSERT_EQ(read.items, lists[now == bytes[0] ? 0 : 1]);
        ASSERT_TRUE(WriteListFile(*fs, path, lists[2]).ok());
    }
    EXPECT_GT(sawNew, 0); // the kills did land between saves

    // The next start reads the last save whole, and its exit saves a changed list whole.
    frmMain& w = h.Start();
    ASSERT_EQ(w.lstComputers->count(), kMaxListEntries);
    EXPECT_TRUE(h.dialogs.MessageBoxes().empty());
    delete w.lstComputers->takeItem(0);
    w.cmdExit_Click();
    EXPECT_EQ(h.dir.Read("computerlist.txt"), ToNative(FormatListFile(lists[2].mid(1))));
}

} // namespace
} // namespace corvane::test
