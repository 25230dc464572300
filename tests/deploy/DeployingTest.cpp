// Deploy paths and their administrative shares; Deploy to All / Selected Servers on a lab network.
#include "Harness.h"
#include "LabNetwork.h"

#include "app/ListHelpers.h"
#include "deploy/AdminShare.h"

#include <QDir>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

TEST(AdminShareTest, MapsDrivesCToGAndRefusesPathsThatLeaveTheShareOrNoWindowsPathHolds) {
    const std::pair<QString, QString> cases[] = {
        {"C:\\Apps", "\\\\SRV01\\C$\\Apps"}, {"d:\\Data\\In\\", "\\\\SRV01\\D$\\Data\\In\\"},
        {"g:\\", "\\\\SRV01\\G$\\"},         {"E:", "\\\\SRV01\\E$"},
        {"H:\\Apps", "\\\\SRV01\\\\Apps"},   {"\\\\other\\x", "\\\\SRV01\\other\\x"},
    };
    for (const auto& [path, shared] : cases) {
        EXPECT_EQ(ToAdminSharePath("SRV01", path), shared);
    }
    for (const char* path : {"C:", "c:\\", "f:\\x", "G:\\Apps\\Bin", "C:\\a..b\\..c\\d.."}) {
        EXPECT_TRUE(IsSupportedDeployPath(path)) << path;
    }
    for (const char* path :
         {"", "C", "C:Apps", "H:\\Apps", "\\\\SRV\\C$", "C:\\Apps\\..\\x", "C:\\..",
          "C:\\Apps/..\\x", "C:\\a*b", "C:\\a?b", "C:\\a<b", "C:\\a>b", "C:\\a|b", "C:\\a\"b",
          "a|b", "a\"b", "C:\\a\tb", "C:\\Apps\r\n", "C:\\a\x1f"}) {
        EXPECT_FALSE(IsSupportedDeployPath(path)) << path;
    }
}

const QString kAsk = "You are about to deploy ALL files on the deploy list\r\nAre you sure you "
                     "want to do this?";

class DeployingTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.Start();
        for (const char* server : {"SRV01", "SRV02", "SRV03", "SRV04"}) {
            lab.AddServer(server, {.shares = {"C$", "D$"}});
        }
        lab.AddServer("DOWN", {.offline = true});
        lab.AddServer("LOCKED", {.denied = true});
    }
    frmMain& w() { return *h.window; }
    // Local files in AppDir put on the deploy list, as the file dialog would.
    void DeployList(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            h.dir.Write(name, name + " contents");
            const QString path = QDir::toNativeSeparators(h.dir.path() + name.c_str());
            w().lstDeployables->addItem(path);
            w().lstDeployables2->addItem(FileNameOf(path));
        }
    }
    void Deploy(QPushButton* button, const QString& path, int answer = MsgAnswer::Yes) {
        w().cboDeployPath->setEditText(path);
        h.dialogs.QueueAnswer(answer);
        button->click();
    }
    MainHarness h;
    LabNetwork lab{h.dir.path().toStdString()};
};

TEST_F(DeployingTest, CopiesEveryFileIntoTheNewFoldersAndNamesTheServersThatMissedThem) {
    w().lstComputers->addItems({"SRV01", "DOWN", "LOCKED", "SRV02", "bad name"});
    DeployList({"setup.exe", "gone.txt", "app.ini"});
    QFile::remove(h.dir.path() + "gone.txt");
    lab.WriteFile("SRV02/C$/Apps/Bin/app.ini", "old");
    Deploy(w().cmdDeployAll, "C:\\Apps\\Bin\\");
    for (const std::string server : {"SRV01", "SRV02"}) {
        EXPECT_EQ(lab.ReadFile(server + "/C$/Apps/Bin/setup.exe") + "|" +
                      lab.ReadFile(server + "/C$/Apps/Bin/app.ini"),
                  "setup.exe contents|app.ini contents");
        EXPECT_FALSE(lab.Exists(server + "/C$/Apps/Bin/gone.txt"));
    }
    EXPECT_EQ(Entries(*w().lstDeployables2), QStringList({"setup.exe", "app.ini"}));
    EXPECT_EQ(w().lstDeployables->count(), 2);
    const auto boxes = h.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].style, 4 + 48 + 256); // Yes/No, exclamation, No by default
    // The vanished local file is said once, not once per server; a success message would hide
    // the servers that did not get the files.
    EXPECT_EQ(QStringList({boxes[0].text, boxes[1].text, boxes[2].text}),
              QStringList({kAsk,
                           "The file 'gone.txt' is no longer pointing to a valid local file\r\n"
                           "and will be removed from the deploylist box.\r\n\r\nIt will NOT be "
                           "deployed to the target computer(s).",
                           "Unable to communicate to server DOWN\r\nThe server is either "
                           "offline or unreachable at this time."}));
    EXPECT_TRUE(boxes[3].text.startsWith("The files could not be deployed everywhere:\r\nDOWN: "
                                         "unreachable\r\nLOCKED: 2 of 2 file(s) not copied (") &&
                boxes[3].text.endsWith("\r\nbad name: not a usable server name"))
        << boxes[3].text.toStdString();
    EXPECT_EQ(w().cboDeployPath->findText("C:\\Apps\\Bin\\"), 0) << "remembered";
    EXPECT_FALSE(w().IsBusy());
}

// A file picked on a server's share is that server's destination itself: it must survive, and
// a local name no server can hold is neither dropped nor blamed on the server.
TEST_F(DeployingTest, AFileIsNeverCopiedOntoItselfAndOddLocalNamesStayOnTheList) {
    w().lstComputers->addItems({"SRV01", "SRV02"});
    lab.WriteFile("SRV01/C$/Apps/app.ini", "settings");
    const QString onServer = QString::fromStdString(lab.Path("SRV01/C$/Apps/app.ini"));
    w().lstDeployables->addItem(onServer);
    w().lstDeployables2->addItem("app.ini");
    DeployList({"what?.txt"});
    Deploy(w().cmdDeployAll, "C:\\apps");
    EXPECT_EQ(lab.ReadFile("SRV01/C$/Apps/app.ini") + lab.ReadFile("SRV02/C$/apps/app.ini"),
              "settingssettings");
    EXPECT_EQ(Entries(*w().lstDeployables), QStringList({onServer, h.dir.path() + "what?.txt"}));
    EXPECT_EQ(h.dialogs.MessageTexts().back(),
              "The files could not be deployed everywhere:\r\n"
              "SRV01: 2 of 2 file(s) not copied (The destination is the file itself)\r\n"
              "SRV02: 1 of 2 file(s) not copied (the file name holds a character that no "
              "server's file name may hold)");
}

TEST_F(DeployingTest, SelectedServersOnlyAndEveryRefusalCopiesNothing) {
    w().lstComputers->addItems({"SRV01", "SRV02", "SRV03", "SRV04"});
    // Refusals, in the order the handler makes its checks.
    w().cmdDeploySelected->click();
    w().lstComputers->setCurrentRow(0);
    w().lstComputers->item(0)->setSelected(false);
    w().cmdDeploySelected->click();
    w().lstComputers->item(1)->setSelected(true);
    w().lstComputers->item(3)->setSelected(true);
    w().cmdDeploySelected->click();
    DeployList({"a.exe"});
    for (const char* refused : {"", "H:\\Apps", "C:Apps"}) {
        w().cboDeployPath->setEditText(refused);
        w().cmdDeploySelected->click();
    }
    Deploy(w().cmdDeploySelected, "d:\\Apps", MsgAnswer::No);
    EXPECT_EQ(w().cboDeployPath->findText("d:\\Apps"), -1) << "No leaves the history alone";
    Deploy(w().cmdDeploySelected, "d:\\Apps");
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(lab.Exists("SRV0" + std::to_string(i) + "/D$/Apps/a.exe"), i % 2 == 0) << i;
    }
    // An empty computer list is said after the question.
    w().lstComputers->clear();
    Deploy(w().cmdDeployAll, "d:\\Apps");
    QStringList texts = h.dialogs.MessageTexts();
    EXPECT_TRUE(texts[6].contains("to ONLY the SELECTED computers") && texts[7] == texts[6])
        << texts.join('\n').toStdString();
    texts.remove(6, 2);
    EXPECT_EQ(texts, QStringList({"you forgot to select one or more computers from the list.",
                                  "You forgot to select one or more computers from the list.",
                                  "You haven't selected any files to deploy!",
                                  "There is no Deploy Path Specified.\r\nType a path in the field "
                                  "and try again.",
                                  kUnsupportedDeployPath, kUnsupportedDeployPath,
                                  "Files were successfully deployed!", kAsk,
                                  "You don't have any servers in your list to deploy to!"}));
}

} // namespace
} // namespace corvane::test
