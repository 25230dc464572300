// corvane-lab run as a real process: the networks it creates, and what it refuses to touch.
#include "platform/posix/Lab.h"

#include "Harness.h"
#include "LabNetwork.h"
#include "RunProgram.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

test::ProgramResult Lab(const std::vector<std::string>& args) {
    return test::RunProgram(test::LabNetwork::Tool("corvane-lab"), args);
}

TEST(LabCliTest, DemoNetwork) {
    test::TempDir dir;
    const std::string root = dir.file("network");
    ASSERT_EQ(Lab({"demo", root, "--computer-list", dir.file("computerlist.txt")}).status, 0);

    const lab::Network network(root);
    int reachable = 0;
    for (const std::string name : {"WEB01", "WEB02", "WEB03", "APP01", "APP02", "DB01", "DB02",
                                   "FILE01", "MAIL01", "BACKUP01", "LEGACY01", "SECURE01"}) {
        const lab::Server server = network.FindServer(name);
        ASSERT_TRUE(server.Exists()) << name;
        reachable += server.Reachable() && !server.settings.denied;
        EXPECT_EQ(dir.Read("computerlist.txt").find(name + "\r\n") != std::string::npos, true);
    }
    EXPECT_EQ(reachable, 9);
    EXPECT_FALSE(network.FindServer("BACKUP01").Reachable());
    EXPECT_TRUE(network.FindServer("SECURE01").settings.denied);
    EXPECT_TRUE(network.Resolve(R"(\\WEB01\C$\inetpub\wwwroot\index.html)").ok());

    const test::ProgramResult show = Lab({"show", "db01", "--root", root});
    EXPECT_EQ(show.status, 0);
    EXPECT_NE(show.out.find(R"(D:\backup\full.cmd)"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find(R"(D$\backup\README.txt)"), std::string::npos) << show.out;

    // A second demo never touches the network that is there, nor the computer list.
    dir.Write("computerlist.txt", "MINE\r\n");
    EXPECT_EQ(Lab({"demo", root, "--computer-list", dir.file("computerlist.txt")}).status, 1);
    EXPECT_EQ(dir.Read("computerlist.txt"), "MINE\r\n");
    EXPECT_TRUE(network.FindServer("WEB01").Exists());
}

TEST(LabCliTest, BulkSpreadsOfflineAndDeniedServers) {
    test::TempDir dir;
    const std::string root = dir.file("bulk");
    ASSERT_EQ(Lab({"bulk", "--servers", "40", "--offline-share", "0.1", "--denied-share", "0.05",
                   "--jobs", "2", root})
                  .status,
              0);
    const lab::Network network(root);
    int offline = 0;
    int denied = 0;
    for (int i = 1; i <= 40; ++i) {
        const std::string name = (i < 10 ? "SRV000" : "SRV00") + std::to_string(i);
        const lab::Server server = network.FindServer(name);
        ASSERT_TRUE(server.Exists()) << name;
        offline += server.settings.offline;
        denied += server.settings.denied;
    }
    EXPECT_EQ(offline, 4);
    EXPECT_EQ(denied, 2);
    EXPECT_FALSE(network.FindServer("SRV0041").Exists());
    EXPECT_EQ(Lab({"bulk", "--servers", "5", root}).status, 1);
}

TEST(LabCliTest, AddAndSetAServer) {
    test::TempDir dir;
    const std::string root = dir.file("network");
    EXPECT_EQ(Lab({"add", "NEW", "--hang", "--boot", "1000", "--root", root}).status, 0);
    EXPECT_EQ(Lab({"add", "new", "--root", root}).status, 1);
    EXPECT_EQ(Lab({"set", "new", "--no-hang", "--offline", "--denied", "--root", root}).status, 0);
    const lab::Server server = lab::Network(root).FindServer("NEW");
    EXPECT_TRUE(server.settings.offline && server.settings.denied);
    EXPECT_FALSE(server.settings.hang);
    EXPECT_EQ(server.settings.boot, 1000);
    EXPECT_TRUE(lab::Network(root).FindServer("NEW").folder.ends_with("/NEW"));

    EXPECT_EQ(Lab({"set", "MISSING", "--offline", "--root", root}).status, 1);
    EXPECT_EQ(Lab({"add", "X", "--offlne", "--root", root}).status, 2);
    EXPECT_EQ(Lab({"add", "../X", "--root", root}).status, 1);
    EXPECT_EQ(Lab({}).status, 2);
}

} // namespace
} // namespace corvane
