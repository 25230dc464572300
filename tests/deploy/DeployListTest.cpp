// The deploy list's buttons and the main window's file checks, through the real widgets.
#include "Harness.h"
#include "LabNetwork.h"

#include "app/ListHelpers.h"

#include <QDir>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

class DeployListTest : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }
    frmMain& w() { return *h.window; }
    // A local path in AppDir, spelled as the platform's file dialog gives it.
    QString Local(const QString& name) const {
        return QDir::toNativeSeparators(h.dir.path() + name);
    }
    void Pick(const QStringList& names) {
        QStringList paths;
        for (const QString& name : names) {
            paths << Local(name);
        }
        h.dialogs.QueueFiles(paths);
        w().cmdAddDeployables->click();
    }
    void Select(std::initializer_list<int> rows) {
        for (const int row : rows) {
            w().lstDeployables2->item(row)->setSelected(true);
        }
    }
    QStringList Paths() const { return Entries(*h.window->lstDeployables); }
    QStringList Names() const { return Entries(*h.window->lstDeployables2); }
    MainHarness h;
};

TEST_F(DeployListTest, OneFileIsAppendedAndSeveralReplaceTheList) {
    Pick({QStringLiteral("a.exe")});
    Pick({QStringLiteral("a.exe")});
    EXPECT_EQ(Paths(),
              QStringList({Local(QStringLiteral("a.exe")), Local(QStringLiteral("a.exe"))}));
    EXPECT_EQ(Names(), QStringList({QStringLiteral("a.exe"), QStringLiteral("a.exe")}));
    EXPECT_EQ(h.dialogs.shown().back().title, QStringLiteral("Open files..."));
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));

    Pick({QStringLiteral("b.exe"), QStringLiteral("c.dll"), QStringLiteral("d.ini")});
    EXPECT_EQ(Paths(), QStringList({Local(QStringLiteral("b.exe")), Local(QStringLiteral("c.dll")),
                                    Local(QStringLiteral("d.ini"))}));
    EXPECT_EQ(Names(), QStringList({QStringLiteral("b.exe"), QStringLiteral("c.dll"),
                                    QStringLiteral("d.ini")}));

    // A cancelled dialog adds nothing and leaves the list as it was.
    h.dialogs.QueueFiles({});
    w().cmdAddDeployables->click();
    EXPECT_EQ(Names().size(), 3);
    EXPECT_FALSE(h.dir.Exists("filelist.txt")) << "adding does not write the list file";
}

TEST_F(DeployListTest, GetFilesGivesThePathOrTheFolderAndEachNameSeparatedByNul) {
    const QString sep = QDir::separator();
    const struct {
        QStringList picked;
        QString result;
    } cases[] = {
        {{}, {}},
        {{sep + QStringLiteral("Tools") + sep + QStringLiteral("setup.exe")},
         sep + QStringLiteral("Tools") + sep + QStringLiteral("setup.exe")},
        {{sep + QStringLiteral("Tools") + sep + QStringLiteral("a.exe"),
          sep + QStringLiteral("Tools") + sep + QStringLiteral("b.dll")},
         sep + QStringLiteral("Tools") + QChar(0) + QStringLiteral("a.exe") + QChar(0) +
             QStringLiteral("b.dll")},
        // At a root the folder keeps its separator, and the joined paths have two.
        {{sep + QStringLiteral("a.txt"), sep + QStringLiteral("b.txt")},
         sep + QChar(0) + QStringLiteral("a.txt") + QChar(0) + QStringLiteral("b.txt")},
        {{QStringLiteral("C:\\a.txt"), QStringLiteral("C:\\b.txt")},
         QStringLiteral("C:\\") + QChar(0) + QStringLiteral("a.txt") + QChar(0) +
             QStringLiteral("b.txt")},
    };
    for (const auto& c : cases) {
        h.dialogs.QueueFiles(c.picked);
        EXPECT_EQ(w().GetFiles(QStringLiteral("Open files...")), c.result)
            << c.picked.join(u',').toStdString();
    }
    h.dialogs.QueueFiles({QStringLiteral("C:\\a.txt"), QStringLiteral("C:\\b.txt")});
    w().cmdAddDeployables->click();
    EXPECT_EQ(Paths(), QStringList({QStringLiteral("C:\\") + sep + QStringLiteral("a.txt"),
                                    QStringLiteral("C:\\") + sep + QStringLiteral("b.txt")}));
    EXPECT_EQ(Names(), QStringList({QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
    EXPECT_EQ(h.dialogs.filters().back(),
              QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|INI Files "
                             "(*.ini)|*.ini|Images (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif"));
}

TEST_F(DeployListTest, RemoveTakesTheSelectedEntriesFromBothListsAndRewritesTheFile) {
    // Nothing to remove, or nothing selected: a message, and the file only created when missing.
    w().cmdRemoveDeployables->click();
    EXPECT_EQ(h.dir.Read("filelist.txt"), "");
    Pick({QStringLiteral("1.exe"), QStringLiteral("2.exe"), QStringLiteral("3.exe"),
          QStringLiteral("4.exe")});
    h.dir.Write("filelist.txt", "kept\r\n");
    w().cmdRemoveDeployables->click();
    EXPECT_EQ(h.dialogs.MessageTexts(),
              QStringList({QStringLiteral("There are no files on the deploy list to remove!"),
                           QStringLiteral("you forgot to select one or more\r\nfiles to remove "
                                          "from the list.")}));
    EXPECT_EQ(Names().size(), 4);
    EXPECT_EQ(h.dir.Read("filelist.txt"), "kept\r\n");

    Select({0, 3});
    w().cmdRemoveDeployables->click();
    EXPECT_EQ(Names(), QStringList({QStringLiteral("2.exe"), QStringLiteral("3.exe")}));
    EXPECT_EQ(Paths(),
              QStringList({Local(QStringLiteral("2.exe")), Local(QStringLiteral("3.exe"))}));
    EXPECT_EQ(h.dir.Read("filelist.txt"), CrLf({Local(QStringLiteral("2.exe")).toStdString(),
                                                Local(QStringLiteral("3.exe")).toStdString()}));

    Select({0, 1});
    w().cmdRemoveDeployables->click();
    EXPECT_TRUE(Names().isEmpty());
    EXPECT_EQ(h.dir.Read("filelist.txt"), "");
}

TEST_F(DeployListTest, ClearEmptiesBothListsAndTheBusyCursorBlocksEveryButton) {
    Pick({QStringLiteral("a.exe"), QStringLiteral("b.exe")});
    w().SetBusy(true);
    Select({0});
    w().cmdAddDeployables->click();
    w().cmdRemoveDeployables->click();
    w().cmdClearDeploy->click();
    w().SetBusy(false);
    EXPECT_EQ(Names().size(), 2);
    EXPECT_FALSE(h.dir.Exists("filelist.txt"));

    w().cmdClearDeploy->click();
    EXPECT_TRUE(Names().isEmpty());
    EXPECT_TRUE(Paths().isEmpty());
    EXPECT_FALSE(h.dir.Exists("filelist.txt")) << "the file follows at exit";
}

TEST_F(DeployListTest, FileChecksTellFoldersFromFilesAndSayAnUnreachableServerOnce) {
    LabNetwork lab(h.dir.path().toStdString());
    lab.AddServer("SRV01");
    lab.AddServer("DOWN", {.offline = true});
    lab.WriteFile("SRV01/C$/Apps/a.txt", "x");

    EXPECT_FALSE(w().DirExists(QString()));
    EXPECT_TRUE(w().DirExists(QStringLiteral("\\\\SRV01\\C$\\Apps")));
    EXPECT_TRUE(w().DirExists(QStringLiteral("\\\\srv01\\c$\\apps\\A.TXT"))) << "a file too";
    EXPECT_FALSE(w().DirExists(QStringLiteral("\\\\SRV01\\C$\\Other")));
    EXPECT_TRUE(w().FileExists(QStringLiteral("\\\\SRV01\\C$\\Apps\\a.txt")));
    EXPECT_FALSE(w().FileExists(QStringLiteral("\\\\SRV01\\C$\\Apps")));
    EXPECT_TRUE(h.dialogs.shown().empty());

    w().State().CurrentServer = QStringLiteral("DOWN");
    EXPECT_FALSE(w().DirExists(QStringLiteral("\\\\DOWN\\C$\\Apps")));
    ASSERT_EQ(h.dialogs.shown().size(), 1u);
    EXPECT_EQ(h.dialogs.shown()[0].objectName, QStringLiteral("frmMsg"));
    EXPECT_TRUE(h.dialogs.shown()[0].text.contains(QStringLiteral("DOWN")));
    FileResult failure;
    EXPECT_FALSE(w().FileExists(QStringLiteral("\\\\DOWN\\C$\\a.txt"), &failure));
    EXPECT_EQ(failure.error, kBadFileName);
    EXPECT_EQ(h.dialogs.shown().size(), 1u) << "FileExists leaves its errors to the caller";
}

} // namespace
} // namespace corvane::test
