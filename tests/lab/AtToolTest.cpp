// at.exe run as a real process on a real lab network: every answer and exit status.
#include "Harness.h"
#include "LabNetwork.h"
#include "RunProgram.h"

#include "persist/ItemReader.h"

#include <gtest/gtest.h>

#include <set>

namespace corvane {
namespace {

constexpr long long kNow = 1'800'000'000;

class AtToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        lab.AddServer("SRV");
        lab.AddServer("OFF", {.offline = true});
        lab.AddServer("DENY", {.denied = true});
    }
    test::ProgramResult At(const std::vector<std::string>& args) const {
        return test::RunProgram(test::LabNetwork::Tool("at.exe"), args, lab.Environment(kNow));
    }
    // The first item of the answer, as the program reads a capture.
    static std::string FirstItem(const std::string& out) {
        return ItemReader(QString::fromStdString(out)).ReadItem().toStdString();
    }

    test::TempDir dir;
    test::LabNetwork lab{dir.path().toStdString()};
};

TEST_F(AtToolTest, AddListAndRemove) {
    test::ProgramResult r = At({R"(\\SRV)"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "There are no entries in the list.\n");

    r = At({R"(\\SRV)", "7:5AM", "/every:Friday,Monday,1", R"(C:\Program Files\x.exe)", "/q"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Added a new job with job ID = 1\n");
    r = At({R"(\\srv)", "19:30", "cmd"});
    EXPECT_EQ(r.out, "Added a new job with job ID = 2\n");

    r = At({R"(\\SRV)"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Status ID   Day                     Time          Command Line\n" +
                         std::string(79, '-') +
                         "\n"
                         "       1    Each M F 1              7:05 AM       \"C:\\Program "
                         "Files\\x.exe\" /q\n"
                         "       2    Today                   7:30 PM       cmd\n");

    r = At({R"(\\SRV)", "1", "/DELETE", "/yes"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    ASSERT_EQ(lab.Jobs("SRV").size(), 1u);
    EXPECT_EQ(lab.Jobs("SRV")[0].id, 2);

    r = At({R"(\\SRV)", "1", "/delete", "/Yes"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "The AT job ID 1 does not exist on \\\\SRV.\n");
}

TEST_F(AtToolTest, JobIdsOnlyGrow) {
    At({R"(\\SRV)", "1:00", "a"});
    At({R"(\\SRV)", "1:00", "b"});
    EXPECT_EQ(At({R"(\\SRV)", "2", "/delete", "/yes"}).status, 0);
    EXPECT_EQ(At({R"(\\SRV)", "1", "/delete", "/yes"}).status, 0);
    EXPECT_EQ(At({R"(\\SRV)"}).out, "There are no entries in the list.\n");
    EXPECT_EQ(At({R"(\\SRV)", "1:00", "c"}).out, "Added a new job with job ID = 3\n");
}

struct FailureCase {
    std::vector<std::string> args;
    int status;
    const char* firstLine; // the whole first line of the answer, or its start
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    for (const std::string& arg : c.args) {
        *os << '[' << arg << ']';
    }
}

class AtFailureTest : public AtToolTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(AtFailureTest, SaysWhyAndFails) {
    const FailureCase& c = GetParam();
    const test::ProgramResult r = At(c.args);
    EXPECT_EQ(r.status, c.status);
    const std::string firstLine = r.out.substr(0, r.out.find('\n'));
    EXPECT_EQ(firstLine.substr(0, std::string(c.firstLine).size()), c.firstLine) << r.out;
    EXPECT_TRUE(lab.Jobs("SRV").empty());
}

constexpr const char* kNotFound = "The network path was not found.";
constexpr const char* kDenied = "Access is denied.";

INSTANTIATE_TEST_SUITE_P(
    Answers, AtFailureTest,
    ::testing::Values(
        FailureCase{{R"(\\OFF)"}, 53, kNotFound},
        FailureCase{{R"(\\off)", "1:00", "x"}, 53, kNotFound},
        FailureCase{{R"(\\MISSING)"}, 53, kNotFound},
        FailureCase{{R"(\\MISSING)", "1", "/delete", "/yes"}, 53, kNotFound},
        FailureCase{{R"(\\..)"}, 53, kNotFound}, FailureCase{{R"(\\SRV/..)"}, 53, kNotFound},
        FailureCase{{R"(\\DENY)"}, 5, kDenied}, FailureCase{{R"(\\DENY)", "1:00", "x"}, 5, kDenied},
        FailureCase{{R"(\\DENY)", "1", "/delete", "/yes"}, 5, kDenied},
        FailureCase{{R"(\\SRV)", "25:00", "x"}, 1, "Invalid time '25:00'."},
        FailureCase{{R"(\\SRV)", "1:00", "/next:Someday", "x"}, 1, "Invalid day 'Someday'"},
        FailureCase{{R"(\\SRV)", "1:00", "/every:1"}, 1, "The command"},
        FailureCase{{R"(\\SRV)", "1", "/delete", "/no"}, 1, "Invalid removal"},
        FailureCase{{}, 1, "The first argument"},
        // A bad command line is refused before any server is asked.
        FailureCase{{R"(\\OFF)", "99:00", "x"}, 1, "Invalid time"}));

TEST_F(AtToolTest, FailurePhrasesAreTheFirstItemOfTheCapture) {
    EXPECT_EQ(FirstItem(At({R"(\\OFF)"}).out), kNotFound);
    EXPECT_EQ(FirstItem(At({R"(\\DENY)"}).out), kDenied);
}

TEST_F(AtToolTest, ADamagedJobFileIsReportedAndKept) {
    lab.WriteFile("SRV/.jobs", "next=3\n1\tonce\tgarbage\n");
    const test::ProgramResult list = At({R"(\\SRV)"});
    EXPECT_EQ(list.status, 3);
    EXPECT_NE(list.out.find("damaged at line 2"), std::string::npos) << list.out;
    EXPECT_EQ(At({R"(\\SRV)", "1:00", "x"}).status, 3);
    EXPECT_EQ(lab.ReadFile("SRV/.jobs"), "next=3\n1\tonce\tgarbage\n");
}

TEST_F(AtToolTest, TwoHundredAddsAtOnceGiveTwoHundredJobs) {
    constexpr int kAdds = 200;
    std::vector<pid_t> pids;
    for (int i = 0; i < kAdds; ++i) {
        pids.push_back(test::StartProgram(test::LabNetwork::Tool("at.exe"),
                                          {R"(\\SRV)", "7:5AM", "job", std::to_string(i)},
                                          lab.Environment(), dir.file("out" + std::to_string(i))));
        ASSERT_GT(pids.back(), 0);
    }
    std::set<std::string> answers;
    for (int i = 0; i < kAdds; ++i) {
        EXPECT_EQ(test::WaitProgram(pids[i]), 0);
        answers.insert(dir.Read("out" + std::to_string(i)));
    }
    EXPECT_EQ(answers.size(), static_cast<size_t>(kAdds)); // every ID given once

    std::set<int> ids;
    std::set<std::string> commands;
    for (const lab::Job& job : lab.Jobs("SRV")) {
        ids.insert(job.id);
        commands.insert(job.command);
    }
    EXPECT_EQ(ids.size(), static_cast<size_t>(kAdds));
    EXPECT_EQ(*ids.rbegin(), kAdds);
    EXPECT_EQ(commands.size(), static_cast<size_t>(kAdds));
    EXPECT_EQ(commands.count("job 199"), 1u);
}

} // namespace
} // namespace corvane
