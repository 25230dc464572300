// RunAndWait: the exact lines, the capture in AppDir, the result, and a wait that keeps the
// program's events flowing (a cancel ends it, guarded buttons refuse, others work, quit leaves).
#include "HelperTools.h"

#include "Harness.h"
#include "platform/NativeFileSystem.h"
#include "runner/RunAndWait.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

TEST(InterpreterCommandLineTest, IsExactlyTheLineOfTheInterpreter) {
    const struct {
        const char* command;
        const char* appDir;
        const char* capture;
        const char* line;
    } cases[] = {
        {R"(AT \\SRV01)", R"(C:\Tools\Admin\)", "schedule.top",
         R"(cmd /c AT \\SRV01 > "C:\Tools\Admin\schedule.top")"},
        {R"(uptime \\SRV01)", "/home/a b/Corvane/", "resgen.top",
         R"(cmd /c uptime \\SRV01 > "/home/a b/Corvane/resgen.top")"},
        {R"(AT \\SRV01 3 /Delete /Yes)", R"(C:\Tools\)", "", R"(cmd /c AT \\SRV01 3 /Delete /Yes)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InterpreterCommandLine(QString::fromUtf8(c.command), QString::fromUtf8(c.appDir),
                                         QString::fromUtf8(c.capture)),
                  QString::fromUtf8(c.line));
    }
}

QStringList g_warnings;

class RunAndWaitTest : public ::testing::Test {
protected:
    // A notifier left watching a closed handle makes the event loop warn about an invalid socket.
    void SetUp() override {
        g_warnings.clear();
        m_previousHandler =
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& m) {
                if (type != QtDebugMsg && type != QtInfoMsg) {
                    g_warnings.append(m);
                }
            });
    }
    void TearDown() override {
        QCoreApplication::processEvents();
        qInstallMessageHandler(m_previousHandler);
        EXPECT_EQ(g_warnings, QStringList());
    }

    RunResult Run(const char* command, const char* capture = "",
                  const OnCommandStarted& onStarted = {}) {
        return RunAndWait(*tools.processes, appDir, QString::fromUtf8(command),
                          QString::fromUtf8(capture), onStarted);
    }

    ToolDir tools;
    QString appDir = QString::fromStdString(tools.appDir());
    QtMessageHandler m_previousHandler = nullptr;
};

TEST_F(RunAndWaitTest, CapturesIntoAppDirAndReportsTheStatus) {
    tools.Write("schedule.top", "earlier answer\r\n");
    const RunResult r = Run(R"(printargs \\SRV01)", "schedule.top");
    EXPECT_TRUE(r.started && r.ended);
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(tools.Read("schedule.top"), "[\\\\SRV01]\n");
    EXPECT_EQ(Run("exitwith 9").exitStatus, 9);
}

TEST_F(RunAndWaitTest, SaysWhenTheToolNeverRan) {
    tools.Write("resgen.top", "earlier answer\r\n");
    testing::internal::CaptureStderr();
    const RunResult missing = Run(R"(uptime \\SRV01)", "resgen.top");
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(missing.started);
    EXPECT_TRUE(missing.ended);
    EXPECT_EQ(missing.exitStatus, kCommandNotFoundStatus);
    EXPECT_TRUE(missing.error.startsWith(QStringLiteral("'uptime' is not recognized")))
        << missing.error.toStdString();
    EXPECT_EQ(tools.Read("resgen.top"), "");

    const RunResult refused = Run("printargs a & exitwith 1");
    EXPECT_FALSE(refused.started);
    EXPECT_EQ(refused.exitStatus, std::nullopt);
    EXPECT_FALSE(refused.error.isEmpty());
}

TEST_F(RunAndWaitTest, HandsTheCommandOverBeforeWaitingAndACancelEndsTheWait) {
    bool handed = false;
    const RunResult r = Run("hang", "", [&](RunningCommand& command) {
        handed = true;
        EXPECT_TRUE(command.Running());
        QTimer::singleShot(20, [&command] { command.End(); });
    });
    EXPECT_TRUE(handed);
    EXPECT_TRUE(r.started && r.ended);
    EXPECT_EQ(r.exitStatus, 128 + SIGKILL);
}

TEST_F(RunAndWaitTest, QuittingDuringTheWaitLeavesTheCommandRunning) {
    LaunchResult launched = tools.processes->Launch("cmd /c hang");
    ASSERT_NE(launched.command, nullptr);
    RunResult r;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(20, qApp, &QCoreApplication::quit);
        r = WaitFor(*launched.command);
    });
    QCoreApplication::exec();
    EXPECT_FALSE(r.ended);
    EXPECT_EQ(r.exitStatus, std::nullopt);
    EXPECT_TRUE(launched.command->Running());
    launched.command->End();
    EXPECT_EQ(WaitBlocking(*launched.command), 128 + SIGKILL);
}

TEST_F(RunAndWaitTest, ADeadlineEndsTheWaitNotTheCommand) {
    LaunchResult launched = tools.processes->Launch("cmd /c hang");
    ASSERT_NE(launched.command, nullptr);
    const RunResult r = WaitFor(*launched.command, QDeadlineTimer(30));
    EXPECT_FALSE(r.ended);
    EXPECT_TRUE(launched.command->Running());
    launched.command->End();
    const RunResult late = WaitFor(*launched.command, QDeadlineTimer(0));
    EXPECT_TRUE(late.ended || WaitBlocking(*launched.command) == 128 + SIGKILL);
    EXPECT_EQ(launched.command->ExitStatus(), 128 + SIGKILL);
}

// The main window during a wait: a guarded button (Clear List) refuses while the cursor is busy,
// an unguarded one (About) works, and the run still completes.
TEST_F(RunAndWaitTest, TheWaitDeliversClicksToTheMainWindow) {
    ScriptedDialogs dialogs;
    const auto files = MakeNativeFileSystem();
    RecordingWindowing windowing;
    FixedClock clock;
    Services services{dialogs, *files, tools.processes.get(), windowing, clock};
    services.endProcess = [](int) {};
    frmMain w(appDir, services);
    w.Form_Load();
    w.show();
    w.lstComputers->addItem(QStringLiteral("SRV01"));

    w.SetBusy(true);
    const RunResult r = w.RunAndWait(QStringLiteral("hang"), {}, [&](RunningCommand& command) {
        QTimer::singleShot(0, [&] {
            QTest::mouseClick(w.cmdClear, Qt::LeftButton);
            QTest::mouseClick(w.cmdAbout, Qt::LeftButton);
            command.End();
        });
    });
    w.SetBusy(false);
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(r.exitStatus, 128 + SIGKILL);
    EXPECT_EQ(w.lstComputers->count(), 1);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].objectName, QStringLiteral("frmAbout"));
}

} // namespace
} // namespace corvane::test
