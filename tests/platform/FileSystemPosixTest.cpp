// Contract of the native FileSystem on local paths: results, error numbers, atomic replacement.
#include "platform/NativeFileSystem.h"

#include "Harness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvane {
namespace {

namespace stdfs = std::filesystem;

class FileSystemPosixTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir.file(name); }
    // Every name in the folder, hidden ones included.
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : stdfs::directory_iterator(dir.path().toStdString())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    test::TempDir dir;
    std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
};

// --- Search ---

struct SearchCase {
    const char* path; // inside the folder, which holds a.txt, sub/ and sub/inner.txt
    bool withDirectories;
    const char* name; // expected name; empty when nothing matches
    int error;
};

void PrintTo(const SearchCase& c, std::ostream* os) {
    *os << c.path << (c.withDirectories ? " with directories" : " files only");
}

class SearchTest : public FileSystemPosixTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(SearchTest, FindsWhatTheAttributesAllow) {
    dir.Write("a.txt", "a");
    ASSERT_TRUE(stdfs::create_directory(Path("sub")));
    dir.Write("sub/inner.txt", "i");
    const SearchCase& c = GetParam();
    const SearchResult r = fs->Search(Path(c.path), c.withDirectories);
    EXPECT_EQ(r.result.error, c.error);
    EXPECT_EQ(r.name, c.name);
    EXPECT_EQ(r.result.reason.empty(), c.error == kFileOk);
}

INSTANTIATE_TEST_SUITE_P(Paths, SearchTest,
                         ::testing::Values(SearchCase{"a.txt", false, "a.txt", kFileOk},
                                           SearchCase{"a.txt", true, "a.txt", kFileOk},
                                           SearchCase{"sub/inner.txt", false, "inner.txt", kFileOk},
                                           SearchCase{"sub", false, "", kFileOk},
                                           SearchCase{"sub", true, "sub", kFileOk},
                                           SearchCase{"sub/", true, ".", kFileOk},
                                           SearchCase{"sub/", false, "", kFileOk},
                                           SearchCase{"a.txt/", true, "", kFileOk},
                                           SearchCase{"missing.txt", false, "", kFileOk},
                                           SearchCase{"missing.txt", true, "", kFileOk},
                                           SearchCase{"missing/a.txt", true, "", kFileOk},
                                           SearchCase{"*.txt", false, "", kBadFileName},
                                           SearchCase{"a?.txt", true, "", kBadFileName}));

// --- Folders and single-file operations ---

TEST_F(FileSystemPosixTest, CreateDirectory) {
    EXPECT_TRUE(fs->CreateDirectory(Path("new")).ok());
    EXPECT_TRUE(stdfs::is_directory(Path("new")));
    EXPECT_EQ(fs->CreateDirectory(Path("new")).error, kPathFileAccess);
    EXPECT_EQ(fs->CreateDirectory(Path("missing/new")).error, kPathNotFound);
    dir.Write("file", "x");
    EXPECT_EQ(fs->CreateDirectory(Path("file/new")).error, kPathNotFound);
}

TEST_F(FileSystemPosixTest, CopyFileReplacesTheTarget) {
    dir.Write("from", "new\r\n");
    dir.Write("to", "a much longer old content\r\n");
    EXPECT_TRUE(fs->CopyFile(Path("from"), Path("to")).ok());
    EXPECT_EQ(dir.Read("to"), "new\r\n");
    EXPECT_EQ(dir.Read("from"), "new\r\n");

    const std::string big(200'000, 'b'); // more than one buffer
    dir.Write("big", big);
    EXPECT_TRUE(fs->CopyFile(Path("big"), Path("copy")).ok());
    EXPECT_EQ(dir.Read("copy"), big);
}

TEST_F(FileSystemPosixTest, CopyFileFailures) {
    dir.Write("to", "old");
    EXPECT_EQ(fs->CopyFile(Path("missing"), Path("to")).error, kFileNotFound);
    EXPECT_EQ(dir.Read("to"), "old");
    EXPECT_EQ(fs->CopyFile(Path("to"), Path("missing/to")).error, kPathNotFound);
}

TEST_F(FileSystemPosixTest, DeleteFile) {
    dir.Write("f", "x");
    EXPECT_TRUE(fs->DeleteFile(Path("f")).ok());
    EXPECT_FALSE(dir.Exists("f"));
    const FileResult again = fs->DeleteFile(Path("f"));
    EXPECT_EQ(again.error, kFileNotFound);
    EXPECT_FALSE(again.reason.empty());
}

TEST_F(FileSystemPosixTest, CreateEmptyFileCreatesAndTruncates) {
    dir.Write("f", "old content");
    EXPECT_TRUE(fs->CreateEmptyFile(Path("f")).ok());
    EXPECT_TRUE(fs->CreateEmptyFile(Path("g")).ok());
    EXPECT_EQ(stdfs::file_size(Path("f")), 0u);
    EXPECT_EQ(stdfs::file_size(Path("g")), 0u);
    EXPECT_EQ(fs->CreateEmptyFile(Path("missing/f")).error, kPathNotFound);
}

TEST_F(FileSystemPosixTest, AppendLineAddsCrLfLines) {
    EXPECT_TRUE(fs->AppendLine(Path("log"), "first").ok());
    EXPECT_TRUE(fs->AppendLine(Path("log"), "").ok());
    EXPECT_TRUE(fs->AppendLine(Path("log"), "a, \"b\"").ok());
    EXPECT_EQ(dir.Read("log"), "first\r\n\r\na, \"b\"\r\n");
    EXPECT_EQ(fs->AppendLine(Path("missing/log"), "x").error, kPathNotFound);
}

TEST_F(FileSystemPosixTest, ReadTextFileGivesTheBytes) {
    std::string bytes = "a\r\nb\rc\n\xC3\xBC";
    bytes += std::string(100'000, 'z');
    dir.Write("f", bytes);
    std::string contents = "stale";
    EXPECT_TRUE(fs->ReadTextFile(Path("f"), contents).ok());
    EXPECT_EQ(contents, bytes);
    EXPECT_EQ(fs->ReadTextFile(Path("missing"), contents).error, kFileNotFound);
    EXPECT_TRUE(contents.empty());
}

// --- ReplaceFile ---

TEST_F(FileSystemPosixTest, ReplaceFileWritesTheContentsAndNothingElse) {
    EXPECT_TRUE(fs->ReplaceFile(Path("new.txt"), "one\r\n").ok());
    dir.Write("old.txt", std::string(10'000, 'o'));
    ASSERT_EQ(::chmod(Path("old.txt").c_str(), 0600), 0);
    EXPECT_TRUE(fs->ReplaceFile(Path("old.txt"), "two\r\n").ok());
    EXPECT_TRUE(fs->ReplaceFile(Path("empty.txt"), "").ok());

    EXPECT_EQ(dir.Read("new.txt"), "one\r\n");
    EXPECT_EQ(dir.Read("old.txt"), "two\r\n");
    EXPECT_EQ(stdfs::file_size(Path("empty.txt")), 0u);
    EXPECT_EQ(stdfs::status(Path("old.txt")).permissions() & stdfs::perms::all,
              stdfs::perms::owner_read | stdfs::perms::owner_write);
    EXPECT_EQ(Names(), (std::set<std::string>{"empty.txt", "new.txt", "old.txt"}));
}

TEST_F(FileSystemPosixTest, ReplaceFileIntoAMissingFolderFails) {
    EXPECT_EQ(fs->ReplaceFile(Path("missing/f.txt"), "x").error, kPathNotFound);
    EXPECT_TRUE(Names().empty());
}

TEST_F(FileSystemPosixTest, RefusedReplaceLeavesNoTemporaryFile) {
    // A folder in the target's place makes the final rename fail.
    ASSERT_TRUE(stdfs::create_directory(Path("target")));
    dir.Write("target/keep", "k");
    const FileResult r = fs->ReplaceFile(Path("target"), "contents\r\n");
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.reason.empty());
    EXPECT_EQ(dir.Read("target/keep"), "k");
    EXPECT_EQ(Names(), std::set<std::string>{"target"});
}

TEST_F(FileSystemPosixTest, DiskFullDuringReplaceLeavesTheOldFileWhole) {
    const std::string old = "SRV01\r\nSRV02\r\n";
    dir.Write("computerlist.txt", old);
    const std::string path = Path("computerlist.txt");
    const std::string contents(256 * 1024, 'n');

    // The file size limit stands in for a full disk; it is set in a child so that it stays there.
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        struct rlimit limit {};
        limit.rlim_cur = limit.rlim_max = 4096;
        ::signal(SIGXFSZ, SIG_IGN);
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(1);
        }
        ::_exit(fs->ReplaceFile(path, contents).error);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), kDiskFull);
    EXPECT_EQ(dir.Read("computerlist.txt"), old);
    EXPECT_EQ(Names(), std::set<std::string>{"computerlist.txt"});
}

} // namespace
} // namespace corvane
