// The POSIX FileSystem on UNC paths: where files land on the lab network, and its error numbers.
#include "platform/NativeFileSystem.h"

#include "Harness.h"
#include "LabNetwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <unistd.h>

namespace corvane {
namespace {

class UncFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        lab.AddServer("SRV", {.shares = {"C$", "D$"}});
        lab.AddServer("OFF", {.offline = true});
        lab.AddServer("DENY", {.denied = true});
        dir.Write("app.exe", "program bytes");
    }

    test::TempDir dir;
    test::LabNetwork lab{dir.path().toStdString()};
    std::unique_ptr<FileSystem> fs = MakeNativeFileSystem(lab.root());
};

TEST_F(UncFileSystemTest, ARunSeesItsOwnChangesAndForgetsWhenItEnds) {
    lab.WriteFile("SRV/C$/Apps/Setup.exe", "old");
    lab.WriteFile("SRV/C$/Two/A/y", "y");
    lab.WriteFile("SRV/C$/Two/a/x", "x");
    {
        const BatchScope run(*fs);
        // Of two spellings of a folder, the exact one.
        EXPECT_EQ(fs->Search(R"(\\SRV\C$\Two\a\x)", false).name, "x");
        EXPECT_EQ(fs->Search(R"(\\OFF\C$\)", true).result.error, kBadFileName);
        EXPECT_EQ(fs->Search(R"(\\srv\c$\APPS\setup.EXE)", false).name, "Setup.exe");
        EXPECT_TRUE(fs->CreateDirectory(R"(\\SRV\C$\Apps\Bin)").ok() &&
                    fs->CopyFile(dir.file("app.exe"), R"(\\SRV\C$\APPS\BIN\App.exe)").ok() &&
                    fs->CopyFile(dir.file("app.exe"), R"(\\SRV\C$\apps\setup.exe)").ok());
        dir.Write("app.exe", "newer bytes");
        EXPECT_TRUE(fs->CopyFile(dir.file("app.exe"), R"(\\SRV\C$\apps\bin\APP.EXE)").ok());
        EXPECT_EQ(lab.ReadFile("SRV/C$/Apps/Bin/App.exe") + lab.ReadFile("SRV/C$/Apps/Setup.exe") +
                      std::to_string(lab.Exists("SRV/C$/Apps/Bin/APP.EXE") ||
                                     lab.Exists("SRV/C$/Apps/setup.exe")),
                  "newer bytesprogram bytes0");
        EXPECT_TRUE(fs->DeleteFile(R"(\\SRV\C$\APPS\bin\app.EXE)").ok() &&
                    fs->Search(R"(\\SRV\C$\Apps\Bin\App.exe)", false).name.empty());
        std::string contents;
        EXPECT_TRUE(fs->AppendLine(R"(\\SRV\C$\Apps\Bin\Log.txt)", "a").ok() &&
                    fs->AppendLine(R"(\\SRV\C$\Apps\Bin\LOG.txt)", "b").ok() &&
                    fs->ReadTextFile(R"(\\srv\c$\apps\bin\LOG.TXT)", contents, kNoSizeLimit).ok());
        EXPECT_EQ(contents, "a\r\nb\r\n");
        EXPECT_EQ(fs->CopyFile(dir.file("app.exe"), R"(\\SRV\C$\NoDir\a)").error, kPathNotFound);
        // Names others made in a folder the run has already listed: a link to the source is
        // still the file itself, another file is replaced.
        ASSERT_EQ(::link(dir.file("app.exe").c_str(), lab.Path("SRV/C$/Apps/Bin/Linked").c_str()),
                  0);
        lab.WriteFile("SRV/C$/Apps/Bin/Other", "other");
        EXPECT_EQ(fs->CopyFile(dir.file("app.exe"), R"(\\SRV\C$\Apps\Bin\Linked)").reason,
                  "The destination is the file itself");
        EXPECT_TRUE(fs->CopyFile(dir.file("app.exe"), R"(\\SRV\C$\Apps\Bin\Other)").ok());
        EXPECT_EQ(lab.ReadFile("SRV/C$/Apps/Bin/Other") + dir.Read("app.exe"),
                  "newer bytesnewer bytes");
    }
    // After the run the server went offline and a folder appeared: what comes next sees both.
    lab.AddServer("SRV", {.offline = true, .shares = {"C$", "D$"}});
    lab.WriteFile("OFF/C$/Apps/x", "x");
    lab.AddServer("OFF");
    EXPECT_EQ(fs->Search(R"(\\SRV\C$\Apps\)", true).result.error, kBadFileName);
    EXPECT_EQ(fs->Search(R"(\\off\c$\apps\X)", true).name, "x");
}

// Many copies at once: their results come in order on the calling thread, with each failure in
// the order a single copy says it, and the run knows the new names. Copies that lead to one file
// in two spellings end as if made one after the other; a handler's "no further" is obeyed.
TEST_F(UncFileSystemTest, CopiesRunAtOnceAndEndAsIfOneAfterTheOther) {
    std::vector<std::string> from, to;
    for (int i = 0; i < 40; ++i) {
        dir.Write("f" + std::to_string(i), "bytes of " + std::to_string(i));
        from.push_back(dir.file("f" + std::to_string(i)));
        to.push_back(R"(\\SRV\C$\Bin\F)" + std::to_string(i));
    }
    lab.WriteFile("SRV/C$/Bin/F3", "an old copy");
    ASSERT_EQ(::link(dir.file("app.exe").c_str(), lab.Path("SRV/C$/Bin/Linked").c_str()), 0);
    from.insert(from.begin() + 5, {dir.file("gone"), dir.file("app.exe"), dir.file("app.exe")});
    to.insert(to.begin() + 5, {R"(\\OFF\C$\x)", R"(\\OFF\C$\x)", R"(\\SRV\C$\bin\LINKED)"});
    std::string said;
    const auto thread = std::this_thread::get_id();
    const BatchScope run(*fs);
    fs->CopyFiles(from, to, [&](std::size_t i, const FileResult& r) {
        said += std::to_string(i) + ":" + std::to_string(r.error) +
                (std::this_thread::get_id() == thread ? " " : "elsewhere ");
        return true;
    });
    EXPECT_EQ(said.substr(0, 42), "0:0 1:0 2:0 3:0 4:0 5:53 6:52 7:75 8:0 9:0");
    EXPECT_EQ(std::count(said.begin(), said.end(), ' '), 43) << said;
    EXPECT_EQ(lab.ReadFile("SRV/C$/Bin/F3") + lab.ReadFile("SRV/C$/Bin/F39"),
              "bytes of 3bytes of 39");
    EXPECT_EQ(fs->Search(R"(\\SRV\C$\bin\f39)", false).name, "F39");

    // Two spellings of one new name: one file, the later copy's.
    fs->CopyFiles({dir.file("f1"), dir.file("f2")}, {R"(\\SRV\C$\New)", R"(\\SRV\C$\NEW)"},
                  [](std::size_t, const FileResult& r) { return r.ok(); });
    EXPECT_EQ(lab.ReadFile("SRV/C$/New") + std::to_string(lab.Exists("SRV/C$/NEW")), "bytes of 20");

    int taken = 0;
    fs->CopyFiles(from, to, [&](std::size_t, const FileResult&) { return ++taken < 2; });
    EXPECT_EQ(taken, 2);
}

TEST_F(UncFileSystemTest, EveryOperationFailsWhereTheNetworkRefuses) {
    for (const std::string base : {R"(\\OFF\C$\)", R"(\\SRV\H$\)", R"(\\DENY\C$\)"}) {
        const int error = base.starts_with(R"(\\DENY)") ? kPermissionDenied : kBadFileName;
        const std::string file = base + "f.txt";
        std::string contents;
        const std::vector<std::pair<const char*, std::function<FileResult()>>> operations{
            {"Search", [&] { return fs->Search(file, true).result; }},
            {"CreateDirectory", [&] { return fs->CreateDirectory(base + "new"); }},
            {"CopyFile to", [&] { return fs->CopyFile(dir.file("app.exe"), file); }},
            {"CopyFile from", [&] { return fs->CopyFile(file, dir.file("copy")); }},
            {"DeleteFile", [&] { return fs->DeleteFile(file); }},
            {"CreateEmptyFile", [&] { return fs->CreateEmptyFile(file); }},
            {"AppendLine", [&] { return fs->AppendLine(file, "x"); }},
            {"ReadTextFile", [&] { return fs->ReadTextFile(file, contents, kNoSizeLimit); }},
            {"ReplaceFile", [&] { return fs->ReplaceFile(file, "x"); }}};
        for (const auto& [name, operation] : operations) {
            const FileResult r = operation();
            EXPECT_TRUE(r.error == error && !r.reason.empty()) << name << " " << base << r.error;
        }
    }
    EXPECT_FALSE(dir.Exists("copy"));
    // A file system made without a network reaches no UNC path.
    EXPECT_EQ(MakeNativeFileSystem()->CreateEmptyFile(R"(\\SRV\C$\f.txt)").error, kBadFileName);
    EXPECT_FALSE(lab.Exists("SRV/C$/f.txt"));
}

} // namespace
} // namespace corvane
