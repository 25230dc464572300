// uptime.exe run as a real process: its answer for each kind of server, status and output.
#include "Harness.h"
#include "LabNetwork.h"
#include "RunProgram.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

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
