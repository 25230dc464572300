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
    static test::ProgramResult Run(const std::vector<std::string>& args) {
        return test::RunProgram(test::LabNetwork::Tool("corvane-lab"), args);
    }
    static int Lab(const std::vector<std::string>& args) { return Run(args).status; }
    // How many of the named servers exist, and how many of those are offline and denied.
    std::string Count(const std::vector<std::string>& names) const {
        const lab::Network network(root);
        int found = 0, offline = 0, denied = 0;
        for (const std::string& name : names) {
            const lab::Server server = network.FindServer(name);
            found += server.Exists();
            offline += server.Exists() && server.settings.offline;
            denied += server.Exists() && server.settings.denied;
        }
        return std::to_string(found) + " " + std::to_string(offline) + " " + std::to_string(denied);
    }

    test::TempDir dir;
    const std::string root = dir.file("network");
};

// A demo network and its computer list; a second demo touches neither.
TEST_F(LabCliTest, DemoNetwork) {
    const std::vector<std::string> names{"WEB01",  "WEB02",    "WEB03",    "APP01",
                                         "APP02",  "DB01",     "DB02",     "FILE01",
                                         "MAIL01", "BACKUP01", "LEGACY01", "SECURE01"};
    ASSERT_EQ(Lab({"demo", root, "--computer-list", dir.file("list.txt")}), 0);
    EXPECT_EQ(Count(names), "12 2 1");
    std::string list;
    for (const std::string& name : names) {
        list += name + "\r\n";
    }
    EXPECT_EQ(dir.Read("list.txt"), list);
    const test::ProgramResult show = Run({"show", "db01", "--root", root});
    EXPECT_EQ(show.status, 0);
    EXPECT_NE(show.out.find(R"(D:\backup\full.cmd)"), std::string::npos) << show.out;

    dir.Write("list.txt", "MINE\r\n");
    EXPECT_EQ(Lab({"demo", root, "--computer-list", dir.file("list.txt")}), 1);
    EXPECT_EQ(dir.Read("list.txt") + Count(names), "MINE\r\n12 2 1");
}

// Bad options, numbers out of range and names that are not shares are refused, and nothing is
// created; shares that add up to 1 fit however they round; nothing is ever overwritten.
TEST_F(LabCliTest, AddSetAndBulkOrRefuse) {
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[]{
        {{}, 2},
        {{"add", "X", "--offlne"}, 2},
        {{"add", "../X"}, 1},
        {{"set", "MISSING", "--offline"}, 1},
        {{"bulk", "--servers", "0"}, 2},
        {{"bulk", "--servers", "100001"}, 2},
        {{"bulk", "--servers", "10", "--jobs", "-1"}, 2},
        {{"bulk", "--servers", "10", "--offline-share", "nan"}, 2},
        {{"bulk", "--servers", "10", "--denied-share", "1.5"}, 2},
        {{"bulk", "--servers", "10", "--offline-share", "0.7", "--denied-share", "0.4"}, 2},
        {{"add", "X", "--boot", "253402300800"}, 2}, // after the year 9999
        {{"add", "X", "--boot", "99999999999999999999"}, 2},
        {{"add", "X", "--shares", "C$," + dir.file("escaped")}, 1},
        {{"add", "X", "--shares", "../../escaped"}, 1},
        {{"add", "X", "--shares", "H$"}, 1},
        {{"add", "X", "--shares", "C$,c$"}, 1},
        {{"bulk", "--servers", "5", "--offline-share", "0.5", "--denied-share", "0.5"}, 0},
        {{"bulk", "--servers", "5"}, 1},
        {{"add", "NEW", "--hang", "--boot", "1000"}, 0},
        {{"add", "new"}, 1},
        {{"set", "new", "--no-hang", "--offline", "--denied"}, 0},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--root", root});
        EXPECT_EQ(Lab(args), c.status) << testing::PrintToString(c.args);
        EXPECT_FALSE(std::filesystem::exists(root + "/X") || dir.Exists("escaped"));
    }
    const lab::Server server = lab::Network(root).FindServer("NEW");
    EXPECT_TRUE(server.settings.offline && server.settings.denied && !server.settings.hang);
    EXPECT_EQ(server.settings.boot, 1000);
    EXPECT_TRUE(server.folder.ends_with("/NEW")); // spelled as added
    const std::string bulk = Count({"SRV0001", "SRV0002", "SRV0003", "SRV0004", "SRV0005"});
    EXPECT_TRUE(bulk == "5 2 3" || bulk == "5 3 2") << bulk;
    EXPECT_FALSE(lab::Network(root).FindServer("SRV0006").Exists());
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
    EXPECT_EQ(dir.Read("outside") + std::to_string(std::filesystem::is_symlink(root + "/SRV/.lab")),
              "offline=yes\n1");
}

} // namespace
} // namespace corvane
