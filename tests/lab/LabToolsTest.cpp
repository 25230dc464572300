// at.exe and uptime.exe run as real processes on a real lab network: answers, exit statuses,
// their own files, and hanging.
#include "Harness.h"
#include "LabNetwork.h"
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace corvane {
namespace {

const std::string kSrv = R"(\\SRV)";

struct ToolCase {
    std::vector<std::string> args;
    int status;
    std::string out; // the whole answer when it ends in a line break, else the start of it
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
        for (const ToolCase& c : cases) {
            const test::ProgramResult r = Run(tool, c.args);
            const bool whole = c.out.empty() || c.out.ends_with('\n');
            EXPECT_EQ(std::to_string(r.status) + " " +
                          (whole ? r.out : r.out.substr(0, c.out.size())),
                      std::to_string(c.status) + " " + c.out)
                << tool << testing::PrintToString(c.args);
        }
    }

    static constexpr long long kNow = 1'800'000'000;
    test::TempDir dir;
    test::LabNetwork lab{dir.path().toStdString()};
};

TEST_F(LabToolTest, AtAnswersAndExitStatuses) {
    const std::string notFound = "The network path was not found.\n",
                      none = "There are no entries in the list.\n";
    const auto added = [](int id) {
        return "Added a new job with job ID = " + std::to_string(id) + "\n";
    };
    Expect("at.exe",
           {{{R"(\\off)", "1:00", "x"}, 53, notFound},
            {{R"(\\SRV/..)"}, 53, notFound},
            {{}, 1, "The first argument"},
            {{R"(\\OFF)", "99:00", "x"}, 1, "Invalid time"}, // refused before any server is asked
            {{kSrv}, 0, none},
            {{kSrv, "7:5AM", "/every:Friday,Monday,1", R"(C:\Program Files\x.exe)", "/q"},
             0,
             added(1)},
            {{R"(\\srv)", "19:30", "cmd"}, 0, added(2)},
            {{kSrv},
             0,
             "Status ID   Day                     Time          Command Line\n" +
                 std::string(79, '-') +
                 "\n       1    Each M F 1              7:05 AM       \"C:\\Program Files\\x.exe\" "
                 "/q\n"
                 "       2    Today                   7:30 PM       cmd\n"},
            {{kSrv, "1", "/DELETE", "/yes"}, 0, ""},
            {{kSrv, "1", "/delete", "/Yes"}, 2, "The AT job ID 1 does not exist on \\\\SRV.\n"},
            {{kSrv, "2", "/Delete"}, 0, ""},
            {{kSrv, "1:00", "c"}, 0, added(3)}}); // IDs only grow
    // A damaged job file is reported and kept.
    lab.WriteFile("SRV/.jobs", "next=3\n1\tonce\tgarbage\n");
    Expect("at.exe", {{{kSrv}, 3, "The job file "}, {{kSrv, "1:00", "x"}, 3, "The job file "}});
    EXPECT_EQ(lab.ReadFile("SRV/.jobs"), "next=3\n1\tonce\tgarbage\n");
}

// The server's own files are used only as regular files of a bounded size, never through a link:
// something planted in their place never makes at.exe read, change or create a file outside. A
// leftover .jobs.new of an interrupted add is removed under the lock.
TEST_F(LabToolTest, AtUsesItsOwnFilesOnlyAsRegularFiles) {
    enum class Kind { Link, DanglingLink, Fifo, Huge, Leftover };
    const struct {
        const char* file;
        Kind kind;
        int add, list;
    } cases[]{
        {".lab", Kind::Link, 3, 3},      {".jobs", Kind::DanglingLink, 3, 3},
        {".jobs.new", Kind::Link, 3, 0}, {".jobs.lock", Kind::DanglingLink, 3, 0},
        {".jobs", Kind::Fifo, 3, 3},     {".lab", Kind::Huge, 3, 3},
        {".jobs", Kind::Huge, 3, 3},     {".jobs.new", Kind::Leftover, 0, 0},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string server = "S" + std::to_string(n++), what = server + " " + c.file,
                          path = lab.Path(server + "/" + c.file);
        lab.AddServer(server);
        dir.Write("outside", "next=1\n"); // a job file at.exe would take as its own
        std::filesystem::remove(path);
        if (c.kind == Kind::Link || c.kind == Kind::DanglingLink) {
            std::filesystem::create_symlink(dir.file(c.kind == Kind::Link ? "outside" : "missing"),
                                            path);
        } else if (c.kind == Kind::Fifo) {
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        } else { // Huge is sparse, beyond the bound (1 MB for .lab, 16 MB for .jobs)
            lab.WriteFile(server + "/" + c.file,
                          c.kind == Kind::Huge ? "next=1\n" : "half a job fi");
            ASSERT_TRUE(c.kind == Kind::Leftover || ::truncate(path.c_str(), 17 << 20) == 0);
        }
        const int add = Run("at.exe", {"\\\\" + server, "1:00", "x"}).status;
        const int list = Run("at.exe", {"\\\\" + server}).status;
        EXPECT_EQ(std::to_string(add) + std::to_string(list) + " " + dir.Read("outside") +
                      (dir.Exists("missing") ? "missing created" : ""),
                  std::to_string(c.add) + std::to_string(c.list) + " next=1\n")
            << what;
    }
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
    EXPECT_EQ(answers.size(), static_cast<size_t>(kAdds));         // every ID given once
    EXPECT_EQ(lab.Jobs("SRV").size(), static_cast<size_t>(kAdds)); // none lost
}

// hang=yes: a tool waits until ended or until the program that started it is gone, so that no
// test leaves one behind. A shell starts it, waits until it hangs, prints its ID and leaves.
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
        const auto close = stat.rfind(')');
        return close == std::string::npos || close + 2 >= stat.size() || stat[close + 2] == 'Z';
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
    const std::string usage = "Usage: uptime \\\\SERVER\n";
    Expect("uptime.exe", {{{"SRV"}, 2, usage},
                          {{R"(\\SRV)", "/s"}, 2, usage},
                          {{R"(\\OFF)"}, 1, "UPTIME was unable to connect to host: \\\\OFF\n"}});
    const std::string min = "-9223372036854775808", max = "9223372036854775807",
                      beyond = "99999999999999999999";
    const std::string zero = "0 day(s), 0 hour(s), 0 minute(s), 0 second(s)",
                      most = "2932896 day(s), 23 hour(s), 59 minute(s), 59 second(s)";
    const struct {
        std::string boot, now, up;
    } cases[]{
        {min, "1800000000", "20833 day(s), 8 hour(s), 0 minute(s), 0 second(s)"},
        {"1800000100", "1800000000", zero}, // booted in the future
        {"0", "34560059", "400 day(s), 0 hour(s), 0 minute(s), 59 second(s)"},
        {beyond, "1800000000", zero},
        {min, max, most},
        {"-" + beyond, beyond, most},
    };
    for (const auto& c : cases) {
        lab.WriteFile("SRV/.lab", "boot=" + c.boot + "\n");
        const test::ProgramResult r =
            test::RunProgram(test::LabNetwork::Tool("uptime.exe"), {kSrv},
                             {"CORVANE_NETWORK=" + lab.root(), "CORVANE_LAB_NOW=" + c.now});
        EXPECT_EQ(std::to_string(r.status) + r.out, "0\\\\SRV has been up for: " + c.up + "\n")
            << c.boot << " " << c.now;
    }
}

} // namespace
} // namespace corvane
