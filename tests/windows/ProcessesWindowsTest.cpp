// Contract of the Windows Processes, run against the helper programs: statuses, arguments, the
// capture file, ending a command with what it started, and commands nobody waits for.
#include "WindowsTestSupport.h"

#include "platform/NativeProcesses.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

namespace corvane::wintest {
namespace {

bool Eventually(const std::function<bool()>& done, int timeoutMs = 10000) {
    for (int waited = 0; waited < timeoutMs && !done(); waited += 10) {
        Sleep(10);
    }
    return done();
}

// One argument as the C runtime splits it back: blanks and quotes kept, backslashes before a
// quote doubled.
std::string Quoted(const std::string& argument) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

void Kill(DWORD pid) {
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        TerminateProcess(process, 1);
        WaitSignalled(process, 5000);
        CloseHandle(process);
    }
}

class ProcessesWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* helper : {"exitwith", "printargs", "stderronly", "hangtree"}) {
            ASSERT_TRUE(InstallHelper(helper, appDir.file(std::string(helper) + ".exe")));
        }
    }

    // Waits for the command through its wait handle; its exit status then.
    static std::optional<int> Wait(RunningCommand& command) {
        const long long handle = command.OpenWaitHandle();
        EXPECT_NE(handle, -1);
        EXPECT_TRUE(WaitSignalled(reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle)), 10000));
        EXPECT_FALSE(command.Running());
        command.CloseWaitHandle();
        return command.ExitStatus();
    }

    // Starts the line and waits for it; the exit status, or -1 when it could not start.
    int Run(const std::string& line) {
        LaunchResult launched = processes->Launch(line);
        EXPECT_NE(launched.command, nullptr) << line << ": " << launched.error;
        return launched.command ? Wait(*launched.command).value_or(-2) : -1;
    }

    // The two process IDs hangtree writes into the capture file, once it has.
    bool ReadTree(const std::string& capture, DWORD& pid, DWORD& child) const {
        return Eventually([&] {
            return std::sscanf(appDir.Read(capture).value_or("").c_str(), "%lu %lu", &pid,
                               &child) == 2;
        });
    }

    TempDir appDir;
    std::unique_ptr<Processes> processes = MakeNativeProcesses(appDir.path(), "");
};

// "@" is a capture file whose path has blanks and which held an earlier answer. The helpers are
// found by cmd in its working folder, which is AppDir.
TEST_F(ProcessesWindowsTest, TheCaptureAndTheStatusAreTheTools) {
    const std::string earlier = "an earlier, much longer answer\r\n";
    const struct {
        std::string line;
        int status;
        std::string captured;
        std::string complaint = ""; // on standard error, which is the program's own
    } cases[] = {
        {"cmd /c exitwith 42", 42, earlier},
        {"cmd /c exitwith 255 > @", 255, ""},
        {"cmd /c exitwith -1", -1, earlier},
        // Arguments arrive as Windows splits them: blanks, quotes, trailing backslashes.
        {R"(cmd /c printargs \\SRV01 7:5AM > @)", 0, "[\\\\SRV01]\r\n[7:5AM]\r\n"},
        {R"(cmd /c printargs a "b c"  d > @)", 0, "[a]\r\n[b c]\r\n[d]\r\n"},
        {R"(cmd /c printargs "C:\dir\\" end > @)", 0, "[C:\\dir\\]\r\n[end]\r\n"},
        {R"(cmd /c printargs say\"hi\" "a""b" > @)", 0, "[say\"hi\"]\r\n[a\"b]\r\n"},
        {R"(cmd /c printargs "" "" > @)", 0, "[]\r\n[]\r\n"},
        {R"(cmd /c printargs "a > b" "&|<^" > @)", 0, "[a > b]\r\n[&|<^]\r\n"},
        {"cmd /c .\\PrintArgs.EXE c > @", 0, "[c]\r\n"},
        {"cmd /c stderronly > @", 3, "", "stderronly: something went wrong\n"},
        {R"(cmd /c uptime \\SRV01 > @)", kCommandNotFoundStatus, ""},
    };
    for (const auto& c : cases) {
        appDir.Write("capture file.top", earlier);
        std::string line = c.line;
        if (const size_t at = line.find('@'); at != std::string::npos) {
            line.replace(at, 1, '"' + appDir.file("capture file.top") + '"');
        }
        testing::internal::CaptureStderr();
        const int status = Run(line);
        const std::string complaint = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, c.status) << c.line;
        EXPECT_EQ(appDir.Read("capture file.top"), c.captured) << c.line;
        // cmd ends with 9009 on its own (Wine's too), in words of its own version.
        if (status == kCommandNotFoundStatus) {
            EXPECT_NE(complaint, "") << c.line;
        } else {
            EXPECT_EQ(complaint, c.complaint) << c.line;
        }
    }
    // A relative capture lands in AppDir.
    EXPECT_EQ(Run("cmd /c printargs rel >rel.top"), 0);
    EXPECT_EQ(appDir.Read("rel.top"), "[rel]\r\n");

    // Paths cross as UTF-8: an AppDir and a capture file beyond the ANSI code page.
    const std::string folder = "Z\u00fcrich \u2713\\";
    ASSERT_TRUE(CreateDirectoryW(Wide(appDir.file(folder)).c_str(), nullptr));
    ASSERT_TRUE(InstallHelper("exitwith", appDir.file(folder + "exitwith.exe")));
    processes = MakeNativeProcesses(appDir.file(folder), "");
    EXPECT_EQ(Run("cmd /c exitwith 7 > \"" + appDir.file(folder + "\u2713.top") + "\""), 7);
    EXPECT_TRUE(appDir.Exists(folder + "\u2713.top"));
}

TEST_F(ProcessesWindowsTest, AProgramThatCannotStartStartsNothing) {
    for (const std::string& line : {std::string("at \\\\SRV01 7:05PM notepad.exe"),
                                    Quoted(appDir.file("missing.exe")), std::string()}) {
        const LaunchResult launched = processes->Launch(line);
        EXPECT_EQ(launched.command, nullptr) << line;
        EXPECT_NE(launched.error, "") << line;
        EXPECT_NE(launched.error.find(line), std::string::npos) << launched.error;
    }
}

// The tree is hangtree (started through cmd) and its child. A process of the same name outside
// the tree survives. Under Wine the job also holds a conhost.exe: only the processes named here
// count. This program runs in a job of its own first, as under a terminal or service manager that
// uses one: the command's job nests in it (Windows 8 and later, and Wine). The test program stays
// in that job, which changes nothing for the other cases.
TEST_F(ProcessesWindowsTest, EndingEndsTheCommandAndWhatItStartedOnly) {
    HANDLE outer = CreateJobObjectW(nullptr, nullptr);
    ASSERT_TRUE(AssignProcessToJobObject(outer, GetCurrentProcess()));
    CloseHandle(outer);
    TempDir elsewhere;
    ASSERT_TRUE(InstallHelper("hangtree", elsewhere.file("hangtree.exe")));
    DWORD unrelated = 0;
    HANDLE unrelatedProcess =
        StartUnrelated(Quoted(elsewhere.file("hangtree.exe")) + " child", unrelated);
    ASSERT_NE(unrelatedProcess, nullptr);

    LaunchResult launched =
        processes->Launch("cmd /c hangtree > \"" + appDir.file("hang.top") + "\"");
    ASSERT_NE(launched.command, nullptr) << launched.error;
    RunningCommand& command = *launched.command;
    DWORD pid = 0;
    DWORD child = 0;
    ASSERT_TRUE(ReadTree("hang.top", pid, child)) << "hangtree never started its child";
    EXPECT_TRUE(command.Running());
    EXPECT_EQ(command.ExitStatus(), std::nullopt);

    command.End();
    EXPECT_NE(Wait(command), std::nullopt);
    EXPECT_TRUE(Eventually([&] { return !ProcessRunning(pid) && !ProcessRunning(child); }));
    EXPECT_TRUE(ProcessRunning(unrelated));
    // Once collected, ending does nothing and the status stays.
    const std::optional<int> status = command.ExitStatus();
    command.End();
    EXPECT_FALSE(command.Running());
    EXPECT_EQ(command.ExitStatus(), status);
    EXPECT_EQ(command.OpenWaitHandle(), -1);

    Kill(pid);
    Kill(child);
    TerminateProcess(unrelatedProcess, 1);
    CloseHandle(unrelatedProcess);
}

// The launcher starts the tree through its own Processes and leaves at once, as the program
// does with a scheduled command when it is closed.
TEST_F(ProcessesWindowsTest, ACommandNobodyWaitsForOutlivesItsProgram) {
    const std::string line = "cmd /c hangtree > \"" + appDir.file("left.top") + "\"";
    DWORD launcherPid = 0;
    HANDLE launcher = StartUnrelated(Quoted(HelpersDir() + "launcher.exe") + " " +
                                         Quoted(appDir.path()) + " " + Quoted(line),
                                     launcherPid);
    ASSERT_NE(launcher, nullptr);
    ASSERT_TRUE(WaitSignalled(launcher, 10000));
    DWORD launcherStatus = 1;
    GetExitCodeProcess(launcher, &launcherStatus);
    CloseHandle(launcher);
    ASSERT_EQ(launcherStatus, 0u);

    DWORD pid = 0;
    DWORD child = 0;
    ASSERT_TRUE(ReadTree("left.top", pid, child)) << "hangtree never started its child";
    Sleep(200);
    EXPECT_TRUE(ProcessRunning(pid));
    EXPECT_TRUE(ProcessRunning(child));
    Kill(pid);
    Kill(child);
}

} // namespace
} // namespace corvane::wintest
