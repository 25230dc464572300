// The deploy list, deploy paths, and Deploy and Confirm Existance through the widgets on a lab.
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

TEST(AdminShareTest, MapsDrivesCToGAndRefusesPathsThatLeaveTheShareOrNoWindowsPathHolds) {
    const std::pair<QString, QString> cases[] = {
        {"C:\\Apps", "\\\\SRV01\\C$\\Apps"}, {"d:\\Data\\In\\", "\\\\SRV01\\D$\\Data\\In\\"},
        {"g:\\", "\\\\SRV01\\G$\\"},         {"E:", "\\\\SRV01\\E$"},
        {"f:\\x", "\\\\SRV01\\F$\\x"},       {"C:\\a..\\..b", "\\\\SRV01\\C$\\a..\\..b"},
    };
    for (const auto& [path, shared] : cases)
        EXPECT_EQ(IsSupportedDeployPath(path) ? ToAdminSharePath("SRV01", path) : "", shared);
    for (const char* path :
         {"", "C", "C:Apps", "H:\\Apps", "\\\\SRV\\C$", "C:\\Apps\\..\\x", "C:\\..",
          "C:\\Apps/..\\x", "C:\\a*b", "C:\\a?b", "C:\\a<b", "C:\\a>b", "C:\\a|b", "C:\\a\"b",
          "a|b", "a\"b", "C:\\a\tb", "C:\\Apps\r\n", "C:\\a\x1f"})
        EXPECT_FALSE(IsSupportedDeployPath(path)) << path;
}

const QString kNoPath = "There is no Deploy Path Specified.";

class DeployTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.Start();
        for (const char* server : {"SRV01", "SRV02", "SRV03", "SRV04"})
            lab.AddServer(server, {.shares = {"C$", "D$"}});
        lab.AddServer("DOWN", {.offline = true});
        lab.AddServer("LOCKED", {.denied = true});
        lab.WriteFile("SRV01/C$/Apps/setup.exe", "x");
    }
    frmMain& w() { return *h.window; }
    QStringList Local(QStringList names) const {
        return names.replaceInStrings(QRegularExpression("^"),
                                      QDir::toNativeSeparators(h.dir.path()));
    }
    QStringList Said() const {
        QStringList lines = h.dialogs.MessageTexts();
        for (QString& text : lines)
            text = text.section("\r\n", 0, 0);
        return lines;
    }
    void Pick(const QStringList& paths) {
        h.dialogs.QueueFiles(paths);
        w().cmdAddDeployables->click();
    }
    QStringList DeployLists() const {
        return Entries(*h.window->lstDeployables) + Entries(*h.window->lstDeployables2);
    }
    std::string ListFile() const {
        return h.dir.Exists("filelist.txt") ? h.dir.Read("filelist.txt") : "(missing)";
    }
    void Lists(const QStringList& servers, const QStringList& files, const QString& path) {
        w().lstComputers->clear();
        w().lstDeployables->clear();
        w().lstComputers->addItems(servers);
        w().lstDeployables->addItems(files);
        w().cboDeployPath->setEditText(path);
    }
    void Click(QPushButton* button, int answer = 0, int windows = 0) {
        if (answer != 0)
            h.dialogs.QueueAnswer(answer);
        for (int i = 0; i < windows; ++i) {
            h.dialogs.QueueWindowAction([this](QDialog& d) {
                seen << d.objectName() + (w().IsBusy() ? " busy " : " idle ") +
                            w().lblStatus->text();
                if (auto* report = dynamic_cast<frmReport*>(&d)) {
                    shownReport = report->Lines();
                    report->cmdClose->click();
                    EXPECT_FALSE(report->isVisible());
                }
            });
        }
        button->click();
        EXPECT_EQ(w().lblStatus->text() + (w().IsBusy() ? " busy" : ""), "Waiting for Command");
    }
    std::string Report() const { return h.dir.Read("report.top"); }

    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
    QStringList seen;
    QStringList shownReport;
};

// A quote or a control character would corrupt the list file: such files are named, by codes.
TEST_F(DeployTest, AddLeavesOutAndNamesTheFilesTheListFileCannotHold) {
    Pick(Local({"ok.exe", "a\"b.exe", "line\nbreak.exe", "tab\tx.exe"}));
    EXPECT_EQ(DeployLists(), Local({"ok.exe"}) + QStringList({"ok.exe"}));
    EXPECT_EQ(h.dialogs.MessageTexts().back(),
              "A file whose name holds a double quote (\") or a control character cannot stand on "
              "the deploy list; these were left out:\r\n" +
                  Local({"a\"b.exe", "line\\x0Abreak.exe", "tab\\x09x.exe"}).join("\r\n"));
}

TEST_F(DeployTest, AddAppendsOneFileOrReplacesTheListRemoveAndClearTakeFromBoth) {
    Pick(Local({"a.exe"}));
    Pick(Local({"a.exe"}));
    EXPECT_EQ(DeployLists(), Local({"a.exe", "a.exe"}) + QStringList({"a.exe", "a.exe"}));
    Pick(Local({"b.exe", "c.dll"}));
    Pick({}); // cancelled
    EXPECT_EQ(DeployLists(), Local({"b.exe", "c.dll"}) + QStringList({"b.exe", "c.dll"}));
    w().cmdClearDeploy->click();
    EXPECT_EQ(DeployLists(), QStringList());
    EXPECT_EQ(ListFile(), "(missing)") << "adding and clearing leave the file to the exit";

    w().cmdRemoveDeployables->click();
    EXPECT_EQ(ListFile(), "");
    Pick(Local({"1.exe", "2.exe", "3.exe", "4.exe"}));
    h.dir.Write("filelist.txt", "kept\r\n");
    w().cmdRemoveDeployables->click();
    EXPECT_EQ(Said(), QStringList({"There are no files on the deploy list to remove!",
                                   "you forgot to select one or more"}));
    EXPECT_EQ(ListFile(), "kept\r\n");
    w().lstDeployables2->item(0)->setSelected(true);
    w().lstDeployables2->item(3)->setSelected(true);
    w().cmdRemoveDeployables->click();
    EXPECT_EQ(DeployLists(), Local({"2.exe", "3.exe"}) + QStringList({"2.exe", "3.exe"}));
    EXPECT_EQ(ListFile(), CrLf({DeployLists()[0].toStdString(), DeployLists()[1].toStdString()}));
}

TEST_F(DeployTest, DeployCopiesEveryFileIntoTheNewFoldersAndNamesTheServersThatMissedThem) {
    for (const char* name : {"setup.exe", "app.ini"})
        h.dir.Write(name, name + std::string(" contents"));
    Lists({"SRV01", "DOWN", "LOCKED", "SRV02", "bad name"}, {}, "C:\\Apps\\Bin\\");
    Pick(Local({"setup.exe", "gone.txt", "app.ini"}));
    lab.WriteFile("SRV02/C$/Apps/Bin/app.ini", "old");
    Click(w().cmdDeployAll, MsgAnswer::Yes);
    EXPECT_EQ(lab.ReadFile("SRV01/C$/Apps/Bin/setup.exe") + "|" +
                  lab.ReadFile("SRV02/C$/Apps/Bin/app.ini"),
              "setup.exe contents|app.ini contents");
    EXPECT_EQ(DeployLists(),
              Local({"setup.exe", "app.ini"}) + QStringList({"setup.exe", "app.ini"}));
    const auto boxes = h.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].style, 4 + 48 + 256); // Yes/No, exclamation, No by default
    // The vanished file is said once; a success message would hide the servers that missed them.
    EXPECT_EQ(Said().mid(0, 3),
              QStringList({"You are about to deploy ALL files on the deploy list",
                           "The file 'gone.txt' is no longer pointing to a valid local file",
                           "Unable to communicate to server DOWN"}));
    EXPECT_TRUE(boxes[3].text.startsWith("The files could not be deployed everywhere:\r\nDOWN: "
                                         "unreachable\r\nLOCKED: 2 of 2 file(s) not copied (") &&
                boxes[3].text.endsWith("\r\nbad name: not a usable server name"))
        << boxes[3].text.toStdString();
}

TEST_F(DeployTest, AFileIsNeverCopiedOntoItselfAndOddLocalNamesStayOnTheList) {
    lab.WriteFile("SRV01/C$/Apps/app.ini", "settings");
    h.dir.Write("what?.txt", "x");
    const QString onServer = QString::fromStdString(lab.Path("SRV01/C$/Apps/app.ini"));
    Lists({"SRV01", "SRV02"}, {onServer, h.dir.path() + "what?.txt"}, "C:\\apps");
    w().lstDeployables2->addItems({"app.ini", "what?.txt"});
    Click(w().cmdDeployAll, MsgAnswer::Yes);
    EXPECT_EQ(lab.ReadFile("SRV01/C$/Apps/app.ini") + lab.ReadFile("SRV02/C$/apps/app.ini"),
              "settingssettings");
    EXPECT_EQ(Entries(*w().lstDeployables), QStringList({onServer, h.dir.path() + "what?.txt"}));
    EXPECT_EQ(h.dialogs.MessageTexts().back(),
              "The files could not be deployed everywhere:\r\n"
              "SRV01: 2 of 2 file(s) not copied (The destination is the file itself)\r\n"
              "SRV02: 1 of 2 file(s) not copied (the file name holds a character that no "
              "server's file name may hold)");
}

TEST_F(DeployTest, DeploySelectedCopiesToTheSelectedServersOnlyAndEveryRefusalCopiesNothing) {
    Lists({"SRV01", "SRV02", "SRV03", "SRV04"}, {}, "");
    w().lstComputers->setCurrentRow(1);
    w().lstComputers->item(3)->setSelected(true);
    w().cmdDeploySelected->click();
    h.dir.Write("a.exe", "a");
    Pick(Local({"a.exe"}));
    for (const char* refused : {"", "H:\\Apps"}) {
        w().cboDeployPath->setEditText(refused);
        w().cmdDeploySelected->click();
    }
    w().cboDeployPath->setEditText("d:\\Apps");
    Click(w().cmdDeploySelected, MsgAnswer::No);
    EXPECT_EQ(w().cboDeployPath->findText("d:\\Apps"), -1) << "No leaves the history alone";
    Click(w().cmdDeploySelected, MsgAnswer::Yes);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(lab.Exists("SRV0" + std::to_string(i) + "/D$/Apps/a.exe"), i % 2 == 0) << i;
    w().lstComputers->clear();
    Click(w().cmdDeployAll, MsgAnswer::Yes);
    const QString ask = "You are about to deploy ALL files on the deploy list";
    EXPECT_TRUE(h.dialogs.MessageTexts().value(3).contains("to ONLY the SELECTED computers"));
    EXPECT_EQ(Said(), QStringList({"You haven't selected any files to deploy!", kNoPath,
                                   kUnsupportedDeployPath.section("\r\n", 0, 0), ask, ask,
                                   "Files were successfully deployed!", ask,
                                   "You don't have any servers in your list to deploy to!"}));
}

TEST_F(DeployTest, ConfirmWritesALinePerTestSaysFailingServersAndReusesTheReportWindow) {
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
    EXPECT_EQ(shownReport.join("\r\n") + "\r\n", QString::fromStdString(report));
    const QString notice = "frmMsg busy Checking", done = "frmReport busy Done!";
    EXPECT_EQ(seen, QStringList({notice, notice, notice, done, notice, notice, notice, done}));
    EXPECT_EQ(h.dialogs.shown()[0].text.count("DOWN"), 1);
    EXPECT_EQ(w().Report(), window) << "hidden, not destroyed";
}

TEST_F(DeployTest, TheListsAndThePathDecideWhatConfirmTests) {
    const std::string found = "+  \\\\SRV01\\C$\\Apps\\  DOES exist!", old = "old";
    const QStringList srv{"SRV01"}, x{"C:\\x.txt"};
    const struct {
        QStringList servers, files;
        QString path;
        int answer;      // to the question about an empty deploy list; 0: not asked
        QString message; // after the question
        std::string report;
    } cases[] = {
        {srv, {}, "C:\\Apps", MsgAnswer::Yes, "", CrLf({found, " "})},
        {srv, x, "H:\\Apps", 0, kUnsupportedDeployPath.section("\r\n", 0, 0), old},
        {srv, {}, "", MsgAnswer::Yes, kNoPath, old},
        {{}, x, "C:\\Apps", 0, "You don't have any servers in your list to check!", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString() + " files " + std::to_string(c.files.size()));
        h.dialogs.Clear();
        h.dir.Write("report.top", old);
        Lists(c.servers, c.files, c.path);
        Click(w().cmdConfirmAll, c.answer);
        QStringList texts = Said();
        if (c.answer != 0) {
            EXPECT_EQ(texts.value(0), "You don't have any files listed in the deployment box!");
            texts.removeFirst();
        }
        EXPECT_EQ(texts.join("|"), c.message);
        EXPECT_EQ(Report(), c.report);
        EXPECT_EQ(h.dialogs.shown().back().kind == Shown::Window,
                  c.report != old && c.message.isEmpty());
    }
}

TEST_F(DeployTest, ConfirmSelectedWritesOneBlockPerSelectedServerClosedByAnEmptyLine) {
    Lists({"A1", "SRV02", "C3", "SRV04", "E5"}, {}, "C:\\");
    w().lstComputers->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    Click(w().cmdConfirmSel);
    w().lstComputers->item(1)->setSelected(true);
    w().lstComputers->item(3)->setSelected(true);
    Click(w().cmdConfirmSel, MsgAnswer::Yes, 1);
    EXPECT_EQ(Said(), QStringList({"You forgot to select one or more computers from the list.",
                                   "You don't have any files listed in the deployment box!"}));
    EXPECT_EQ(Report(), CrLf({"+  \\\\SRV02\\C$\\\\  DOES exist!", "",
                              "+  \\\\SRV04\\C$\\\\  DOES exist!", ""}));
}

// Said with its path and why, no report shown: at once, before a notice, or at the close.
TEST_F(DeployTest, AnUnwritableReportStopsTheConfirmRun) {
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

TEST_F(DeployTest, TheReportWindowShowsEveryLineOfTheReportFile) {
    frmReport report(w(), *h.nativeFiles, h.dir.path() + "report.top");
    h.dir.Write("report.top", "+  a  DOES exist!\r\n \r\n\r\nlf\ncr\rcr2\r\r\n"
                              "\\\\S\\C$\\\xc3\xa9t\xc3\xa9\r\nno last");
    report.show(); // read-only lines above the Close button
    EXPECT_TRUE(report.rtbReport->editTriggers() == QAbstractItemView::NoEditTriggers &&
                report.cmdClose->y() > report.rtbReport->geometry().bottom());
    EXPECT_EQ(report.Lines(), QStringList({"+  a  DOES exist!", " ", "", "lf", "cr", "cr2", "",
                                           "\\\\S\\C$\\\u00e9t\u00e9", "no last"}));
    // Copied in the file's order, each line once, also where the picked ranges overlap.
    const QAbstractItemModel& lines = *report.rtbReport->model();
    QItemSelection picked;
    for (const auto& [top, bottom] : {std::pair(7, 8), std::pair(3, 4), std::pair(4, 5)}) {
        picked.select(lines.index(top, 0), lines.index(bottom, 0));
    }
    report.rtbReport->selectionModel()->select(picked, QItemSelectionModel::Select);
    QTest::keyClick(report.rtbReport, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              "lf\ncr\ncr2\n\\\\S\\C$\\\u00e9t\u00e9\nno last\n");
}

} // namespace
} // namespace corvane::test
