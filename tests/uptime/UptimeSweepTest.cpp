// Get Uptime: the report line made of each shape of answer, and sweeps on a lab network: report
// lines, the help text, Cancel and closing the report window during a sweep, and the focus.
#include "Harness.h"
#include "QtPrinters.h"

#include "LabNetwork.h"
#include "RecordingProcesses.h"
#include "app/ListHelpers.h"
#include "platform/qt/QtWindowing.h"
#include "uptime/UptimeAnswer.h"
#include "uptime/UptimeSweep.h"
#include "uptime/frmUptimeReport.h"

#include <QApplication>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTimer>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

namespace corvane::test {
namespace {

TEST(UptimeAnswerTest, ReportLineFromEachShapeOfAnswer) {
    const QString up = "\\\\SRV01 has been up for: 1 day(s), 2 hour(s), 3 minute(s), 4 second(s)";
    const QString refused = "UPTIME was unable to connect to host: \\\\SRV01";
    const QString odd = "No uptime in the answer from ";
    const struct {
        QString server;
        QString capture;
        QString line;
    } cases[] = {
        {"SRV01", up + "\r\n", up},
        {"SRV01", "  " + up + "\n\n", up}, // leading blanks and trailing empty lines
        {"SRV01", "\"a, b\",c,d,e\r\n", "a, b, c, d, e"},
        {"SRV01", refused + "\r\n", "Unable to connect to SRV01"},
        // The phrase is compared with the name as the list spells it, case and all.
        {"srv01", refused + "\r\n", odd + "srv01: " + refused},
        {"SRV01", " \r\n\r\n", "No answer from SRV01"},
        {"SRV01", "a, b, c\r\n", odd + "SRV01: a, b, c"},
        {"SRV01", "a, b, c, d, e\r\n", odd + "SRV01: a, b, c, d, e"},
        {"SRV01", "a, b\r\nc, d\r\n", odd + "SRV01: a, b"},
        {"SRV01", ",b,c,d", odd + "SRV01: ,b,c,d"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UptimeReportLine(c.server, c.capture), c.line) << c.capture.toStdString();
    }
}

// Notes the status line when a report window's Close becomes enabled: at a sweep's end.
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
    // Shown, the picture, Close, Cancel, the status at the end and after, busy, cancel asked.
    void ExpectEndState(UptimePicture picture) {
        EXPECT_EQ(std::make_tuple(report().isVisible(), report().Picture(),
                                  report().cmdClose->isEnabled(), report().cmdCancel->isEnabled(),
                                  statusAtEnd, w().lblStatus->text(), w().IsBusy(),
                                  w().Uptime().CancelAsked()),
                  std::make_tuple(true, picture, true, false, QString("Done!"),
                                  QString("Waiting for Command"), false, false));
    }

    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
    RecordingProcesses processes{h.nativeProcesses.get()};
    QString statusAtEnd;
};

TEST_F(UptimeSweepTest, OneLinePerServerInListOrder) {
    lab.AddServer("ALPHA", {.boot = std::time(nullptr) - (2 * 86400 + 3 * 3600 + 4 * 60 + 5)});
    lab.AddServer("BETA");
    lab.AddServer("DOWN", {.offline = true});
    lab.AddServer("LOCKED", {.denied = true});
    w().lstComputers->addItems({"ALPHA", "beta", "DOWN", "WEB,01", "LOCKED", "GONE", "down"});
    w().cmdUpAll->click();
    QStringList lines = Lines();
    // The utility repeats the name as the list spells it, in its failure phrase too.
    ASSERT_EQ(lines.mid(2),
              (QStringList{"Unable to connect to DOWN", "Not a usable server name: WEB,01",
                           "Unable to connect to LOCKED", "Unable to connect to GONE",
                           "Unable to connect to down"}));
    EXPECT_EQ(lines[0].section(", ", 0, 2) + "|" + lines[1].section(", ", 0, 0),
              "\\\\ALPHA has been up for: 2 day(s), 3 hour(s), 4 minute(s)|\\\\beta has been up "
              "for: 0 day(s)");
    EXPECT_EQ(processes.lines().value(0) + QString(" (of %1)").arg(processes.lines().size()),
              "cmd /c uptime \\\\ALPHA > \"" + h.dir.path() + "resgen.top\" (of 6)");
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
}

// The report list draws its lines its own, cheaper way; they look as the standard ones do,
// selected or not, and elided when wider than the list.
TEST_F(UptimeSweepTest, TheReportLinesLookAsStandardLinesDo) {
    w().cmdUpAll->click();
    report().AddLine(QStringLiteral("\\\\SRV01 has been up for: 2 day(s), 3 hour(s), 4 minute(s)"));
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
    frmUptimeReport* first = &report();
    w().lstComputers->addItems({"DOWN", "down"});
    w().cmdUpAll->click();
    w().cmdUpAll->click();
    EXPECT_EQ(&report(), first);
    EXPECT_EQ(Lines(), QStringList({"Unable to connect to DOWN", "Unable to connect to down",
                                    "Unable to connect to DOWN", "Unable to connect to down"}));
    ExpectEndState(UptimePicture::Complete);

    // Closed after the sweep: the flag stays raised until the next start.
    report().cmdClose->click();
    EXPECT_EQ(w().ExistingUptimeReport(), nullptr);
    EXPECT_TRUE(w().Uptime().CancelAsked());

    // No current entry, then one with nothing selected: the message and the end steps only,
    // which leave a new, hidden window with Cancel disabled.
    w().cmdUpSel->click();
    w().lstComputers->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    w().cmdUpSel->click();
    const QString forgot = "You forgot to select one or more computers from the list.";
    EXPECT_EQ(h.dialogs.MessageTexts(), QStringList({forgot, forgot}));
    EXPECT_FALSE(report().isVisible() || report().cmdCancel->isEnabled());
    w().lstComputers->item(1)->setSelected(true);
    w().cmdUpSel->click();
    EXPECT_EQ(Lines(), QStringList{"Unable to connect to down"});
    EXPECT_EQ(processes.lines().size(), 5);
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
    DuringWaitFor(2, [&] {
        EXPECT_EQ(std::make_tuple(w().lblStatus->text(), report().Picture(),
                                  report().cmdClose->isEnabled()),
                  std::make_tuple(QString("Getting Uptime"), UptimePicture::Collecting, false));
        report().cmdCancel->click();
        EXPECT_EQ(report().Picture(), UptimePicture::Canceling);
        EXPECT_TRUE(w().Uptime().CancelAsked());
    });
    w().cmdUpAll->click();
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
    EXPECT_EQ(std::make_tuple(report().isVisible(), Lines().size(), w().lblStatus->text(),
                              w().IsBusy(), w().Uptime().CancelAsked()),
              std::make_tuple(false, 0, QString("Waiting for Command"), false, false));
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
        const QString said = h.dialogs.MessageTexts().join('\n');
        EXPECT_TRUE(h.dialogs.MessageTexts().size() == 1 && said.contains(h.appDir) &&
                    said.contains("Nothing was started") && !w.IsBusy())
            << name << ": " << said.toStdString();
    }
    EXPECT_EQ(processes.lines(), QStringList{});
}

} // namespace
} // namespace corvane::test
