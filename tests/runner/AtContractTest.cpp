// The four AT lines through the runner against the lab network: a job is scheduled, listed,
// probed for and deleted, and the failure phrases arrive as the first item of the capture.
#include "HelperTools.h"
#include "LabNetwork.h"

#include "persist/ItemReader.h"
#include "runner/AtCommands.h"
#include "runner/RunAndWait.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

class AtContractTest : public ::testing::Test {
protected:
    RunResult Run(const std::optional<QString>& command, const QString& capture = {}) {
        EXPECT_TRUE(command.has_value());
        return RunAndWait(*tools.processes, QString::fromStdString(tools.appDir()),
                          command.value_or(QString()), capture);
    }
    QString FirstItem() const {
        return ItemReader(QString::fromStdString(tools.Read("schedule.top"))).ReadItem();
    }

    ToolDir tools;
    LabNetwork lab{tools.appDir()};
};

TEST_F(AtContractTest, AJobIsScheduledListedAndDeleted) {
    lab.AddServer("SRV01");
    const QString srv = QStringLiteral("SRV01");
    const std::string program = R"("C:\Program Files\x.exe" /q)";
    const std::optional<QString> line =
        AtScheduleLine(srv, QStringLiteral("7:5PM"), QString(), QString::fromStdString(program));
    ASSERT_TRUE(line);
    LaunchResult scheduled = tools.processes->Launch(line->toStdString());
    ASSERT_NE(scheduled.command, nullptr) << scheduled.error;
    EXPECT_EQ(WaitBlocking(*scheduled.command), 0);
    const auto jobs = lab.Jobs("SRV01");
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].command, program);

    Run(AtListCommand(srv), kScheduleCapture);
    EXPECT_NE(tools.Read("schedule.top").find(program), std::string::npos)
        << tools.Read("schedule.top");
    EXPECT_EQ(Run(AtDeleteCommand(srv, QString::number(jobs[0].id))).exitStatus, 0);
    EXPECT_TRUE(lab.Jobs("SRV01").empty());
}

TEST_F(AtContractTest, TheProbeReadsTheFailurePhrases) {
    lab.AddServer("DOWN", {.offline = true});
    lab.AddServer("DENY", {.denied = true});
    lab.AddServer("SRV01");
    const char* const notFound = "The network path was not found.";
    const std::pair<const char*, const char*> cases[] = {
        {"DOWN", notFound},
        {"DENY", "Access is denied."},
        {"NOWHERE", notFound},
        {"SRV01", "There are no entries in the list."}};
    for (const auto& [server, phrase] : cases) {
        Run(AtProbeCommand(QString::fromUtf8(server)), kScheduleCapture);
        EXPECT_EQ(FirstItem(), QString::fromUtf8(phrase)) << server;
    }
}

} // namespace
} // namespace corvane::test
