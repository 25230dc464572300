// The AT command lines and the names that may reach one; RunAndWait and the waits.
#include "HelperTools.h"

#include "runner/AtCommands.h"
#include "runner/RunAndWait.h"
#include "runner/ServerName.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

TEST(InterpreterCommandLineTest, AnAppDirItCannotCarryIsFound) {
    QString found;
    for (const char* appDir : {"/a b/C&(o)r'v^a!n,e;/", "C:\\T\xc3\xa9st\\", "/we\"ird/", "/100%/",
                               "/line\nbreak/", "/x\x1f/", "/del\x7f/"}) {
        found += UnsafeAppDirCharacter(QString::fromUtf8(appDir)).value_or(u'-');
    }
    EXPECT_EQ(found, QString::fromUtf8("--\"%\n\x1f\x7f"));
}

// Without a wait handle the wait looks at the command until it ends, or stops at the deadline.
struct NoHandleCommand final : RunningCommand {
    explicit NoHandleCommand(int n) : looks(n) {}
    long long OpenWaitHandle() override { return -1; }
    void CloseWaitHandle() override {}
    bool Running() override { return looks > 0 ? (--looks, true) : looks < 0; }
    std::optional<int> ExitStatus() const override { return looks ? std::optional<int>() : 7; }
    void End() override {}
    int looks; // negative: never ends
};

TEST(WaitWithoutHandleTest, PollsUntilTheCommandEndsOrTheDeadline) {
    for (const int looks : {0, 1, 5, -1}) {
        NoHandleCommand command(looks);
        const RunResult r = WaitFor(command, QDeadlineTimer(looks < 0 ? 50 : 20'000));
        EXPECT_EQ(r.exitStatus, looks >= 0 ? std::optional(7) : std::nullopt) << looks;
        EXPECT_EQ(r.ended, looks >= 0) << looks;
    }
}

class RunAndWaitTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previousHandler = // no warning, such as one about a notifier left on a closed handle
            qInstallMessageHandler([](QtMsgType t, const QMessageLogContext&, const QString& m) {
                EXPECT_TRUE(t == QtDebugMsg || t == QtInfoMsg) << m.toStdString();
            });
    }
    void TearDown() override {
        QCoreApplication::processEvents();
        qInstallMessageHandler(m_previousHandler);
    }

    RunResult Run(const char* command, const char* capture = "") {
        return RunAndWait(*tools.processes, QString::fromStdString(tools.appDir()),
                          QString::fromUtf8(command), QString::fromUtf8(capture));
    }

    ToolDir tools;
    QtMessageHandler m_previousHandler = nullptr;
};

TEST_F(RunAndWaitTest, CapturesIntoAppDirAndSaysWhenTheToolNeverRan) {
    tools.Write("schedule.top", "earlier answer\r\n");
    const RunResult ran = Run(R"(printargs \\SRV01)", "schedule.top");
    const std::string captured = tools.Read("schedule.top");
    const RunResult missing = Run(R"(uptime \\SRV01)", "schedule.top"); // complains on stderr
    const RunResult refused = Run("printargs a & exitwith 1");
    EXPECT_TRUE(ran.started && ran.ended && ran.exitStatus == 0);
    EXPECT_TRUE(!missing.started && missing.ended && missing.exitStatus == kCommandNotFoundStatus);
    EXPECT_TRUE(!refused.started && !refused.exitStatus && !refused.error.isEmpty());
    EXPECT_EQ(captured + "|" + tools.Read("schedule.top") + "|" +
                  missing.error.left(26).toStdString(),
              "[\\\\SRV01]\n||'uptime' is not recognized");
}

TEST_F(RunAndWaitTest, NestedWaitsEachEndWithTheirOwnCommandAndSleepMeanwhile) {
    LaunchResult outer = tools.processes->Launch("cmd /c hang");
    LaunchResult inner = tools.processes->Launch("cmd /c hang");
    ASSERT_TRUE(outer.command && inner.command);
    int wakes = 0;
    RunResult innerResult;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(20, [&] { outer.command->End(); });
        QTimer::singleShot(220, [&] { inner.command->End(); });
        QTimer::singleShot(120, [&] {
            QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake,
                             qApp, [&] { ++wakes; });
        });
        innerResult = WaitFor(*inner.command);
    });
    const RunResult r = WaitFor(*outer.command);
    QObject::disconnect(QAbstractEventDispatcher::instance(), nullptr, qApp, nullptr);
    EXPECT_TRUE(r.exitStatus == 128 + SIGKILL && innerResult.exitStatus == 128 + SIGKILL);
    EXPECT_LT(wakes, 20);
    // The descriptor numbers come back; the next wait must still wake.
    EXPECT_EQ(Run("exitwith 4").exitStatus, 4);
}

TEST(AtCommandsTest, BuildsTheFourLinesExactly) {
    const QString srv = QStringLiteral("SRV01");
    EXPECT_EQ(
        QStringList(
            {AtScheduleLine(srv, "7:05PM", "/every:M,T", "\"C:\\Program Files\\x.exe\" /q").value(),
             AtScheduleLine(srv, "7:5AM", QString(), "a.exe").value(), AtListCommand(srv).value(),
             AtProbeCommand(srv).value(), AtDeleteCommand(srv, "90").value()}),
        QStringList({"at \\\\SRV01 7:05PM /every:M,T \"C:\\Program Files\\x.exe\" /q",
                     "at \\\\SRV01 7:5AM  a.exe", "AT \\\\SRV01", "AT \\\\SRV01",
                     "AT \\\\SRV01 90 /Delete /Yes"}));
}

// No line is built with a name other than plain ASCII, or a job ID that is not a plain number.
TEST(AtCommandsTest, BuildsNothingForAnUnsafeServerOrJobId) {
    EXPECT_TRUE(IsSafeServerName("srv-01_a.corp.example") && IsSafeServerName("ADMIN$0"));
    for (const char16_t* name :
         {u"", u"SRV 01", u"SRV&calc", u"%TEMP%", u"\"SRV\"", u"SRV,2", u"\\\\SRV", u"SRV/x",
          u"SRV\r\n", u"SRV:", u"SRV\u00c9", u"SRV\uff21"}) {
        const QString bad = QString::fromUtf16(name);
        EXPECT_FALSE(IsSafeServerName(bad) || AtScheduleLine(bad, "1:00", "", "x") ||
                     AtListCommand(bad) || AtProbeCommand(bad) || AtDeleteCommand(bad, "1"))
            << bad.toStdString();
    }
    for (const char* id : {"", "1 & calc", "-1", "1e3", " 1", "\xd9\xa3"}) {
        EXPECT_FALSE(AtDeleteCommand(QStringLiteral("SRV01"), QString::fromUtf8(id))) << id;
    }
}

} // namespace
} // namespace corvane::test
