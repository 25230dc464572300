// uptime.exe run as a real process: its answers as the uptime sweep reads them.
#include "Harness.h"
#include "LabNetwork.h"
#include "RunProgram.h"

#include "persist/ItemReader.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

constexpr long long kNow = 1'800'000'000;
constexpr long long kUp = 2 * 86400 + 3 * 3600 + 4 * 60 + 5;

struct UptimeCase {
    std::vector<std::string> args;
    int status;
    const char* out;
};

void PrintTo(const UptimeCase& c, std::ostream* os) {
    for (const std::string& arg : c.args) {
        *os << '[' << arg << ']';
    }
}

class UptimeToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        lab.AddServer("SRV", {.boot = kNow - kUp});
        lab.AddServer("NEW", {.boot = kNow});
        lab.AddServer("FUTURE", {.boot = kNow + 100});
        lab.AddServer("LONG", {.boot = kNow - 400 * 86400 - 59});
        lab.AddServer("OFF", {.offline = true, .boot = kNow - kUp});
        lab.AddServer("DENY", {.denied = true, .boot = kNow - kUp});
    }
    test::ProgramResult Uptime(const std::vector<std::string>& args) const {
        return test::RunProgram(test::LabNetwork::Tool("uptime.exe"), args, lab.Environment(kNow));
    }

    test::TempDir dir;
    test::LabNetwork lab{dir.path().toStdString()};
};

class UptimeAnswerTest : public UptimeToolTest, public ::testing::WithParamInterface<UptimeCase> {};

TEST_P(UptimeAnswerTest, Answers) {
    const UptimeCase& c = GetParam();
    const test::ProgramResult r = Uptime(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Servers, UptimeAnswerTest,
    ::testing::Values(
        UptimeCase{{R"(\\SRV)"},
                   0,
                   "\\\\SRV has been up for: 2 day(s), 3 hour(s), 4 minute(s), 5 second(s)\n"},
        UptimeCase{{R"(\\srv)"},
                   0,
                   "\\\\srv has been up for: 2 day(s), 3 hour(s), 4 minute(s), 5 second(s)\n"},
        UptimeCase{{R"(\\NEW)"},
                   0,
                   "\\\\NEW has been up for: 0 day(s), 0 hour(s), 0 minute(s), 0 second(s)\n"},
        UptimeCase{{R"(\\FUTURE)"},
                   0,
                   "\\\\FUTURE has been up for: 0 day(s), 0 hour(s), 0 minute(s), 0 second(s)\n"},
        UptimeCase{{R"(\\LONG)"},
                   0,
                   "\\\\LONG has been up for: 400 day(s), 0 hour(s), 0 minute(s), 59 second(s)\n"},
        UptimeCase{{R"(\\OFF)"}, 1, "UPTIME was unable to connect to host: \\\\OFF\n"},
        UptimeCase{{R"(\\Deny)"}, 1, "UPTIME was unable to connect to host: \\\\Deny\n"},
        UptimeCase{{R"(\\MISSING)"}, 1, "UPTIME was unable to connect to host: \\\\MISSING\n"},
        UptimeCase{{R"(\\..)"}, 1, "UPTIME was unable to connect to host: \\\\..\n"},
        UptimeCase{{}, 2, "Usage: uptime \\\\SERVER\n"},
        UptimeCase{{"SRV"}, 2, "Usage: uptime \\\\SERVER\n"},
        UptimeCase{{R"(\\SRV)", "/s"}, 2, "Usage: uptime \\\\SERVER\n"}));

// The sweep reads four comma-separated items, or one item equal to the failure phrase.
TEST_F(UptimeToolTest, ReadsAsTheSweepExpects) {
    ItemReader answer(QString::fromStdString(Uptime({R"(\\SRV)"}).out));
    QStringList items;
    while (!answer.AtEnd()) {
        items << answer.ReadItem();
    }
    EXPECT_EQ(items, QStringList({QStringLiteral("\\\\SRV has been up for: 2 day(s)"),
                                  QStringLiteral("3 hour(s)"), QStringLiteral("4 minute(s)"),
                                  QStringLiteral("5 second(s)")}));
    ItemReader failure(QString::fromStdString(Uptime({R"(\\OFF)"}).out));
    EXPECT_EQ(failure.ReadItem(), QStringLiteral("UPTIME was unable to connect to host: \\\\OFF"));
    EXPECT_TRUE(failure.AtEnd());
}

} // namespace
} // namespace corvane
