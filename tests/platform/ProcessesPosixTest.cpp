// Contract of the POSIX Processes, run against the helper programs: statuses, arguments, the
// capture file, lookup, the tool's surroundings, ending, and many commands nobody waits on.
#include "HelperTools.h"

#include "platform/posix/ProgramLookup.h"

#include <QStandardPaths>
#include <csignal>
#include <filesystem>
#include <functional>
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
        return launched.command ? WaitBlocking(*launched.command).value_or(-2) : -1;
    }

    ToolDir tools;
};

// "@" is a capture file whose path has blanks and which held an earlier answer. An empty capture
// with status 0 would be a close-on-exec flag in the spawn actions.
TEST_F(ProcessesPosixTest, TheCaptureAndTheStatusAreTheTools) {
    // The system's own uptime is on PATH; a bare "uptime" beside the program must not run either.
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("uptime")).isEmpty());
    InstallHelper("printargs", tools.file("uptime"));
    const std::string appDir = tools.appDir();
    const std::string earlier = "an earlier, much longer answer\r\n";
    const struct {
        std::string line;
        int status;
        std::string captured;
        std::string complaint = ""; // on standard error, which is the program's own
    } cases[] = {
        {"cmd /c exitwith 42", 42, earlier},
        {"cmd /c exitwith 255 > @", 255, ""},
        // Arguments arrive as Windows splits them: blanks, quotes, trailing backslashes.
        {R"(cmd /c printargs a "b c"  d > @)", 0, "[a]\n[b c]\n[d]\n"},
        {R"(cmd /c printargs "" "" > @)", 0, "[]\n[]\n"},
        // The interpreter in any spelling, its redirections; quoted, its characters are plain.
        {R"(CMD.EXE /C printargs \\S >@  )", 0, "[\\\\S]\n"},
        {"cmd /c printargs 1> @", 0, ""},
        {"cmd /c printargs SRV1> @", 0, "[SRV1]\n"},
        {R"(cmd /c printargs "a > b" "&|<^" > @)", 0, "[a > b]\n[&|<^]\n"},
        // Programs are found as on Windows: any case, with or without .exe, with a path.
        {"cmd /c PRINTARGS a > @", 0, "[a]\n"},
        {"cmd /c stderronly > @", 3, "", "stderronly: something went wrong\n"},
        {R"(cmd /c uptime \\SRV01 > @)", kCommandNotFoundStatus, "",
         "'uptime' is not recognized as an internal or external command,\r\n"
         "operable program or batch file.\r\n"},
        // In AppDir with the lab network (in place of the program's own, whose namesakes
        // stay), empty input, no inherited descriptors, its own group.
        {"cmd /c inspect > @", 0,
         "cwd=" + appDir.substr(0, appDir.size() - 1) + "\nnetwork=" + appDir +
             "network/\nkept=yes\nstdin=/dev/null\nfds=\ngroup=own\n"},
    };
    setenv("CORVANE_NETWORK", "/elsewhere/", 1);
    setenv("CORVANE_NETWORK_KEPT", "yes", 1);
    for (const auto& c : cases) {
        tools.Write("capture file.top", earlier);
        std::string line = c.line;
        if (const size_t at = line.find('@'); at != std::string::npos) {
            line.replace(at, 1, '"' + tools.file("capture file.top") + '"');
        }
        testing::internal::CaptureStderr();
        const int status = Run(line);
        EXPECT_EQ(std::to_string(status) + " " + tools.Read("capture file.top") + "|" +
                      testing::internal::GetCapturedStderr(),
                  std::to_string(c.status) + " " + c.captured + "|" + c.complaint)
            << c.line;
    }
    unsetenv("CORVANE_NETWORK");
    unsetenv("CORVANE_NETWORK_KEPT");
}

// Interpreter syntax the lab does not emulate, no program, a capture that cannot be created, and a
// program started directly that is missing (the caller reports it); present, it runs.
TEST_F(ProcessesPosixTest, LinesTheLabCannotRunStartNothing) {
    tools.Write("out.top", "old");
    for (const char* line : {"cmd /c printargs a & exitwith 1", "cmd /c printargs a | exitwith 1",
                             "cmd /c printargs < out.top", "cmd /c printargs ^& exitwith 1",
                             "cmd /c printargs >> out.top", "cmd /c printargs > out.top > x",
                             "cmd /c printargs > out.top more", "cmd /c printargs 2> out.top",
                             "cmd /c printargs >", "cmd /c > out.top", "cmd /c", "cmd /k printargs",
                             "cmd printargs", "cmd /cprintargs", "", "\"\" printargs"}) {
        const LaunchResult launched = tools.processes->Launch(line);
        EXPECT_TRUE(!launched.command && !launched.error.empty()) << line;
    }
    EXPECT_EQ(tools.Read("out.top"), "old");
    const std::string unwritable = tools.appDir() + "no/such/dir.top";
    const LaunchResult refused =
        tools.processes->Launch("cmd /c printargs > \"" + unwritable + "\"");
    const LaunchResult direct = tools.processes->Launch("at \\\\SRV01 7:05PM notepad.exe");
    EXPECT_TRUE(!refused.command && !direct.command);
    EXPECT_NE(refused.error.find(unwritable), std::string::npos) << refused.error;
    EXPECT_NE(direct.error.find("at.exe"), std::string::npos) << direct.error;
    EXPECT_EQ(Run("exitwith 7"), 7);
}

// Programs are looked for in AppDir, then in PATH's absolute entries only: the tool starts in
// AppDir, so a relative or empty entry would find one file and start another. PATH is read at
// each lookup, and a program that disappears after it was found is looked for again.
TEST_F(ProcessesPosixTest, ProgramsAreFoundInAppDirThenInAbsolutePathEntries) {
    QTemporaryDir here;
    const std::string cwd = here.path().toStdString(), oldPath = std::getenv("PATH");
    const auto oldCwd = std::filesystem::current_path();
    std::filesystem::create_directories(cwd + "/rel");
    InstallHelper("exitwith", cwd + "/OnlyHere.exe");
    InstallHelper("exitwith", cwd + "/rel/OnlyHere.exe");
    InstallHelper("printargs", cwd + "/rel/exitwith.exe");
    std::filesystem::current_path(cwd);
    std::string found;
    for (const std::string& path : {std::string(), std::string(":"), std::string("./rel"),
                                    std::string("."), "rel:" + cwd + "/rel"}) {
        setenv("PATH", path.c_str(), 1);
        ProgramLookup lookup(tools.appDir());
        const std::string* program = lookup.Find("onlyhere");
        found += program ? *program + ";" : "-;";
    }
    EXPECT_EQ(found, "-;-;-;-;" + cwd + "/rel/OnlyHere.exe;");
    EXPECT_EQ(Run("cmd /c onlyhere 5"), 5);
    EXPECT_EQ(Run("cmd /c exitwith 6"), 6);
    std::filesystem::current_path(oldCwd);
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(Run("cmd /c onlyhere 5"), kCommandNotFoundStatus);
    std::filesystem::remove(tools.file("exitwith.exe"));
    EXPECT_EQ(Run("cmd /c exitwith 6"), kCommandNotFoundStatus);
}

bool Eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 2000 && !done(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
}

TEST_F(ProcessesPosixTest, EndingStopsTheToolAndWhatItStarted) {
    LaunchResult launched =
        tools.processes->Launch("cmd /c hang > \"" + tools.file("hang.top") + "\"");
    ASSERT_NE(launched.command, nullptr);
    RunningCommand& command = *launched.command;
    int pid = 0, child = 0;
    ASSERT_TRUE(Eventually([&] {
        return std::sscanf(tools.Read("hang.top").c_str(), "%d %d", &pid, &child) == 2;
    })) << "hang never started its child";
    EXPECT_TRUE(command.Running() && !command.ExitStatus());
    command.End();
    EXPECT_EQ(WaitBlocking(command), 128 + SIGKILL);
    EXPECT_TRUE(ProcessGone(pid));
    EXPECT_TRUE(Eventually([&] { return ProcessGone(child); }));
    // Once collected, ending does nothing and the status stays.
    command.End();
    EXPECT_TRUE(!command.Running() && command.ExitStatus() == 128 + SIGKILL);
    EXPECT_EQ(command.OpenWaitHandle(), -1);
}

// A command holds no descriptor until it is waited for: a thousand fit under a limit of 256, and
// none is open before the waits. In a child process of its own, so that the limit stays there.
TEST_F(ProcessesPosixTest, AThousandUnwaitedCommandsNeedNoDescriptors) {
    const auto launchAThousandThenWait = [this] {
        const auto openDescriptors = [] {
            return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
        };
        const rlimit limit{256, 256};
        setrlimit(RLIMIT_NOFILE, &limit);
        const auto before = openDescriptors();
        std::vector<std::unique_ptr<RunningCommand>> commands;
        for (int i = 0; i < 1000; ++i) {
            const std::string line = "cmd /c exitwith " + std::to_string(i % 250) + " > out.top";
            commands.push_back(tools.processes->Launch(line).command);
        }
        bool ok = openDescriptors() == before;
        for (int i = 0; i < 1000; ++i) {
            ok = ok && commands[i] && commands[i]->OpenWaitHandle() >= 0 &&
                 WaitBlocking(*commands[i]) == i % 250;
        }
        return ok ? 0 : 1;
    };
    EXPECT_EXIT(std::_Exit(launchAThousandThenWait()), ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace corvane::test
