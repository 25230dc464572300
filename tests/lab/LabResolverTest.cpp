// Where the lab network leads UNC paths, and how it reads a server's settings.
#include "platform/posix/Lab.h"

#include "Harness.h"
#include "LabNetwork.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using namespace std::string_literals;

TEST(ResolveTest, LeadsIntoTheRootOrRefuses) {
    test::TempDir dir;
    test::LabNetwork lab{dir.path().toStdString()};
    lab.AddServer("SRV01", {.shares = {"C$", "D$"}});
    lab.WriteFile("SRV01/C$/Dir/File.txt", "x");
    lab.WriteFile("SRV01/C$/ab/x", "");
    lab.WriteFile("SRV01/C$/AB/x", "");
    lab.AddServer("srv02", {.shares = {"c$"}});
    lab.AddServer("SRV03", {.shares = {"C$", "H$"}});
    lab.AddServer("OFF", {.offline = true});
    lab.AddServer("DENY", {.denied = true});
    lab.WriteFile("NOTASERVER", "a file, not a folder");
    const lab::Network network(lab.root());

    const auto resolves = [&](const std::string& unc, int error, const std::string& path = "") {
        const lab::Resolved r = network.Resolve(unc);
        EXPECT_EQ(std::to_string(r.error) + " " + r.path + " " + std::to_string(r.reason.empty()),
                  std::to_string(error) + " " + (error == 0 ? lab.root() + path + " 1" : " 0"))
            << unc;
    };
    // Found whatever the case of the letters; both separators in the rest, doubled ones once.
    for (const char* unc : {R"(\\SRV01\C$\Dir\File.txt)", R"(\\srv01\c$\dIR\FILE.TXT)",
                            R"(\\SRV01\C$\dir/file.txt)", R"(\\SRV01\C$\\Dir\\\File.txt)"}) {
        resolves(unc, 0, "SRV01/C$/Dir/File.txt");
    }
    resolves(R"(\\SRV02\C$\x)", 0, "srv02/c$/x");
    resolves(R"(\\SRV01\C$\Ab\x)", 0, "SRV01/C$/AB/x"); // an exact match first
    resolves(R"(\\SRV01\C$\ab\x)", 0, "SRV01/C$/ab/x");
    // Missing parts keep their spelling; a separator at the end is kept.
    resolves(R"(\\SRV01\C$\DIR\New.txt)", 0, "SRV01/C$/Dir/New.txt");
    resolves(R"(\\SRV01\D$\Missing\Sub\x)", 0, "SRV01/D$/Missing/Sub/x");
    resolves(R"(\\SRV01\C$)", 0, "SRV01/C$");
    resolves(R"(\\SRV01\C$\)", 0, "SRV01/C$/");
    resolves(R"(\\SRV01\C$\dir\)", 0, "SRV01/C$/Dir/");
    // Texts that could leave the root or name nothing.
    for (const char* unc :
         {R"(\\SRV01\C$\..\D$\x)", R"(\\SRV01\C$\Dir\..)", R"(\\SRV01\C$\Dir/../../x)",
          R"(\\..\SRV01\C$)", R"(\\.\C$\x)", R"(\\SRV01/..\C$\x)", R"(\\SRV01\C$/..\x)",
          R"(\\SRV01\C$\*.txt)", R"(\\SRV01\C$\File?.txt)", R"(\\)", R"(\SRV01\C$\x)",
          // Shares the server lacks, and servers that cannot be reached.
          R"(\\SRV01)", R"(\\SRV01\)", R"(\\SRV01\\Dir)", R"(\\SRV01\E$\x)", R"(\\SRV03\H$\x)",
          R"(\\SRV01\C\x)", R"(\\MISSING\C$\x)", R"(\\NOTASERVER\C$\x)", R"(\\OFF\C$\x)",
          R"(\\off\C$)"}) {
        resolves(unc, 52);
    }
    resolves("\\\\SRV01\\C$\\a\0b"s, 52);
    resolves(R"(\\DENY\C$\x)", 70);
    resolves(R"(\\deny\H$\x)", 70);
    // A network without a root reaches nothing.
    EXPECT_EQ(lab::Network("").Resolve(R"(\\SRV01\C$\x)").reason,
              "The network path was not found.");
    EXPECT_FALSE(lab::Network("").FindServer("SRV01").Exists());
}

TEST(LabNetworkTest, SettingsLines) {
    const lab::ServerSettings all =
        lab::ParseSettings("# comment\r\nOFFLINE = Yes\r\naccess=Denied\nhang=yes\nboot=1700000000"
                           "\nfuture=key\nno equals sign\n");
    const lab::ServerSettings again = lab::ParseSettings(lab::FormatSettings(all));
    EXPECT_TRUE(again.offline && again.denied && again.hang && again.boot == 1700000000);
    EXPECT_EQ(
        lab::FormatSettings(lab::ParseSettings("offline=no\naccess=granted\nhang=0\nboot=12x\n")),
        "");
}

} // namespace
} // namespace corvane
