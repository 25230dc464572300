// Contract of the Windows backends under Wine: error numbers, whole files on failure, copies onto
// themselves, devices, the AppDir lock, and commands with their statuses, captures and ends.
#include "platform/AppDirLock.h"
#include "platform/NativeFileSystem.h"
#include "platform/NativeProcesses.h"
#include "platform/windows/WindowsErrors.h"
#include "platform/windows/WindowsText.h"

#include <windows.h>
// The FileSystem's members, not the system's ANSI-or-wide macros of the same names.
#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef ReplaceFile

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <vector>

namespace corvane {
namespace {

using windows::FileStep;

std::wstring Wide(const std::string& utf8) {
    std::wstring wide;
    static_cast<void>(windows::ToWide(utf8, wide)); // the tests' own names are UTF-8
    return wide;
}

// A fresh folder whose path holds a blank and a character beyond the ANSI code page and ends in a
// backslash, removed with all it holds.
struct TempDir {
    TempDir() {
        static unsigned counter = 0;
        const std::filesystem::path dir =
            std::filesystem::temp_directory_path() /
            (L"corvane \u2713 " + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++counter));
        std::filesystem::create_directory(dir);
        path = windows::ToUtf8(dir.wstring()) + "\\";
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(Wide(path), ignored);
    }
    std::string file(const std::string& name) const { return path + name; }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(std::filesystem::path(Wide(file(name))), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(std::filesystem::path(Wide(file(name))), std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<none>";
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Wide(path))) {
            names.insert(windows::ToUtf8(entry.path().filename().wstring()));
        }
        return names;
    }
    std::string path;
};

class FileSystemWindowsTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir.file(name); }

    TempDir dir;
    std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
    std::string contents;
    std::unique_ptr<LineWriter> writer;
};

class ProcessesWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const auto helpers = std::filesystem::path(self).replace_filename(L"helpers");
        for (const wchar_t* exe :
             {L"exitwith.exe", L"printargs.exe", L"stderronly.exe", L"hangtree.exe"}) {
            std::filesystem::copy_file(helpers / exe, Wide(appDir.path) + exe);
        }
    }

    static std::optional<int> Wait(RunningCommand& command) {
        const auto handle = reinterpret_cast<HANDLE>(command.OpenWaitHandle());
        EXPECT_EQ(WaitForSingleObject(handle, 10000), WAIT_OBJECT_0);
        EXPECT_FALSE(command.Running());
        command.CloseWaitHandle();
        return command.ExitStatus();
    }

    TempDir appDir;
    std::unique_ptr<Processes> processes = MakeNativeProcesses(appDir.path, "");
};

// Wine cannot make a server unreachable, so the codes are fed in. A code is never taken for the
// program's number of the same value (Windows' 53 is a network path not found; 52, 61 likewise).
TEST(WindowsErrorsTest, CodesMapByNameAndByStep) {
    const std::pair<std::vector<DWORD>, std::vector<int>> cases[] = {
        {{ERROR_FILE_NOT_FOUND}, {kFileOk, kFileNotFound, kPathNotFound}},
        {{ERROR_PATH_NOT_FOUND}, {kFileOk, kPathNotFound, kPathNotFound}},
        {{ERROR_NO_MORE_FILES}, {kFileOk, kPathFileAccess, kPathFileAccess}},
        {{ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME, ERROR_INVALID_NAME, ERROR_NETWORK_UNREACHABLE,
          ERROR_HOST_UNREACHABLE, ERROR_NETNAME_DELETED, ERROR_UNEXP_NET_ERR, ERROR_REM_NOT_LIST,
          ERROR_SEM_TIMEOUT, ERROR_LOGON_FAILURE},
         std::vector<int>(3, kBadFileName)},
        {{ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION}, std::vector<int>(3, kPermissionDenied)},
        {{ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL}, std::vector<int>(3, kDiskFull)},
        {{ERROR_ALREADY_EXISTS, ERROR_DUP_NAME, ERROR_PRINTQ_FULL},
         std::vector<int>(3, kPathFileAccess)},
    };
    for (const auto& [codes, expected] : cases) {
        for (const DWORD code : codes) {
            std::vector<int> errors; // -1 for an error without a reason, or a reason without one
            for (const FileStep step : {FileStep::Search, FileStep::Existing, FileStep::Create}) {
                const FileResult r = windows::FileErrorFrom(code, step);
                errors.push_back(r.reason.empty() == (r.error == kFileOk) ? r.error : -1);
            }
            EXPECT_EQ(errors, expected) << code;
        }
    }
    // The system's text, on one line, ending as strerror's do.
    const std::string reason = windows::SystemMessage(ERROR_ACCESS_DENIED);
    EXPECT_TRUE(reason.find_first_of("\r\n") == std::string::npos && reason.back() != '.' &&
                reason.back() != ' ')
        << reason;
}

// A save or copy that cannot replace its target (held open, unshared) leaves it whole, alone.
TEST_F(FileSystemWindowsTest, FailuresLeaveTheOldFileWhole) {
    const std::string old = "SRV01\r\nSRV02\r\n";
    dir.Write("target", old);
    dir.Write("big", std::string(3 << 20, 'n'));
    const HANDLE held = CreateFileW(Wide(Path("target")).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(fs->ReplaceFile(Path("target"), "new").ok());
    EXPECT_FALSE(fs->CopyFile(Path("big"), Path("target")).ok());
    CloseHandle(held);
    EXPECT_EQ(dir.Read("target"), old);
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"big", "target"}));
}

TEST_F(FileSystemWindowsTest, DevicesAndHugeFilesAreRefusedAndAppDirHasOneHolder) {
    const std::string device = R"(\\.\NUL)";
    for (const FileResult& r :
         {fs->ReadTextFile(device, contents, kNoSizeLimit), fs->AppendLine(device, "x"),
          fs->CreateEmptyFile(device), fs->OpenLineWriter(device, writer)}) {
        EXPECT_TRUE(r.error == kPathFileAccess && r.reason == "Not a regular file") << r.reason;
    }
    dir.Write("list.txt", std::string(100, 'x'));
    EXPECT_EQ(fs->ReadTextFile(Path("list.txt"), contents, 99).error, kPathFileAccess);
    EXPECT_TRUE(fs->ReadTextFile(Path("list.txt"), contents, 100).ok());
    AppDirLocking first = LockAppDir(dir.path), second = LockAppDir(dir.path);
    ASSERT_NE(first.lock, nullptr) << first.reason;
    EXPECT_TRUE(second.lock == nullptr && second.heldElsewhere);
    first.lock.reset();
    EXPECT_NE(LockAppDir(dir.path).lock, nullptr);
}

TEST_F(FileSystemWindowsTest, CopyOntoItselfLeavesTheFileUntouched) {
    const std::string bytes = "a\r\nb\rc\n\xC3\xBC\x1A" + std::string(200'000, 'z');
    const std::string name = "Gr\u00fc\u00dfe.ini";
    dir.Write("app.ini", bytes);
    EXPECT_TRUE(fs->CopyFile(Path("app.ini"), Path(name)).ok());
    EXPECT_EQ(fs->Search(Path(name), false).name, name);
    ASSERT_TRUE(CreateHardLinkW(Wide(Path("hard")).c_str(), Wide(Path(name)).c_str(), nullptr));
    for (const std::string& to : {Path(name), Path("hard")}) {
        const FileResult r = fs->CopyFile(Path(name), to);
        EXPECT_TRUE(r.error == kPathFileAccess && r.reason == "The destination is the file itself")
            << to << ": " << r.reason;
        EXPECT_EQ(dir.Read(name), bytes) << to;
    }
    EXPECT_EQ(fs->CopyFile(Path("app.ini"), Path("APP.INI")).error, kPathFileAccess);
}

// The capture file's path has blanks and which held an earlier answer. The helpers are
// found by cmd in its working folder, which is AppDir; arguments arrive as Windows splits them.
TEST_F(ProcessesWindowsTest, TheCaptureAndTheStatusAreTheTools) {
    const std::string earlier = "an earlier, much longer answer\r\n";
    const std::string at = " > \"" + appDir.file("capture file.top") + '"';
    const struct {
        std::string line;
        int status;
        std::string captured, complaint = ""; // on standard error, which is the program's own
    } cases[] = {
        {"cmd /c exitwith 42", 42, earlier},
        {"cmd /c exitwith -1" + at, -1, ""},
        {R"(cmd /c printargs \\SRV01 7:5AM "C:\dir\\")" + at, 0,
         "[\\\\SRV01]\r\n[7:5AM]\r\n[C:\\dir\\]\r\n"},
        {R"(cmd /c printargs "a > b" "&|<^" "")" + at, 0, "[a > b]\r\n[&|<^]\r\n[]\r\n"},
        {"cmd /c stderronly" + at, 3, "", "stderronly: something went wrong\n"},
        {R"(cmd /c uptime \\SRV01)" + at, kCommandNotFoundStatus, "", "*"}, // cmd's own words
    };
    for (const auto& c : cases) {
        appDir.Write("capture file.top", earlier);
        testing::internal::CaptureStderr();
        LaunchResult launched = processes->Launch(c.line);
        ASSERT_NE(launched.command, nullptr) << c.line << ": " << launched.error;
        EXPECT_EQ(Wait(*launched.command), c.status) << c.line;
        const std::string complaint = testing::internal::GetCapturedStderr();
        EXPECT_EQ(appDir.Read("capture file.top"), c.captured) << c.line;
        EXPECT_TRUE(c.complaint == "*" ? !complaint.empty() : complaint == c.complaint)
            << complaint;
    }
    for (const std::string& line : {std::string("at \\\\SRV01 7:05PM notepad.exe"),
                                    "\"" + appDir.file("missing.exe") + "\"", std::string()}) {
        const LaunchResult launched = processes->Launch(line);
        EXPECT_TRUE(!launched.command && launched.error.find(line) != std::string::npos &&
                    launched.error != line)
            << line << ": " << launched.error;
    }
}

// The tree is hangtree (started through cmd) and its child; the same program started by another
// Processes survives. Under Wine the job also holds a conhost.exe: only the processes named here
// count. This program runs in a job of its own first, as under a terminal or service manager
// that uses one: the command's job nests in it.
TEST_F(ProcessesWindowsTest, EndingEndsTheCommandAndWhatItStartedOnly) {
    HANDLE outer = CreateJobObjectW(nullptr, nullptr);
    ASSERT_TRUE(AssignProcessToJobObject(outer, GetCurrentProcess()));
    CloseHandle(outer);
    const auto other = MakeNativeProcesses(appDir.path, "");
    LaunchResult unrelated = other->Launch("cmd /c hangtree > nul");
    LaunchResult launched =
        processes->Launch("cmd /c hangtree > \"" + appDir.file("hang.top") + "\"");
    ASSERT_TRUE(launched.command && unrelated.command) << launched.error << unrelated.error;
    RunningCommand& command = *launched.command;
    DWORD pid = 0, child = 0, tries = 0;
    while (std::sscanf(appDir.Read("hang.top").c_str(), "%lu%lu", &pid, &child) < 2 &&
           ++tries < 999) {
        Sleep(10);
    }
    const HANDLE tree[] = {OpenProcess(SYNCHRONIZE, FALSE, pid),
                           OpenProcess(SYNCHRONIZE, FALSE, child)};
    ASSERT_TRUE(tree[0] && tree[1]) << "hangtree never started its child";
    EXPECT_TRUE(command.Running());
    EXPECT_EQ(command.ExitStatus(), std::nullopt);

    command.End();
    const std::optional<int> status = Wait(command);
    EXPECT_NE(status, std::nullopt);
    EXPECT_EQ(WaitForMultipleObjects(2, tree, TRUE, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(unrelated.command->Running());
    command.End(); // once collected, ending does nothing and the status stays
    EXPECT_TRUE(!command.Running() && command.ExitStatus() == status &&
                command.OpenWaitHandle() == -1);
    unrelated.command->End();
    CloseHandle(tree[0]);
    CloseHandle(tree[1]);
}

} // namespace
} // namespace corvane
