// Saves of computerlist.txt killed at random moments: the file is always the whole old or the
// whole new list, and what an interrupted save leaves behind breaks neither the next save nor the
// next start.
#include "Harness.h"

#include "persist/ListFiles.h"
#include "persist/TextFile.h"
#include "platform/NativeFileSystem.h"

#include <QFileInfo>
#include <QListWidget>
#include <gtest/gtest.h>

#include <random>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
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

// A harness whose AppDir is in memory where there is a memory file system: a kill loses what the
// process had not yet written, never what the file system holds, so this changes nothing but the
// time each save's flush takes.
std::unique_ptr<MainHarness> InMemoryHarness() {
    const QByteArray old = qgetenv("TMPDIR");
    if (QFileInfo(QStringLiteral("/dev/shm")).isDir()) {
        qputenv("TMPDIR", "/dev/shm");
    }
    auto h = std::make_unique<MainHarness>();
    old.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", old);
    return h;
}

TEST(KillTest, AKilledSaveLeavesTheWholeOldOrNewListAndNothingThatBreaksTheNext) {
    const auto harness = InMemoryHarness();
    MainHarness& h = *harness;
    const auto fs = MakeNativeFileSystem();
    const QString path = h.dir.path() + QStringLiteral("computerlist.txt");
    const QStringList lists[] = {Numbered(QStringLiteral("SRV")), Numbered(QStringLiteral("WEB")),
                                 Numbered(QStringLiteral("APP"))};
    const std::string bytes[] = {ToNative(FormatListFile(lists[0])),
                                 ToNative(FormatListFile(lists[1]))};
    h.dir.Write("a.bin", bytes[0]);
    h.dir.Write("b.bin", bytes[1]);
    const std::string args[] = {CORVANE_SAVER, PathBytes(path), h.dir.file("a.bin"),
                                h.dir.file("b.bin")};
    char* argv[] = {const_cast<char*>(args[0].c_str()), const_cast<char*>(args[1].c_str()),
                    const_cast<char*>(args[2].c_str()), const_cast<char*>(args[3].c_str()),
                    nullptr};

    std::mt19937 random(16);
    std::uniform_int_distribution<int> delayMicroseconds(0, 3000);
    int sawNew = 0;
    constexpr int kRounds = 200;
    for (int round = 0; round < kRounds; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ready[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, ready[0]);
        pid_t child = 0;
        ASSERT_EQ(posix_spawn(&child, argv[0], &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(ready[1]);
        // Killed only once the first save is whole: from then on the file is always being saved.
        char byte = 0;
        const bool started = read(ready[0], &byte, 1) == 1;
        close(ready[0]);
        usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(started && WIFSIGNALED(status)) << "round " << round;

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
