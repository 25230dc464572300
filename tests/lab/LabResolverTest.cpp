// How the lab network leads UNC paths, reads a server's settings and at.exe's command lines.
#include "platform/posix/Lab.h"
#include "platform/posix/LabSchedule.h"

#include "Harness.h"
#include "LabNetwork.h"

#include <gtest/gtest.h>
#include <ranges>

namespace corvane {
namespace {

using namespace std::string_literals;

TEST(ResolveTest, LeadsIntoTheRootOrRefuses) {
    test::TempDir dir;
    test::LabNetwork lab{dir.path().toStdString()};
    lab.AddServer("SRV01", {.shares = {"C$", "D$"}});
    lab.WriteFile("SRV01/C$/Dir/File.txt", "x");
    lab.WriteFile("SRV01/C$/ab/x", "");
    lab.WriteFile("SRV01/C$/AB/x", "");
    lab.AddServer("srv02", {.shares = {"c$"}});
    lab.AddServer("SRV03", {.shares = {"C$", "H$"}});
    lab.AddServer("OFF", {.offline = true});
    lab.AddServer("DENY", {.denied = true});
    lab.WriteFile("NOTASERVER", "a file, not a folder");
    const lab::Network network(lab.root());

    const auto resolves = [&](const std::string& unc, int error, const std::string& path = "") {
        const lab::Resolved r = network.Resolve(unc);
        EXPECT_EQ(std::to_string(r.error) + " " + r.path + " " + std::to_string(r.reason.empty()),
                  std::to_string(error) + " " + (error == 0 ? lab.root() + path + " 1" : " 0"))
            << unc;
    };
    for (const char* unc : {R"(\\SRV01\C$\Dir\File.txt)", R"(\\srv01\c$\dIR\FILE.TXT)",
                            R"(\\SRV01\C$\dir/file.txt)", R"(\\SRV01\C$\\Dir\\\File.txt)"}) {
        resolves(unc, 0, "SRV01/C$/Dir/File.txt");
    }
    resolves(R"(\\SRV02\C$\x)", 0, "srv02/c$/x");
    resolves(R"(\\SRV01\C$\Ab\x)", 0, "SRV01/C$/AB/x"); // an exact match first
    resolves(R"(\\SRV01\C$\ab\x)", 0, "SRV01/C$/ab/x");
    resolves(R"(\\SRV01\C$\DIR\New.txt)", 0, "SRV01/C$/Dir/New.txt");
    resolves(R"(\\SRV01\C$)", 0, "SRV01/C$");
    resolves(R"(\\SRV01\C$\dir\)", 0, "SRV01/C$/Dir/");
    for (const char* unc : {R"(\\SRV01\C$\Dir/../../x)", R"(\\..\SRV01\C$)", R"(\\.\C$\x)",
                            R"(\\SRV01/..\C$\x)", R"(\\SRV01\C$\*.txt)", R"(\\)", R"(\SRV01\C$\x)",
                            R"(\\SRV01\)", R"(\\SRV01\\Dir)", R"(\\SRV03\H$\x)", R"(\\SRV01\C\x)",
                            R"(\\MISSING\C$\x)", R"(\\NOTASERVER\C$\x)", R"(\\off\C$)"}) {
        resolves(unc, 52);
    }
    resolves("\\\\SRV01\\C$\\a\0b"s, 52);
    resolves(R"(\\DENY\C$\x)", 70);
}

TEST(LabNetworkTest, SettingsLinesInAnyCaseAndLineEnd) {
    const lab::ServerSettings s = lab::ParseSettings(
        "# comment\r\nOFFLINE = Yes\r\naccess=Denied\nhang=yes\nboot=1700000000\nno equals sign\n");
    EXPECT_TRUE(s.offline && s.denied && s.hang && s.boot == 1700000000);
}

// Each case: arguments split at '|' -> "list", "remove ID", the job as listed, or "!" and a part
// of the message. A day option without days stands for today, the 17th.
TEST(AtRequestTest, ReadsOrRefuses) {
    std::vector<std::string> cases{
        R"(\\SRV -> list)", R"(\\SRV|12|/Delete|/Yes -> remove 12)",
        R"(\\SRV|12|/delete|/no -> !Invalid removal)",
        R"(\\SRV|1234567890|/delete -> !Invalid removal)",
        R"(\\SRV|/delete|/yes -> !ID of the job)", " -> !name the server",
        "SRV -> !name the server",
        // Times: one or two digits each, AM/PM in any case with hours 1-12, else 0-23.
        R"(\\SRV|7:5AM|x -> Today|7:05 AM|x)", R"(\\SRV|12:00AM|x -> Today|12:00 AM|x)",
        R"(\\SRV|05:00Pm|x -> Today|5:00 PM|x)", R"(\\SRV|0:00|x -> Today|12:00 AM|x)",
        // Days: names (or short forms) and 1-31, in any order and case.
        R"(\\SRV|1:00|/every:Friday,Monday,15|x -> Each M F 15|1:00 AM|x)",
        R"(\\SRV|1:00|/NEXT:sunday,th,31,1|x -> Next Th Su 1 31|1:00 AM|x)",
        R"(\\SRV|1:00|/every:Su,s,F,TH,W,t,m|x -> Each M T W Th F S Su|1:00 AM|x)",
        R"(\\SRV|1:00|/next:|x -> Next 17|1:00 AM|x)", R"(\\SRV|1:00|/every:Monday -> !command)",
        // Commands: kept as typed, quotes back around words with blanks.
        R"(\\SRV|1:00|C:\Program Files\x.exe|/q -> Today|1:00 AM|"C:\Program Files\x.exe" /q)",
        "\\\\SRV|1:00|echo||a\tb|/everyday -> Today|1:00 AM|echo \"\" \"a\tb\" /everyday",
        R"(\\SRV|1:00|/every:1|/next:2 -> Each 1|1:00 AM|/next:2)",
        "\\\\SRV|1:00|a\nb -> !line break"};
    for (const char* time : {"13:00PM", "0:30AM", "24:00", "7:60", "7:005", "7", "7:30XM"}) {
        cases.push_back(R"(\\SRV|)" + std::string(time) + "|x -> !Invalid time");
    }
    for (const char* days : {"/every:Moonday", "/every:0", "/every:32", "/every:Monday,"}) {
        cases.push_back(R"(\\SRV|1:00|)" + std::string(days) + "|x -> !Invalid day");
    }
    for (const std::string& c : cases) {
        const std::string line = c.substr(0, c.find(" -> ")),
                          expected = c.substr(c.find(" -> ") + 4);
        std::vector<std::string> args;
        for (const auto word : std::views::split(line, '|')) {
            args.emplace_back(word.begin(), word.end());
        }
        lab::AtRequest request;
        std::string error;
        using enum lab::AtRequest::Action;
        const std::string read =
            !lab::ParseAtRequest(args, 17, request, error)
                ? (error.find("Usage: AT") == std::string::npos ? "no usage: " : "") + error
            : request.action == List ? "list"
            : request.action == Remove
                ? "remove " + std::to_string(request.jobId)
                : lab::DayText(request.job) + "|" + lab::TimeText(request.job.minutes) + "|" +
                      request.job.command;
        EXPECT_TRUE(expected[0] == '!' ? read.find(expected.substr(1)) != std::string::npos
                                       : request.server + " " + read == "SRV " + expected)
            << line << ": " << read;
    }
}

} // namespace
} // namespace corvane
