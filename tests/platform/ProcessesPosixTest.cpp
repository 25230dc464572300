// Contract of the POSIX Processes, run against the helper programs, and how they read lines.
#include "HelperTools.h"

#include "platform/posix/ProgramLookup.h"
#include "platform/posix/WindowsCommandLine.h"

#include <QStandardPaths>
#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace corvane::test {
namespace {

class ProcessesPosixTest : public ::testing::Test {
protected:
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
    const std::string earlier = "an earlier, much longer answer\r\n";
    const struct {
        std::string line;
        int status;
        std::string captured;
        std::string complaint = ""; // on standard error, which is the program's own
    } cases[] = {
        {"cmd /c exitwith 42", 42, earlier},
        {"cmd /c exitwith 255 > @", 255, ""},
        {R"(cmd /c printargs a "b c"  d > @)", 0, "[a]\n[b c]\n[d]\n"},
        {R"(CMD.EXE /C printargs \\S >@  )", 0, "[\\\\S]\n"},
        {"cmd /c printargs 1> @", 0, ""},
        {"cmd /c printargs SRV1> @", 0, "[SRV1]\n"},
        {R"(cmd /c printargs "a > b" "&|<^" > @)", 0, "[a > b]\n[&|<^]\n"},
        {"cmd /c stderronly > @", 3, "", "stderronly: something went wrong\n"},
        {R"(cmd /c uptime \\SRV01 > @)", kCommandNotFoundStatus, "",
         "'uptime' is not recognized as an internal or external command,\r\n"
         "operable program or batch file.\r\n"},
        // In AppDir with its lab network, empty input, no inherited descriptors, its own group.
        {"cmd /c inspect > @", 0,
         "cwd=" + tools.appDir().substr(0, tools.appDir().size() - 1) + "\nnetwork=" +
             tools.appDir() + "network/\nkept=yes\nstdin=/dev/null\nfds=\ngroup=own\n"},
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

// Syntax the lab does not emulate, an uncreatable capture or a missing program start nothing.
TEST_F(ProcessesPosixTest, LinesTheLabCannotRunStartNothing) {
    tools.Write("out.top", "old");
    for (const char* line :
         {"cmd /c printargs a & exitwith 1", "cmd /c printargs < out.top",
          "cmd /c printargs >> out.top", "cmd /c printargs > out.top > x",
          "cmd /c printargs 2> out.top", "cmd /c > out.top", "cmd /k printargs", "cmd /cx", ""}) {
        const LaunchResult launched = tools.processes->Launch(line);
        EXPECT_TRUE(!launched.command && !launched.error.empty()) << line;
    }
    EXPECT_EQ(tools.Read("out.top"), "old");
    const LaunchResult direct = tools.processes->Launch("at \\\\SRV01 7:05PM notepad.exe");
    EXPECT_TRUE(!direct.command && direct.error.find("at.exe") != std::string::npos);
    EXPECT_EQ(Run("exitwith 7"), 7);
}

// AppDir first, then PATH's absolute entries only (the tool starts in AppDir, so a relative entry
// would find one file and start another); PATH is read and a vanished program looked for again.
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
    EXPECT_TRUE(ProcessGone(pid) && Eventually([&] { return ProcessGone(child); }));
    command.End(); // collected: ending does nothing and the status stays
    EXPECT_TRUE(!command.Running() && command.ExitStatus() == 128 + SIGKILL);
    EXPECT_EQ(command.OpenWaitHandle(), -1);
}

using Words = std::vector<std::string>;

TEST(WindowsCommandLineTest, SplitsAsWindowsDoes) {
    const std::pair<const char*, Words> cases[] = {
        {"", {}},
        {"  a\tb  c", {"a", "b", "c"}},
        {R"("C:\Program Files\x.exe" /q)", {R"(C:\Program Files\x.exe)", "/q"}},
        {R"("a b"c d)", {"a b", "c", "d"}},
        {R"(p\" x)", {R"(p\")", "x"}},
        {R"(p a"b c"d)", {"p", "ab cd"}},
        {R"(p "unclosed arg)", {"p", "unclosed arg"}},
        {R"(p \\SRV01\C$\dir\)", {"p", R"(\\SRV01\C$\dir\)"}},
        {R"(p a\"b)", {"p", R"(a"b)"}},
        {R"(p "C:\dir\\" next)", {"p", R"(C:\dir\)", "next"}},
        {R"(p "C:\dir\" next)", {"p", R"(C:\dir" next)"}},
        {R"(p "a""b c")", {"p", R"(a"b)", "c"}},
    };
    for (const auto& [line, words] : cases) {
        EXPECT_EQ(SplitWindowsCommandLine(line), words) << line;
    }
}

TEST(WindowsCommandLineTest, StartedDirectlyNothingIsARedirection) {
    const ParsedCommandLine direct = ParseWindowsCommandLine(R"(at \\SRV 7:05PM  notepad.exe > x)");
    EXPECT_TRUE(!direct.throughInterpreter && !direct.outputFile && direct.error.empty() &&
                (direct.words == Words{"at", R"(\\SRV)", "7:05PM", "notepad.exe", ">", "x"}));
}

} // namespace
} // namespace corvane::test
