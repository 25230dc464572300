// Where the lab network leads UNC paths, and how it reads a server's settings.
#include "platform/posix/Lab.h"

#include "Harness.h"
#include "LabNetwork.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

namespace corvane {
namespace {

using namespace std::string_literals;

struct ResolveCase {
    std::string unc;
    int error;
    const char* path; // below the root, when error is 0
};

void PrintTo(const ResolveCase& c, std::ostream* os) {
    *os << c.unc;
}

class ResolveTest : public ::testing::TestWithParam<ResolveCase> {
protected:
    void SetUp() override {
        lab.AddServer("SRV01", {.shares = {"C$", "D$"}});
        lab.WriteFile("SRV01/C$/Dir/File.txt", "x");
        lab.WriteFile("SRV01/C$/ab/x", "");
        lab.WriteFile("SRV01/C$/AB/x", "");
        lab.AddServer("srv02", {.shares = {"c$"}});
        lab.AddServer("SRV03", {.shares = {"C$", "H$"}});
        lab.AddServer("OFF", {.offline = true});
        lab.AddServer("DENY", {.denied = true});
        lab.WriteFile("NOTASERVER", "a file, not a folder");
    }

    test::TempDir dir;
    test::LabNetwork lab{dir.path().toStdString()};
};

TEST_P(ResolveTest, LeadsIntoTheRootOrRefuses) {
    const ResolveCase& c = GetParam();
    const lab::Resolved r = lab::Network(lab.root()).Resolve(c.unc);
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(r.path, c.error == 0 ? lab.root() + c.path : "");
    EXPECT_EQ(r.reason.empty(), c.error == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ResolveTest,
    ::testing::Values(
        // Found, whatever the case of the letters; missing parts keep their spelling.
        ResolveCase{R"(\\SRV01\C$\Dir\File.txt)", 0, "SRV01/C$/Dir/File.txt"},
        ResolveCase{R"(\\srv01\c$\dIR\FILE.TXT)", 0, "SRV01/C$/Dir/File.txt"},
        ResolveCase{R"(\\SRV01\C$\DIR\New.txt)", 0, "SRV01/C$/Dir/New.txt"},
        ResolveCase{R"(\\SRV01\D$\Missing\Sub\x)", 0, "SRV01/D$/Missing/Sub/x"},
        ResolveCase{R"(\\SRV02\C$\x)", 0, "srv02/c$/x"},
        ResolveCase{R"(\\SRV01\C$\Ab\x)", 0, "SRV01/C$/AB/x"},
        ResolveCase{R"(\\SRV01\C$\ab\x)", 0, "SRV01/C$/ab/x"},
        // Separators: both kinds in the rest, doubled ones once, a trailing one kept.
        ResolveCase{R"(\\SRV01\C$)", 0, "SRV01/C$"}, ResolveCase{R"(\\SRV01\C$\)", 0, "SRV01/C$/"},
        ResolveCase{R"(\\SRV01\C$\dir\)", 0, "SRV01/C$/Dir/"},
        ResolveCase{R"(\\SRV01\C$\dir/file.txt)", 0, "SRV01/C$/Dir/File.txt"},
        ResolveCase{R"(\\SRV01\C$\\Dir\\\File.txt)", 0, "SRV01/C$/Dir/File.txt"},
        // Texts that could leave the root or name nothing.
        ResolveCase{R"(\\SRV01\C$\..\D$\x)", 52, ""}, ResolveCase{R"(\\SRV01\C$\Dir\..)", 52, ""},
        ResolveCase{R"(\\SRV01\C$\Dir/../../x)", 52, ""}, ResolveCase{R"(\\..\SRV01\C$)", 52, ""},
        ResolveCase{R"(\\.\C$\x)", 52, ""}, ResolveCase{R"(\\SRV01/..\C$\x)", 52, ""},
        ResolveCase{R"(\\SRV01\C$/..\x)", 52, ""}, ResolveCase{R"(\\SRV01\C$\*.txt)", 52, ""},
        ResolveCase{R"(\\SRV01\C$\File?.txt)", 52, ""}, ResolveCase{"\\\\SRV01\\C$\\a\0b"s, 52, ""},
        ResolveCase{R"(\\)", 52, ""}, ResolveCase{R"(\SRV01\C$\x)", 52, ""},
        // Shares the server does not have.
        ResolveCase{R"(\\SRV01)", 52, ""}, ResolveCase{R"(\\SRV01\)", 52, ""},
        ResolveCase{R"(\\SRV01\\Dir)", 52, ""}, ResolveCase{R"(\\SRV01\E$\x)", 52, ""},
        ResolveCase{R"(\\SRV03\H$\x)", 52, ""}, ResolveCase{R"(\\SRV01\C\x)", 52, ""},
        // Servers that cannot be reached, or refuse.
        ResolveCase{R"(\\MISSING\C$\x)", 52, ""}, ResolveCase{R"(\\NOTASERVER\C$\x)", 52, ""},
        ResolveCase{R"(\\OFF\C$\x)", 52, ""}, ResolveCase{R"(\\off\C$)", 52, ""},
        ResolveCase{R"(\\DENY\C$\x)", 70, ""}, ResolveCase{R"(\\deny\H$\x)", 70, ""}));

TEST(LabNetworkTest, ANetworkWithoutRootReachesNothing) {
    const lab::Resolved r = lab::Network("").Resolve(R"(\\SRV01\C$\x)");
    EXPECT_EQ(r.error, 52);
    EXPECT_EQ(r.reason, "The network path was not found.");
    EXPECT_FALSE(lab::Network("").FindServer("SRV01").Exists());
}

TEST(LabNetworkTest, SettingsLines) {
    const lab::ServerSettings all =
        lab::ParseSettings("# comment\r\nOFFLINE = Yes\r\naccess=Denied\nhang=yes\nboot=1700000000"
                           "\nfuture=key\nno equals sign\n");
    EXPECT_TRUE(all.offline);
    EXPECT_TRUE(all.denied);
    EXPECT_TRUE(all.hang);
    EXPECT_EQ(all.boot, 1700000000);
    EXPECT_EQ(lab::ParseSettings(lab::FormatSettings(all)).boot, all.boot);

    const lab::ServerSettings none =
        lab::ParseSettings("offline=no\naccess=granted\nhang=0\nboot=12x\n");
    EXPECT_FALSE(none.offline || none.denied || none.hang || none.boot);
    EXPECT_EQ(lab::FormatSettings(none), "");
}

TEST(LabNetworkTest, BootTimeIsTheSettingElseTheFolderCreation) {
    test::TempDir dir;
    test::LabNetwork lab(dir.path().toStdString());
    lab.AddServer("FIXED", {.boot = 1234});
    lab.AddServer("FRESH");
    const lab::Network network(lab.root());
    EXPECT_EQ(lab::BootTime(network.FindServer("fixed")), 1234);
    const long long fresh = lab::BootTime(network.FindServer("FRESH"));
    EXPECT_NEAR(static_cast<double>(fresh), static_cast<double>(std::time(nullptr)), 60);
    // A job added later does not move the boot time.
    lab.WriteFile("FRESH/.jobs", "next=1\n");
    EXPECT_EQ(lab::BootTime(network.FindServer("FRESH")), fresh);
}

} // namespace
} // namespace corvane
