// Contract of the native FileSystem on local paths, the AppDir lock and the dialog filters.
#include "platform/AppDirLock.h"
#include "platform/NativeFileSystem.h"
#include "platform/qt/QtDialogs.h"

#include "Harness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
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

// A copy to and from /dev/shm, where there is one, falls back from copy_file_range.
TEST_F(FileSystemPosixTest, CopiesAcrossFileSystems) {
    test::TempDir other;
    other.Write("big", std::string(300'000, 'b') + "end");
    const std::string shm = "/dev/shm/corvane-copy-" + std::to_string(::getpid());
    const std::string source = stdfs::is_directory("/dev/shm") ? shm : other.file("big");
    if (source == shm) {
        stdfs::copy_file(other.file("big"), shm);
    }
    EXPECT_TRUE(fs->CopyFile(source, Path("here")).ok() &&
                fs->CopyFile(Path("here"), source + ".back").ok());
    EXPECT_EQ(dir.Read("here"), other.Read("big"));
    EXPECT_EQ(stdfs::file_size(source + ".back"), 300'003u);
    stdfs::remove(shm);
    stdfs::remove(shm + ".back");
}

// Long copies and reads, any line end; replacing keeps permissions and leaves no temporary file.
TEST_F(FileSystemPosixTest, EveryOperationDoesWhatItSays) {
    const std::string bytes = "a\r\nb\rc\n\xC3\xBC" + std::string(200'000, 'z'), line(99, 'x');
    dir.Write("from", bytes);
    dir.Write("to", std::string(300'000, 'o'));
    dir.Write("lines", "old contents");
    dir.Write("old.txt", std::string(10'000, 'o'));
    ASSERT_EQ(::chmod(Path("old.txt").c_str(), 0600), 0);
    std::string contents = "stale", written = "\r\n";
    std::unique_ptr<LineWriter> writer;
    bool ok = fs->CreateDirectory(Path("new")).ok() &&
              fs->CopyFile(Path("from"), Path("to")).ok() &&
              fs->ReadTextFile(Path("to"), contents, kNoSizeLimit).ok() &&
              fs->CreateEmptyFile(Path("to")).ok() && fs->CreateEmptyFile(Path("empty")).ok() &&
              fs->AppendLine(Path("log"), "first").ok() && fs->AppendLine(Path("log"), "").ok() &&
              fs->AppendLine(Path("log"), "a, \"b\"").ok() && fs->DeleteFile(Path("from")).ok() &&
              fs->ReplaceFile(Path("new*.txt"), "one\r\n").ok() &&
              fs->ReplaceFile(Path("old.txt"), "two\r\n").ok() &&
              fs->OpenLineWriter(Path("lines"), writer).ok() && writer->WriteLine("").ok();
    for (int i = 0; i < 999; ++i, written += line + "\r\n") {
        ok = ok && writer->WriteLine(line).ok();
    }
    EXPECT_TRUE(ok && writer->Close().ok());
    EXPECT_TRUE(contents == bytes && dir.Read("lines") == written);
    std::string maps; // 0 bytes long for fstat, and read about a page at a time
    EXPECT_TRUE(fs->ReadTextFile("/proc/self/maps", maps, kNoSizeLimit).ok() &&
                maps.size() > 8192 && maps.back() == '\n');
    // On POSIX a wildcard is an ordinary character of a local name.
    EXPECT_EQ(fs->Search(Path("*.txt"), true).name + fs->Search(Path("new*.txt"), true).name,
              "new*.txt");
    EXPECT_EQ(dir.Read("to") + dir.Read("empty") + dir.Read("log") + dir.Read("new*.txt") +
                  dir.Read("old.txt"),
              "first\r\n\r\na, \"b\"\r\none\r\ntwo\r\n");
    EXPECT_EQ(stdfs::status(Path("old.txt")).permissions() & stdfs::perms::all,
              stdfs::perms::owner_read | stdfs::perms::owner_write);
    EXPECT_EQ(Names(),
              (std::set<std::string>{"empty", "lines", "log", "new", "new*.txt", "old.txt", "to"}));
}

// During a run, the old file a replacement swaps out is written over by the next replacement
// (shorter, with other permissions), unless someone else still reads it or reaches it by another
// name: they keep seeing the old contents. Nothing is left when the run ends.
TEST_F(FileSystemPosixTest, ARunWritesOverReplacedFilesOnlyWhereNobodyElseSeesThem) {
    test::TempDir sources;
    const struct {
        const char* name;
        const char* contents;
        mode_t mode;
    } copies[] = {{"d1", "one", 0700}, {"d2", "2", 0640}, {"d3", "three", 0604}, {"d4", "4", 0644}};
    for (const auto& c : copies) {
        sources.Write(c.name, c.contents);
        ASSERT_EQ(::chmod(sources.file(c.name).c_str(), c.mode), 0);
        dir.Write(c.name, std::string("old ") + c.name + " with a longer text");
    }
    struct stat first {};
    ASSERT_EQ(::stat(Path("d1").c_str(), &first), 0);
    ASSERT_EQ(::link(Path("d3").c_str(), Path("d3 link").c_str()), 0);
    const int reader = ::open(Path("d2").c_str(), O_RDONLY | O_CLOEXEC);
    {
        const BatchScope run(*fs);
        for (const char* name : {"d1", "d2", "d3", "d4"}) {
            EXPECT_TRUE(fs->CopyFile(sources.file(name), Path(name)).ok()) << name;
        }
    }
    char old[64] = {};
    EXPECT_GT(::pread(reader, old, sizeof old - 1, 0), 0);
    ::close(reader);
    EXPECT_EQ(std::string(old) + "|" + dir.Read("d3 link"),
              "old d2 with a longer text|old d3 with a longer text");
    struct stat second {};
    ASSERT_EQ(::stat(Path("d2").c_str(), &second), 0);
    EXPECT_EQ(second.st_ino, first.st_ino); // d1's old file, written over
    for (const char* name : {"d1", "d2", "d3", "d4"}) {
        EXPECT_EQ(dir.Read(name), sources.Read(name));
        EXPECT_EQ(stdfs::status(Path(name)).permissions(),
                  stdfs::status(sources.file(name)).permissions())
            << name;
    }
    EXPECT_EQ(Names(), (std::set<std::string>{"d1", "d2", "d3", "d3 link", "d4"}));
}

// A missing folder is 76, a missing file in an existing folder 53, a link to itself or a copy onto
// the source (through a hard or soft link too) 75; nothing is written on failure.
TEST_F(FileSystemPosixTest, FailuresGiveTheWindowsErrorNumbers) {
    const std::string file = Path("file"), sub = Path("sub"), absent = Path("absent"),
                      inMissing = Path("missing/f");
    dir.Write("file", "old");
    ASSERT_TRUE(stdfs::create_directory(sub));
    dir.Write("sub/keep", "k");
    ASSERT_TRUE(::symlink("loop", Path("loop").c_str()) == 0 &&
                ::link(file.c_str(), Path("hard").c_str()) == 0 &&
                ::symlink(file.c_str(), Path("soft").c_str()) == 0);
    std::string contents = "stale";
    std::unique_ptr<LineWriter> writer;
    ASSERT_TRUE(fs->OpenLineWriter(Path("written"), writer).ok());
    const std::pair<int, std::function<FileResult()>> cases[] = {
        {kPathFileAccess, [&] { return fs->CreateDirectory(sub); }},
        {kPathNotFound, [&] { return fs->CreateDirectory(inMissing); }},
        {kPathNotFound, [&] { return fs->CreateDirectory(file + "/d"); }},
        {kFileNotFound, [&] { return fs->CopyFile(absent, file); }},
        {kPathFileAccess, [&] { return fs->CopyFile(file, file); }},
        {kPathFileAccess, [&] { return fs->CopyFile(file, Path("hard")); }},
        {kPathFileAccess, [&] { return fs->CopyFile(file, Path("soft")); }},
        {kPathNotFound, [&] { return fs->CopyFile(file, inMissing); }},
        {kPathFileAccess, [&] { return fs->CopyFile(file, sub); }},
        {kFileNotFound, [&] { return fs->DeleteFile(absent); }},
        {kPathNotFound, [&] { return fs->CreateEmptyFile(inMissing); }},
        {kPathNotFound, [&] { return fs->OpenLineWriter(inMissing, writer); }},
        {kFileNotFound, [&] { return fs->ReadTextFile(absent, contents, kNoSizeLimit); }},
        {kPathNotFound, [&] { return fs->ReadTextFile(inMissing, contents, kNoSizeLimit); }},
        {kPathNotFound, [&] { return fs->ReplaceFile(inMissing, "x"); }},
        {kPathFileAccess, [&] { return fs->ReplaceFile(sub, "x"); }},
        {kPathFileAccess, [&] { return fs->Search(Path("loop"), false).result; }},
        {kBadFileName, [&] { return fs->CreateEmptyFile(Path(std::string(256, 'n'))); }},
        {kPermissionDenied, [&] { return fs->CreateEmptyFile("/sys/corvane"); }}}; // even root
    for (const auto& c : cases) {
        const FileResult r = c.second();
        EXPECT_TRUE(r.error == c.first && !r.reason.empty())
            << "case " << &c - cases << ": " << r.error;
    }
    EXPECT_TRUE(contents.empty() && writer == nullptr);
    EXPECT_EQ(dir.Read("file") + dir.Read("sub/keep"), "oldk");
    EXPECT_EQ(Names(), (std::set<std::string>{"file", "hard", "loop", "soft", "sub", "written"}));
}

// A full disk (a file size limit in a child) is reported; the old file stays whole, nothing left.
TEST_F(FileSystemPosixTest, DiskFullIsReportedAndLeavesTheOldFileWhole) {
    const std::string old = "SRV01\r\nSRV02\r\n", line(99, 'x');
    dir.Write("big", std::string(256 * 1024, 'n'));
    std::unique_ptr<LineWriter> writer;
    const struct {
        const char* name;
        rlim_t room; // bytes a file may take
        std::function<bool()> failsAsOnAFullDisk;
    } cases[] = {
        {"ReplaceFile", 4096,
         [&] { return fs->ReplaceFile(Path("target"), dir.Read("big")).error == kDiskFull; }},
        {"CopyFile", 4096,
         [&] { return fs->CopyFile(Path("big"), Path("target")).error == kDiskFull; }},
        // The lines are gathered first; every call after the first failure repeats it.
        {"a line writer filled", 4,
         [&] {
             int firstFailure = -1;
             bool ok = fs->OpenLineWriter(Path("new"), writer).ok();
             for (int i = 0; ok && i < 1000 && firstFailure < 0; ++i) {
                 firstFailure = writer->WriteLine(line).ok() ? -1 : i;
             }
             return ok && firstFailure > 0 && writer->WriteLine("more").error == kDiskFull &&
                    writer->Close().error == kDiskFull;
         }},
    };
    for (const auto& c : cases) {
        dir.Write("target", old);
        const pid_t child = ::fork();
        if (child == 0) {
            const rlimit limit{c.room, c.room};
            ::signal(SIGXFSZ, SIG_IGN);
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::_exit(c.failsAsOnAFullDisk() ? 0 : 1);
        }
        int status = 0;
        ASSERT_TRUE(child > 0 && ::waitpid(child, &status, 0) == child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.name;
        EXPECT_EQ(dir.Read("target"), old) << c.name;
        ::unlink(Path("new").c_str());
        EXPECT_EQ(Names(), (std::set<std::string>{"big", "target"})) << c.name;
    }
}

TEST(AppDirLockTest, OneHolderAtATimeAndAKilledHolderLetsGo) {
    test::TempDir dir;
    const std::string appDir = dir.path().toStdString();
    {
        const AppDirLocking first = LockAppDir(appDir);
        const AppDirLocking second = LockAppDir(appDir);
        EXPECT_TRUE(first.lock && !second.lock && second.heldElsewhere) << first.reason;
    }
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) { // holds the lock until killed
        const AppDirLocking held = LockAppDir(appDir);
        const char answer = held.lock ? 'y' : 'n';
        static_cast<void>(::write(ready[1], &answer, 1));
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    EXPECT_TRUE(answer == 'y' && LockAppDir(appDir).heldElsewhere);
    ::kill(child, SIGKILL);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    ::close(ready[0]);
    const AppDirLocking after = LockAppDir(appDir);
    EXPECT_NE(after.lock, nullptr) << after.reason;
}

TEST(ToQtFileFilterTest, ConvertsEveryPair) {
    const struct {
        const char* filter;
        const char* qt;
    } cases[] = {
        {"Text Files|*.txt", "Text Files (*.txt)"},
        {"Lists (*.lst)|*.txt", "Lists (*.txt)"},
        {"All Files (*.*)|*.*|Text Files (*.txt)|*.txt|INI Files (*.ini)|*.ini|"
         "Images (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif",
         "All Files (*);;Text Files (*.txt);;INI Files (*.ini);;Images (*.bmp *.jpg *.gif)"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToQtFileFilter(QString::fromUtf8(c.filter)).toStdString(), c.qt) << c.filter;
    }
}

} // namespace
} // namespace corvane
