// Get Uptime: the report line of each shape of answer, and sweeps through a lab network.
#include "Harness.h"

#include "LabNetwork.h"
#include "RecordingProcesses.h"
#include "app/ListHelpers.h"
#include "platform/qt/QtWindowing.h"
#include "uptime/UptimeAnswer.h"
#include "uptime/UptimeSweep.h"
#include "uptime/frmUptimeReport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <ctime>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

TEST(UptimeAnswerTest, ReportLineFromEachShapeOfAnswer) {
    const QString up = "\\\\SRV01 has been up for: 1 day(s), 2 hour(s), 3 minute(s), 4 second(s)";
    const QString refused = "UPTIME was unable to connect to host: \\\\SRV01";
    const QString odd = "No uptime in the answer from ";
    const std::pair<QString, QString> cases[] = {
        {up + "\r\n", up},
        {"  " + up + "\n\n", up}, // leading blanks and trailing empty lines
        {"\"a, b\",c,d,e\r\n", "a, b, c, d, e"},
        {refused + "\r\n", "Unable to connect to SRV01"},
        {" \r\n\r\n", "No answer from SRV01"},
        {"a, b, c\r\n", odd + "SRV01: a, b, c"},
        {"a, b, c, d, e\r\n", odd + "SRV01: a, b, c, d, e"},
    };
    for (const auto& [capture, line] : cases)
        EXPECT_EQ(UptimeReportLine("SRV01", capture), line) << capture.toStdString();
    // The phrase is compared with the name as the list spells it, case and all.
    EXPECT_EQ(UptimeReportLine("srv01", refused), odd + "srv01: " + refused);
}

// Notes the status line when a report window's Close becomes enabled (a sweep's end) and counts
// the paintings of report lists.
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
        listPaints += event->type() == QEvent::Paint && object->parent() != nullptr &&
                      object->parent()->objectName() == QStringLiteral("lstUptimeReport");
        return false;
    }
    void SetUp() override { h.Start(nullptr, &processes); }
    frmMain& w() { return *h.window; }
    frmUptimeReport& report() { return *w().ExistingUptimeReport(); }
    QStringList Lines() { return Entries(*report().lstUptimeReport); }
    // Runs the action while the sweep waits for its n-th command; a broken cancel fails, not hangs.
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
            for (RunningCommand* command : processes.running)
                command->End();
        });
    }
    void ExpectEndState(UptimePicture picture) {
        EXPECT_EQ(std::make_tuple(report().isVisible(), report().Picture(),
                                  report().cmdClose->isEnabled(), report().cmdCancel->isEnabled(),
                                  w().lblStatus->text(), w().IsBusy(), w().Uptime().CancelAsked(),
                                  statusAtEnd),
                  std::make_tuple(true, picture, true, false, QString("Waiting for Command"), false,
                                  false, QString("Done!")));
    }
    QString statusAtEnd;
    int listPaints = 0;

    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
    RecordingProcesses processes{h.nativeProcesses.get()};
};

TEST_F(UptimeSweepTest, OneLinePerServerInListOrderAppendedToOneWindowUntilItIsClosed) {
    lab.AddServer("ALPHA", {.boot = std::time(nullptr) - (2 * 86400 + 3 * 3600 + 4 * 60 + 5)});
    lab.AddServer("BETA");
    lab.AddServer("DOWN", {.offline = true});
    lab.AddServer("LOCKED", {.denied = true});
    w().lstComputers->addItems({"ALPHA", "beta", "DOWN", "WEB,01", "LOCKED", "GONE", "down"});
    w().cmdUpAll->click();
    frmUptimeReport* first = &report();
    w().cmdUpAll->click();
    EXPECT_EQ(&report(), first);
    const QStringList lines = Lines();
    // The utility repeats the name as the list spells it, in its failure phrase too.
    ASSERT_EQ(lines.mid(9),
              (QStringList{"Unable to connect to DOWN", "Not a usable server name: WEB,01",
                           "Unable to connect to LOCKED", "Unable to connect to GONE",
                           "Unable to connect to down"}));
    EXPECT_EQ(lines[7].section(", ", 0, 2) + "|" + lines[1].section(", ", 0, 0),
              "\\\\ALPHA has been up for: 2 day(s), 3 hour(s), 4 minute(s)|\\\\beta has been up "
              "for: 0 day(s)");
    EXPECT_EQ(processes.lines().value(0) + QString(" (of %1)").arg(processes.lines().size()),
              "cmd /c uptime \\\\ALPHA > \"" + h.dir.path() + "resgen.top\" (of 12)");
    ExpectEndState(UptimePicture::Complete);

    report().cmdClose->click();

    // Nothing selected: the message and the end steps only (a new, hidden window, Cancel off).
    w().lstComputers->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    w().cmdUpSel->click();
    EXPECT_EQ(h.dialogs.MessageTexts(),
              QStringList("You forgot to select one or more computers from the list."));
    EXPECT_FALSE(report().isVisible() || report().cmdCancel->isEnabled());
    w().lstComputers->item(6)->setSelected(true);
    w().cmdUpSel->click();
    EXPECT_EQ(Lines(), QStringList{"Unable to connect to down"});
    ExpectEndState(UptimePicture::Complete);
}

// Four frames a second are as many as anyone can follow; a paint per line would be 80. The bound
// leaves room for showing the window, the scroll bar, the last frame and a loaded machine.
TEST_F(UptimeSweepTest, ALongSweepRepaintsItsListAtAPersonsPaceAndEndsOnTheLastLine) {
    for (int i = 0; i < 80; ++i)
        w().lstComputers->addItem(QStringLiteral("GONE%1").arg(i, 2, 10, QLatin1Char('0')));
    QElapsedTimer sweep;
    sweep.start();
    w().cmdUpAll->click();
    EXPECT_LE(listPaints, 10 + sweep.elapsed() / 125);
    QCoreApplication::processEvents();
    QListWidget& list = *report().lstUptimeReport;
    EXPECT_TRUE(list.viewport()->rect().contains(list.visualItemRect(list.item(79))));
    EXPECT_EQ(Lines().size(), 80);
    // None of 400 more commands waits for the event loop, yet a Cancel is seen within 50 ms.
    for (int i = 0; i < 400; ++i)
        w().lstComputers->addItem(QStringLiteral("GONE%1").arg(i));
    QTimer::singleShot(0, report().cmdCancel, &QPushButton::click);
    w().cmdUpAll->click();
    EXPECT_LT(Lines().size(), 80 + 240);
    ExpectEndState(UptimePicture::Cancelled);
}

TEST_F(UptimeSweepTest, MissingUtilityGivesOnlyTheHelpTextAndAsksNoFurther) {
    std::filesystem::remove(h.dir.file("uptime.exe"));
    w().lstComputers->addItems({"ALPHA", "BETA"});
    w().cmdUpAll->click();
    EXPECT_EQ(Lines(), UptimeHelpLines());
    EXPECT_EQ(processes.lines().size(), 1);
    ExpectEndState(UptimePicture::Complete);
}

TEST_F(UptimeSweepTest, CancelOrClosingTheWindowEndsTheWaitingCommandAndTheFocusIsLeftAlone) {
    QtWindowing real;
    h.windowing.real = &real;
    lab.AddServer("A1");
    lab.AddServer("STUCK", {.hang = true});
    lab.AddServer("STUCK2", {.hang = true});
    w().lstComputers->addItems({"A1", "STUCK", "STUCK2", "A4"});
    w().show();
    DuringWaitFor(2, [&] {
        EXPECT_EQ(QApplication::activeWindow(), &report());
        // The administrator goes back to the main window and types there meanwhile.
        w().activateWindow();
        w().txtJobID->setFocus();
        processes.running.front()->End();
    });
    DuringWaitFor(3, [&] {
        report().cmdCancel->click();
        EXPECT_EQ(report().Picture(), UptimePicture::Canceling);
        EXPECT_FALSE(report().cmdClose->isEnabled());
    });
    w().cmdUpAll->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(QApplication::activeWindow() == &w() && w().txtJobID->hasFocus());
    EXPECT_EQ(h.windowing.calls,
              std::vector<Focus>({Focus::Take, Focus::Leave, Focus::Leave, Focus::Leave}));
    EXPECT_EQ(Lines().last() + QString(" (%1 asked)").arg(processes.lines().size()),
              "No answer from STUCK2 (3 asked)");
    ExpectEndState(UptimePicture::Cancelled);

    QPointer<frmUptimeReport> closed;
    DuringWaitFor(5, [&] {
        EXPECT_TRUE(report().cmdCancel->isEnabled());
        closed = &report();
        closed->close();
        EXPECT_EQ(w().ExistingUptimeReport(), nullptr);
    });
    w().cmdUpAll->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Nothing of the stopped sweep lands anywhere; its end steps leave a new, hidden window.
    EXPECT_EQ(std::make_tuple(processes.lines().size(), closed.isNull(), report().isVisible(),
                              Lines().size(), w().lblStatus->text(), w().IsBusy(),
                              w().Uptime().CancelAsked()),
              std::make_tuple(5, true, false, 0, QString("Waiting for Command"), false, false));
}

// A folder whose name holds a double quote would send the capture elsewhere: every action that
// starts commands says so once and starts nothing.
TEST(UnsafeAppDirTest, EveryCommandActionSaysItOnceAndStartsNothing) {
    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
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
        const QString said = h.dialogs.MessageTexts().join('\n');
        EXPECT_TRUE(h.dialogs.MessageTexts().size() == 1 && said.contains(h.appDir) &&
                    said.contains("Nothing was started") && !w.IsBusy())
            << name << ": " << said.toStdString();
    }
    EXPECT_EQ(processes.lines(), QStringList{});
}

} // namespace
} // namespace corvane::test
