// The POSIX FileSystem on UNC paths: where files land on the lab network, and its error numbers.
#include "platform/NativeFileSystem.h"

#include "Harness.h"
#include "LabNetwork.h"

#include <gtest/gtest.h>

#include <functional>
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
