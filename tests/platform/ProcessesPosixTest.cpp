// Contract of the POSIX Processes, run against the helper programs: statuses, arguments, the
// capture file, lookup, the tool's surroundings, ending, and many commands nobody waits on.
#include "HelperTools.h"

#include "platform/NativeProcesses.h"

#include <QStandardPaths>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace corvane::test {
namespace {

class ProcessesPosixTest : public ::testing::Test {
protected:
    // Starts the line and waits for it; the exit status, or -1 when it could not start.
    int Run(const std::string& line) {
        LaunchResult launched = tools.processes->Launch(line);
        EXPECT_NE(launched.command, nullptr) << line << ": " << launched.error;
        if (!launched.command) {
            return -1;
        }
        return WaitBlocking(*launched.command).value_or(-2);
    }
    // The line through the interpreter with its output captured in a file whose path has blanks.
    std::string Captured(const std::string& command) {
        EXPECT_EQ(Run("cmd /c " + command + " > \"" + tools.file("capture file.top") + "\""), 0);
        return tools.Read("capture file.top");
    }

    ToolDir tools;
};

TEST_F(ProcessesPosixTest, TheStatusIsTheTools) {
    for (int status : {0, 1, 42, 255}) {
        EXPECT_EQ(Run("cmd /c exitwith " + std::to_string(status)), status);
    }
    EXPECT_EQ(Run("exitwith 7"), 7);
    EXPECT_EQ(Run("cmd /c stderronly"), 3);
}

struct ArgumentCase {
    const char* args;
    const char* printed;
};

TEST_F(ProcessesPosixTest, ArgumentsArriveAsWindowsSplitsThem) {
    const ArgumentCase cases[] = {
        {R"(\\SRV01 7:5AM)", "[\\\\SRV01]\n[7:5AM]\n"},
        {R"(a "b c"  d)", "[a]\n[b c]\n[d]\n"},
        {R"("C:\Program Files\x.exe" /q)", "[C:\\Program Files\\x.exe]\n[/q]\n"},
        {R"("C:\dir\\" end)", "[C:\\dir\\]\n[end]\n"},
        {R"(say\"hi\" "a""b")", "[say\"hi\"]\n[a\"b]\n"},
        {R"("" "")", "[]\n[]\n"},
    };
    for (const ArgumentCase& c : cases) {
        EXPECT_EQ(Captured(std::string("printargs ") + c.args), c.printed) << c.args;
    }
}

TEST_F(ProcessesPosixTest, EachRunReplacesTheCaptureEvenWhenNothingIsPrinted) {
    tools.Write("schedule.top", "an earlier, much longer answer\r\n");
    EXPECT_EQ(Captured("printargs x"), "[x]\n");
    // Standard error is not captured: the file is emptied all the same.
    EXPECT_EQ(Run("cmd /c stderronly > \"" + tools.file("schedule.top") + "\""), 3);
    EXPECT_EQ(tools.Read("schedule.top"), "");
    // A relative name is in AppDir, the working folder.
    EXPECT_EQ(Run("cmd /c printargs rel >rel.top"), 0);
    EXPECT_EQ(tools.Read("rel.top"), "[rel]\n");
}

TEST_F(ProcessesPosixTest, AToolThatIsNotFoundComplainsAsCmdDoes) {
    // The system's own uptime is on PATH; a bare "uptime" beside the program must not run either.
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("uptime")).isEmpty());
    InstallHelper("printargs", tools.file("uptime"));
    tools.Write("resgen.top", "SRV01 has been up for: 1 day(s)\r\n");

    testing::internal::CaptureStderr();
    EXPECT_EQ(Run("cmd /c uptime \\\\SRV01 > \"" + tools.file("resgen.top") + "\""),
              kCommandNotFoundStatus);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "'uptime' is not recognized as an internal or external command,\r\n"
              "operable program or batch file.\r\n");
    EXPECT_EQ(tools.Read("resgen.top"), "");

    // Started directly, a missing program is the caller's to report.
    const LaunchResult direct = tools.processes->Launch("at \\\\SRV01 7:05PM notepad.exe");
    EXPECT_EQ(direct.command, nullptr);
    EXPECT_NE(direct.error.find("at.exe"), std::string::npos) << direct.error;
}

TEST_F(ProcessesPosixTest, LinesTheLabCannotRunStartNothing) {
    tools.Write("out.top", "old");
    for (const char* line : {"cmd /c printargs a & exitwith 1", "cmd /c printargs > out.top > x",
                             "cmd /c printargs >> out.top", "cmd /c"}) {
        const LaunchResult launched = tools.processes->Launch(line);
        EXPECT_EQ(launched.command, nullptr) << line;
        EXPECT_NE(launched.error, "") << line;
    }
    EXPECT_EQ(tools.Read("out.top"), "old");
    const LaunchResult unwritable =
        tools.processes->Launch("cmd /c printargs > \"" + tools.appDir() + "no/such/dir.top\"");
    EXPECT_EQ(unwritable.command, nullptr);
    EXPECT_NE(unwritable.error.find("no/such/dir.top"), std::string::npos) << unwritable.error;
}

TEST_F(ProcessesPosixTest, ProgramsAreFoundAsOnWindowsAppDirFirst) {
    EXPECT_EQ(Captured("PRINTARGS a"), "[a]\n");
    EXPECT_EQ(Captured("PrintArgs.EXE b"), "[b]\n");
    EXPECT_EQ(Captured(".\\printargs c"), "[c]\n");

    // On PATH: found there, but a program of the same name in AppDir comes first.
    QTemporaryDir onPath;
    const std::string pathDir = onPath.path().toStdString() + "/";
    InstallHelper("exitwith", pathDir + "OnPath.exe");
    InstallHelper("printargs", pathDir + "exitwith.exe");
    const std::string oldPath = std::getenv("PATH");
    setenv("PATH", (pathDir + ":" + oldPath).c_str(), 1);
    EXPECT_EQ(Run("cmd /c onpath 5"), 5);
    EXPECT_EQ(Run("cmd /c exitwith 6"), 6);
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(Run("cmd /c onpath 5"), kCommandNotFoundStatus);

    // A program that disappears after it was found is looked for again.
    std::filesystem::remove(tools.file("exitwith.exe"));
    EXPECT_EQ(Run("cmd /c exitwith 6"), kCommandNotFoundStatus);
}

TEST_F(ProcessesPosixTest, TheToolStartsInAppDirWithTheNetworkAndNothingElse) {
    EXPECT_EQ(Captured("inspect"), "cwd=" + tools.appDir().substr(0, tools.appDir().size() - 1) +
                                       "\nnetwork=" + tools.appDir() +
                                       "network/\nstdin=/dev/null\nfds=\ngroup=own\n");
}

TEST_F(ProcessesPosixTest, EndingStopsTheToolAndWhatItStarted) {
    LaunchResult launched =
        tools.processes->Launch("cmd /c hang > \"" + tools.file("hang.top") + "\"");
    ASSERT_NE(launched.command, nullptr);
    RunningCommand& command = *launched.command;
    int pid = 0;
    int child = 0;
    for (int i = 0;
         i < 2000 && std::sscanf(tools.Read("hang.top").c_str(), "%d %d", &pid, &child) != 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_GT(child, 0) << "hang never started its child";
    EXPECT_TRUE(command.Running());
    EXPECT_EQ(command.ExitStatus(), std::nullopt);

    command.End();
    EXPECT_EQ(WaitBlocking(command), 128 + SIGKILL);
    EXPECT_TRUE(ProcessGone(pid));
    for (int i = 0; i < 2000 && !ProcessGone(child); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(ProcessGone(child));
    // Once collected, ending does nothing and the status stays.
    command.End();
    EXPECT_FALSE(command.Running());
    EXPECT_EQ(command.ExitStatus(), 128 + SIGKILL);
    EXPECT_EQ(command.OpenWaitHandle(), -1);
}

int OpenDescriptors() {
    int open = 0;
    for (int fd = 0; fd < 256; ++fd) {
        open += ::fcntl(fd, F_GETFD) != -1 ? 1 : 0;
    }
    return open;
}

// Starts a thousand commands without waiting, then waits for each. Ends the process with 0 when
// every one started, held no descriptor meanwhile, and ended with its own status.
[[noreturn]] void LaunchAThousandThenWait(Processes& processes) {
    const int before = OpenDescriptors();
    std::vector<std::unique_ptr<RunningCommand>> commands;
    for (int i = 0; i < 1000; ++i) {
        LaunchResult launched =
            processes.Launch("cmd /c exitwith " + std::to_string(i % 250) + " > out.top");
        if (!launched.command) {
            std::fprintf(stderr, "launch %d failed: %s\n", i, launched.error.c_str());
            std::_Exit(1);
        }
        commands.push_back(std::move(launched.command));
    }
    if (OpenDescriptors() != before) {
        std::_Exit(4);
    }
    for (int i = 0; i < 1000; ++i) {
        if (commands[i]->OpenWaitHandle() < 0) {
            std::fprintf(stderr, "no wait handle for command %d\n", i);
            std::_Exit(2);
        }
        if (WaitBlocking(*commands[i]) != i % 250) {
            std::fprintf(stderr, "command %d ended wrongly\n", i);
            std::_Exit(3);
        }
    }
    std::_Exit(0);
}

// A command holds no descriptor until it is waited for. In a child process of its own, so that
// the lowered limit stays there.
TEST_F(ProcessesPosixTest, AThousandUnwaitedCommandsNeedNoDescriptors) {
    const rlimit limit{256, 256};
    EXPECT_EXIT(
        {
            setrlimit(RLIMIT_NOFILE, &limit);
            LaunchAThousandThenWait(*tools.processes);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace corvane::test
