// corvane-lab run as a real process: the networks it creates, and what it refuses to touch.
#include "platform/posix/Lab.h"

#include "Harness.h"
#include "LabNetwork.h"
#include "RunProgram.h"

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

TEST_F(LabCliTest, BulkSpreadsOfflineAndDeniedServers) {
    ASSERT_EQ(Lab({"bulk", "--servers", "40", "--offline-share", "0.1", "--denied-share", "0.05",
                   "--jobs", "2", root}),
              0);
    const lab::Network network(root);
    int offline = 0;
    int denied = 0;
    for (int i = 1; i <= 40; ++i) {
        const lab::Server server =
            network.FindServer((i < 10 ? "SRV000" : "SRV00") + std::to_string(i));
        ASSERT_TRUE(server.Exists()) << i;
        offline += server.settings.offline;
        denied += server.settings.denied;
    }
    EXPECT_EQ(offline, 4);
    EXPECT_EQ(denied, 2);
    EXPECT_FALSE(network.FindServer("SRV0041").Exists());
    EXPECT_EQ(Lab({"bulk", "--servers", "5", root}), 1);
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

} // namespace
} // namespace corvane
