// at.exe, uptime.exe and corvane-lab run as real processes on a real lab network.
#include "platform/posix/Lab.h"

#include "Harness.h"
#include "LabNetwork.h"
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ranges>
#include <set>
#include <thread>
#include <unistd.h>

namespace corvane {
namespace {

const std::string kSrv = R"(\\SRV)";

struct ToolCase {
    std::vector<std::string> args;
    int status;
    std::string out;
};

class LabToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        lab.AddServer("SRV");
        lab.AddServer("OFF", {.offline = true});
    }
    test::ProgramResult Run(const char* tool, const std::vector<std::string>& args) const {
        return test::RunProgram(test::LabNetwork::Tool(tool), args, lab.Environment(kNow));
    }
    void Expect(const char* tool, const std::vector<ToolCase>& cases) const {
        for (const ToolCase& c : cases) { // a whole answer ends in a line break or is empty
            const test::ProgramResult r = Run(tool, c.args);
            EXPECT_EQ(std::to_string(r.status) + " " +
                          r.out.substr(0, c.out.ends_with('\n') || c.out.empty() ? std::string::npos
                                                                                 : c.out.size()),
                      std::to_string(c.status) + " " + c.out)
                << tool << testing::PrintToString(c.args);
        }
    }

    int Lab(const std::vector<std::string>& args) const { return Run("corvane-lab", args).status; }
    static constexpr long long kNow = 1'800'000'000;
    test::TempDir dir;
    test::LabNetwork lab{dir.path().toStdString()};
    const std::string root = dir.file("cli");
};

TEST_F(LabToolTest, AtAnswersAndExitStatuses) {
    const std::string notFound = "The network path was not found.\n";
    const auto added = [](int id) {
        return "Added a new job with job ID = " + std::to_string(id) + "\n";
    };
    Expect("at.exe",
           {{{R"(\\off)", "1:00", "x"}, 53, notFound},
            {{R"(\\OFF)", "99:00", "x"}, 1, "Invalid time"}, // refused before any server is asked
            {{kSrv}, 0, "There are no entries in the list.\n"},
            {{kSrv, "7:5AM", "/every:Friday,Monday,1", R"(C:\Program Files\x.exe)", "/q"},
             0,
             added(1)},
            {{R"(\\srv)", "12:30", "cmd"}, 0, added(2)},
            {{kSrv},
             0,
             "Status ID   Day                     Time          Command Line\n" +
                 std::string(79, '-') +
                 "\n       1    Each M F 1              7:05 AM       \"C:\\Program Files\\x.exe\" "
                 "/q\n"
                 "       2    Today                   12:30 PM      cmd\n"},
            {{kSrv, "1", "/DELETE", "/yes"}, 0, ""},
            {{kSrv, "1", "/delete", "/Yes"}, 2, "The AT job ID 1 does not exist on \\\\SRV.\n"},
            {{kSrv, "1:00", "c"}, 0, added(3)}}); // IDs only grow
    // A job file that does not read back whole is refused, and never rewritten.
    for (const std::string job :
         {"1\tonce\tgarbage", "0\tonce\t0\t0\t60\tx", "1\tonce\t0\t0\t1440\tx"}) {
        lab.WriteFile("SRV/.jobs", "next=3\n" + job + "\n");
        Expect("at.exe", {{{kSrv}, 3, "The job file "}, {{kSrv, "1:00", "x"}, 3, "The job file "}});
        EXPECT_EQ(lab.ReadFile("SRV/.jobs"), "next=3\n" + job + "\n");
    }
    lab.WriteFile("SRV/.jobs", "next=2147483647\n");
    Expect("at.exe", {{{kSrv, "1:00", "x"}, 3, "The job file "}}); // every ID used
}

// A link planted in place of the job file is never followed; a leftover .jobs.new is removed.
TEST_F(LabToolTest, AtUsesItsOwnFilesOnlyAsRegularFiles) {
    dir.Write("outside", "next=1\n"); // a job file at.exe would take as its own
    std::filesystem::remove(lab.Path("SRV/.jobs"));
    std::filesystem::create_symlink(dir.file("outside"), lab.Path("SRV/.jobs"));
    lab.AddServer("NEW");
    lab.WriteFile("NEW/.jobs.new", "half a job fi");
    const std::string added = std::to_string(Run("at.exe", {kSrv, "1:00", "x"}).status) +
                              std::to_string(Run("at.exe", {R"(\\NEW)", "1:00", "x"}).status);
    EXPECT_EQ(added + std::to_string(lab.Exists("NEW/.jobs.new")) + dir.Read("outside"),
              "300next=1\n");
    lab.AddServer("LNK");
    std::filesystem::remove(lab.Path("LNK/.lab"));
    std::filesystem::create_symlink(dir.file("outside"), lab.Path("LNK/.lab"));
    EXPECT_NE(Run("at.exe", {R"(\\LNK)", "1:00", "x"}).status, 0);
    lab.AddServer("BIG");
    lab.WriteFile("BIG/.lab", std::string((1 << 20) + 1, '#'));
    EXPECT_NE(Run("at.exe", {R"(\\BIG)"}).out.find("it is larger than 1 MB"), std::string::npos);
}

TEST_F(LabToolTest, TwoHundredAddsAtOnceGiveTwoHundredJobs) {
    constexpr int kAdds = 200;
    std::vector<pid_t> pids;
    for (int i = 0; i < kAdds; ++i) {
        pids.push_back(test::StartProgram(test::LabNetwork::Tool("at.exe"), {kSrv, "1:00", "job"},
                                          lab.Environment(), dir.file("out" + std::to_string(i))));
    }
    std::set<std::string> answers;
    for (int i = 0; i < kAdds; ++i) {
        EXPECT_EQ(test::WaitProgram(pids[i]), 0);
        answers.insert(dir.Read("out" + std::to_string(i)));
    }
    EXPECT_EQ(answers.size() + lab.Jobs("SRV").size(), 2u * kAdds); // each ID once, none lost
}

// hang=yes: a shell starts a tool, waits until it hangs, prints its ID and leaves; the tool ends.
TEST_F(LabToolTest, AHangingToolEndsWhenItsParentIsGone) {
    lab.AddServer("HANG", {.hang = true});
    const std::string script = "\"$0\" \"$1\" >/dev/null & i=0; "
                               "while [ $i -lt 2000 ] && ! grep -q ') S ' /proc/$!/stat; "
                               "do i=$((i+1)); sleep 0.01; done; [ $i -lt 2000 ] && echo $!";
    const test::ProgramResult shell = test::RunProgram(
        "/bin/sh", {"-c", script, test::LabNetwork::Tool("uptime.exe"), R"(\\HANG)"},
        lab.Environment());
    ASSERT_EQ(shell.status, 0) << "the tool did not hang";
    const pid_t child = std::stoi(shell.out);
    const auto ended = [child] { // gone, or a zombie left to whoever adopted it
        std::ifstream file("/proc/" + std::to_string(child) + "/stat");
        const std::string stat{std::istreambuf_iterator<char>(file), {}};
        return stat.empty() || stat.find(") Z ") != std::string::npos;
    };
    for (int i = 0; i < 2000 && !ended(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(ended());
    if (!ended()) {
        ::kill(child, SIGKILL);
    }
}

// Boot settings and clocks beyond any real time count as the nearer of 1970 and the end of 9999,
// so the answer never overflows (UBSan in the asan build).
TEST_F(LabToolTest, UptimeAnswersFromTheBootTimeClamped) {
    Expect("uptime.exe", {{{"SRV"}, 2, "Usage: uptime \\\\SERVER\n"},
                          {{R"(\\OFF)"}, 1, "UPTIME was unable to connect to host: \\\\OFF\n"}});
    const std::string beyond = "99999999999999999999";
    const struct {
        std::string boot, now, up;
    } cases[]{{beyond, "1800000000", "0 day(s), 0 hour(s), 0 minute(s), 0 second(s)"},
              {"-" + beyond, beyond, "2932896 day(s), 23 hour(s), 59 minute(s), 59 second(s)"}};
    for (const auto& c : cases) {
        lab.WriteFile("SRV/.lab", "boot=" + c.boot + "\n");
        const test::ProgramResult r =
            test::RunProgram(test::LabNetwork::Tool("uptime.exe"), {kSrv},
                             {"CORVANE_NETWORK=" + lab.root(), "CORVANE_LAB_NOW=" + c.now});
        EXPECT_EQ(std::to_string(r.status) + r.out, "0\\\\SRV has been up for: " + c.up + "\n")
            << c.boot << " " << c.now;
    }
}

using LabCliTest = LabToolTest;

// The demo network as corvane-lab lists and shows it (DemoNetwork.txt), with a server added that
// boots at the last second of 9999, one whose settings cannot be read, shares in any case beside
// folders that are none, and entries that are no servers; then a small bulk network.
TEST_F(LabCliTest, DemoNetwork) {
    namespace fs = std::filesystem;
    std::string shown;
    const auto cli = [&](const std::vector<std::string>& args) { // before the folders' birth,
        const test::ProgramResult r = test::RunProgram(          // so WEB03 is up 0d
            test::LabNetwork::Tool("corvane-lab"), args, {"CORVANE_LAB_NOW=1000000000"});
        shown += r.out + "(" + std::to_string(r.status) + ")\n";
    };
    fs::create_directory(root); // an empty folder will do
    cli({"demo", "--computer-list", dir.file("list.txt"), "--root", root});
    cli({"add", "ZED", "--shares", "E$,g$", "--boot", "253402300799", "--root", root});
    fs::remove(root + "/WEB03/.lab");
    for (const char* folder : {"/WEB03/.lab", "/WEB03/g$/x", "/WEB03/H$", "/WEB03/CD$", "/.old"})
        fs::create_directories(root + folder);
    std::ofstream(root + "/notes.txt") << "no server\n";
    const std::string names = dir.Read("list.txt");
    cli({"list", "--root", root});
    for (const auto name : std::views::split(names + "ZED\r\nNONE", std::string_view("\r\n")))
        cli({"show", std::string(name.begin(), name.end()), "--root", root});
    const std::string bulk = dir.file("bulk");
    cli({"bulk", "--servers", "4", "--offline-share", "0.25", "--denied-share", "0.5", "--jobs",
         "2", bulk});
    cli({"list", "--root", bulk});
    cli({"show", "SRV0004", "--root", bulk});
    shown = names + shown;
    for (size_t at = 0; (at = shown.find(dir.file(""))) != std::string::npos;)
        shown.replace(at, dir.file("").size(), "DIR/");
    EXPECT_EQ(shown, test::ReadBytes(CORVANE_TESTS_DIR "/lab/DemoNetwork.txt"));

    dir.Write("list.txt", "MINE\r\n"); // a list that exists is left alone
    EXPECT_EQ(Lab({"demo", root + "2", "--computer-list", dir.file("list.txt")}), 0);
    EXPECT_EQ(dir.Read("list.txt"), "MINE\r\n");
}

// Bad options, numbers and shares are refused, creating nothing; nothing is ever overwritten.
TEST_F(LabCliTest, AddSetAndBulkOrRefuse) {
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[]{
        {{"add", "X", "--offlne"}, 2},
        {{"add", "../X"}, 1},
        {{"set", "MISSING", "--offline"}, 1},
        {{"bulk", "--servers", "0"}, 2},
        {{"bulk", "--servers", "10", "--offline-share", "0.7", "--denied-share", "0.4"}, 2},
        {{"add", "X", "--boot", "253402300800"}, 2}, // after the year 9999
        {{"add", "X", "--shares", "C$," + dir.file("escaped")}, 1},
        {{"add", "X", "--shares", "H$"}, 1},
        {{"add", "X", "--shares", "C$,c$"}, 1},
        {{"bulk", "--servers", "5", "--offline-share", "0.5", "--denied-share", "0.5"}, 0},
        {{"bulk", "--servers", "5"}, 1},
        {{"demo"}, 1}, // into a network that is there
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
    EXPECT_EQ(Lab({"add", "X", "--root", root, "--boot"}), 2); // an option without its value
    const lab::Server server = lab::Network(root).FindServer("NEW");
    EXPECT_TRUE(server.settings.offline && server.settings.denied && !server.settings.hang &&
                server.settings.boot == 1000 && server.folder.ends_with("/NEW"));
}

} // namespace
} // namespace corvane
