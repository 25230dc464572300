// corvane-lab run as a real process: the networks it creates, and what it refuses to touch.
#include "platform/posix/Lab.h"

#include "Harness.h"
#include "LabNetwork.h"
#include "RunProgram.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace corvane {
namespace {

class LabCliTest : public ::testing::Test {
protected:
    static int Lab(const std::vector<std::string>& args) { return Run(args).status; }
    static test::ProgramResult Run(const std::vector<std::string>& args) {
        return test::RunProgram(test::LabNetwork::Tool("corvane-lab"), args);
    }

    test::TempDir dir;
    const std::string root = dir.file("network");
    const std::string list = dir.file("computerlist.txt");
};

TEST_F(LabCliTest, DemoNetwork) {
    ASSERT_EQ(Lab({"demo", root, "--computer-list", list}), 0);
    const lab::Network network(root);
    int offline = 0;
    int denied = 0;
    for (const std::string name : {"WEB01", "WEB02", "WEB03", "APP01", "APP02", "DB01", "DB02",
                                   "FILE01", "MAIL01", "BACKUP01", "LEGACY01", "SECURE01"}) {
        const lab::Server server = network.FindServer(name);
        ASSERT_TRUE(server.Exists()) << name;
        offline += server.settings.offline;
        denied += server.settings.denied;
        EXPECT_NE(dir.Read("computerlist.txt").find(name + "\r\n"), std::string::npos) << name;
    }
    EXPECT_EQ(offline, 2);
    EXPECT_EQ(denied, 1);
    const test::ProgramResult show = Run({"show", "db01", "--root", root});
    EXPECT_EQ(show.status, 0);
    EXPECT_NE(show.out.find(R"(D:\backup\full.cmd)"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find(R"(D$\backup\README.txt)"), std::string::npos) << show.out;

    // A second demo never touches the network that is there, nor the computer list.
    dir.Write("computerlist.txt", "MINE\r\n");
    EXPECT_EQ(Lab({"demo", root, "--computer-list", list}), 1);
    EXPECT_EQ(dir.Read("computerlist.txt"), "MINE\r\n");
    EXPECT_TRUE(network.FindServer("WEB01").Exists());
}

TEST_F(LabCliTest, AddAndSetAServer) {
    EXPECT_EQ(Lab({"add", "NEW", "--hang", "--boot", "1000", "--root", root}), 0);
    EXPECT_EQ(Lab({"add", "new", "--root", root}), 1);
    EXPECT_EQ(Lab({"set", "new", "--no-hang", "--offline", "--denied", "--root", root}), 0);
    const lab::Server server = lab::Network(root).FindServer("NEW");
    EXPECT_TRUE(server.settings.offline && server.settings.denied && !server.settings.hang);
    EXPECT_EQ(server.settings.boot, 1000);
    EXPECT_TRUE(server.folder.ends_with("/NEW")); // spelled as added

    EXPECT_EQ(Lab({"set", "MISSING", "--offline", "--root", root}), 1);
    EXPECT_EQ(Lab({"add", "X", "--offlne", "--root", root}), 2);
    EXPECT_EQ(Lab({"add", "../X", "--root", root}), 1);
    EXPECT_EQ(Lab({}), 2);
}

// Numbers out of range and names that are not shares are refused, and nothing is created.
TEST_F(LabCliTest, RefusesOutOfRangeNumbersAndBadShareNames) {
    const std::vector<std::string> bulk{"bulk", "--servers", "10"};
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[]{
        {{"bulk", "--servers", "0"}, 2},
        {{"bulk", "--servers", "-3"}, 2},
        {{"bulk", "--servers", "100001"}, 2},
        {{"bulk", "--servers", "10", "--jobs", "-1"}, 2},
        {{"bulk", "--servers", "10", "--offline-share", "nan"}, 2},
        {{"bulk", "--servers", "10", "--offline-share", "inf"}, 2},
        {{"bulk", "--servers", "10", "--denied-share", "-0.1"}, 2},
        {{"bulk", "--servers", "10", "--denied-share", "1.5"}, 2},
        {{"bulk", "--servers", "10", "--offline-share", "0.7", "--denied-share", "0.4"}, 2},
        {{"add", "X", "--boot", "-1"}, 2},
        {{"add", "X", "--boot", "253402300800"}, 2}, // after the year 9999
        {{"add", "X", "--boot", "99999999999999999999"}, 2},
        {{"add", "X", "--shares", "../../escaped"}, 1},
        {{"add", "X", "--shares", "C$," + dir.file("escaped")}, 1},
        {{"add", "X", "--shares", ""}, 1},
        {{"add", "X", "--shares", "H$"}, 1},
        {{"add", "X", "--shares", "C$,c$"}, 1},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--root", root});
        EXPECT_EQ(Lab(args), c.status) << args[1] << " " << args[args.size() - 3];
        EXPECT_FALSE(std::filesystem::exists(root + "/X")) << args[args.size() - 3];
        EXPECT_FALSE(std::filesystem::exists(root + "/SRV0001")) << args[args.size() - 3];
        EXPECT_FALSE(dir.Exists("escaped"));
    }
    // Shares that add up to 1 fit, however they round; a second bulk never overwrites.
    EXPECT_EQ(
        Lab({"bulk", "--servers", "5", "--offline-share", "0.5", "--denied-share", "0.5", root}),
        0);
    EXPECT_EQ(Lab({"bulk", "--servers", "5", root}), 1);
    const lab::Network network(root);
    int offline = 0;
    for (const char* name : {"SRV0001", "SRV0002", "SRV0003", "SRV0004", "SRV0005"}) {
        ASSERT_TRUE(network.FindServer(name).Exists()) << name;
        offline += network.FindServer(name).settings.offline;
    }
    EXPECT_TRUE(offline == 2 || offline == 3) << offline;
    EXPECT_FALSE(network.FindServer("SRV0006").Exists());
}

// A server whose settings file is a link is shown as such and its settings are not rewritten.
TEST_F(LabCliTest, ASettingsFileThatIsALinkIsNeitherReadNorReplaced) {
    ASSERT_EQ(Lab({"add", "SRV", "--root", root}), 0);
    dir.Write("outside", "offline=yes\n");
    std::filesystem::remove(root + "/SRV/.lab");
    std::filesystem::create_symlink(dir.file("outside"), root + "/SRV/.lab");
    const test::ProgramResult show = Run({"show", "SRV", "--root", root});
    EXPECT_EQ(show.status, 1);
    EXPECT_NE(show.out.find("settings unreadable"), std::string::npos) << show.out;
    EXPECT_EQ(Lab({"set", "SRV", "--denied", "--root", root}), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(root + "/SRV/.lab"));
    EXPECT_EQ(dir.Read("outside"), "offline=yes\n");
}

} // namespace
} // namespace corvane
