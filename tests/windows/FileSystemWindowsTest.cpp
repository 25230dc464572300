// Contract of the Windows FileSystem under Wine: error numbers, what each operation does, UNC
// paths through a share Wine serves, names outside the ANSI code page, whole files on failure.
#include "WindowsTestSupport.h"

#include "platform/AppDirLock.h"
#include "platform/NativeFileSystem.h"
#include "platform/windows/WindowsErrors.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

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
        DWORD code;
        int search, existing, create;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, kFileOk, kFileNotFound, kPathNotFound},
        {ERROR_PATH_NOT_FOUND, kFileOk, kPathNotFound, kPathNotFound},
        {ERROR_NO_MORE_FILES, kFileOk, kPathFileAccess, kPathFileAccess},
        {ERROR_BAD_NETPATH, kBadFileName, kBadFileName, kBadFileName},
        {ERROR_BAD_NET_NAME, kBadFileName, kBadFileName, kBadFileName},
        {ERROR_INVALID_NAME, kBadFileName, kBadFileName, kBadFileName},
        {ERROR_NETWORK_UNREACHABLE, kBadFileName, kBadFileName, kBadFileName},
        {ERROR_HOST_UNREACHABLE, kBadFileName, kBadFileName, kBadFileName},
        {ERROR_NETNAME_DELETED, kBadFileName, kBadFileName, kBadFileName},
        {ERROR_UNEXP_NET_ERR, kBadFileName, kBadFileName, kBadFileName},
        {ERROR_REM_NOT_LIST, kBadFileName, kBadFileName, kBadFileName},
        {ERROR_SEM_TIMEOUT, kBadFileName, kBadFileName, kBadFileName},
        {ERROR_LOGON_FAILURE, kBadFileName, kBadFileName, kBadFileName},
        {ERROR_ACCESS_DENIED, kPermissionDenied, kPermissionDenied, kPermissionDenied},
        {ERROR_SHARING_VIOLATION, kPermissionDenied, kPermissionDenied, kPermissionDenied},
        {ERROR_DISK_FULL, kDiskFull, kDiskFull, kDiskFull},
        {ERROR_HANDLE_DISK_FULL, kDiskFull, kDiskFull, kDiskFull},
        {ERROR_ALREADY_EXISTS, kPathFileAccess, kPathFileAccess, kPathFileAccess},
        {ERROR_DUP_NAME, kPathFileAccess, kPathFileAccess, kPathFileAccess},    // 52
        {ERROR_PRINTQ_FULL, kPathFileAccess, kPathFileAccess, kPathFileAccess}, // 61
    };
    for (const auto& c : cases) {
        const std::pair<FileStep, int> steps[] = {{FileStep::Search, c.search},
                                                  {FileStep::Existing, c.existing},
                                                  {FileStep::Create, c.create}};
        for (const auto& [step, expected] : steps) {
            const FileResult r = windows::FileErrorFrom(c.code, step);
            EXPECT_EQ(r.error, expected) << c.code << " at step " << static_cast<int>(step);
            EXPECT_EQ(r.reason.empty(), expected == kFileOk) << c.code;
        }
    }
    // The system's text, on one line, ending as strerror's do.
    const std::string reason = windows::SystemMessage(ERROR_ACCESS_DENIED);
    EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << reason;
    EXPECT_NE(reason.back(), '.');
    EXPECT_NE(reason.back(), ' ');
}

TEST_F(FileSystemWindowsTest, SearchFindsWhatTheAttributesAllow) {
    dir.Write("a.txt", "a");
    dir.Write("secret.txt", "s");
    ASSERT_TRUE(SetFileAttributesW(Wide(Path("secret.txt")).c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CreateDirectoryW(Wide(Path("sub")).c_str(), nullptr));
    dir.Write("sub\\inner.txt", "i");
    const struct {
        std::string path;
        const char* filesOnly; // the name found without directories; empty when nothing matches
        const char* withDirectories;
        int error = kFileOk;
    } cases[] = {
        {Path("a.txt"), "a.txt", "a.txt"},
        {Path("A.TXT"), "a.txt", "a.txt"}, // as the folder spells it
        {Path("sub/inner.txt"), "inner.txt", "inner.txt"},
        {Path("sub"), "", "sub"},
        {Path("sub\\"), "", "."},
        {Path("sub/"), "", "."},
        {"C:\\", "", "."},
        {Path("a.txt\\"), "", ""},
        {Path("secret.txt"), "", ""},
        {Path("missing.txt"), "", ""},
        {Path("missing\\a.txt"), "", ""},
        {Path("*.txt"), "", "", kBadFileName},
        {Path("a.tx?"), "", "", kBadFileName},
        {Path("a<"), "", "", kBadFileName},
    };
    for (const auto& c : cases) {
        for (const bool withDirectories : {false, true}) {
            const SearchResult r = fs->Search(c.path, withDirectories);
            EXPECT_EQ(r.result.error, c.error) << c.path << " " << withDirectories;
            EXPECT_EQ(r.name, withDirectories ? c.withDirectories : c.filesOnly) << c.path;
            EXPECT_EQ(r.result.reason.empty(), c.error == kFileOk) << c.path;
        }
    }
}

TEST_F(FileSystemWindowsTest, EveryOperationDoesWhatItSays) {
    EXPECT_TRUE(fs->CreateDirectory(Path("new")).ok());
    EXPECT_EQ(fs->Search(Path("new"), true).name, "new");
    // More than one buffer, every kind of line end; the longer target is replaced whole.
    const std::string bytes = "a\r\nb\rc\n\xC3\xBC\x1A" + std::string(200'000, 'z');
    dir.Write("from", bytes);
    dir.Write("to", std::string(300'000, 'o'));
    EXPECT_TRUE(fs->CopyFile(Path("from"), Path("to")).ok());
    EXPECT_TRUE(fs->CopyFile(Path("from"), Path("new\\fresh")).ok());
    EXPECT_EQ(Read("to"), bytes);
    EXPECT_EQ(Read("new\\fresh"), bytes);
    std::string contents = "stale";
    EXPECT_TRUE(fs->ReadTextFile(Path("to"), contents, kNoSizeLimit).ok());
    EXPECT_EQ(contents, bytes);

    EXPECT_TRUE(fs->CreateEmptyFile(Path("to")).ok()); // truncates
    EXPECT_TRUE(fs->CreateEmptyFile(Path("empty")).ok());
    EXPECT_EQ(Read("to") + Read("empty"), "");
    for (const char* line : {"first", "", "a, \"b\""}) {
        EXPECT_TRUE(fs->AppendLine(Path("log"), line).ok());
    }
    EXPECT_EQ(Read("log"), "first\r\n\r\na, \"b\"\r\n");
    EXPECT_TRUE(fs->DeleteFile(Path("from")).ok());
    EXPECT_TRUE(fs->DeleteFile(Path("new\\fresh")).ok());

    EXPECT_TRUE(fs->ReplaceFile(Path("new.txt"), "one\r\n").ok());
    dir.Write("old.txt", std::string(10'000, 'o'));
    EXPECT_TRUE(fs->ReplaceFile(Path("old.txt"), "two\r\n").ok());
    EXPECT_EQ(Read("new.txt") + Read("old.txt"), "one\r\ntwo\r\n");
    // Nothing left beside the targets.
    EXPECT_EQ(dir.Names(),
              (std::set<std::string>{"empty", "log", "new", "new.txt", "old.txt", "to"}));
    BatchScope batch(*fs); // nothing to remember on Windows, but it must nest harmlessly
    EXPECT_EQ(fs->Search(Path("old.txt"), false).name, "old.txt");
}

TEST_F(FileSystemWindowsTest, RemoveLeftoversTakesOnlyTheTemporariesOfThatFile) {
    for (const char* name : {"sa.top", ".sa.top.corvane-tmp-12-3", ".sa.top.corvane-tmp-",
                             ".sb.top.corvane-tmp-12-3", "sa.top.corvane-tmp-1"}) {
        dir.Write(name, "x");
    }
    ASSERT_TRUE(CreateDirectoryW(Wide(Path(".sa.top.corvane-tmp-dir")).c_str(), nullptr));
    EXPECT_TRUE(fs->RemoveLeftovers(Path("sa.top")).ok());
    EXPECT_EQ(dir.Names(),
              (std::set<std::string>{"sa.top", ".sa.top.corvane-tmp-", ".sa.top.corvane-tmp-dir",
                                     ".sb.top.corvane-tmp-12-3", "sa.top.corvane-tmp-1"}));
    EXPECT_TRUE(fs->RemoveLeftovers(Path("none.txt")).ok());
}

// The line writer empties the file, and a failure is never lost: not when the buffer fills, not
// when only the close writes it. The file size limit stands in for a full disk.
TEST_F(FileSystemWindowsTest, ALineWriterReportsEveryFailureUpToTheClose) {
    dir.Write("report.top", "old contents");
    std::unique_ptr<LineWriter> writer;
    ASSERT_TRUE(fs->OpenLineWriter(Path("report.top"), writer).ok());
    const std::string line(99, 'x');
    std::string expected = "\r\n";
    EXPECT_TRUE(writer->WriteLine("").ok());
    for (int i = 0; i < 999; ++i) {
        EXPECT_TRUE(writer->WriteLine(line).ok());
        expected += line + "\r\n";
    }
    EXPECT_TRUE(writer->Close().ok());
    EXPECT_EQ(Read("report.top"), expected);

    // Wine reports the kernel's limit as a failure of its own, not as a full disk.
    const wintest::FileSizeLimit limit(4);
    ASSERT_TRUE(limit.active());
    ASSERT_TRUE(fs->OpenLineWriter(Path("report.top"), writer).ok());
    EXPECT_TRUE(writer->WriteLine("short").ok());
    EXPECT_FALSE(writer->Close().ok());
    ASSERT_TRUE(fs->OpenLineWriter(Path("report.top"), writer).ok());
    FileResult first;
    int firstFailure = -1;
    for (int i = 0; i < 1000 && firstFailure < 0; ++i) {
        first = writer->WriteLine(line);
        firstFailure = first.ok() ? -1 : i;
    }
    EXPECT_GT(firstFailure, 0) << "the lines are gathered first";
    EXPECT_EQ(writer->WriteLine("more").error, first.error);
    EXPECT_EQ(writer->Close().error, first.error);
    EXPECT_FALSE(fs->AppendLine(Path("report.top"), "longer than four").ok());
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

// A copy onto the source itself, by whatever name, leaves it untouched and says so.
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

TEST_F(FileSystemWindowsTest, CopyOntoItselfLeavesTheFileUntouched) {
    const std::string bytes = "the only copy";
    dir.Write("app.ini", bytes);
    ASSERT_TRUE(
        CreateHardLinkW(Wide(Path("hard")).c_str(), Wide(Path("app.ini")).c_str(), nullptr));
    for (const std::string& to : {Path("app.ini"), Path("APP.INI"), Path("hard")}) {
        const FileResult r = fs->CopyFile(Path("app.ini"), to);
        EXPECT_EQ(r.error, kPathFileAccess) << to;
        EXPECT_EQ(r.reason, "The destination is the file itself") << to;
        EXPECT_EQ(Read("app.ini"), bytes) << to;
    }
}

// What a deploy does to a server's admin share, through a real UNC path.
TEST_F(FileSystemWindowsTest, DeploysThroughAUncPath) {
    const wintest::WineShare share("LABSRV", "C$");
    if (share.unc().empty()) {
        GTEST_SKIP() << "needs Wine's UNC folders";
    }
    const std::string root = share.unc(), apps = root + "Apps\\";
    dir.Write("setup.exe", "MZ new");
    EXPECT_EQ(fs->Search(root, true).name, ".");
    EXPECT_EQ(fs->Search(apps, true).name, "");
    EXPECT_TRUE(fs->CreateDirectory(root + "Apps").ok());
    EXPECT_EQ(fs->Search(apps, true).name, ".");
    EXPECT_TRUE(fs->CreateEmptyFile(apps + "setup.exe").ok());
    EXPECT_TRUE(fs->CopyFile(Path("setup.exe"), apps + "setup.exe").ok());
    EXPECT_EQ(fs->Search(apps + "SETUP.EXE", false).name, "setup.exe");
    std::string contents;
    EXPECT_TRUE(fs->ReadTextFile(apps + "setup.exe", contents, kNoSizeLimit).ok());
    EXPECT_EQ(contents, "MZ new");
    EXPECT_EQ(fs->CreateDirectory(root + "Apps").error, kPathFileAccess);
    // The share's folder seen through another drive is still the same file.
    EXPECT_EQ(fs->CopyFile(apps + "setup.exe", share.local() + "Apps\\setup.exe").error,
              kPathFileAccess);
    EXPECT_TRUE(fs->CopyFile(apps + "setup.exe", Path("back.exe")).ok());
    EXPECT_EQ(Read("back.exe"), "MZ new");
    EXPECT_TRUE(fs->DeleteFile(apps + "setup.exe").ok());
    EXPECT_EQ(fs->DeleteFile(apps + "setup.exe").error, kFileNotFound);
}

// A name outside the ANSI code page goes through as UTF-8 and comes back the same.
TEST_F(FileSystemWindowsTest, NamesOutsideTheAnsiCodePageRoundTrip) {
    const std::string folder = "\xC3\x9C"
                               "bung \xE6\x97\xA5\xE6\x9C\xAC";                // Übung 日本
    const std::string name = "Gr\xC3\xBC\xC3\x9F"                              // Grüß
                             "e \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.txt"; // e Ωμέγα.txt
    const std::string path = Path(folder + "\\" + name);
    EXPECT_TRUE(fs->CreateDirectory(Path(folder)).ok());
    EXPECT_TRUE(fs->ReplaceFile(path, "first\r\n").ok());
    EXPECT_TRUE(fs->AppendLine(path, "\xCE\xA9").ok());
    EXPECT_EQ(fs->Search(path, false).name, name);
    EXPECT_EQ(fs->Search(Path(folder), true).name, folder);
    EXPECT_EQ(dir.Names(), std::set<std::string>{folder});
    std::string contents;
    EXPECT_TRUE(fs->ReadTextFile(path, contents, kNoSizeLimit).ok());
    EXPECT_EQ(contents, "first\r\n\xCE\xA9\r\n");
    EXPECT_TRUE(fs->CopyFile(path, Path(name)).ok());
    EXPECT_EQ(Read(name), contents);
}

} // namespace
} // namespace corvane
