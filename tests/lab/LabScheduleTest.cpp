// How at.exe reads its command lines (actions, times, days, commands) and lists what it read.
#include "platform/posix/LabSchedule.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using Action = lab::AtRequest::Action;

constexpr int kToday = 17; // the day of the month a day option without days stands for
const std::string kSrv = R"(\\SRV)";

struct RequestCase {
    std::vector<std::string> args;
    const char* error = nullptr; // a part of the message; null when the line is good
    Action action = Action::Add;
    const char* day = "Today"; // Add: the job's days, time and command as the listing shows them
    const char* time = "1:00 AM";
    const char* command = "x";
};

TEST(AtRequestTest, ReadsOrRefuses) {
    std::vector<RequestCase> cases{
        {.args = {kSrv}, .action = Action::List},
        {.args = {kSrv, "12", "/Delete", "/Yes"}, .action = Action::Remove},
        {.args = {kSrv, "12", "/DELETE"}, .action = Action::Remove},
        {.args = {kSrv, "12", "/delete", "/no"}, .error = "Invalid removal"},
        {.args = {kSrv, "1234567890", "/delete"}, .error = "Invalid removal"},
        {.args = {kSrv, "/delete", "/yes"}, .error = "ID of the job"},
        {.args = {}, .error = "name the server"},
        {.args = {"SRV"}, .error = "name the server"},
        // Times: one or two digits each, AM/PM in any case with hours 1-12, else 0-23.
        {.args = {kSrv, "7:5AM", "x"}, .time = "7:05 AM"},
        {.args = {kSrv, "12:00AM", "x"}, .time = "12:00 AM"},
        {.args = {kSrv, "12:59pm", "x"}, .time = "12:59 PM"},
        {.args = {kSrv, "05:00Pm", "x"}, .time = "5:00 PM"},
        {.args = {kSrv, "0:00", "x"}, .time = "12:00 AM"},
        {.args = {kSrv, "23:59", "x"}, .time = "11:59 PM"},
        // Days: names (or short forms) and 1-31, in any order and case; none means today.
        {.args = {kSrv, "1:00", "/every:Friday,Monday,15", "x"}, .day = "Each M F 15"},
        {.args = {kSrv, "1:00", "/NEXT:sunday,th,31,1", "x"}, .day = "Next Th Su 1 31"},
        {.args = {kSrv, "1:00", "/every:Su,s,F,TH,W,t,m", "x"}, .day = "Each M T W Th F S Su"},
        {.args = {kSrv, "1:00", "/every", "x"}, .day = "Each 17"},
        {.args = {kSrv, "1:00", "/next:", "x"}, .day = "Next 17"},
        {.args = {kSrv, "1:00", "/every:Monday"}, .error = "command"},
        // Commands: kept as typed, quotes back around words with blanks.
        {.args = {kSrv, "1:00", R"(C:\Program Files\x.exe)", "/q"},
         .command = R"("C:\Program Files\x.exe" /q)"},
        {.args = {kSrv, "1:00", "echo", "", "a\tb", "/everyday"},
         .command = "echo \"\" \"a\tb\" /everyday"},
        {.args = {kSrv, "1:00", "/every:1", "/next:2"}, .day = "Each 1", .command = "/next:2"},
        {.args = {kSrv, "1:00"}, .error = "command"},
        {.args = {kSrv, "1:00", "a\nb"}, .error = "line break"},
    };
    for (const char* time : {"13:75PM", "13:00PM", "0:30AM", "24:00", "7:60", "7:005", "7", ":30",
                             "7:30XM", "-1:30"}) {
        cases.push_back({.args = {kSrv, time, "x"}, .error = "Invalid time"});
    }
    for (const char* days :
         {"/every:Moonday", "/every:0", "/every:32", "/every:Monday,,Friday", "/every:Monday,"}) {
        cases.push_back({.args = {kSrv, "1:00", days, "x"}, .error = "Invalid day"});
    }
    for (const RequestCase& c : cases) {
        std::string line;
        for (const std::string& arg : c.args) {
            line += '[' + arg + ']';
        }
        lab::AtRequest request;
        std::string error;
        const bool ok = lab::ParseAtRequest(c.args, kToday, request, error);
        if (c.error != nullptr) {
            EXPECT_FALSE(ok) << line;
            EXPECT_NE(error.find(c.error), std::string::npos) << line << ": " << error;
            EXPECT_NE(error.find("Usage: AT"), std::string::npos) << line << ": " << error;
            continue;
        }
        ASSERT_TRUE(ok) << line << ": " << error;
        EXPECT_EQ(request.server, "SRV") << line;
        EXPECT_EQ(request.action, c.action) << line;
        if (c.action == Action::Add) {
            EXPECT_EQ(lab::DayText(request.job), c.day) << line;
            EXPECT_EQ(lab::TimeText(request.job.minutes), c.time) << line;
            EXPECT_EQ(request.job.command, c.command) << line;
        }
    }
}

} // namespace
} // namespace corvane
