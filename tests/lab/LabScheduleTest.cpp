// How at.exe reads its command lines (actions, times, days, commands) and lists what it read.
#include "platform/posix/LabSchedule.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

// Each case: the arguments, split at '|', then " -> " and what was read: "list", "remove ID",
// the job's days, time and command as the listing shows them, or "!" and a part of the message.
// A day option without days stands for today, the 17th.
TEST(AtRequestTest, ReadsOrRefuses) {
    std::vector<std::string> cases{
        R"(\\SRV -> list)", R"(\\SRV|12|/Delete|/Yes -> remove 12)",
        R"(\\SRV|12|/DELETE -> remove 12)", R"(\\SRV|12|/delete|/no -> !Invalid removal)",
        R"(\\SRV|1234567890|/delete -> !Invalid removal)",
        R"(\\SRV|/delete|/yes -> !ID of the job)", " -> !name the server",
        "SRV -> !name the server",
        // Times: one or two digits each, AM/PM in any case with hours 1-12, else 0-23.
        R"(\\SRV|7:5AM|x -> Today|7:05 AM|x)", R"(\\SRV|12:00AM|x -> Today|12:00 AM|x)",
        R"(\\SRV|12:59pm|x -> Today|12:59 PM|x)", R"(\\SRV|05:00Pm|x -> Today|5:00 PM|x)",
        R"(\\SRV|0:00|x -> Today|12:00 AM|x)", R"(\\SRV|23:59|x -> Today|11:59 PM|x)",
        // Days: names (or short forms) and 1-31, in any order and case.
        R"(\\SRV|1:00|/every:Friday,Monday,15|x -> Each M F 15|1:00 AM|x)",
        R"(\\SRV|1:00|/NEXT:sunday,th,31,1|x -> Next Th Su 1 31|1:00 AM|x)",
        R"(\\SRV|1:00|/every:Su,s,F,TH,W,t,m|x -> Each M T W Th F S Su|1:00 AM|x)",
        R"(\\SRV|1:00|/every|x -> Each 17|1:00 AM|x)",
        R"(\\SRV|1:00|/next:|x -> Next 17|1:00 AM|x)", R"(\\SRV|1:00|/every:Monday -> !command)",
        R"(\\SRV|1:00 -> !command)",
        // Commands: kept as typed, quotes back around words with blanks.
        R"(\\SRV|1:00|C:\Program Files\x.exe|/q -> Today|1:00 AM|"C:\Program Files\x.exe" /q)",
        "\\\\SRV|1:00|echo||a\tb|/everyday -> Today|1:00 AM|echo \"\" \"a\tb\" /everyday",
        R"(\\SRV|1:00|/every:1|/next:2 -> Each 1|1:00 AM|/next:2)",
        "\\\\SRV|1:00|a\nb -> !line break"};
    for (const char* time : {"13:75PM", "13:00PM", "0:30AM", "24:00", "7:60", "7:005", "7", ":30",
                             "7:30XM", "-1:30"}) {
        cases.push_back(R"(\\SRV|)" + std::string(time) + "|x -> !Invalid time");
    }
    for (const char* days :
         {"/every:Moonday", "/every:0", "/every:32", "/every:Monday,,Friday", "/every:Monday,"}) {
        cases.push_back(R"(\\SRV|1:00|)" + std::string(days) + "|x -> !Invalid day");
    }
    for (const std::string& c : cases) {
        const std::string line = c.substr(0, c.find(" -> ")),
                          expected = c.substr(c.find(" -> ") + 4);
        std::vector<std::string> args;
        for (size_t from = 0, to = 0; !line.empty() && to != std::string::npos; from = to + 1) {
            to = line.find('|', from);
            args.push_back(line.substr(from, to - from));
        }
        lab::AtRequest request;
        std::string error, read;
        if (!lab::ParseAtRequest(args, 17, request, error)) {
            read = error.find("Usage: AT") == std::string::npos ? "no usage: " + error : error;
        } else if (request.action == lab::AtRequest::Action::List) {
            read = "list";
        } else if (request.action == lab::AtRequest::Action::Remove) {
            read = "remove " + std::to_string(request.jobId);
        } else {
            read = lab::DayText(request.job) + "|" + lab::TimeText(request.job.minutes) + "|" +
                   request.job.command;
        }
        if (expected[0] == '!') {
            EXPECT_NE(read.find(expected.substr(1)), std::string::npos) << line << ": " << read;
        } else {
            EXPECT_EQ(request.server + " " + read, "SRV " + expected) << line;
        }
    }
}

} // namespace
} // namespace corvane
