// Confirm Existance on All / Selected on a lab network: report.top line by line, the messages,
// the busy cursor and the report window.
#include "Harness.h"
#include "LabNetwork.h"

#include "deploy/AdminShare.h"

#include "app/ListHelpers.h"
#include "deploy/frmReport.h"
#include "persist/History.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

const QString kNoServers = QStringLiteral("You don't have any servers in your list to check!");

// What a window showed while it was open; the report window is read and closed by its button.
struct Seen {
    QString name;
    QString text;
    bool busy = false;
    QString status;
};

class ConfirmingTest : public ::testing::Test {
protected:
    void SetUp() override {
        lab.AddServer("SRV01");
        lab.WriteFile("SRV01/C$/Apps/setup.exe", "x");
        h.Start();
    }
    frmMain& w() { return *h.window; }
    void Lists(const QStringList& servers, const QStringList& files, const QString& path) {
        w().lstComputers->addItems(servers);
        w().lstDeployables->addItems(files);
        w().cboDeployPath->setEditText(path);
    }
    // Clicks the button with the answers queued and a recorder for each of `windows` windows.
    void Click(QPushButton* button, const std::vector<int>& answers = {}, int windows = 0) {
        for (const int answer : answers) {
            h.dialogs.QueueAnswer(answer);
        }
        for (int i = 0; i < windows; ++i) {
            h.dialogs.QueueWindowAction([this](QDialog& d) {
                Seen s{d.objectName(), {}, w().IsBusy(), w().lblStatus->text()};
                if (auto* report = dynamic_cast<frmReport*>(&d)) {
                    s.text = report->rtbReport->toPlainText();
                    report->cmdClose->click();
                    EXPECT_FALSE(report->isVisible());
                }
                seen.push_back(s);
            });
        }
        button->click();
        EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
        EXPECT_FALSE(w().IsBusy());
    }
    std::string Report() const { return h.dir.Read("report.top"); }

    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
    std::vector<Seen> seen;
};

TEST_F(ConfirmingTest, WritesALinePerTestAndShowsTheSameWindowWithEachNewReport) {
    Lists({"SRV01"}, {"C:\\Build\\setup.exe", "C:\\Build\\app.ini"}, "C:\\Apps");
    h.dialogs.QueueWindowAction([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Corvane - Report"));
        EXPECT_EQ(d.size(), QSize(640, 480));
        auto& report = static_cast<frmReport&>(d);
        EXPECT_TRUE(report.rtbReport->isReadOnly());
        EXPECT_GT(report.cmdClose->geometry().left(), d.width() / 2);
        EXPECT_GT(report.cmdClose->geometry().top(), report.rtbReport->geometry().bottom());
        for (QWidget* c : std::initializer_list<QWidget*>{report.rtbReport, report.cmdClose}) {
            EXPECT_FALSE(
                QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).isEmpty());
        }
        EXPECT_TRUE(d.grab().toImage().save(QCoreApplication::applicationDirPath() +
                                            QStringLiteral("/frmReport.png")));
    });
    Click(w().cmdConfirmAll);
    const std::string first = CrLf({"+  \\\\SRV01\\C$\\Apps\\  DOES exist!",
                                    "+  \\\\SRV01\\C$\\Apps\\setup.exe  DOES exist!",
                                    "-  \\\\SRV01\\C$\\Apps\\app.ini  does NOT exist!", " "});
    EXPECT_EQ(Report(), first);
    EXPECT_TRUE(h.dialogs.MessageBoxes().empty());
    EXPECT_EQ(ComboEntries(*w().cboDeployPath), QStringList{"C:\\Apps"});
    frmReport* window = w().Report();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->rtbReport->toPlainText(),
              QString::fromStdString(first).remove(QLatin1Char('\r')));

    lab.WriteFile("SRV01/C$/Apps/app.ini", "x");
    Click(w().cmdConfirmAll, {}, 1);
    EXPECT_EQ(w().Report(), window) << "hidden, not destroyed";
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].status, QStringLiteral("Done!"));
    EXPECT_TRUE(seen[0].busy);
    EXPECT_TRUE(seen[0].text.contains(QStringLiteral("+  \\\\SRV01\\C$\\Apps\\app.ini  DOES")));
}

TEST_F(ConfirmingTest, TheDeployListAndThePathDecideWhatIsTested) {
    const QString question = QStringLiteral(
        "You don't have any files listed in the deployment box!\r\nI can still check to see if "
        "the deployment path\r\nspecified above exists on all target servers.\r\nDo you want me "
        "to do this?");
    const QString refused = kUnsupportedDeployPath;
    const QString noPath = QStringLiteral("There is no Deploy Path Specified.\r\nType a path in "
                                          "the field and try again.");
    const std::string found = "+  \\\\SRV01\\C$\\Apps\\  DOES exist!";
    // Every entry of a long list is tested, not only the first 501.
    QStringList many;
    std::string manyReport = found + "\r\n";
    for (int i = 0; i < 600; ++i) {
        many << QStringLiteral("C:\\Build\\f%1.dll").arg(i);
        manyReport += "-  \\\\SRV01\\C$\\Apps\\f" + std::to_string(i) + ".dll  does NOT exist!\r\n";
    }
    manyReport += " \r\n";
    const std::string old = "old";
    const struct {
        QStringList files;
        QString path;
        std::vector<int> answers;
        QStringList messages; // after the question, if any
        std::string report;
    } cases[] = {
        {{}, "C:\\Apps", {MsgAnswer::Yes}, {}, CrLf({found, " "})},
        {{}, "C:\\Apps", {MsgAnswer::No}, {}, old},
        {{"setup.exe"},
         "c:\\apps",
         {},
         {},
         CrLf({"+  \\\\SRV01\\C$\\apps\\  DOES exist!",
               "+  \\\\SRV01\\C$\\apps\\setup.exe  DOES exist!", " "})},
        {{"C:\\x.txt"}, "H:\\Apps", {}, {refused}, old},
        {{"C:\\x.txt"}, "C", {}, {refused}, old},
        {{}, "", {MsgAnswer::Yes}, {noPath}, old},
        {many, "C:\\Apps", {}, {}, manyReport},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString() + " files " + std::to_string(c.files.size()));
        h.dialogs.Clear();
        h.dir.Write("report.top", old);
        w().lstComputers->clear();
        w().lstDeployables->clear();
        Lists({"SRV01"}, c.files, c.path);
        Click(w().cmdConfirmAll, c.answers);
        QStringList texts = h.dialogs.MessageTexts();
        if (!c.answers.empty()) {
            ASSERT_FALSE(texts.isEmpty());
            EXPECT_EQ(texts.takeFirst(), question);
            EXPECT_EQ(h.dialogs.shown()[0].title, QStringLiteral("Confirm Existance"));
            EXPECT_EQ(h.dialogs.shown()[0].style, 4 + 48 + 256);
        }
        EXPECT_EQ(texts, c.messages);
        EXPECT_EQ(Report(), c.report);
        EXPECT_EQ(h.dialogs.shown().back().kind == Shown::Window, c.report != old);
    }
}

TEST_F(ConfirmingTest, SelectedWritesOneBlockPerSelectedServerClosedByAnEmptyLine) {
    for (const char* name : {"A1", "B2", "C3", "D4", "E5"}) {
        lab.AddServer(name);
    }
    Lists({"A1", "B2", "C3", "D4", "E5"}, {}, "C:\\");
    Click(w().cmdConfirmSel);
    w().lstComputers->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    Click(w().cmdConfirmSel);
    EXPECT_EQ(h.dialogs.MessageTexts(),
              (QStringList{"you forgot to select one or more computers from the list.",
                           "You forgot to select one or more computers from the list."}));
    EXPECT_FALSE(h.dir.Exists("report.top"));

    h.dialogs.Clear();
    w().lstComputers->item(1)->setSelected(true);
    w().lstComputers->item(3)->setSelected(true);
    Click(w().cmdConfirmSel, {MsgAnswer::Yes}, 1);
    EXPECT_TRUE(h.dialogs.MessageTexts().value(0).contains(
        QStringLiteral("exists on the selected target servers.")));
    EXPECT_EQ(Report(),
              CrLf({"+  \\\\B2\\C$\\\\  DOES exist!", "", "+  \\\\D4\\C$\\\\  DOES exist!", ""}));
    EXPECT_EQ(w().State().CurrentServer, QStringLiteral("D4"));
}

TEST_F(ConfirmingTest, UnreachableDeniedAndUnusableServersAreSaidAndTheRunGoesOn) {
    lab.AddServer("DOWN", {.offline = true});
    lab.AddServer("LOCKED", {.denied = true});
    // "?" is no file name on a server: its test fails as an unreachable server's does.
    Lists({"DOWN", "LOCKED", "SRV01", "WEB,01"},
          {"C:\\b\\setup.exe", "C:\\b\\odd?.txt", "C:\\b\\app.ini"}, "C:\\Apps");
    Click(w().cmdConfirmAll, {}, 4);
    EXPECT_EQ(Report(), CrLf({"-  \\\\DOWN\\C$\\Apps\\  does NOT exist!", " ",
                              "-  \\\\LOCKED\\C$\\Apps\\  does NOT exist!",
                              "-  \\\\LOCKED\\C$\\Apps\\setup.exe  does NOT exist!",
                              "-  \\\\LOCKED\\C$\\Apps\\odd?.txt  does NOT exist!", " ",
                              "+  \\\\SRV01\\C$\\Apps\\  DOES exist!",
                              "+  \\\\SRV01\\C$\\Apps\\setup.exe  DOES exist!",
                              "-  \\\\SRV01\\C$\\Apps\\odd?.txt  does NOT exist!", " ",
                              "-  WEB,01  is not a usable server name", " "}));
    ASSERT_EQ(seen.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(seen[i].name, QStringLiteral("frmMsg"));
        EXPECT_EQ(seen[i].status, QStringLiteral("Checking"));
        EXPECT_TRUE(seen[i].busy) << "busy for the whole run";
    }
    EXPECT_EQ(h.dialogs.shown()[0].text.count(QStringLiteral("DOWN")), 1);
    EXPECT_EQ(seen[3].name, QStringLiteral("frmReport"));
    EXPECT_TRUE(seen[3].busy);
    EXPECT_FALSE(w().State().ServerUnreachable);
    EXPECT_TRUE(h.dialogs.MessageBoxes().empty());
}

TEST_F(ConfirmingTest, AnEmptyListTheBusyCursorAndAnUnwritableReportStopTheRun) {
    // Refused while another run shows the busy cursor: only the status line changes.
    Lists({}, {"C:\\b\\setup.exe"}, "C:\\Apps");
    w().SetStatus(StatusColour::Busy, QStringLiteral("Validating"));
    w().SetBusy(true);
    w().cmdConfirmAll->click();
    w().cmdConfirmSel->click();
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
    EXPECT_TRUE(h.dialogs.shown().empty());
    EXPECT_FALSE(h.dir.Exists("report.top"));
    w().SetBusy(false);

    h.dir.Write("report.top", "old");
    Click(w().cmdConfirmAll);
    EXPECT_EQ(h.dialogs.MessageTexts(), QStringList{kNoServers});
    EXPECT_EQ(Report(), "");
    EXPECT_EQ(ComboEntries(*w().cboDeployPath), QStringList{"C:\\Apps"});
    EXPECT_EQ(w().Report(), nullptr);

    // A report that cannot be written is said, with its path and why; no report is shown.
    h.dialogs.Clear();
    std::remove(h.dir.file("report.top").c_str());
    ASSERT_TRUE(QDir(h.dir.path()).mkdir(QStringLiteral("report.top")));
    w().lstComputers->addItem(QStringLiteral("SRV01"));
    Click(w().cmdConfirmAll);
    const QString prefix = QStringLiteral("Corvane could not write the report file ") +
                           h.dir.path() + QStringLiteral("report.top:\r\n");
    ASSERT_EQ(h.dialogs.MessageTexts().size(), 1);
    EXPECT_TRUE(h.dialogs.MessageTexts()[0].startsWith(prefix));
    EXPECT_FALSE(h.dialogs.MessageTexts()[0].mid(prefix.size()).startsWith(u'\r'))
        << "the reason follows the path";
    EXPECT_EQ(h.dialogs.MessageBoxes()[0].style, 48);
    EXPECT_EQ(w().Report(), nullptr);
}

} // namespace
} // namespace corvane::test
