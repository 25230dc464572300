// hang=yes: the tools wait, touching no file, until ended or until the program that started them
// is gone, so that no test leaves one behind.
#include "Harness.h"
#include "LabNetwork.h"
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace corvane {
namespace {

// The process's state letter from /proc; 0 when there is no such process. Only system calls, so
// that a forked child of this threaded test program may use it.
char ProcessState(pid_t pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    char text[512];
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (n <= 0) {
        return 0;
    }
    text[n] = '\0';
    const char* close = std::strrchr(text, ')'); // after the command name, which may hold blanks
    return close != nullptr && close[1] == ' ' ? close[2] : 0;
}

// Waits up to 20 s for the condition; only system calls (see ProcessState).
template <typename Condition> bool WaitFor(Condition condition) {
    const timespec interval{0, 10'000'000};
    for (int i = 0; i < 2000; ++i) {
        if (condition()) {
            return true;
        }
        ::nanosleep(&interval, nullptr);
    }
    return false;
}

class HangTest : public ::testing::Test {
protected:
    void SetUp() override { lab.AddServer("HANG", {.hang = true}); }

    test::TempDir dir;
    test::LabNetwork lab{dir.path().toStdString()};
};

TEST_F(HangTest, WaitsUntilEndedWithoutTouchingTheJobs) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> runs{
        {"at.exe", {R"(\\HANG)", "1:00", "x"}},
        {"at.exe", {R"(\\hang)"}},
        {"uptime.exe", {R"(\\HANG)"}}};
    for (const auto& [tool, args] : runs) {
        const pid_t pid = test::StartProgram(test::LabNetwork::Tool(tool), args, lab.Environment());
        ASSERT_GT(pid, 0);
        EXPECT_TRUE(WaitFor([pid] { return ProcessState(pid) == 'S'; })) << tool;
        int status = 0;
        EXPECT_EQ(::waitpid(pid, &status, WNOHANG), 0) << tool << " ended by itself";
        ::kill(pid, SIGTERM);
        EXPECT_EQ(test::WaitProgram(pid), 128 + SIGTERM);
    }
    EXPECT_FALSE(lab.Exists("HANG/.jobs.lock"));
    EXPECT_FALSE(lab.Exists("HANG/.jobs"));
}

TEST_F(HangTest, EndsWhenItsParentIsGone) {
    // Everything the forked child needs is made before the fork.
    std::string tool = test::LabNetwork::Tool("uptime.exe");
    std::string server = R"(\\HANG)";
    char* argv[] = {tool.data(), server.data(), nullptr};
    std::string network = lab.Environment()[0];
    std::vector<char*> envp;
    for (char** e = environ; *e != nullptr; ++e) {
        envp.push_back(*e);
    }
    envp.push_back(network.data());
    envp.push_back(nullptr);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);

    const pid_t parent = ::fork();
    ASSERT_GE(parent, 0);
    if (parent == 0) {
        pid_t child = -1;
        if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv, envp.data()) != 0 ||
            !WaitFor([child] { return ProcessState(child) == 'S'; })) {
            ::_exit(1);
        }
        (void)!::write(fds[1], &child, sizeof child);
        ::_exit(0); // leaves the hanging tool behind
    }
    ::close(fds[1]);
    pid_t child = -1;
    const ssize_t got = ::read(fds[0], &child, sizeof child);
    ::close(fds[0]);
    EXPECT_EQ(test::WaitProgram(parent), 0);
    ASSERT_EQ(got, static_cast<ssize_t>(sizeof child));
    // Gone, or a zombie left to whoever adopted it.
    const bool ended = WaitFor([child] {
        const char state = ProcessState(child);
        return state == 0 || state == 'Z';
    });
    EXPECT_TRUE(ended);
    if (!ended) {
        ::kill(child, SIGKILL);
    }
}

} // namespace
} // namespace corvane
