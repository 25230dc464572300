// A list file its user cannot read, end to end: the real file system, a user who is not root.
#include "Harness.h"
#include "RunProgram.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace corvane::test {
namespace {

TEST(UnreadableListTest, AListItsUserCannotReadSurvivesTheRun) {
    if (::geteuid() == 0) {
        // Root reads anything: the same test runs again as nobody.
        const std::string setpriv = "/usr/bin/setpriv";
        if (::access(setpriv.c_str(), X_OK) != 0) {
            GTEST_SKIP() << "setpriv (util-linux) is needed to run this as another user";
        }
        const ProgramResult r = RunProgram(
            setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups",
                      QCoreApplication::applicationFilePath().toStdString(),
                      "--gtest_filter=UnreadableListTest.AListItsUserCannotReadSurvivesTheRun"});
        EXPECT_EQ(r.status, 0) << r.out;
        EXPECT_NE(r.out.find("[  PASSED  ] 1 test"), std::string::npos) << r.out;
        return;
    }
    MainHarness h;
    const std::string servers = CrLf({"SRV01", "SRV02", "SRV03"});
    h.dir.Write("computerlist.txt", servers);
    const QString path = QString::fromStdString(h.dir.file("computerlist.txt"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::WriteOwner));
    frmMain& w = h.Start();
    EXPECT_EQ(w.lstComputers->count(), 0);
    w.lstComputers->addItem(QStringLiteral("NEW01"));
    w.SaveComputerList();
    w.cmdExit_Click();
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(h.dir.Read("computerlist.txt"), servers);
    EXPECT_EQ(h.dialogs.MessageBoxes().size(), 2u);
}

} // namespace
} // namespace corvane::test
