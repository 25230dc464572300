// The AppDir lock: a second holder is refused, and a killed holder leaves nothing locked.
#include "Harness.h"

#include "platform/AppDirLock.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvane::test {
namespace {

TEST(AppDirLockTest, OneHolderAtATimeAndAKilledHolderLetsGo) {
    TempDir dir;
    const std::string appDir = dir.path().toStdString();
    {
        const AppDirLocking first = LockAppDir(appDir);
        const AppDirLocking second = LockAppDir(appDir);
        EXPECT_TRUE(first.lock && !second.lock && second.heldElsewhere) << first.reason;
    }
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) { // holds the lock until killed
        const AppDirLocking held = LockAppDir(appDir);
        const char answer = held.lock ? 'y' : 'n';
        static_cast<void>(::write(ready[1], &answer, 1));
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    EXPECT_TRUE(answer == 'y' && LockAppDir(appDir).heldElsewhere);
    ::kill(child, SIGKILL);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    ::close(ready[0]);
    const AppDirLocking after = LockAppDir(appDir);
    EXPECT_NE(after.lock, nullptr) << after.reason;
}

} // namespace
} // namespace corvane::test
