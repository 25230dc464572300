// Contract of the Windows FileSystem under Wine: error numbers, whole files on failure, copies
// onto themselves, devices and the AppDir lock.
#include "WindowsTestSupport.h"

#include "platform/AppDirLock.h"
#include "platform/NativeFileSystem.h"
#include "platform/windows/WindowsErrors.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace corvane {
namespace {

using windows::FileStep;
using wintest::TempDir;
using wintest::Wide;

class FileSystemWindowsTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir.file(name); }
    std::string Read(const std::string& name) const { return dir.Read(name).value_or("<none>"); }

    TempDir dir;
    std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
};

// Wine cannot make a server unreachable, so the codes are fed in. A code is never taken for the
// program's number of the same value (Windows' 53 is a network path not found).
TEST(WindowsErrorsTest, CodesMapByNameAndByStep) {
    const struct {
        std::vector<DWORD> codes;
        int search, existing, create;
    } cases[] = {
        {{ERROR_FILE_NOT_FOUND}, kFileOk, kFileNotFound, kPathNotFound},
        {{ERROR_PATH_NOT_FOUND}, kFileOk, kPathNotFound, kPathNotFound},
        {{ERROR_NO_MORE_FILES}, kFileOk, kPathFileAccess, kPathFileAccess},
        {{ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME, ERROR_INVALID_NAME, ERROR_NETWORK_UNREACHABLE,
          ERROR_HOST_UNREACHABLE, ERROR_NETNAME_DELETED, ERROR_UNEXP_NET_ERR, ERROR_REM_NOT_LIST,
          ERROR_SEM_TIMEOUT, ERROR_LOGON_FAILURE},
         kBadFileName,
         kBadFileName,
         kBadFileName},
        {{ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION},
         kPermissionDenied,
         kPermissionDenied,
         kPermissionDenied},
        {{ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL}, kDiskFull, kDiskFull, kDiskFull},
        // 52 and 61 are not the program's numbers of the same value.
        {{ERROR_ALREADY_EXISTS, ERROR_DUP_NAME, ERROR_PRINTQ_FULL},
         kPathFileAccess,
         kPathFileAccess,
         kPathFileAccess},
    };
    for (const auto& c : cases) {
        const std::pair<FileStep, int> steps[] = {{FileStep::Search, c.search},
                                                  {FileStep::Existing, c.existing},
                                                  {FileStep::Create, c.create}};
        for (const DWORD code : c.codes) {
            for (const auto& [step, expected] : steps) {
                const FileResult r = windows::FileErrorFrom(code, step);
                EXPECT_EQ(r.error, expected) << code << " at step " << static_cast<int>(step);
                EXPECT_EQ(r.reason.empty(), expected == kFileOk) << code;
            }
        }
    }
    // The system's text, on one line, ending as strerror's do.
    const std::string reason = windows::SystemMessage(ERROR_ACCESS_DENIED);
    EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << reason;
    EXPECT_NE(reason.back(), '.');
    EXPECT_NE(reason.back(), ' ');
}

// A missing folder is 76, a missing file in an existing folder 53; nothing is written on failure.
TEST_F(FileSystemWindowsTest, FailuresGiveTheProgramsErrorNumbers) {
    const std::string file = Path("file"), sub = Path("sub"), absent = Path("absent");
    const std::string inMissing = Path("missing\\f");
    dir.Write("file", "old");
    ASSERT_TRUE(CreateDirectoryW(Wide(sub).c_str(), nullptr));
    dir.Write("sub\\keep", "k");
    std::string contents = "stale";
    std::unique_ptr<LineWriter> writer;
    const struct {
        const char* name;
        std::function<FileResult()> operation;
        int error;
    } cases[] = {
        {"CreateDirectory existing", [&] { return fs->CreateDirectory(sub); }, kPathFileAccess},
        {"CreateDirectory missing", [&] { return fs->CreateDirectory(inMissing); }, kPathNotFound},
        {"CreateDirectory in a file", [&] { return fs->CreateDirectory(file + "\\d"); },
         kPathNotFound},
        {"CopyFile from missing", [&] { return fs->CopyFile(absent, inMissing); }, kFileNotFound},
        {"CopyFile from a missing folder", [&] { return fs->CopyFile(inMissing, file); },
         kPathNotFound},
        {"CopyFile from a folder", [&] { return fs->CopyFile(sub, absent); }, kPermissionDenied},
        {"CopyFile to missing", [&] { return fs->CopyFile(file, inMissing); }, kPathNotFound},
        {"CopyFile over a folder", [&] { return fs->CopyFile(file, sub); }, kPermissionDenied},
        {"CopyFile to a bad name", [&] { return fs->CopyFile(file, Path("a|b")); }, kBadFileName},
        {"DeleteFile", [&] { return fs->DeleteFile(absent); }, kFileNotFound},
        {"DeleteFile in missing", [&] { return fs->DeleteFile(inMissing); }, kPathNotFound},
        {"CreateEmptyFile", [&] { return fs->CreateEmptyFile(inMissing); }, kPathNotFound},
        {"AppendLine", [&] { return fs->AppendLine(inMissing, "x"); }, kPathNotFound},
        {"ReadTextFile", [&] { return fs->ReadTextFile(absent, contents, kNoSizeLimit); },
         kFileNotFound},
        {"ReadTextFile a folder", [&] { return fs->ReadTextFile(sub, contents, kNoSizeLimit); },
         kPermissionDenied},
        {"ReplaceFile", [&] { return fs->ReplaceFile(inMissing, "x"); }, kPathNotFound},
        {"ReplaceFile over a folder", [&] { return fs->ReplaceFile(sub, "x"); }, kPermissionDenied},
        {"OpenLineWriter", [&] { return fs->OpenLineWriter(inMissing, writer); }, kPathNotFound},
        {"not UTF-8", [&] { return fs->CreateEmptyFile(Path("\xFF")); }, kBadFileName},
    };
    for (const auto& c : cases) {
        const FileResult r = c.operation();
        EXPECT_EQ(r.error, c.error) << c.name << ": " << r.reason;
        EXPECT_FALSE(r.reason.empty()) << c.name;
    }
    EXPECT_TRUE(contents.empty());
    EXPECT_FALSE(writer);
    EXPECT_EQ(Read("file") + Read("sub\\keep"), "oldk");
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"file", "sub"}));
}

// Failures leave the old target whole and nothing beside it: writes that stop half-way (the
// file size limit standing in for a full disk), a target someone holds open.
TEST_F(FileSystemWindowsTest, FailuresLeaveTheOldFileWhole) {
    const std::string old = "SRV01\r\nSRV02\r\n", big(3 << 20, 'n');
    dir.Write("big", big);
    const struct {
        const char* name;
        bool held; // else the disk is full after 1 MB
        std::function<FileResult()> operation;
    } cases[] = {
        {"ReplaceFile, disk full", false, [&] { return fs->ReplaceFile(Path("target"), big); }},
        {"CopyFile, disk full", false, [&] { return fs->CopyFile(Path("big"), Path("target")); }},
        {"CopyFile to a new file, disk full", false,
         [&] { return fs->CopyFile(Path("big"), Path("new")); }},
        {"ReplaceFile of an open file", true, [&] { return fs->ReplaceFile(Path("target"), "x"); }},
        {"CopyFile over an open file", true,
         [&] { return fs->CopyFile(Path("big"), Path("target")); }},
    };
    for (const auto& c : cases) {
        dir.Write("target", old);
        FileResult r;
        if (c.held) {
            const HANDLE other = CreateFileW(Wide(Path("target")).c_str(), GENERIC_READ,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(other, INVALID_HANDLE_VALUE);
            r = c.operation();
            CloseHandle(other);
            EXPECT_EQ(r.error, kPermissionDenied) << c.name << ": " << r.reason;
        } else {
            const wintest::FileSizeLimit limit(1 << 20);
            ASSERT_TRUE(limit.active());
            r = c.operation();
        }
        EXPECT_FALSE(r.ok()) << c.name;
        EXPECT_EQ(Read("target"), old) << c.name;
        EXPECT_EQ(dir.Names(), (std::set<std::string>{"big", "target"})) << c.name;
    }
}

// A device is never read or written whole, a file past the bound never read; the AppDir lock
// has one holder at a time.
TEST_F(FileSystemWindowsTest, DevicesAndHugeFilesAreRefusedAndAppDirHasOneHolder) {
    std::string contents;
    std::unique_ptr<LineWriter> writer;
    const std::string device = R"(\\.\NUL)";
    const std::pair<const char*, std::function<FileResult()>> refused[] = {
        {"ReadTextFile", [&] { return fs->ReadTextFile(device, contents, kNoSizeLimit); }},
        {"AppendLine", [&] { return fs->AppendLine(device, "x"); }},
        {"CreateEmptyFile", [&] { return fs->CreateEmptyFile(device); }},
        {"OpenLineWriter", [&] { return fs->OpenLineWriter(device, writer); }},
    };
    for (const auto& [name, operation] : refused) {
        const FileResult r = operation();
        EXPECT_EQ(r.error, kPathFileAccess) << name;
        EXPECT_EQ(r.reason, "Not a regular file") << name;
    }
    dir.Write("list.txt", std::string(100, 'x'));
    const FileResult big = fs->ReadTextFile(Path("list.txt"), contents, 99);
    EXPECT_EQ(big.error, kPathFileAccess);
    EXPECT_TRUE(fs->ReadTextFile(Path("list.txt"), contents, 100).ok());

    {
        const AppDirLocking first = LockAppDir(dir.file(""));
        ASSERT_NE(first.lock, nullptr) << first.reason;
        const AppDirLocking second = LockAppDir(dir.file(""));
        EXPECT_EQ(second.lock, nullptr);
        EXPECT_TRUE(second.heldElsewhere);
    }
    EXPECT_NE(LockAppDir(dir.file("")).lock, nullptr);
}

// A copy onto the source itself, by whatever name, leaves it untouched and says so; names
// beyond the ANSI code page cross as UTF-8 and a copy elsewhere arrives whole.
TEST_F(FileSystemWindowsTest, CopyOntoItselfLeavesTheFileUntouched) {
    const std::string bytes = "a\r\nb\rc\n\xC3\xBC\x1A" + std::string(200'000, 'z');
    const std::string name = "Gr\xC3\xBC\xC3\x9F"                              // Grüß
                             "e \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.ini"; // e Ωμέγα.ini
    dir.Write("app.ini", bytes);
    EXPECT_TRUE(fs->CopyFile(Path("app.ini"), Path(name)).ok());
    EXPECT_EQ(Read(name), bytes);
    EXPECT_EQ(fs->Search(Path(name), false).name, name);
    ASSERT_TRUE(CreateHardLinkW(Wide(Path("hard")).c_str(), Wide(Path(name)).c_str(), nullptr));
    for (const std::string& to : {Path(name), Path("hard")}) {
        const FileResult r = fs->CopyFile(Path(name), to);
        EXPECT_EQ(r.error, kPathFileAccess) << to;
        EXPECT_EQ(r.reason, "The destination is the file itself") << to;
        EXPECT_EQ(Read(name), bytes) << to;
    }
    EXPECT_EQ(fs->CopyFile(Path("app.ini"), Path("APP.INI")).error, kPathFileAccess);
}

} // namespace
} // namespace corvane
