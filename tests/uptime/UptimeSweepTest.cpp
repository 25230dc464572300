// Get Uptime on a lab network: report lines, the help text, the selection message, Cancel and
// closing the report window during a sweep, and the busy cursor meanwhile.
#include "Harness.h"

#include "LabNetwork.h"
#include "RecordingProcesses.h"
#include "app/ListHelpers.h"
#include "platform/qt/QtWindowing.h"
#include "uptime/UptimeAnswer.h"
#include "uptime/UptimeSweep.h"
#include "uptime/frmUptimeReport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTimer>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

// Also notes the status line when a report window's Close becomes enabled: at a sweep's end; and
// counts the paintings of report lists.
class UptimeSweepTest : public ::testing::Test, public QObject {
protected:
    UptimeSweepTest() { qApp->installEventFilter(this); }
    ~UptimeSweepTest() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* button = qobject_cast<QPushButton*>(object);
        if (event->type() == QEvent::EnabledChange && button != nullptr && button->isEnabled() &&
            dynamic_cast<frmUptimeReport*>(button->window()) != nullptr) {
            statusAtEnd = w().lblStatus->text();
        }
        if (event->type() == QEvent::Paint && object->parent() != nullptr &&
            object->parent()->objectName() == QStringLiteral("lstUptimeReport")) {
            ++listPaints;
        }
        return false;
    }
    void SetUp() override { h.Start(nullptr, &processes); }
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
        EXPECT_TRUE(report().cmdClose->isEnabled());
        EXPECT_FALSE(report().cmdCancel->isEnabled());
        EXPECT_EQ(statusAtEnd, QStringLiteral("Done!"));
        EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
        EXPECT_FALSE(w().IsBusy());
        EXPECT_FALSE(w().Uptime().CancelAsked());
    }

    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
    RecordingProcesses processes{h.nativeProcesses.get()};
    QString statusAtEnd;
    int listPaints = 0;
};

TEST_F(UptimeSweepTest, OneLinePerServerInListOrder) {
    lab.AddServer("ALPHA", {.boot = std::time(nullptr) - (2 * 86400 + 3 * 3600 + 4 * 60 + 5)});
    lab.AddServer("BETA");
    lab.AddServer("DOWN", {.offline = true});
    lab.AddServer("LOCKED", {.denied = true});
    w().lstComputers->addItems({"ALPHA", "beta", "DOWN", "WEB,01", "LOCKED", "GONE", "down"});
    w().cmdUpAll->click();

    const QStringList lines = Lines();
    ASSERT_EQ(lines.size(), 7) << lines.join('\n').toStdString();
    EXPECT_TRUE(
        lines[0].startsWith("\\\\ALPHA has been up for: 2 day(s), 3 hour(s), 4 minute(s), "))
        << lines[0].toStdString();
    // The utility repeats the name as the list spells it, in its failure phrase too.
    EXPECT_TRUE(lines[1].startsWith("\\\\beta has been up for: 0 day(s), "));
    EXPECT_EQ(lines.mid(2),
              (QStringList{"Unable to connect to DOWN", "Not a usable server name: WEB,01",
                           "Unable to connect to LOCKED", "Unable to connect to GONE",
                           "Unable to connect to down"}));
    ASSERT_EQ(processes.lines().size(), 6);
    EXPECT_EQ(processes.lines()[0], "cmd /c uptime \\\\ALPHA > \"" + h.dir.path() + "resgen.top\"");
    EXPECT_EQ(h.windowing.calls.size(), 7u);
    ExpectEndState(UptimePicture::Complete);
    EXPECT_TRUE(h.dialogs.shown().empty());
}

TEST_F(UptimeSweepTest, TheReportComesToTheFrontAtEachServerButTakesTheFocusOnlyAtTheStart) {
    QtWindowing real;
    h.windowing.real = &real;
    lab.AddServer("A1");
    lab.AddServer("STUCK", {.hang = true});
    w().lstComputers->addItems({"A1", "STUCK", "A3", "A4"});
    w().show();
    DuringWaitFor(2, [&] {
        EXPECT_EQ(QApplication::activeWindow(), &report());
        // The administrator goes back to the main window and types there meanwhile.
        w().activateWindow();
        w().txtJobID->setFocus();
        processes.running.front()->End();
    });
    w().cmdUpAll->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &w());
    EXPECT_TRUE(w().txtJobID->hasFocus());
    EXPECT_EQ(h.windowing.calls, std::vector<Focus>({Focus::Take, Focus::Leave, Focus::Leave,
                                                     Focus::Leave, Focus::Leave}));
    EXPECT_EQ(Lines().size(), 4);
}

TEST_F(UptimeSweepTest, ALongSweepRepaintsItsListAtAPersonsPaceAndEndsOnTheLastLine) {
    QStringList servers;
    for (int i = 0; i < 80; ++i) {
        servers << QStringLiteral("GONE%1").arg(i, 2, 10, QLatin1Char('0'));
    }
    w().lstComputers->addItems(servers);
    QElapsedTimer sweep;
    sweep.start();
    w().cmdUpAll->click();
    const qint64 elapsed = sweep.elapsed();
    QListWidget& list = *report().lstUptimeReport;
    ASSERT_EQ(list.count(), 80);
    // Four frames a second are as many as anyone can follow. A paint per line would be 80; the
    // bound leaves room for showing the window, its scroll bar appearing, the last frame, and
    // twice the frame rate on a loaded machine.
    EXPECT_LE(listPaints, 10 + elapsed / 125) << elapsed << " ms";
    QCoreApplication::processEvents();
    EXPECT_TRUE(list.viewport()->rect().contains(list.visualItemRect(list.item(79))));
    EXPECT_EQ(Lines().last(), QStringLiteral("Unable to connect to GONE79"));
}

// The report list draws its lines its own, cheaper way; they look as the standard ones do,
// selected or not, and elided when wider than the list.
TEST_F(UptimeSweepTest, TheReportLinesLookAsStandardLinesDo) {
    w().cmdUpAll->click();
    report().AddLine(QStringLiteral("\\\\SRV01 has been up for: 2 day(s), 3 hour(s), 4 minute(s)"));
    report().AddLine(QStringLiteral("Unable to connect to DOWN"));
    report().AddLine(QStringLiteral("Not a usable server name: ") + QString(200, QLatin1Char('W')));
    report().EndSweep(false);
    QListWidget& list = *report().lstUptimeReport;
    list.item(1)->setSelected(true);
    const QImage drawn = list.viewport()->grab().toImage();
    QAbstractItemDelegate* own = list.itemDelegate();
    QStyledItemDelegate standard;
    list.setItemDelegate(&standard);
    EXPECT_EQ(drawn, list.viewport()->grab().toImage());
    list.setItemDelegate(own);
}

TEST_F(UptimeSweepTest, SweepsAppendToOneWindowUntilItIsClosedAndSelectedNeedsASelection) {
    lab.AddServer("DOWN", {.offline = true});
    w().cmdUpAll->click();
    EXPECT_TRUE(Lines().isEmpty());
    ExpectEndState(UptimePicture::Complete);
    frmUptimeReport* first = &report();
    w().lstComputers->addItems({"DOWN", "down"});
    w().cmdUpAll->click();
    w().cmdUpAll->click();
    EXPECT_EQ(&report(), first);
    EXPECT_EQ(Lines(), QStringList({"Unable to connect to DOWN", "Unable to connect to down",
                                    "Unable to connect to DOWN", "Unable to connect to down"}));
    ExpectEndState(UptimePicture::Complete);

    // Closed after the sweep: the flag stays raised until the next start.
    w().SetStatus(StatusColour::Done, "Done!");
    report().cmdClose->click();
    EXPECT_EQ(w().ExistingUptimeReport(), nullptr);
    EXPECT_TRUE(w().Uptime().CancelAsked());
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));

    // No current entry, then one with nothing selected: the message and the end steps only,
    // which leave a new, hidden window with Cancel disabled.
    w().cmdUpSel->click();
    w().lstComputers->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    w().cmdUpSel->click();
    const QString forgot = "You forgot to select one or more computers from the list.";
    EXPECT_EQ(h.dialogs.MessageTexts(), QStringList({forgot, forgot}));
    EXPECT_FALSE(report().isVisible());
    EXPECT_FALSE(report().cmdCancel->isEnabled());
    EXPECT_EQ(processes.lines().size(), 4);
    w().lstComputers->item(1)->setSelected(true);
    w().cmdUpSel->click();
    EXPECT_EQ(Lines(), QStringList{"Unable to connect to down"});
    ExpectEndState(UptimePicture::Complete);
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
    w().lstComputers->addItems({"ALPHA", "BETA"});
    w().cmdUpAll->click();
    qputenv("PATH", path);
    EXPECT_EQ(Lines(), UptimeHelpLines());
    EXPECT_EQ(processes.lines().size(), 1);
    ExpectEndState(UptimePicture::Complete);
}

TEST_F(UptimeSweepTest, CancelOrClosingTheWindowEndsTheWaitingCommandAndStopsTheSweep) {
    lab.AddServer("A1");
    lab.AddServer("STUCK", {.hang = true});
    w().lstComputers->addItems({"A1", "STUCK", "A3"});
    QElapsedTimer sinceCancel;
    DuringWaitFor(2, [&] {
        EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Getting Uptime"));
        EXPECT_EQ(report().Picture(), UptimePicture::Collecting);
        EXPECT_FALSE(report().cmdClose->isEnabled());
        sinceCancel.start();
        report().cmdCancel->click();
        EXPECT_EQ(report().Picture(), UptimePicture::Canceling);
        EXPECT_TRUE(w().Uptime().CancelAsked());
    });
    w().cmdUpAll->click();
    EXPECT_LT(sinceCancel.elapsed(), 5000);
    EXPECT_EQ(processes.lines().size(), 2);
    EXPECT_EQ(Lines().last(), QStringLiteral("No answer from STUCK"));
    ExpectEndState(UptimePicture::Cancelled);

    // The next sweep has Cancel back; closing its window ends it just as soon.
    QPointer<frmUptimeReport> closed;
    DuringWaitFor(4, [&] {
        EXPECT_TRUE(report().cmdCancel->isEnabled());
        closed = &report();
        closed->close();
        EXPECT_EQ(w().ExistingUptimeReport(), nullptr);
    });
    w().cmdUpAll->click();
    EXPECT_EQ(processes.lines().size(), 4);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    // Nothing of the stopped sweep lands anywhere; its end steps leave a new, hidden window.
    EXPECT_FALSE(report().isVisible());
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
    EXPECT_FALSE(w().IsBusy());
    EXPECT_FALSE(w().Uptime().CancelAsked());
}

// A folder whose name holds a double quote would send the capture elsewhere: every action that
// starts commands says so once and starts nothing.
TEST(UnsafeAppDirTest, EveryCommandActionSaysItOnceAndStartsNothing) {
    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
    lab.AddServer("ALPHA");
    h.appDir = h.dir.path() + QStringLiteral("we\"ird/");
    std::filesystem::create_directories(h.appDir.toStdString());
    RecordingProcesses processes{h.nativeProcesses.get()};
    frmMain& w = h.Start(nullptr, &processes);
    w.lstComputers->addItem(QStringLiteral("ALPHA"));
    w.lstComputers->setCurrentRow(0);
    w.cboRun->setEditText(QStringLiteral("backup.exe"));
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"Get Uptime", [&] { w.cmdUpAll->click(); }},
        {"list jobs", [&] { w.lstComputers_Click(); }},
        {"remove a job", [&] { w.cmdRemoveSchedule_Click(); }},
        {"Validate", [&] { w.cmdValidate_Click(); }},
        {"Schedule", [&] { w.cmdRunSchedule_Click(); }},
    };
    for (const auto& [name, action] : actions) {
        h.dialogs.Clear();
        action();
        const QStringList boxes = h.dialogs.MessageTexts();
        ASSERT_EQ(boxes.size(), 1) << name << ": " << boxes.join('\n').toStdString();
        EXPECT_TRUE(boxes[0].contains(h.appDir)) << name;
        EXPECT_TRUE(boxes[0].contains(QStringLiteral("Nothing was started"))) << name;
        EXPECT_FALSE(w.IsBusy()) << name;
    }
    EXPECT_EQ(processes.lines(), QStringList{});
}

} // namespace
} // namespace corvane::test
