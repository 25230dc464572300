// How at.exe reads its command lines: actions, times, days and commands, and what it refuses.
#include "platform/posix/LabSchedule.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using lab::AtRequest;
using lab::Repeat;

constexpr int kToday = 17; // the day of the month a day option without days stands for

struct RequestCase {
    std::vector<std::string> args;
    const char* error; // a part of the message; null when the line is good
    AtRequest::Action action = AtRequest::Action::Add;
    int minutes = 0;
    Repeat repeat = Repeat::Once;
    unsigned weekdays = 0;
    unsigned monthDays = 0;
    const char* command = "";
};

void PrintTo(const RequestCase& c, std::ostream* os) {
    for (const std::string& arg : c.args) {
        *os << '[' << arg << ']';
    }
}

class AtRequestTest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(AtRequestTest, ReadsOrRefuses) {
    const RequestCase& c = GetParam();
    AtRequest request;
    std::string error;
    const bool ok = lab::ParseAtRequest(c.args, kToday, request, error);
    if (c.error != nullptr) {
        EXPECT_FALSE(ok);
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_NE(error.find("Usage: AT"), std::string::npos) << error;
        return;
    }
    ASSERT_TRUE(ok) << error;
    EXPECT_EQ(request.server, "SRV");
    EXPECT_EQ(request.action, c.action);
    if (c.action == AtRequest::Action::Add) {
        EXPECT_EQ(request.job.minutes, c.minutes);
        EXPECT_EQ(request.job.repeat, c.repeat);
        EXPECT_EQ(request.job.weekdays, c.weekdays);
        EXPECT_EQ(request.job.monthDays, c.monthDays);
        EXPECT_EQ(request.job.command, c.command);
    }
}

constexpr auto kAdd = AtRequest::Action::Add;
const char* const kBadTime = "Invalid time";
const char* const kBadDay = "Invalid day";

INSTANTIATE_TEST_SUITE_P(
    CommandLines, AtRequestTest,
    ::testing::Values(
        RequestCase{{R"(\\SRV)"}, nullptr, AtRequest::Action::List},
        RequestCase{{R"(\\SRV)", "12", "/Delete", "/Yes"}, nullptr, AtRequest::Action::Remove},
        RequestCase{{R"(\\SRV)", "12", "/DELETE"}, nullptr, AtRequest::Action::Remove},
        RequestCase{{R"(\\SRV)", "12", "/delete", "/no"}, "Invalid removal"},
        RequestCase{{R"(\\SRV)", "1234567890", "/delete"}, "Invalid removal"},
        RequestCase{{R"(\\SRV)", "/delete", "/yes"}, "ID of the job"},
        RequestCase{{}, "name the server"}, RequestCase{{"SRV"}, "name the server"},
        // Times: one or two digits each, AM/PM in any case with hours 1-12, else 0-23.
        RequestCase{{R"(\\SRV)", "7:5AM", "x"}, nullptr, kAdd, 7 * 60 + 5, Repeat::Once, 0, 0, "x"},
        RequestCase{{R"(\\SRV)", "12:00AM", "x"}, nullptr, kAdd, 0, Repeat::Once, 0, 0, "x"},
        RequestCase{
            {R"(\\SRV)", "12:59pm", "x"}, nullptr, kAdd, 12 * 60 + 59, Repeat::Once, 0, 0, "x"},
        RequestCase{{R"(\\SRV)", "05:00Pm", "x"}, nullptr, kAdd, 17 * 60, Repeat::Once, 0, 0, "x"},
        RequestCase{{R"(\\SRV)", "0:00", "x"}, nullptr, kAdd, 0, Repeat::Once, 0, 0, "x"},
        RequestCase{
            {R"(\\SRV)", "23:59", "x"}, nullptr, kAdd, 23 * 60 + 59, Repeat::Once, 0, 0, "x"},
        RequestCase{{R"(\\SRV)", "13:75PM", "x"}, kBadTime},
        RequestCase{{R"(\\SRV)", "13:00PM", "x"}, kBadTime},
        RequestCase{{R"(\\SRV)", "0:30AM", "x"}, kBadTime},
        RequestCase{{R"(\\SRV)", "24:00", "x"}, kBadTime},
        RequestCase{{R"(\\SRV)", "7:60", "x"}, kBadTime},
        RequestCase{{R"(\\SRV)", "7:005", "x"}, kBadTime},
        RequestCase{{R"(\\SRV)", "7", "x"}, kBadTime},
        RequestCase{{R"(\\SRV)", ":30", "x"}, kBadTime},
        RequestCase{{R"(\\SRV)", "7:30XM", "x"}, kBadTime},
        RequestCase{{R"(\\SRV)", "-1:30", "x"}, kBadTime},
        // Days: names (or short forms) and 1-31, in any order and case; none means today.
        RequestCase{{R"(\\SRV)", "1:00", "/every:Monday,Friday,15", "x"},
                    nullptr,
                    kAdd,
                    60,
                    Repeat::Every,
                    0b10001,
                    1u << 14,
                    "x"},
        RequestCase{{R"(\\SRV)", "1:00", "/NEXT:sunday,th,1,31", "x"},
                    nullptr,
                    kAdd,
                    60,
                    Repeat::Next,
                    0b1001000,
                    1u | 1u << 30,
                    "x"},
        RequestCase{{R"(\\SRV)", "1:00", "/every", "x"},
                    nullptr,
                    kAdd,
                    60,
                    Repeat::Every,
                    0,
                    1u << (kToday - 1),
                    "x"},
        RequestCase{{R"(\\SRV)", "1:00", "/next:", "x"},
                    nullptr,
                    kAdd,
                    60,
                    Repeat::Next,
                    0,
                    1u << (kToday - 1),
                    "x"},
        RequestCase{{R"(\\SRV)", "1:00", "/every:Moonday", "x"}, kBadDay},
        RequestCase{{R"(\\SRV)", "1:00", "/every:0", "x"}, kBadDay},
        RequestCase{{R"(\\SRV)", "1:00", "/every:32", "x"}, kBadDay},
        RequestCase{{R"(\\SRV)", "1:00", "/every:Monday,,Friday", "x"}, kBadDay},
        RequestCase{{R"(\\SRV)", "1:00", "/every:Monday,", "x"}, kBadDay},
        RequestCase{{R"(\\SRV)", "1:00", "/every:Monday"}, "command"},
        // Commands: kept as typed, quotes back around words with blanks.
        RequestCase{{R"(\\SRV)", "7:5AM", R"(C:\Program Files\x.exe)", "/q"},
                    nullptr,
                    kAdd,
                    7 * 60 + 5,
                    Repeat::Once,
                    0,
                    0,
                    R"("C:\Program Files\x.exe" /q)"},
        RequestCase{{R"(\\SRV)", "7:5AM", "echo", "", "a\tb", "/everyday"},
                    nullptr,
                    kAdd,
                    7 * 60 + 5,
                    Repeat::Once,
                    0,
                    0,
                    "echo \"\" \"a\tb\" /everyday"},
        RequestCase{{R"(\\SRV)", "7:5AM", "/every:1", "/next:2"},
                    nullptr,
                    kAdd,
                    7 * 60 + 5,
                    Repeat::Every,
                    0,
                    1,
                    "/next:2"},
        RequestCase{{R"(\\SRV)", "7:5AM"}, "command"},
        RequestCase{{R"(\\SRV)", "7:5AM", "a\nb"}, "line break"}));

TEST(AtListingTest, TimesAndDaysAsListed) {
    EXPECT_EQ(lab::TimeText(0), "12:00 AM");
    EXPECT_EQ(lab::TimeText(7 * 60 + 5), "7:05 AM");
    EXPECT_EQ(lab::TimeText(12 * 60), "12:00 PM");
    EXPECT_EQ(lab::TimeText(23 * 60 + 59), "11:59 PM");
    lab::Job job;
    EXPECT_EQ(lab::DayText(job), "Today");
    job.repeat = Repeat::Every;
    job.weekdays = 0b1111111;
    job.monthDays = 1u | 1u << 30;
    EXPECT_EQ(lab::DayText(job), "Each M T W Th F S Su 1 31");
    job.repeat = Repeat::Next;
    job.weekdays = 0b100;
    job.monthDays = 0;
    EXPECT_EQ(lab::DayText(job), "Next W");
}

} // namespace
} // namespace corvane
