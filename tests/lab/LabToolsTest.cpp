// at.exe and uptime.exe run as real processes on a real lab network: every answer and exit
// status, their own files, and hanging.
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
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace corvane {
namespace {

const std::string kSrv = R"(\\SRV)";

class AtToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        lab.AddServer("SRV");
        lab.AddServer("OFF", {.offline = true});
        lab.AddServer("DENY", {.denied = true});
    }
    test::ProgramResult At(const std::vector<std::string>& args) const {
        return test::RunProgram(test::LabNetwork::Tool("at.exe"), args,
                                lab.Environment(1'800'000'000));
    }

    test::TempDir dir;
    test::LabNetwork lab{dir.path().toStdString()};
};

// One command line after the other: its exit status and its whole answer (ending in a line
// break), or the start of its first line.
TEST_F(AtToolTest, AnswersAndExitStatuses) {
    const std::string notFound = "The network path was not found.\n";
    const std::string denied = "Access is denied.\n";
    const std::string none = "There are no entries in the list.\n";
    const auto added = [](int id) {
        return "Added a new job with job ID = " + std::to_string(id) + "\n";
    };
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;
    } steps[]{
        {{R"(\\OFF)"}, 53, notFound},
        {{R"(\\off)", "1:00", "x"}, 53, notFound},
        {{R"(\\MISSING)"}, 53, notFound},
        {{R"(\\MISSING)", "1", "/delete", "/yes"}, 53, notFound},
        {{R"(\\..)"}, 53, notFound},
        {{R"(\\SRV/..)"}, 53, notFound},
        {{R"(\\DENY)"}, 5, denied},
        {{R"(\\DENY)", "1:00", "x"}, 5, denied},
        {{R"(\\DENY)", "1", "/delete", "/yes"}, 5, denied},
        {{}, 1, "The first argument"},
        {{R"(\\OFF)", "99:00", "x"}, 1, "Invalid time"}, // refused before any server is asked
        {{kSrv}, 0, none},
        {{kSrv, "7:5AM", "/every:Friday,Monday,1", R"(C:\Program Files\x.exe)", "/q"}, 0, added(1)},
        {{R"(\\srv)", "19:30", "cmd"}, 0, added(2)},
        {{kSrv},
         0,
         "Status ID   Day                     Time          Command Line\n" + std::string(79, '-') +
             "\n"
             "       1    Each M F 1              7:05 AM       \"C:\\Program Files\\x.exe\" /q\n"
             "       2    Today                   7:30 PM       cmd\n"},
        {{kSrv, "1", "/DELETE", "/yes"}, 0, ""},
        {{kSrv, "1", "/delete", "/Yes"}, 2, "The AT job ID 1 does not exist on \\\\SRV.\n"},
        {{kSrv, "2", "/Delete"}, 0, ""},
        {{kSrv}, 0, none},
        {{kSrv, "1:00", "c"}, 0, added(3)}, // IDs only grow
    };
    for (const auto& step : steps) {
        std::string line;
        for (const std::string& arg : step.args) {
            line += '[' + arg + ']';
        }
        const test::ProgramResult r = At(step.args);
        EXPECT_EQ(r.status, step.status) << line;
        const bool whole = step.out.empty() || step.out.ends_with('\n');
        EXPECT_EQ(whole ? r.out : r.out.substr(0, step.out.size()), step.out) << line;
    }
}

TEST_F(AtToolTest, ADamagedJobFileIsReportedAndKept) {
    lab.WriteFile("SRV/.jobs", "next=3\n1\tonce\tgarbage\n");
    const test::ProgramResult list = At({kSrv});
    EXPECT_EQ(list.status, 3);
    EXPECT_NE(list.out.find("damaged at line 2"), std::string::npos) << list.out;
    EXPECT_EQ(At({kSrv, "1:00", "x"}).status, 3);
    EXPECT_EQ(lab.ReadFile("SRV/.jobs"), "next=3\n1\tonce\tgarbage\n");
}

// The server's own files are used only as regular files of a bounded size, never through a link:
// a link planted in their place never makes at.exe read, change or create a file outside.
TEST_F(AtToolTest, OwnFilesAreRegularFilesNeverLinks) {
    enum class Kind { Link, DanglingLink, Fifo, Folder, Huge, Leftover };
    const struct {
        const char* file;
        Kind kind;
        int add;
        int list;
    } cases[]{
        {".lab", Kind::Link, 3, 3},          {".lab", Kind::DanglingLink, 3, 3},
        {".jobs", Kind::Link, 3, 3},         {".jobs", Kind::DanglingLink, 3, 3},
        {".jobs.new", Kind::Link, 3, 0},     {".jobs.new", Kind::DanglingLink, 3, 0},
        {".jobs.lock", Kind::Link, 3, 0},    {".jobs.lock", Kind::DanglingLink, 3, 0},
        {".lab", Kind::Fifo, 3, 3},          {".jobs", Kind::Fifo, 3, 3},
        {".lab", Kind::Huge, 3, 3},          {".jobs", Kind::Huge, 3, 3},
        {".jobs.new", Kind::Folder, 3, 0},   {".jobs.lock", Kind::Folder, 3, 0},
        {".jobs.new", Kind::Leftover, 0, 0}, // of an interrupted add: removed under the lock
    };
    const std::string outside = dir.file("outside");
    const std::string missing = dir.file("missing");
    int n = 0;
    for (const auto& c : cases) {
        const std::string server = "S" + std::to_string(n++);
        const std::string what = server + " " + c.file;
        lab.AddServer(server);
        dir.Write("outside", "next=1\n"); // a job file at.exe would take as its own
        const std::string path = lab.Path(server + "/" + c.file);
        std::filesystem::remove(path);
        switch (c.kind) {
        case Kind::Link:
        case Kind::DanglingLink:
            std::filesystem::create_symlink(c.kind == Kind::Link ? outside : missing, path);
            break;
        case Kind::Fifo:
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
            break;
        case Kind::Folder:
            std::filesystem::create_directory(path);
            break;
        case Kind::Huge: // sparse: larger than the bound (1 MB for .lab, 16 MB for .jobs)
            lab.WriteFile(server + "/" + c.file, "next=1\n");
            ASSERT_EQ(::truncate(path.c_str(), 17 << 20), 0);
            break;
        case Kind::Leftover:
            lab.WriteFile(server + "/" + c.file, "half a job fi");
            break;
        }
        EXPECT_EQ(At({"\\\\" + server, "1:00", "x"}).status, c.add) << what;
        EXPECT_EQ(At({"\\\\" + server}).status, c.list) << what;
        EXPECT_EQ(dir.Read("outside"), "next=1\n") << what;
        EXPECT_FALSE(dir.Exists("missing")) << what;
    }
}

TEST_F(AtToolTest, TwoHundredAddsAtOnceGiveTwoHundredJobs) {
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
    EXPECT_EQ(answers.size(), static_cast<size_t>(kAdds)); // every ID given once
    const std::vector<lab::Job> jobs = lab.Jobs("SRV");
    ASSERT_EQ(jobs.size(), static_cast<size_t>(kAdds)); // none lost
    EXPECT_EQ(jobs.back().id, kAdds);
}

// The process's state letter from /proc; 0 when there is no such process.
char ProcessState(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat{std::istreambuf_iterator<char>(file), {}};
    const auto close = stat.rfind(')'); // after the command name, which may hold blanks
    return close != std::string::npos && close + 2 < stat.size() ? stat[close + 2] : 0;
}

// Waits up to 20 s for the condition.
template <typename Condition> bool WaitFor(Condition condition) {
    for (int i = 0; i < 2000 && !condition(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

// hang=yes: a tool waits, touching no file, until ended or until the program that started it is
// gone, so that no test leaves one behind.
TEST_F(AtToolTest, AHangingToolEndsWhenItsParentIsGone) {
    lab.AddServer("HANG", {.hang = true});
    // A shell starts the tool, waits until it hangs, prints its process ID and leaves it behind.
    const std::string script = "\"$0\" \"$1\" >/dev/null & i=0; "
                               "while [ $i -lt 2000 ] && ! grep -q ') S ' /proc/$!/stat; "
                               "do i=$((i+1)); sleep 0.01; done; [ $i -lt 2000 ] && echo $!";
    const test::ProgramResult shell = test::RunProgram(
        "/bin/sh", {"-c", script, test::LabNetwork::Tool("uptime.exe"), R"(\\HANG)"},
        lab.Environment());
    ASSERT_EQ(shell.status, 0) << "the tool did not hang";
    const pid_t child = std::stoi(shell.out);
    // Gone, or a zombie left to whoever adopted it.
    const bool ended = WaitFor([child] {
        const char state = ProcessState(child);
        return state == 0 || state == 'Z';
    });
    EXPECT_TRUE(ended);
    if (!ended) {
        ::kill(child, SIGKILL);
    }
}

TEST(UptimeToolTest, AnswersFromTheBootTime) {
    constexpr long long kNow = 1'800'000'000;
    constexpr long long kUp = 2 * 86400 + 3 * 3600 + 4 * 60 + 5;
    test::TempDir dir;
    test::LabNetwork lab(dir.path().toStdString());
    lab.AddServer("SRV", {.boot = kNow - kUp});
    lab.AddServer("FUTURE", {.boot = kNow + 100});
    lab.AddServer("LONG", {.boot = kNow - 400 * 86400 - 59});
    lab.AddServer("OFF", {.offline = true, .boot = kNow - kUp});
    lab.AddServer("DENY", {.denied = true, .boot = kNow - kUp});

    const std::string usage = "Usage: uptime \\\\SERVER\n";
    const auto up = [](const char* server, const char* time) {
        return std::string(server) + " has been up for: " + time + "\n";
    };
    const auto down = [](const char* server) {
        return "UPTIME was unable to connect to host: " + std::string(server) + "\n";
    };
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;
    } cases[]{
        {{R"(\\SRV)"}, 0, up(R"(\\SRV)", "2 day(s), 3 hour(s), 4 minute(s), 5 second(s)")},
        {{R"(\\srv)"}, 0, up(R"(\\srv)", "2 day(s), 3 hour(s), 4 minute(s), 5 second(s)")},
        {{R"(\\FUTURE)"}, 0, up(R"(\\FUTURE)", "0 day(s), 0 hour(s), 0 minute(s), 0 second(s)")},
        {{R"(\\LONG)"}, 0, up(R"(\\LONG)", "400 day(s), 0 hour(s), 0 minute(s), 59 second(s)")},
        {{R"(\\OFF)"}, 1, down(R"(\\OFF)")},
        {{R"(\\Deny)"}, 1, down(R"(\\Deny)")},
        {{R"(\\MISSING)"}, 1, down(R"(\\MISSING)")},
        {{R"(\\..)"}, 1, down(R"(\\..)")},
        {{}, 2, usage},
        {{"SRV"}, 2, usage},
        {{R"(\\SRV)", "/s"}, 2, usage},
    };
    for (const auto& c : cases) {
        const test::ProgramResult r =
            test::RunProgram(test::LabNetwork::Tool("uptime.exe"), c.args, lab.Environment(kNow));
        EXPECT_EQ(r.status, c.status) << c.out;
        EXPECT_EQ(r.out, c.out);
    }
}

// Boot settings and clocks beyond any real time count as the nearer of 1970 and the end of 9999,
// so the answer never overflows (UBSan in the asan build).
TEST(UptimeToolTest, ExtremeTimesAreClamped) {
    const std::string min = "-9223372036854775808";
    const std::string max = "9223372036854775807";
    const std::string beyond = "99999999999999999999";
    const struct {
        std::string boot;
        std::string now;
        std::string up;
    } cases[]{
        {min, "1800000000", "20833 day(s), 8 hour(s), 0 minute(s), 0 second(s)"},
        {"-1", "86400", "1 day(s), 0 hour(s), 0 minute(s), 0 second(s)"},
        {max, "1800000000", "0 day(s), 0 hour(s), 0 minute(s), 0 second(s)"},
        {beyond, "1800000000", "0 day(s), 0 hour(s), 0 minute(s), 0 second(s)"},
        {"1000", min, "0 day(s), 0 hour(s), 0 minute(s), 0 second(s)"},
        {min, max, "2932896 day(s), 23 hour(s), 59 minute(s), 59 second(s)"},
        {"0", beyond, "2932896 day(s), 23 hour(s), 59 minute(s), 59 second(s)"},
        {"-" + beyond, max, "2932896 day(s), 23 hour(s), 59 minute(s), 59 second(s)"},
    };
    test::TempDir dir;
    test::LabNetwork lab(dir.path().toStdString());
    lab.AddServer("SRV");
    for (const auto& c : cases) {
        lab.WriteFile("SRV/.lab", "boot=" + c.boot + "\n");
        const test::ProgramResult r =
            test::RunProgram(test::LabNetwork::Tool("uptime.exe"), {R"(\\SRV)"},
                             {"CORVANE_NETWORK=" + lab.root(), "CORVANE_LAB_NOW=" + c.now});
        EXPECT_EQ(r.status, 0) << c.boot << " " << c.now;
        EXPECT_EQ(r.out, "\\\\SRV has been up for: " + c.up + "\n") << c.boot << " " << c.now;
    }
}

} // namespace
} // namespace corvane
