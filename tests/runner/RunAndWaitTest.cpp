// RunAndWait: the AppDir a command line can carry, the capture in AppDir, the result, and a
// wait that keeps the program's events flowing (quit leaves, nested waits each end).
#include "HelperTools.h"

#include "runner/RunAndWait.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

// Each AppDir and the character that keeps it off an interpreter's command line, if any.
TEST(InterpreterCommandLineTest, AnAppDirItCannotCarryIsFound) {
    std::string found;
    for (const char* appDir :
         {"/home/a b/C&(o)r'v^a!n,e;/", "C:\\T\xc3\xa9st\\", "/home/we\"ird/", "/home/100%/",
          "/home/line\nbreak/", "/home/tab\there/", "/del\x7f/"}) {
        const std::optional<QChar> unsafe = UnsafeAppDirCharacter(QString::fromUtf8(appDir));
        found += unsafe ? QString(*unsafe).toStdString() : "-";
    }
    EXPECT_EQ(found, "--\"%\n\t\x7f");
}

QStringList g_warnings;

// A notifier left watching a closed handle makes the event loop warn about an invalid socket.
// Without a wait handle the wait looks at the command until it ends, or stops at the deadline.
struct NoHandleCommand final : RunningCommand {
    explicit NoHandleCommand(int n) : looks(n) {}
    long long OpenWaitHandle() override { return -1; }
    void CloseWaitHandle() override {}
    bool Running() override { return looks > 0 ? (--looks, true) : looks < 0; }
    std::optional<int> ExitStatus() const override {
        return looks == 0 ? std::optional(7) : std::nullopt;
    }
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
        g_warnings.clear();
        m_previousHandler = qInstallMessageHandler([](QtMsgType t, const QMessageLogContext&,
                                                      const QString& m) {
            g_warnings.append(t == QtDebugMsg || t == QtInfoMsg ? QStringList() : QStringList(m));
        });
    }
    void TearDown() override {
        QCoreApplication::processEvents();
        qInstallMessageHandler(m_previousHandler);
        EXPECT_EQ(g_warnings, QStringList());
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
    testing::internal::CaptureStderr();
    const RunResult missing = Run(R"(uptime \\SRV01)", "schedule.top");
    testing::internal::GetCapturedStderr();
    const RunResult refused = Run("printargs a & exitwith 1");
    EXPECT_TRUE(ran.started && ran.ended && ran.exitStatus == 0);
    EXPECT_TRUE(!missing.started && missing.ended && missing.exitStatus == kCommandNotFoundStatus);
    EXPECT_TRUE(!refused.started && !refused.exitStatus && !refused.error.isEmpty());
    EXPECT_EQ(captured + "|" + tools.Read("schedule.top") + "|" +
                  missing.error.left(26).toStdString(),
              "[\\\\SRV01]\n||'uptime' is not recognized");
}

// Quitting the program ends the wait at once (the nested loop would never end), the command
// still running.
TEST_F(RunAndWaitTest, QuittingCutsTheWaitShort) {
    LaunchResult launched = tools.processes->Launch("cmd /c hang");
    ASSERT_NE(launched.command, nullptr);
    RunResult r;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(20, qApp, &QCoreApplication::quit);
        r = WaitFor(*launched.command);
    });
    QCoreApplication::exec();
    EXPECT_TRUE(!r.ended && !r.exitStatus && launched.command->Running());
    launched.command->End();
    EXPECT_EQ(WaitBlocking(*launched.command), 128 + SIGKILL);
}

// A wait that starts during another (a handler that runs a command): each ends with its own
// command, and the outer command's end, seen during the inner wait, neither is lost nor keeps
// waking the loop until the inner command ends.
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
    // The descriptor numbers come back for the next command, which must wake its wait again.
    EXPECT_EQ(Run("exitwith 4").exitStatus, 4);
}

} // namespace
} // namespace corvane::test
