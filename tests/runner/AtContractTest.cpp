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
        return RunAndWait(*tools.processes, appDir, command.value_or(QString()), capture);
    }
    QString FirstItem() const {
        return ItemReader(QString::fromStdString(tools.Read("schedule.top"))).ReadItem();
    }

    ToolDir tools;
    QString appDir = QString::fromStdString(tools.appDir());
    LabNetwork lab{tools.appDir()};
    const QString srv = QStringLiteral("SRV01");
};

TEST_F(AtContractTest, AJobIsScheduledListedAndDeleted) {
    lab.AddServer("SRV01");
    const std::optional<QString> line = AtScheduleLine(
        srv, QStringLiteral("7:5PM"), QString(), QStringLiteral("\"C:\\Program Files\\x.exe\" /q"));
    ASSERT_TRUE(line);
    LaunchResult scheduled = tools.processes->Launch(line->toStdString());
    ASSERT_NE(scheduled.command, nullptr) << scheduled.error;
    EXPECT_EQ(WaitBlocking(*scheduled.command), 0);
    const auto jobs = lab.Jobs("SRV01");
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].command, "\"C:\\Program Files\\x.exe\" /q");

    const RunResult listed = Run(AtListCommand(srv), kScheduleCapture);
    EXPECT_TRUE(listed.started && listed.ended);
    EXPECT_NE(tools.Read("schedule.top").find("\"C:\\Program Files\\x.exe\" /q"), std::string::npos)
        << tools.Read("schedule.top");

    const RunResult deleted = Run(AtDeleteCommand(srv, QString::number(jobs[0].id)));
    EXPECT_EQ(deleted.exitStatus, 0);
    EXPECT_TRUE(lab.Jobs("SRV01").empty());
}

TEST_F(AtContractTest, TheProbeReadsTheFailurePhrases) {
    lab.AddServer("DOWN", {.offline = true});
    lab.AddServer("DENY", {.denied = true});
    lab.AddServer("SRV01");
    Run(AtProbeCommand(QStringLiteral("DOWN")), kScheduleCapture);
    EXPECT_EQ(FirstItem(), QStringLiteral("The network path was not found."));
    Run(AtProbeCommand(QStringLiteral("DENY")), kScheduleCapture);
    EXPECT_EQ(FirstItem(), QStringLiteral("Access is denied."));
    Run(AtProbeCommand(QStringLiteral("NOWHERE")), kScheduleCapture);
    EXPECT_EQ(FirstItem(), QStringLiteral("The network path was not found."));
    const RunResult up = Run(AtProbeCommand(srv), kScheduleCapture);
    EXPECT_EQ(up.exitStatus, 0);
    EXPECT_NE(FirstItem(), QStringLiteral("The network path was not found."));
    EXPECT_NE(FirstItem(), QStringLiteral("Access is denied."));
}

} // namespace
} // namespace corvane::test
