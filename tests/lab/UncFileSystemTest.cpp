// The POSIX FileSystem on UNC paths: where files land on the lab network, and its error numbers.
#include "platform/NativeFileSystem.h"

#include "Harness.h"
#include "LabNetwork.h"

#include <gtest/gtest.h>

#include <functional>

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

TEST_F(UncFileSystemTest, ADeployLandsInTheServersShare) {
    EXPECT_TRUE(fs->CreateDirectory(R"(\\srv\c$\Deploy)").ok());
    EXPECT_TRUE(fs->CopyFile(dir.file("app.exe"), R"(\\SRV\C$\DEPLOY\app.exe)").ok());
    EXPECT_EQ(lab.ReadFile("SRV/C$/Deploy/app.exe"), "program bytes");

    EXPECT_EQ(fs->Search(R"(\\SRV\C$\deploy\)", true).name, ".");
    EXPECT_EQ(fs->Search(R"(\\SRV\C$\deploy\APP.EXE)", false).name, "app.exe");
    EXPECT_EQ(fs->Search(R"(\\SRV\C$\deploy\other.exe)", false).name, "");

    EXPECT_TRUE(fs->AppendLine(R"(\\SRV\D$\log.txt)", "deployed").ok());
    std::string contents;
    EXPECT_TRUE(fs->ReadTextFile(R"(\\srv\d$\LOG.TXT)", contents).ok());
    EXPECT_EQ(contents, "deployed\r\n");
    EXPECT_TRUE(fs->ReplaceFile(R"(\\SRV\D$\log.txt)", "new\r\n").ok());
    EXPECT_EQ(lab.ReadFile("SRV/D$/log.txt"), "new\r\n");
    EXPECT_TRUE(fs->DeleteFile(R"(\\SRV\C$\Deploy\APP.exe)").ok());
    EXPECT_FALSE(lab.Exists("SRV/C$/Deploy/app.exe"));
    EXPECT_EQ(fs->DeleteFile(R"(\\SRV\C$\Deploy\app.exe)").error, kFileNotFound);
    EXPECT_EQ(fs->CopyFile(dir.file("app.exe"), R"(\\SRV\C$\NoDir\app.exe)").error, kPathNotFound);
}

struct UnreachableCase {
    const char* folder; // a folder path on the network, with its separator at the end
    int error;
};

void PrintTo(const UnreachableCase& c, std::ostream* os) {
    *os << c.folder;
}

class UncFailureTest : public UncFileSystemTest,
                       public ::testing::WithParamInterface<UnreachableCase> {};

// Every operation on the path gives the same error, and nothing is written anywhere.
TEST_P(UncFailureTest, EveryOperationFails) {
    const std::string base = GetParam().folder;
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
        {"ReadTextFile", [&] { return fs->ReadTextFile(file, contents); }},
        {"ReplaceFile", [&] { return fs->ReplaceFile(file, "x"); }}};
    for (const auto& [name, operation] : operations) {
        const FileResult r = operation();
        EXPECT_EQ(r.error, GetParam().error) << name;
        EXPECT_FALSE(r.reason.empty()) << name;
    }
    EXPECT_FALSE(dir.Exists("copy"));
}

INSTANTIATE_TEST_SUITE_P(Paths, UncFailureTest,
                         ::testing::Values(UnreachableCase{R"(\\OFF\C$\)", kBadFileName},
                                           UnreachableCase{R"(\\MISSING\C$\)", kBadFileName},
                                           UnreachableCase{R"(\\SRV\H$\)", kBadFileName},
                                           UnreachableCase{R"(\\SRV\E$\)", kBadFileName},
                                           UnreachableCase{R"(\\SRV\C$\..\D$\)", kBadFileName},
                                           UnreachableCase{R"(\\DENY\C$\)", kPermissionDenied}));

TEST(UncWithoutNetworkTest, UncPathsAreUnreachable) {
    test::TempDir dir;
    test::LabNetwork lab(dir.path().toStdString());
    lab.AddServer("SRV");
    const auto fs = MakeNativeFileSystem();
    EXPECT_EQ(fs->CreateEmptyFile(R"(\\SRV\C$\f.txt)").error, kBadFileName);
    EXPECT_FALSE(lab.Exists("SRV/C$/f.txt"));
}

} // namespace
} // namespace corvane
