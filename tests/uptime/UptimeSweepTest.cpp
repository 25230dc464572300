// Get Uptime on a lab network: report lines, the help text, the selection message, Cancel and
// closing the report window during a sweep, and the busy cursor meanwhile.
#include "Harness.h"

#include "LabNetwork.h"
#include "RecordingProcesses.h"
#include "app/ListHelpers.h"
#include "uptime/UptimeAnswer.h"
#include "uptime/frmUptimeReport.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

// Notes the status line when a report window's Close becomes enabled: at the sweep's completion.
class CompletionWatch final : public QObject {
public:
    explicit CompletionWatch(MainHarness& h) : m_h(h) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* button = qobject_cast<QPushButton*>(object);
        if (event->type() == QEvent::EnabledChange && button != nullptr && button->isEnabled() &&
            dynamic_cast<frmUptimeReport*>(button->window()) != nullptr) {
            status = m_h.window->lblStatus->text();
        }
        return false;
    }
    QString status;

private:
    MainHarness& m_h;
};

class UptimeSweepTest : public ::testing::Test {
protected:
    void Start(const QStringList& servers) {
        h.Start(nullptr, &processes);
        w().lstComputers->addItems(servers);
    }
    frmMain& w() { return *h.window; }
    frmUptimeReport& report() { return *w().ExistingUptimeReport(); }
    QStringList Lines() { return Entries(*report().lstUptimeReport); }
    // Runs the action inside the sweep's wait for its n-th command; ends every running command
    // after a while, so that a broken cancel fails the test instead of hanging it.
    void DuringWaitFor(int n, const std::function<void()>& action) {
        auto* poll = new QTimer(w().lstComputers);
        QObject::connect(poll, &QTimer::timeout, [this, n, poll, action] {
            if (processes.lines().size() == n && !processes.running.empty()) {
                poll->stop();
                action();
            }
        });
        poll->start(10);
        QTimer::singleShot(15000, w().lstComputers, [this] {
            ADD_FAILURE() << "the sweep was still waiting";
            for (RunningCommand* command : processes.running) {
                command->End();
            }
        });
    }
    void ExpectEndState(UptimePicture picture) {
        EXPECT_TRUE(report().isVisible());
        EXPECT_EQ(report().Picture(), picture);
        EXPECT_EQ(
            QAccessible::queryAccessibleInterface(report().WebBrowser1)->text(QAccessible::Name),
            UptimePictureName(picture));
        EXPECT_TRUE(report().cmdClose->isEnabled());
        EXPECT_FALSE(report().cmdCancel->isEnabled());
        EXPECT_EQ(watch.status, QStringLiteral("Done!"));
        EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
        EXPECT_FALSE(w().IsBusy());
        EXPECT_FALSE(w().State().UptimeCancelled);
    }

    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
    RecordingProcesses processes{h.nativeProcesses.get()};
    CompletionWatch watch{h};
};

TEST_F(UptimeSweepTest, OneLinePerServerInListOrder) {
    lab.AddServer("ALPHA", {.boot = std::time(nullptr) - (2 * 86400 + 3 * 3600 + 4 * 60 + 5)});
    lab.AddServer("BETA");
    lab.AddServer("DOWN", {.offline = true});
    lab.AddServer("LOCKED", {.denied = true});
    Start({"ALPHA", "beta", "DOWN", "WEB,01", "LOCKED", "GONE", "down"});
    w().cmdUpAll->click();

    const QStringList lines = Lines();
    ASSERT_EQ(lines.size(), 7) << lines.join(QLatin1Char('\n')).toStdString();
    const QRegularExpression alpha(QStringLiteral(
        R"(^\\\\ALPHA has been up for: 2 day\(s\), 3 hour\(s\), 4 minute\(s\), \d+ second\(s\)$)"));
    EXPECT_TRUE(alpha.match(lines[0]).hasMatch()) << lines[0].toStdString();
    // The utility repeats the name as the list spells it, in its failure phrase too.
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("\\\\beta has been up for: 0 day(s), ")));
    EXPECT_EQ(lines.mid(2),
              (QStringList{"Unable to connect to DOWN", "Not a usable server name: WEB,01",
                           "Unable to connect to LOCKED", "Unable to connect to GONE",
                           "Unable to connect to down"}));
    ASSERT_EQ(processes.lines().size(), 6);
    EXPECT_EQ(processes.lines()[0], "cmd /c uptime \\\\ALPHA > \"" + h.dir.path() + "resgen.top\"");
    EXPECT_EQ(h.windowing.broughtToFront, 6);
    EXPECT_EQ(report().windowTitle(), QStringLiteral("Corvane - Uptime Report"));
    ExpectEndState(UptimePicture::Complete);
    EXPECT_TRUE(h.dialogs.shown().empty());
    EXPECT_TRUE(report().grab().toImage().save(QCoreApplication::applicationDirPath() +
                                               "/frmUptimeReport.png"));
}

TEST_F(UptimeSweepTest, EmptyListCompletesAtOnceAndSelectedNeedsASelection) {
    Start({});
    w().cmdUpAll->click();
    EXPECT_TRUE(Lines().isEmpty());
    ExpectEndState(UptimePicture::Complete);
    report().cmdClose->click();
    EXPECT_EQ(w().ExistingUptimeReport(), nullptr);

    // No current entry, then one with nothing selected: the message and the end steps only,
    // which leave a hidden window with Cancel disabled.
    w().lstComputers->addItems({"ALPHA", "BETA"});
    w().cmdUpSel->click();
    w().lstComputers->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    w().cmdUpSel->click();
    const QString forgot =
        QStringLiteral("You forgot to select one or more computers from the list.");
    EXPECT_EQ(h.dialogs.MessageTexts(), (QStringList{forgot, forgot}));
    EXPECT_EQ(h.dialogs.MessageBoxes()[0].style, 0);
    EXPECT_FALSE(report().isVisible());
    EXPECT_FALSE(report().cmdCancel->isEnabled());
    EXPECT_TRUE(processes.lines().isEmpty());

    lab.AddServer("BETA");
    w().lstComputers->item(1)->setSelected(true);
    w().cmdUpSel->click();
    ASSERT_EQ(Lines().size(), 1);
    EXPECT_TRUE(Lines()[0].startsWith(QStringLiteral("\\\\BETA has been up for: ")));
}

TEST_F(UptimeSweepTest, MissingUtilityGivesOnlyTheHelpTextAndAsksNoFurther) {
    lab.AddServer("ALPHA");
    std::filesystem::remove(h.dir.file("uptime.exe"));
    // A program called plain "uptime" on the search path is not the utility.
    const std::string bin = h.dir.file("bin");
    std::filesystem::create_directory(bin);
    std::ofstream(bin + "/uptime") << "#!/bin/sh\necho a, b, c, d\n";
    std::filesystem::permissions(bin + "/uptime", std::filesystem::perms::owner_all);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin) + ':' + path);
    Start({"ALPHA", "BETA"});
    w().cmdUpAll->click();
    qputenv("PATH", path);
    EXPECT_EQ(Lines(), UptimeHelpLines());
    EXPECT_EQ(processes.lines().size(), 1);
    ExpectEndState(UptimePicture::Complete);
}

TEST_F(UptimeSweepTest, CancelEndsTheWaitingCommandAndStopsBeforeTheNextServer) {
    lab.AddServer("A1");
    lab.AddServer("A2");
    lab.AddServer("STUCK", {.hang = true});
    Start({"A1", "A2", "STUCK", "A4"});
    w().cmdUpSel->click(); // refused: its end steps leave a hidden window with Cancel disabled
    QElapsedTimer sinceCancel;
    DuringWaitFor(3, [&] {
        EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Getting Uptime"));
        EXPECT_EQ(w().CurrentStatusColour(), StatusColour::Busy);
        EXPECT_TRUE(report().isVisible());
        EXPECT_EQ(report().Picture(), UptimePicture::Collecting);
        EXPECT_FALSE(report().cmdClose->isEnabled());
        // The busy cursor refuses the guarded buttons; a second sweep does not start either.
        w().cmdClear->click();
        w().cmdValidate->click();
        w().cmdUpAll->click();
        EXPECT_EQ(w().lstComputers->count(), 4);
        EXPECT_EQ(h.dialogs.shown().size(), 1u);
        ASSERT_TRUE(report().cmdCancel->isEnabled());
        sinceCancel.start();
        report().cmdCancel->click();
        EXPECT_EQ(report().Picture(), UptimePicture::Canceling);
        EXPECT_TRUE(w().State().UptimeCancelled);
    });
    w().cmdUpAll->click();
    EXPECT_LT(sinceCancel.elapsed(), 5000);
    EXPECT_EQ(processes.lines().size(), 3);
    EXPECT_EQ(Lines().size(), 3);
    EXPECT_EQ(Lines().last(), QStringLiteral("No answer from STUCK"));
    ExpectEndState(UptimePicture::Cancelled);
}

TEST_F(UptimeSweepTest, ClosingTheWindowDuringASweepStopsItAtOnce) {
    lab.AddServer("A1");
    lab.AddServer("STUCK", {.hang = true});
    Start({"A1", "STUCK", "A3"});
    QPointer<frmUptimeReport> closed;
    DuringWaitFor(2, [&] {
        closed = &report();
        closed->close();
        EXPECT_EQ(w().ExistingUptimeReport(), nullptr);
    });
    w().cmdUpAll->click();
    EXPECT_EQ(processes.lines().size(), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    // Nothing of the stopped sweep lands anywhere; its end steps leave a new, hidden window.
    EXPECT_FALSE(report().isVisible());
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
    EXPECT_FALSE(w().IsBusy());
    EXPECT_FALSE(w().State().UptimeCancelled);
}

TEST_F(UptimeSweepTest, SweepsAppendUntilTheWindowIsClosed) {
    lab.AddServer("DOWN", {.offline = true});
    Start({"DOWN"});
    w().cmdUpAll->click();
    frmUptimeReport* first = &report();
    w().cmdUpAll->click();
    EXPECT_EQ(&report(), first);
    EXPECT_EQ(Lines(), (QStringList{"Unable to connect to DOWN", "Unable to connect to DOWN"}));
    ExpectEndState(UptimePicture::Complete);

    // Closed after the sweep: the flag stays raised until the next start, which opens a new,
    // empty window.
    w().SetStatus(StatusColour::Done, QStringLiteral("Done!"));
    report().cmdClose->click();
    EXPECT_EQ(w().ExistingUptimeReport(), nullptr);
    EXPECT_TRUE(w().State().UptimeCancelled);
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
    w().cmdUpAll->click();
    EXPECT_EQ(Lines(), QStringList{"Unable to connect to DOWN"});
    ExpectEndState(UptimePicture::Complete);
}

} // namespace
} // namespace corvane::test
