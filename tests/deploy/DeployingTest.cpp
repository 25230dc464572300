// Deploy to All / Selected Servers on a lab network built by the test.
#include "Harness.h"
#include "LabNetwork.h"

#include "app/ListHelpers.h"
#include "deploy/AdminShare.h"

#include <QDir>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

constexpr int kAskStyle = 4 + 48 + 256; // Yes/No, exclamation, No by default

class DeployingTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.Start();
        for (const char* server : {"SRV01", "SRV02", "SRV03", "SRV04", "SRV05", "SRV06"}) {
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
            const QString path =
                QDir::toNativeSeparators(h.dir.path() + QString::fromStdString(name));
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
    w().lstComputers->addItems({QStringLiteral("SRV01"), QStringLiteral("DOWN"),
                                QStringLiteral("LOCKED"), QStringLiteral("SRV02"),
                                QStringLiteral("bad name")});
    DeployList({"setup.exe", "app.ini"});
    lab.WriteFile("SRV02/C$/Apps/Bin/app.ini", "old");
    Deploy(w().cmdDeployAll, QStringLiteral("C:\\Apps\\Bin\\"));

    for (const char* server : {"SRV01", "SRV02"}) {
        EXPECT_EQ(lab.ReadFile(std::string(server) + "/C$/Apps/Bin/setup.exe"),
                  "setup.exe contents");
        EXPECT_EQ(lab.ReadFile(std::string(server) + "/C$/Apps/Bin/app.ini"), "app.ini contents");
    }
    const auto boxes = h.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("You are about to deploy ALL files on the deploy "
                                            "list\r\nAre you sure you want to do this?"));
    EXPECT_EQ(boxes[0].title, QStringLiteral("Deploy Files"));
    EXPECT_EQ(boxes[0].style, kAskStyle);
    EXPECT_EQ(boxes[1].text, QStringLiteral("Unable to communicate to server DOWN\r\nThe server is "
                                            "either offline or unreachable at this time."));
    // A success message would hide the servers that did not get the files.
    EXPECT_TRUE(boxes[2].text.startsWith(
        QStringLiteral("The files could not be deployed everywhere:\r\nDOWN: unreachable\r\n"
                       "LOCKED: 2 of 2 file(s) not copied (")))
        << boxes[2].text.toStdString();
    EXPECT_TRUE(boxes[2].text.endsWith(QStringLiteral("\r\nbad name: not a usable server name")));
    EXPECT_EQ(w().cboDeployPath->findText(QStringLiteral("C:\\Apps\\Bin\\")), 0) << "remembered";
    EXPECT_FALSE(w().IsBusy());
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
}

TEST_F(DeployingTest, AVanishedLocalFileIsSaidOnceAndLeavesTheList) {
    w().lstComputers->addItems({QStringLiteral("SRV01"), QStringLiteral("SRV02")});
    DeployList({"one.txt", "two.txt", "three.txt"});
    QFile::remove(h.dir.path() + QStringLiteral("two.txt"));
    Deploy(w().cmdDeployAll, QStringLiteral("d:\\data"));

    EXPECT_EQ(h.dialogs.MessageTexts().mid(1),
              QStringList({QStringLiteral("The file 'two.txt' is no longer pointing to a valid "
                                          "local file\r\nand will be removed from the deploylist "
                                          "box.\r\n\r\nIt will NOT be deployed to the target "
                                          "computer(s)."),
                           QStringLiteral("Files were successfully deployed!")}));
    EXPECT_EQ(Entries(*w().lstDeployables2),
              QStringList({QStringLiteral("one.txt"), QStringLiteral("three.txt")}));
    EXPECT_EQ(w().lstDeployables->count(), 2);
    for (const char* server : {"SRV01", "SRV02"}) {
        EXPECT_TRUE(lab.Exists(std::string(server) + "/D$/data/one.txt"));
        EXPECT_TRUE(lab.Exists(std::string(server) + "/D$/data/three.txt"));
        EXPECT_FALSE(lab.Exists(std::string(server) + "/D$/data/two.txt"));
    }
}

TEST_F(DeployingTest, SelectedServersOnlyAndEveryRefusalCopiesNothing) {
    for (const char* server : {"SRV01", "SRV02", "SRV03", "SRV04", "SRV05", "SRV06"}) {
        w().lstComputers->addItem(QString::fromLatin1(server));
    }
    const QString path = QStringLiteral("C:\\Apps");
    // Refusals, in the order the handler makes its checks.
    w().cmdDeploySelected->click();
    w().lstComputers->setCurrentRow(0);
    w().lstComputers->item(0)->setSelected(false);
    w().cmdDeploySelected->click();
    w().lstComputers->item(2)->setSelected(true);
    w().lstComputers->item(5)->setSelected(true);
    w().cmdDeploySelected->click();
    DeployList({"a.exe"});
    w().cboDeployPath->setEditText(QString());
    w().cmdDeploySelected->click();
    for (const char* unsupported : {"H:\\Apps", "\\\\other\\share", "C:Apps", "C"}) {
        w().cboDeployPath->setEditText(QString::fromLatin1(unsupported));
        w().cmdDeploySelected->click();
    }
    Deploy(w().cmdDeploySelected, path, MsgAnswer::No);
    const QStringList texts = h.dialogs.MessageTexts();
    ASSERT_EQ(texts.size(), 9);
    EXPECT_EQ(texts[0],
              QStringLiteral("you forgot to select one or more computers from the list."));
    EXPECT_EQ(texts[1],
              QStringLiteral("You forgot to select one or more computers from the list."));
    EXPECT_EQ(texts[2], QStringLiteral("You haven't selected any files to deploy!"));
    EXPECT_EQ(texts[3], QStringLiteral("There is no Deploy Path Specified.\r\nType a path in the "
                                       "field and try again."));
    for (int i = 4; i < 8; ++i) {
        EXPECT_EQ(texts[i], kUnsupportedDeployPath) << i;
    }
    EXPECT_TRUE(texts[8].contains(QStringLiteral("to ONLY the SELECTED computers")));
    EXPECT_FALSE(lab.Exists("SRV03/C$/Apps"));
    EXPECT_EQ(w().cboDeployPath->findText(path), -1) << "No leaves the history alone";

    Deploy(w().cmdDeploySelected, path);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(lab.Exists("SRV0" + std::to_string(i + 1) + "/C$/Apps/a.exe"), i == 2 || i == 5)
            << i;
    }
    EXPECT_EQ(w().State().CurrentServer, QStringLiteral("SRV06"));
    EXPECT_EQ(h.dialogs.MessageTexts().back(), QStringLiteral("Files were successfully deployed!"));
}

TEST_F(DeployingTest, AnEmptyComputerListIsSaidAfterTheQuestionAndABusyWindowRefuses) {
    DeployList({"a.exe"});
    Deploy(w().cmdDeployAll, QStringLiteral("C:\\Apps"));
    EXPECT_EQ(h.dialogs.MessageTexts().back(),
              QStringLiteral("You don't have any servers in your list to deploy to!"));

    w().lstComputers->addItem(QStringLiteral("SRV01"));
    w().SetBusy(true);
    w().SetStatus(StatusColour::Busy, QStringLiteral("Checking"));
    w().cmdDeployAll->click();
    EXPECT_EQ(h.dialogs.MessageBoxes().size(), 2u);
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
    EXPECT_FALSE(lab.Exists("SRV01/C$/Apps"));
}

} // namespace
} // namespace corvane::test
