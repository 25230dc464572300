// Confirm Existance on All / Selected on a lab network: report.top line by line, the messages,
// the busy cursor and the report window.
#include "FaultyFileSystem.h"
#include "Harness.h"
#include "LabNetwork.h"

#include "app/ListHelpers.h"
#include "deploy/AdminShare.h"
#include "deploy/ReportView.h"
#include "deploy/frmReport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

class ConfirmingTest : public ::testing::Test {
protected:
    void SetUp() override {
        lab.AddServer("SRV01");
        lab.WriteFile("SRV01/C$/Apps/setup.exe", "x");
        h.Start();
    }
    frmMain& w() { return *h.window; }
    void Lists(const QStringList& servers, const QStringList& files, const QString& path) {
        w().lstComputers->clear();
        w().lstDeployables->clear();
        w().lstComputers->addItems(servers);
        w().lstDeployables->addItems(files);
        w().cboDeployPath->setEditText(path);
    }
    // Clicks the button with the answer (if any) queued; each of `windows` windows is noted as
    // "name busy|idle status", and the report window is read and closed by its button.
    void Click(QPushButton* button, int answer = 0, int windows = 0) {
        if (answer != 0) {
            h.dialogs.QueueAnswer(answer);
        }
        for (int i = 0; i < windows; ++i) {
            h.dialogs.QueueWindowAction([this](QDialog& d) {
                seen << d.objectName() + (w().IsBusy() ? " busy " : " idle ") +
                            w().lblStatus->text();
                if (auto* report = dynamic_cast<frmReport*>(&d)) {
                    shownReport = report->Lines();
                    report->cmdClose->click();
                }
            });
        }
        button->click();
        EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
        EXPECT_FALSE(w().IsBusy());
    }
    std::string Report() const { return h.dir.Read("report.top"); }

    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
    QStringList seen;
    QStringList shownReport;
};

TEST_F(ConfirmingTest, WritesALinePerTestSaysFailingServersAndReusesTheReportWindow) {
    lab.AddServer("DOWN", {.offline = true});
    lab.AddServer("LOCKED", {.denied = true});
    // "?" is no file name on a server: its test fails as an unreachable server's does.
    Lists({"DOWN", "LOCKED", "SRV01", "WEB,01"},
          {"C:\\b\\setup.exe", "C:\\b\\odd?.txt", "C:\\b\\app.ini"}, "C:\\Apps");
    Click(w().cmdConfirmAll, 0, 4);
    frmReport* window = w().Report();
    Click(w().cmdConfirmAll, 0, 4);
    const std::string report = CrLf({"-  \\\\DOWN\\C$\\Apps\\  does NOT exist!", " ",
                                     "-  \\\\LOCKED\\C$\\Apps\\  does NOT exist!",
                                     "-  \\\\LOCKED\\C$\\Apps\\setup.exe  does NOT exist!",
                                     "-  \\\\LOCKED\\C$\\Apps\\odd?.txt  does NOT exist!", " ",
                                     "+  \\\\SRV01\\C$\\Apps\\  DOES exist!",
                                     "+  \\\\SRV01\\C$\\Apps\\setup.exe  DOES exist!",
                                     "-  \\\\SRV01\\C$\\Apps\\odd?.txt  does NOT exist!", " ",
                                     "-  WEB,01  is not a usable server name", " "});
    EXPECT_EQ(Report(), report);
    // The window shows report.top one entry per line, without the line breaks.
    EXPECT_EQ(shownReport.join("\r\n") + "\r\n", QString::fromStdString(report));
    // A notice per unreachable test, the busy cursor on all the while, then the same window.
    const QString notice = "frmMsg busy Checking", done = "frmReport busy Done!";
    EXPECT_EQ(seen, QStringList({notice, notice, notice, done, notice, notice, notice, done}));
    EXPECT_EQ(h.dialogs.shown()[0].text.count("DOWN"), 1);
    EXPECT_TRUE(h.dialogs.MessageBoxes().empty());
    EXPECT_EQ(w().Report(), window) << "hidden, not destroyed";
}

TEST_F(ConfirmingTest, TheListsAndThePathDecideWhatIsTested) {
    const QString question =
        "You don't have any files listed in the deployment box!\r\nI can still check to see if the "
        "deployment path\r\nspecified above exists on all target servers.\r\nDo you want me to do "
        "this?";
    const std::string found = "+  \\\\SRV01\\C$\\Apps\\  DOES exist!", old = "old";
    // Every entry of a long list is tested, not only the first 501.
    QStringList many;
    std::string manyReport = found + "\r\n";
    for (int i = 0; i < 600; ++i) {
        many << QString("C:\\Build\\f%1.dll").arg(i);
        manyReport += "-  \\\\SRV01\\C$\\Apps\\f" + std::to_string(i) + ".dll  does NOT exist!\r\n";
    }
    const QStringList srv{"SRV01"}, x{"C:\\x.txt"};
    const QString noPath =
        "There is no Deploy Path Specified.\r\nType a path in the field and try again.";
    const struct {
        QStringList servers;
        QStringList files;
        QString path;
        int answer;      // to the question about an empty deploy list; 0: not asked
        QString message; // after the question
        std::string report;
    } cases[] = {
        {srv, {}, "C:\\Apps", MsgAnswer::Yes, "", CrLf({found, " "})},
        {srv, {}, "C:\\Apps", MsgAnswer::No, "", old},
        {srv, x, "H:\\Apps", 0, kUnsupportedDeployPath, old},
        {srv, {}, "", MsgAnswer::Yes, noPath, old},
        {srv, many, "C:\\Apps", 0, "", manyReport + " \r\n"},
        {{}, x, "C:\\Apps", 0, "You don't have any servers in your list to check!", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString() + " files " + std::to_string(c.files.size()));
        h.dialogs.Clear();
        h.dir.Write("report.top", old);
        Lists(c.servers, c.files, c.path);
        Click(w().cmdConfirmAll, c.answer);
        QStringList texts = h.dialogs.MessageTexts();
        if (c.answer != 0) {
            EXPECT_EQ(texts.value(0), question);
            texts.removeFirst();
        }
        EXPECT_EQ(texts.join("|"), c.message);
        EXPECT_EQ(Report(), c.report);
        EXPECT_EQ(h.dialogs.shown().back().kind == Shown::Window,
                  c.report != old && c.message.isEmpty());
    }
}

TEST_F(ConfirmingTest, SelectedWritesOneBlockPerSelectedServerClosedByAnEmptyLine) {
    lab.AddServer("B2");
    lab.AddServer("D4");
    Lists({"A1", "B2", "C3", "D4", "E5"}, {}, "C:\\");
    Click(w().cmdConfirmSel);
    w().lstComputers->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    Click(w().cmdConfirmSel);
    w().lstComputers->item(1)->setSelected(true);
    w().lstComputers->item(3)->setSelected(true);
    Click(w().cmdConfirmSel, MsgAnswer::Yes, 1);
    const QStringList texts = h.dialogs.MessageTexts();
    EXPECT_EQ(texts.mid(0, 2),
              (QStringList{"you forgot to select one or more computers from the list.",
                           "You forgot to select one or more computers from the list."}));
    EXPECT_TRUE(texts.value(2).contains("exists on the selected target servers."));
    EXPECT_EQ(Report(),
              CrLf({"+  \\\\B2\\C$\\\\  DOES exist!", "", "+  \\\\D4\\C$\\\\  DOES exist!", ""}));
}

// The report file is said, with its path and why; no report is shown. A file that cannot be
// created stops the run at once; a full disk is found when the lines are written out, before an
// unreachable server's notice at the latest, or else at the close.
TEST_F(ConfirmingTest, AnUnwritableReportStopsTheRun) {
    lab.AddServer("DOWN", {.offline = true});
    const QString file = h.dir.path() + "report.top";
    const QRegularExpression said("^Corvane could not write the report file " +
                                  QRegularExpression::escape(file) + ":\r\n[^\r]");
    for (const bool diskFull : {false, true}) {
        ASSERT_TRUE(diskFull ? QFile::link("/dev/full", file) : QDir(h.dir.path()).mkdir(file));
        for (const QStringList& servers : {QStringList{"SRV01"}, {"SRV01", "DOWN"}}) {
            h.dialogs.Clear();
            Lists(servers, {"C:\\b\\setup.exe"}, "C:\\Apps");
            Click(w().cmdConfirmAll);
            ASSERT_EQ(h.dialogs.shown().size(), 1u) << "no notice, no report";
            EXPECT_TRUE(said.match(h.dialogs.shown()[0].text).hasMatch())
                << h.dialogs.shown()[0].text.toStdString();
            EXPECT_EQ(w().Report(), nullptr);
        }
        ASSERT_TRUE(diskFull ? QFile::remove(file) : QDir(h.dir.path()).rmdir(file));
    }
}

TEST_F(ConfirmingTest, TheReportWindowReadsEveryLineAfreshAtEachShowingAndCopiesTheSelection) {
    FaultyFileSystem files(*h.nativeFiles);
    frmReport report(w(), files, h.dir.path() + "report.top");
    const std::pair<std::string, QStringList> cases[] = {
        {"+  a  DOES exist!\r\n \r\n\r\n", {"+  a  DOES exist!", " ", ""}},
        {"lf\nonly\n", {"lf", "only"}},
        {"cr\ronly\r\r\n", {"cr", "only", ""}},
        {"no\r\nlast break", {"no", "last break"}},
        {"", {}},
        {"\\\\S\\C$\\\xc3\xa9t\xc3\xa9\r\n", {"\\\\S\\C$\\\u00e9t\u00e9"}},
    };
    for (const auto& [bytes, lines] : cases) {
        h.dir.Write("report.top", bytes);
        report.show();
        EXPECT_EQ(report.Lines(), lines) << bytes;
        report.cmdClose->click();
    }

    // Lines picked out of order are copied in the file's order.
    h.dir.Write("report.top", CrLf({"one", "two", "three"}));
    report.show();
    ReportView& view = *report.rtbReport;
    for (const auto& [row, keys] : {std::pair{2, Qt::NoModifier}, {0, Qt::ControlModifier}}) {
        const QRect place = view.visualRect(view.model()->index(row, 0));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, keys, place.center());
    }
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "one\nthree\n");

    // A report that cannot be read says so instead of showing the last one again.
    report.cmdClose->click();
    files.readFailure = {kPermissionDenied, "Permission denied"};
    report.show();
    EXPECT_EQ(report.Lines(), QStringList("Corvane could not read the report file " + h.dir.path() +
                                          "report.top: Permission denied"));
}

} // namespace
} // namespace corvane::test
