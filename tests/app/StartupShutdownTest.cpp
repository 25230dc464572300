// Start-up reads the six state files of AppDir; shut-down writes them back, once, and ends.
#include "FaultyFileSystem.h"
#include "Harness.h"

#include "app/ListHelpers.h"
#include "persist/History.h"
#include "platform/Dialogs.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

std::string Numbered(const char* prefix, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += prefix + std::to_string(1000 + i) + "\r\n";
    }
    return text;
}

class StartupShutdownTest : public ::testing::Test {
protected:
    MainHarness h;
};

TEST_F(StartupShutdownTest, RoundTripKeepsEveryListTextAndHistory) {
    h.dir.Write("computerlist.txt", CrLf({"srv02", "SRV01", "\"WEB,01\"", "Alpha"}));
    h.dir.Write("filelist.txt", CrLf({"C:\\a\\one.exe", "two.cmd", "\"C:\\x,y\\three.dll\""}));
    h.dir.Write("srvpath.top", CrLf({"D:\\Apps\\New"}));
    h.dir.Write("schedapp.top", CrLf({"\"C:\\Program Files\\App\\app.exe\" /quiet"}));
    h.dir.Write("sp.top", CrLf({"D:\\a", "E:\\b", "", "", "", "", "", "", "", ""}));
    h.dir.Write("sa.top", CrLf({"rundll32.exe user32.dll,LockWorkStation", "", "", "", "", "", "",
                                "", "", ""}));
    frmMain& w = h.Start();

    EXPECT_EQ(Entries(*w.lstComputers), (QStringList{"Alpha", "SRV01", "srv02", "WEB,01"}));
    EXPECT_EQ(Entries(*w.lstDeployables),
              (QStringList{"C:\\a\\one.exe", "two.cmd", "C:\\x,y\\three.dll"}));
    EXPECT_EQ(Entries(*w.lstDeployables2), (QStringList{"one.exe", "two.cmd", "three.dll"}));
    EXPECT_EQ(w.cboDeployPath->currentText(), QStringLiteral("D:\\Apps\\New"));
    EXPECT_EQ(ComboEntries(*w.cboDeployPath), (QStringList{"D:\\a", "E:\\b"}));
    EXPECT_EQ(w.cboRun->currentText(),
              QStringLiteral("\"C:\\Program Files\\App\\app.exe\" /quiet"));
    EXPECT_EQ(ComboEntries(*w.cboRun), (QStringList{"rundll32.exe user32.dll,LockWorkStation"}));
    EXPECT_TRUE(w.optToday->isChecked());
    EXPECT_FALSE(w.State().ServerUnreachable);
    EXPECT_TRUE(h.dialogs.shown().empty());

    w.cmdExit_Click();
    EXPECT_EQ(h.endCalls, 1);
    EXPECT_EQ(h.endStatus, 0);
    EXPECT_EQ(h.dir.Read("computerlist.txt"), CrLf({"Alpha", "SRV01", "srv02", "\"WEB,01\""}));
    EXPECT_EQ(h.dir.Read("filelist.txt"),
              CrLf({"C:\\a\\one.exe", "two.cmd", "\"C:\\x,y\\three.dll\""}));
    EXPECT_EQ(h.dir.Read("srvpath.top"), CrLf({"D:\\Apps\\New"}));
    EXPECT_EQ(h.dir.Read("schedapp.top"), CrLf({"\"C:\\Program Files\\App\\app.exe\" /quiet"}));
    // The current texts join their histories at shut-down, after the entries already there.
    EXPECT_EQ(h.dir.Read("sp.top"),
              CrLf({"D:\\a", "E:\\b", "D:\\Apps\\New", "", "", "", "", "", "", ""}));
    EXPECT_EQ(h.dir.Read("sa.top"),
              CrLf({"rundll32.exe user32.dll,LockWorkStation",
                    "\"C:\\Program Files\\App\\app.exe\" /quiet", "", "", "", "", "", "", "", ""}));

    // What was written is exactly what the next start reads.
    MainHarness again;
    for (const char* name :
         {"computerlist.txt", "filelist.txt", "srvpath.top", "schedapp.top", "sp.top", "sa.top"}) {
        again.dir.Write(name, h.dir.Read(name));
    }
    frmMain& w2 = again.Start();
    EXPECT_EQ(Entries(*w2.lstComputers), Entries(*w.lstComputers));
    EXPECT_EQ(Entries(*w2.lstDeployables), Entries(*w.lstDeployables));
    EXPECT_EQ(w2.cboRun->currentText(), w.cboRun->currentText());
    EXPECT_EQ(ComboEntries(*w2.cboRun), ComboEntries(*w.cboRun));
}

TEST_F(StartupShutdownTest, FirstStartWithOnlyTheTwoTextFiles) {
    h.dir.Write("srvpath.top", CrLf({"C:\\Deploy"}));
    h.dir.Write("schedapp.top", CrLf({"notepad.exe"}));
    frmMain& w = h.Start();
    EXPECT_EQ(w.lstComputers->count(), 0);
    EXPECT_EQ(w.lstDeployables->count(), 0);
    EXPECT_EQ(w.lstDeployables2->count(), 0);
    EXPECT_EQ(w.cboDeployPath->count(), 0);
    EXPECT_EQ(w.cboRun->count(), 0);
    EXPECT_EQ(w.cboDeployPath->currentText(), QStringLiteral("C:\\Deploy"));
    EXPECT_EQ(w.cboRun->currentText(), QStringLiteral("notepad.exe"));
    EXPECT_TRUE(w.optToday->isChecked());
    EXPECT_EQ(w.cboAMPM->currentText(), QStringLiteral("PM"));
    EXPECT_EQ(w.lblStatus->text(), QStringLiteral("Waiting for Command"));
    EXPECT_TRUE(h.dialogs.shown().empty());
}

TEST_F(StartupShutdownTest, EmptyOrMissingFilesStartCleanAndSaveNoListFiles) {
    h.dir.Write("srvpath.top", "");
    frmMain& w = h.Start();
    EXPECT_TRUE(w.cboDeployPath->currentText().isEmpty());
    EXPECT_TRUE(w.cboRun->currentText().isEmpty());
    EXPECT_TRUE(h.dialogs.shown().empty());

    w.cmdExit_Click();
    EXPECT_FALSE(h.dir.Exists("computerlist.txt"));
    EXPECT_FALSE(h.dir.Exists("filelist.txt"));
    EXPECT_EQ(h.dir.Read("srvpath.top"), "\r\n");
    EXPECT_EQ(h.dir.Read("sp.top"), CrLf({"", "", "", "", "", "", "", "", "", ""}));
}

TEST_F(StartupShutdownTest, MoreThanAThousandEntriesAreSaidAndSavedAsAThousand) {
    h.dir.Write("computerlist.txt", Numbered("SRV", 1005));
    h.dir.Write("filelist.txt", Numbered("C:\\f\\", 1002));
    frmMain& w = h.Start();
    EXPECT_EQ(w.lstComputers->count(), 1000);
    EXPECT_EQ(w.lstDeployables->count(), 1000);
    ASSERT_EQ(h.dialogs.MessageBoxes().size(), 1u);
    const QString text = h.dialogs.MessageBoxes()[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("computerlist.txt")));
    EXPECT_TRUE(text.contains(QStringLiteral("5 more were left out")));
    EXPECT_TRUE(text.contains(QStringLiteral("2 more were left out")));

    w.cmdExit_Click();
    EXPECT_EQ(h.dir.Read("computerlist.txt"), Numbered("SRV", 1000));
}

TEST_F(StartupShutdownTest, ComboBoxesKeepTheirTextsAndNeverInsertOnEnter) {
    h.dir.Write("schedapp.top", CrLf({"cmd.exe /c backup.cmd"}));
    h.dir.Write("sa.top", CrLf({"first.exe", "second.exe"}));
    frmMain& w = h.Start();
    w.show();
    EXPECT_EQ(w.cboRun->currentText(), QStringLiteral("cmd.exe /c backup.cmd"));

    w.cboRun->setFocus();
    w.cboRun->lineEdit()->selectAll();
    QTest::keyClicks(w.cboRun->lineEdit(), QStringLiteral("fir"));
    EXPECT_EQ(w.cboRun->currentText(), QStringLiteral("fir")); // no inline completion
    QTest::keyClick(w.cboRun->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(ComboEntries(*w.cboRun), (QStringList{"first.exe", "second.exe"}));

    w.cboAMPM->lineEdit()->selectAll();
    QTest::keyClicks(w.cboAMPM->lineEdit(), QStringLiteral("am"));
    QTest::keyClick(w.cboAMPM->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(ComboEntries(*w.cboAMPM), (QStringList{"AM", "PM"}));
}

TEST_F(StartupShutdownTest, RememberingAtShutDownIsCaseSensitiveAndSkipsEmptyText) {
    h.dir.Write("sp.top", CrLf({"c:\\temp"}));
    frmMain& w = h.Start();
    w.cboDeployPath->setEditText(QStringLiteral("C:\\Temp"));
    w.cboRun->setEditText(QString());
    w.cmdExit_Click();
    EXPECT_EQ(h.dir.Read("sp.top"), CrLf({"c:\\temp", "C:\\Temp", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(h.dir.Read("sa.top"), CrLf({"", "", "", "", "", "", "", "", "", ""}));
}

TEST_F(StartupShutdownTest, AFailedSaveIsSaidLeavesTheOldFilesAndStillEnds) {
    const std::string oldList = CrLf({"OLD01", "OLD02"});
    h.dir.Write("computerlist.txt", oldList);
    h.dir.Write("schedapp.top", CrLf({"old.exe"}));
    FaultyFileSystem refusing(*h.nativeFiles);
    frmMain& w = h.Start(&refusing);
    refusing.writeFailure = {kPermissionDenied, "Permission denied"};
    w.lstComputers->addItem(QStringLiteral("NEW03"));
    w.cboRun->setEditText(QStringLiteral("new.exe"));

    w.cmdExit_Click();
    EXPECT_EQ(h.endCalls, 1);
    const auto boxes = h.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    const Shown& box = boxes[0];
    EXPECT_EQ(box.style, MsgStyle::Exclamation);
    for (const char* name :
         {"computerlist.txt", "srvpath.top", "schedapp.top", "sp.top", "sa.top"}) {
        EXPECT_TRUE(box.text.contains(QString::fromLatin1(name))) << name;
    }
    EXPECT_TRUE(box.text.contains(QStringLiteral("Permission denied")));
    // filelist.txt had nothing to write and no old file to delete: it is not named.
    EXPECT_FALSE(box.text.contains(QStringLiteral("filelist.txt")));
    EXPECT_EQ(h.dir.Read("computerlist.txt"), oldList);
    EXPECT_EQ(h.dir.Read("schedapp.top"), CrLf({"old.exe"}));
    EXPECT_EQ(w.lstComputers->count(), 3);
}

TEST_F(StartupShutdownTest, ClosingTheWindowSavesOnceAndEndsWithHiddenWindowsAround) {
    h.dir.Write("computerlist.txt", CrLf({"SRV01"}));
    frmMain& w = h.Start();
    w.show();
    auto* viewer = new QDialog(&w); // stands for a hidden window such as the manual viewer
    viewer->show();
    viewer->hide();
    w.close();
    EXPECT_EQ(h.endCalls, 1);
    w.cmdExit_Click();
    EXPECT_EQ(h.endCalls, 1);
    EXPECT_EQ(h.dir.Read("computerlist.txt"), CrLf({"SRV01"}));
}

} // namespace
} // namespace corvane::test
