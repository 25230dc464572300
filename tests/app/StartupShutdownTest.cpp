// Start-up reads the six state files of AppDir; shut-down writes them back, once, and ends.
#include "FaultyFileSystem.h"
#include "Harness.h"
#include "RunProgram.h"
#include "StrangeFiles.h"

#include "app/ListHelpers.h"
#include "persist/History.h"
#include "platform/NativeFileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace corvane::test {
namespace {

const std::vector<std::string> kStateFiles{"computerlist.txt", "filelist.txt", "srvpath.top",
                                           "schedapp.top",     "sp.top",       "sa.top"};

class StartupShutdownTest : public ::testing::Test {
protected:
    QStringList Loaded() {
        frmMain& w = *h.window;
        const auto all = [](const QStringList& entries) { return entries.join(u'|'); };
        return {all(Entries(*w.lstComputers)),    all(Entries(*w.lstDeployables)),
                all(Entries(*w.lstDeployables2)), all(ComboEntries(*w.cboDeployPath)),
                w.cboDeployPath->currentText(),   all(ComboEntries(*w.cboRun)),
                w.cboRun->currentText()};
    }
    std::vector<std::string> Saved() const {
        std::vector<std::string> files;
        for (const std::string& name : kStateFiles)
            files.push_back(h.dir.Exists(name) ? h.dir.Read(name) : "-");
        return files;
    }
    static std::string History(std::vector<std::string> lines) {
        lines.resize(10);
        return CrLf(lines);
    }
    MainHarness h;
};

TEST_F(StartupShutdownTest, RoundTripKeepsEveryListTextAndHistory) {
    h.dir.Write("computerlist.txt", CrLf({"srv02", "SRV01", "\"WEB,01\"", "Alpha"}));
    h.dir.Write("filelist.txt", CrLf({"C:\\a\\one.exe", "two.cmd", "\"C:\\x,y\\three.dll\""}));
    h.dir.Write("srvpath.top", CrLf({"d:\\a"}));
    h.dir.Write("schedapp.top", CrLf({"\"C:\\Program Files\\App\\app.exe\" /quiet"}));
    h.dir.Write("sp.top", History({"D:\\a", "E:\\b"}));
    h.dir.Write("sa.top", CrLf({"rundll32.exe user32.dll,LockWorkStation"}));
    frmMain& w = h.Start();
    EXPECT_EQ(Loaded(),
              (QStringList{"Alpha|SRV01|srv02|WEB,01", "C:\\a\\one.exe|two.cmd|C:\\x,y\\three.dll",
                           "one.exe|two.cmd|three.dll", "D:\\a|E:\\b", "d:\\a",
                           "rundll32.exe user32.dll,LockWorkStation",
                           "\"C:\\Program Files\\App\\app.exe\" /quiet"}));
    EXPECT_TRUE(h.dialogs.shown().empty());

    w.cmdExit_Click();
    EXPECT_EQ(h.ends, std::vector<int>{0});
    EXPECT_EQ(Saved(), (std::vector<std::string>{
                           CrLf({"Alpha", "SRV01", "srv02", "\"WEB,01\""}),
                           CrLf({"C:\\a\\one.exe", "two.cmd", "\"C:\\x,y\\three.dll\""}),
                           CrLf({"d:\\a"}), CrLf({"\"C:\\Program Files\\App\\app.exe\" /quiet"}),
                           History({"D:\\a", "E:\\b", "d:\\a"}),
                           History({"rundll32.exe user32.dll,LockWorkStation",
                                    "\"C:\\Program Files\\App\\app.exe\" /quiet"})}));
}

TEST_F(StartupShutdownTest, FirstStartStartsCleanRemovesLeftoversAndClosingSavesOnce) {
    h.dir.Write("srvpath.top", CrLf({"C:\\Deploy"}));
    h.dir.Write("schedapp.top", "");
    // Only the first two are leftovers of interrupted saves.
    const QStringList files({".computerlist.txt.corvane-tmp-Ab12Cd", ".sa.top.corvane-tmp-123-4",
                             ".sa.top.corvane-tmp-", ".other.txt.corvane-tmp-Ab12Cd",
                             ".sa.top.XYZ123", "computerlist.txt.corvane-tmp-1"});
    for (const QString& name : files)
        h.dir.Write(name.toStdString(), "partial");
    frmMain& w = h.Start();
    QString left;
    for (const QString& name : files)
        left += h.dir.Exists(name.toStdString()) ? '1' : '0';
    EXPECT_EQ(left, QStringLiteral("001111"));
    EXPECT_EQ(Loaded(), (QStringList{"", "", "", "", "C:\\Deploy", "", ""}));
    EXPECT_TRUE(w.optToday->isChecked() && h.dialogs.shown().empty());
    w.show();
    auto* viewer = new QDialog(&w); // stands for a hidden window such as the manual viewer
    viewer->show();
    viewer->hide();
    w.close();
    w.cmdExit_Click();
    EXPECT_EQ(h.ends.size(), 1u);
    EXPECT_EQ(Saved(), (std::vector<std::string>{"-", "-", CrLf({"C:\\Deploy"}), "\r\n",
                                                 History({"C:\\Deploy"}), History({})}));
}

TEST_F(StartupShutdownTest, APipeADeviceOrAHugeFileIsRefusedWithoutWaitingAndNamed) {
    GuardedFifo fifo(h.dir.file("computerlist.txt"));
    WriteSparse(h.dir.file("filelist.txt"), (16u << 20) + 1);
    GuardedFifo historyFifo(h.dir.file("sa.top"));
    std::filesystem::create_symlink("/dev/zero", h.dir.file("srvpath.top"));
    std::filesystem::create_symlink("/dev/urandom", h.dir.file("sp.top"));
    h.Start();
    EXPECT_FALSE(fifo.hung() || historyFifo.hung());
    EXPECT_EQ(Loaded(), (QStringList{"", "", "", "", "", "", ""}));
    ASSERT_EQ(h.dialogs.MessageBoxes().size(), 1u);
    const QString text = h.dialogs.MessageBoxes()[0].text;
    EXPECT_TRUE(text.contains("computerlist.txt could not be read: Not a regular file") &&
                text.contains("filelist.txt could not be read: Larger than 16 MB"))
        << text.toStdString();
}

TEST_F(StartupShutdownTest, AFailedSaveIsSaidKeepsTheOldFilesAndTouchesNoUnchangedOne) {
    h.dir.Write("computerlist.txt", CrLf({"OLD01", "OLD02"}));
    h.dir.Write("schedapp.top", CrLf({"old.exe"}));
    h.dir.Write("srvpath.top", CrLf({""}));
    h.dir.Write("sp.top", History({}));
    FaultyFileSystem refusing(*h.nativeFiles);
    frmMain& w = h.Start(&refusing);
    refusing.writeFailure = {kPermissionDenied, "Permission denied"};
    w.lstComputers->addItem(QStringLiteral("NEW03"));
    w.cboRun->setEditText(QStringLiteral("new.exe"));
    const std::vector<std::string> before = Saved();
    w.cmdExit_Click();
    EXPECT_EQ(h.ends.size(), 1u);
    EXPECT_EQ(Saved(), before);
    const QStringList boxes = h.dialogs.MessageTexts();
    QStringList named;
    for (const std::string& name : kStateFiles)
        named << (boxes.join("").contains(name.c_str()) ? name.c_str() : "-");
    EXPECT_EQ(named, (QStringList{"computerlist.txt", "-", "-", "schedapp.top", "-", "sa.top"}));
    EXPECT_TRUE(boxes.size() == 1 && boxes[0].contains("Permission denied"))
        << boxes.join('|').toStdString();
}

TEST_F(StartupShutdownTest, StateFilesThatCannotBeReadAreNeverWrittenNorDeleted) {
    const std::string kept = CrLf({"KEPT01", "KEPT02"});
    for (const std::string& name : kStateFiles)
        h.dir.Write(name, kept);
    FaultyFileSystem faulty(*h.nativeFiles);
    faulty.readFailure = {kPermissionDenied, "Permission denied"};
    faulty.failingReads = {kStateFiles.begin(), kStateFiles.end()};
    frmMain& w = h.Start(&faulty);
    w.lstComputers->addItem(QStringLiteral("NEW01"));
    EXPECT_TRUE(w.SaveComputerList());
    w.cboRun->setEditText(QStringLiteral("new.exe"));
    w.cmdExit_Click();
    EXPECT_EQ(Saved(), std::vector<std::string>(6, kept));
    const QStringList boxes = h.dialogs.MessageTexts();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("will leave it as it is")) &&
                boxes[1].contains(QStringLiteral("were left unchanged")));
    for (const std::string& name : kStateFiles)
        EXPECT_EQ(boxes.join(u'|').count(QString::fromStdString(name)), 2) << name;
}

TEST_F(StartupShutdownTest, AnAnsiListKeepsItsBytesAndTakesNewEntriesInItsEncoding) {
    const std::string ansi = CrLf({"M\xDCNCHEN01", "S\xC3O\x96PAULO", "X\x81"});
    h.dir.Write("computerlist.txt", ansi);
    h.dir.Write("sa.top", CrLf({"caf\x80.exe"})); // its one letter beyond ASCII: the first
    frmMain& w = h.Start();
    EXPECT_EQ(Loaded().mid(0, 6).join(u'/'),
              QStringLiteral("MÜNCHEN01|SÃO–PAULO|X\u0081/////caf€.exe"));
    w.cmdExit_Click();
    EXPECT_EQ(h.dir.Read("computerlist.txt"), ansi);
    EXPECT_EQ(h.dir.Read("sa.top").substr(0, 10), "caf\x80.exe\r\n");

    w.lstComputers->addItem(QStringLiteral("ĀTHINA01"));
    EXPECT_TRUE(w.SaveComputerList());
    EXPECT_EQ(h.dir.Read("computerlist.txt"),
              CrLf({"MÜNCHEN01", "SÃO–PAULO", "X\xC2\x81", "ĀTHINA01"}));
}

TEST(UnreadableListTest, AListItsUserCannotReadSurvivesTheRun) {
    if (::geteuid() == 0) {
        if (::access("/usr/bin/setpriv", X_OK) != 0)
            GTEST_SKIP() << "setpriv (util-linux) is needed to run this as another user";
        const ProgramResult r =
            RunProgram("/usr/bin/setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                                            QCoreApplication::applicationFilePath().toStdString(),
                                            "--gtest_filter=UnreadableListTest.*"});
        EXPECT_TRUE(r.status == 0 && r.out.find("[  PASSED  ] 1 test") != std::string::npos)
            << r.out;
        return;
    }
    MainHarness h;
    h.dir.Write("computerlist.txt", CrLf({"SRV01", "SRV02", "SRV03"}));
    const QString path = QString::fromStdString(h.dir.file("computerlist.txt"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::WriteOwner));
    frmMain& w = h.Start();
    EXPECT_EQ(w.lstComputers->count(), 0);
    w.lstComputers->addItem(QStringLiteral("NEW01"));
    w.SaveComputerList();
    w.cmdExit_Click();
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(h.dir.Read("computerlist.txt"), CrLf({"SRV01", "SRV02", "SRV03"}));
    EXPECT_EQ(h.dialogs.MessageBoxes().size(), 2u);
}

void PressExitWhileAHandlerWaits(const std::string& folder) {
    ScriptedDialogs dialogs;
    const auto files = MakeNativeFileSystem();
    RecordingWindowing windowing;
    FixedClock clock;
    Services services{dialogs, *files, nullptr, windowing, clock}; // the real way to end
    frmMain window(QString::fromStdString(folder), services);
    window.Form_Load();
    window.lstComputers->addItem(QStringLiteral("SRV01"));
    window.cboRun->setEditText(QStringLiteral("backup.cmd"));
    window.show();
    QTimer::singleShot(10, window.cmdExit, &QPushButton::click);
    QEventLoop().exec(); // a handler waiting for its command, delivering events meanwhile
    std::ofstream(folder + "resumed") << "resumed"; // only a resumed handler gets here
    std::exit(3);
}

TEST(ExitDeathTest, ExitDuringAWaitSavesAndNeverResumesTheHandler) {
    if (std::getenv("CORVANE_EXIT_TEST_DIR") == nullptr) {
        std::string folder = QDir::tempPath().toStdString() + "/corvane-exit-XXXXXX";
        ASSERT_NE(::mkdtemp(folder.data()), nullptr);
        ::setenv("CORVANE_EXIT_TEST_DIR", (folder + '/').c_str(), 1);
    }
    const std::string folder = std::getenv("CORVANE_EXIT_TEST_DIR");
    EXPECT_EXIT(PressExitWhileAHandlerWaits(folder), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadBytes(folder + "computerlist.txt") + '|' + ReadBytes(folder + "schedapp.top") +
                  '|' + ReadBytes(folder + "resumed"),
              CrLf({"SRV01"}) + '|' + CrLf({"backup.cmd"}) + '|');
    QDir(QString::fromStdString(folder)).removeRecursively();
    ::unsetenv("CORVANE_EXIT_TEST_DIR");
}

} // namespace
} // namespace corvane::test
