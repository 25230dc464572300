// hang=yes: the tools wait, touching no file, until ended or until the program that started them
// is gone, so that no test leaves one behind.
#include "Harness.h"
#include "LabNetwork.h"
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <thread>

namespace corvane {
namespace {

// The process's state letter from /proc; 0 when there is no such process.
char ProcessState(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat{std::istreambuf_iterator<char>(file), {}};
    const auto close = stat.rfind(')'); // after the command name, which may hold blanks
    return close != std::string::npos && close + 2 < stat.size() ? stat[close + 2] : 0;
}

// Waits up to 20 s for the condition.
template <typename Condition> bool WaitFor(Condition condition) {
    for (int i = 0; i < 2000 && !condition(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

class HangTest : public ::testing::Test {
protected:
    void SetUp() override { lab.AddServer("HANG", {.hang = true}); }

    test::TempDir dir;
    test::LabNetwork lab{dir.path().toStdString()};
};

TEST_F(HangTest, EndsWhenItsParentIsGone) {
    // A shell starts the tool, waits until it hangs, prints its process ID and leaves it behind.
    const std::string script = "\"$0\" \"$1\" >/dev/null & i=0; "
                               "while [ $i -lt 2000 ] && ! grep -q ') S ' /proc/$!/stat; "
                               "do i=$((i+1)); sleep 0.01; done; [ $i -lt 2000 ] && echo $!";
    const test::ProgramResult shell = test::RunProgram(
        "/bin/sh", {"-c", script, test::LabNetwork::Tool("uptime.exe"), R"(\\HANG)"},
        lab.Environment());
    ASSERT_EQ(shell.status, 0) << "the tool did not hang";
    const pid_t child = std::stoi(shell.out);
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
