// Start-up reads the six state files of AppDir; shut-down writes them back, once, and ends.
#include "FaultyFileSystem.h"
#include "Harness.h"
#include "StrangeFiles.h"

#include "app/ListHelpers.h"
#include "persist/History.h"
#include "platform/Dialogs.h"

#include <QDialog>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

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
    h.dir.Write("srvpath.top", CrLf({"d:\\a"}));
    h.dir.Write("schedapp.top", CrLf({"\"C:\\Program Files\\App\\app.exe\" /quiet"}));
    h.dir.Write("sp.top", CrLf({"D:\\a", "E:\\b", "", "", "", "", "", "", "", ""}));
    h.dir.Write("sa.top", CrLf({"rundll32.exe user32.dll,LockWorkStation"}));
    frmMain& w = h.Start();

    EXPECT_EQ(Entries(*w.lstComputers), (QStringList{"Alpha", "SRV01", "srv02", "WEB,01"}));
    EXPECT_EQ(Entries(*w.lstDeployables),
              (QStringList{"C:\\a\\one.exe", "two.cmd", "C:\\x,y\\three.dll"}));
    EXPECT_EQ(Entries(*w.lstDeployables2), (QStringList{"one.exe", "two.cmd", "three.dll"}));
    // The restored texts survive the filling of the histories.
    EXPECT_EQ(w.cboDeployPath->currentText(), QStringLiteral("d:\\a"));
    EXPECT_EQ(ComboEntries(*w.cboDeployPath), (QStringList{"D:\\a", "E:\\b"}));
    EXPECT_EQ(w.cboRun->currentText(),
              QStringLiteral("\"C:\\Program Files\\App\\app.exe\" /quiet"));
    EXPECT_EQ(ComboEntries(*w.cboRun), (QStringList{"rundll32.exe user32.dll,LockWorkStation"}));
    EXPECT_TRUE(h.dialogs.shown().empty());

    w.cmdExit_Click();
    EXPECT_EQ(h.endCalls, 1);
    EXPECT_EQ(h.endStatus, 0);
    EXPECT_EQ(h.dir.Read("computerlist.txt"), CrLf({"Alpha", "SRV01", "srv02", "\"WEB,01\""}));
    EXPECT_EQ(h.dir.Read("filelist.txt"),
              CrLf({"C:\\a\\one.exe", "two.cmd", "\"C:\\x,y\\three.dll\""}));
    EXPECT_EQ(h.dir.Read("srvpath.top"), CrLf({"d:\\a"}));
    EXPECT_EQ(h.dir.Read("schedapp.top"), CrLf({"\"C:\\Program Files\\App\\app.exe\" /quiet"}));
    // The current texts join their histories, case-sensitively, after the entries already there.
    EXPECT_EQ(h.dir.Read("sp.top"), CrLf({"D:\\a", "E:\\b", "d:\\a", "", "", "", "", "", "", ""}));
    EXPECT_EQ(h.dir.Read("sa.top"),
              CrLf({"rundll32.exe user32.dll,LockWorkStation",
                    "\"C:\\Program Files\\App\\app.exe\" /quiet", "", "", "", "", "", "", "", ""}));
}

TEST_F(StartupShutdownTest, FirstStartWithoutListsStartsCleanAndSavesNoListFiles) {
    h.dir.Write("srvpath.top", CrLf({"C:\\Deploy"}));
    h.dir.Write("schedapp.top", "");
    frmMain& w = h.Start();
    EXPECT_EQ(w.lstComputers->count() + w.lstDeployables->count() + w.lstDeployables2->count() +
                  w.cboDeployPath->count() + w.cboRun->count(),
              0);
    EXPECT_EQ(w.cboDeployPath->currentText(), QStringLiteral("C:\\Deploy"));
    EXPECT_TRUE(w.cboRun->currentText().isEmpty());
    EXPECT_TRUE(w.optToday->isChecked());
    EXPECT_EQ(w.cboAMPM->currentText(), QStringLiteral("PM"));
    EXPECT_TRUE(h.dialogs.shown().empty());

    w.cmdExit_Click();
    EXPECT_FALSE(h.dir.Exists("computerlist.txt"));
    EXPECT_FALSE(h.dir.Exists("filelist.txt"));
    EXPECT_EQ(h.dir.Read("schedapp.top"), "\r\n");
    EXPECT_EQ(h.dir.Read("sp.top"), CrLf({"C:\\Deploy", "", "", "", "", "", "", "", "", ""}));
    // An empty text is never remembered.
    EXPECT_EQ(h.dir.Read("sa.top"), CrLf({"", "", "", "", "", "", "", "", "", ""}));
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

TEST_F(StartupShutdownTest, APipeADeviceOrAHugeFileIsRefusedWithoutWaitingAndNamed) {
    GuardedFifo fifo(h.dir.file("computerlist.txt"));
    WriteSparse(h.dir.file("filelist.txt"), (16u << 20) + 1);
    GuardedFifo historyFifo(h.dir.file("sa.top"));
    std::filesystem::create_symlink("/dev/zero", h.dir.file("srvpath.top"));
    std::filesystem::create_symlink("/dev/urandom", h.dir.file("sp.top"));
    frmMain& w = h.Start();
    EXPECT_FALSE(fifo.hung());
    EXPECT_FALSE(historyFifo.hung());
    EXPECT_EQ(w.lstComputers->count(), 0);
    EXPECT_EQ(w.cboDeployPath->currentText(), QString());
    ASSERT_EQ(h.dialogs.MessageBoxes().size(), 1u);
    const QString text = h.dialogs.MessageBoxes()[0].text;
    EXPECT_TRUE(
        text.contains(QStringLiteral("computerlist.txt could not be read: Not a regular file")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("filelist.txt could not be read: Larger than 16 MB")))
        << text.toStdString();
}

TEST_F(StartupShutdownTest, ComboBoxesNeitherCompleteNorInsertOnEnter) {
    h.dir.Write("sp.top", CrLf({"first"}));
    h.dir.Write("sa.top", CrLf({"first.exe", "second.exe"}));
    frmMain& w = h.Start();
    w.show();
    for (QComboBox* box : {w.cboDeployPath, w.cboRun, w.cboAMPM}) {
        SCOPED_TRACE(box->objectName().toStdString());
        const QStringList before = ComboEntries(*box);
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("fir"));
        EXPECT_EQ(box->currentText(), QStringLiteral("fir"));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(ComboEntries(*box), before);
    }
}

TEST_F(StartupShutdownTest, AFailedSaveIsSaidKeepsTheOldFilesAndTouchesNoUnchangedOne) {
    const std::string oldList = CrLf({"OLD01", "OLD02"});
    h.dir.Write("computerlist.txt", oldList);
    h.dir.Write("schedapp.top", CrLf({"old.exe"}));
    h.dir.Write("srvpath.top", CrLf({""}));
    h.dir.Write("sp.top", CrLf({"", "", "", "", "", "", "", "", "", ""}));
    FaultyFileSystem refusing(*h.nativeFiles);
    frmMain& w = h.Start(&refusing);
    refusing.writeFailure = {kPermissionDenied, "Permission denied"};
    w.lstComputers->addItem(QStringLiteral("NEW03"));
    w.cboRun->setEditText(QStringLiteral("new.exe"));

    w.cmdExit_Click();
    EXPECT_EQ(h.endCalls, 1);
    const auto boxes = h.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].style, MsgStyle::Exclamation);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("Permission denied")));
    // Only the files whose bytes would change are written, and so named; filelist.txt had no
    // entries and no old file to delete.
    const std::pair<const char*, bool> named[] = {
        {"computerlist.txt", true}, {"schedapp.top", true}, {"sa.top", true},
        {"filelist.txt", false},    {"srvpath.top", false}, {"sp.top", false}};
    for (const auto& [name, expected] : named) {
        EXPECT_EQ(boxes[0].text.contains(QString::fromLatin1(name)), expected) << name;
    }
    EXPECT_EQ(h.dir.Read("computerlist.txt"), oldList);
    EXPECT_EQ(h.dir.Read("schedapp.top"), CrLf({"old.exe"}));
}

TEST_F(StartupShutdownTest, StateFilesThatCannotBeReadAreNeverWrittenNorDeleted) {
    const std::set<std::string> names = {"computerlist.txt", "filelist.txt", "srvpath.top",
                                         "schedapp.top",     "sp.top",       "sa.top"};
    const std::string kept = CrLf({"KEPT01", "KEPT02"});
    for (const std::string& name : names) {
        h.dir.Write(name, kept);
    }
    FaultyFileSystem faulty(*h.nativeFiles);
    faulty.readFailure = {kPermissionDenied, "Permission denied"};
    faulty.failingReads = names;
    frmMain& w = h.Start(&faulty);
    // Each list's own saves (Add Computer saves at once) leave them alone too.
    w.lstComputers->addItem(QStringLiteral("NEW01"));
    EXPECT_TRUE(w.SaveComputerList());
    w.cboRun->setEditText(QStringLiteral("new.exe"));
    w.cmdExit_Click();

    const auto boxes = h.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("will leave it as it is")));
    EXPECT_TRUE(boxes[1].text.contains(QStringLiteral("were left unchanged")));
    for (const std::string& name : names) {
        EXPECT_EQ(h.dir.Read(name), kept) << name;
        for (const auto& box : boxes) {
            EXPECT_TRUE(box.text.contains(QString::fromStdString(name))) << name;
        }
    }
}

TEST_F(StartupShutdownTest, OversizedHistoriesKeepTenLinesAndSaySo) {
    h.dir.Write("sa.top", Numbered("cmd", 50'000));
    frmMain& w = h.Start();
    EXPECT_EQ(w.cboRun->count(), 10);
    EXPECT_EQ(ComboEntries(*w.cboRun).back(), QStringLiteral("cmd1009"));
    ASSERT_EQ(h.dialogs.MessageBoxes().size(), 1u);
    EXPECT_TRUE(h.dialogs.MessageBoxes()[0].text.contains(QStringLiteral("49990 more")));
}

TEST_F(StartupShutdownTest, AnAnsiListKeepsItsBytesAndTakesNewEntriesInItsEncoding) {
    // Windows-1252: "MÜNCHEN01" and "SÃO–PAULO" (an en dash), and the undefined byte 0x81.
    const std::string ansi = CrLf({"M\xDCNCHEN01", "S\xC3O\x96PAULO", "X\x81"});
    h.dir.Write("computerlist.txt", ansi);
    h.dir.Write("sa.top", CrLf({"caf\xE9.exe"}));
    frmMain& w = h.Start();
    EXPECT_EQ(Entries(*w.lstComputers),
              (QStringList{QStringLiteral("MÜNCHEN01"), QStringLiteral("SÃO–PAULO"),
                           QStringLiteral("X\u0081")}));
    EXPECT_EQ(w.cboRun->itemText(0), QStringLiteral("café.exe"));
    w.cmdExit_Click();
    EXPECT_EQ(h.dir.Read("computerlist.txt"), ansi);
    EXPECT_EQ(h.dir.Read("sa.top").substr(0, 10), "caf\xE9.exe\r\n");

    // A new entry that Windows-1252 cannot carry turns the file into UTF-8, not into "?".
    MainHarness again;
    again.dir.Write("computerlist.txt", ansi);
    frmMain& w2 = again.Start();
    w2.lstComputers->addItem(QStringLiteral("ΑΘΗΝΑ01"));
    w2.cmdExit_Click();
    EXPECT_EQ(again.dir.Read("computerlist.txt"),
              CrLf({"M\xC3\x9CNCHEN01", "S\xC3\x83O\xE2\x80\x93PAULO", "X\xC2\x81",
                    "\xCE\x91\xCE\x98\xCE\x97\xCE\x9D\xCE\x91"
                    "01"}));
}

TEST_F(StartupShutdownTest, StartRemovesOnlyTheLeftoversOfInterruptedSaves) {
    const std::vector<std::pair<std::string, bool>> files = {
        {".computerlist.txt.corvane-tmp-Ab12Cd", true},
        {".sa.top.corvane-tmp-123-4", true},
        {".sa.top.corvane-tmp-", false},          // nothing after the mark: not ours
        {".other.txt.corvane-tmp-Ab12Cd", false}, // not a state file
        {".sa.top.XYZ123", false},
        {"computerlist.txt.corvane-tmp-1", false},
    };
    for (const auto& [name, _] : files) {
        h.dir.Write(name, "partial");
    }
    h.Start();
    for (const auto& [name, removed] : files) {
        EXPECT_NE(h.dir.Exists(name), removed) << name;
    }
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
