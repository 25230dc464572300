// The deploy list's buttons through the real widgets.
#include "Harness.h"

#include "app/ListHelpers.h"

#include <QDir>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

class DeployListTest : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }
    frmMain& w() { return *h.window; }
    // Local paths in AppDir, spelled as the platform's file dialog gives them.
    QStringList Local(QStringList names) const {
        for (QString& name : names) {
            name.prepend(QDir::toNativeSeparators(h.dir.path()));
        }
        return names;
    }
    void Pick(const QStringList& names, bool local = true) {
        h.dialogs.QueueFiles(local ? Local(names) : names);
        w().cmdAddDeployables->click();
    }
    void Remove(std::initializer_list<int> rows) {
        for (const int row : rows) {
            w().lstDeployables2->item(row)->setSelected(true);
        }
        w().cmdRemoveDeployables->click();
    }
    std::string ListFile() const {
        return h.dir.Exists("filelist.txt") ? h.dir.Read("filelist.txt") : "(missing)";
    }
    // Both lists: the full paths, then the names.
    QStringList Lists() const {
        return Entries(*h.window->lstDeployables) + Entries(*h.window->lstDeployables2);
    }
    MainHarness h;
};

TEST_F(DeployListTest, AddAppendsOneFileOrReplacesTheListAndClearEmptiesIt) {
    Pick({"a.exe"});
    Pick({"a.exe"});
    EXPECT_EQ(Lists(), Local({"a.exe", "a.exe"}) + QStringList({"a.exe", "a.exe"}));
    Pick({"b.exe", "c.dll"});
    Pick({}); // cancelled
    EXPECT_EQ(Lists(), Local({"b.exe", "c.dll"}) + QStringList({"b.exe", "c.dll"}));
    w().cmdClearDeploy->click();
    EXPECT_EQ(Lists(), QStringList());
    // At a root the folder keeps its separator, and Add joins it to each name with another.
    Pick({"C:\\a.txt", "C:\\b.txt"}, false);
    const QString s = QDir::separator();
    EXPECT_EQ(Lists(), QStringList({"C:\\" + s + "a.txt", "C:\\" + s + "b.txt", "a.txt", "b.txt"}));
    EXPECT_EQ(ListFile(), "(missing)") << "adding and clearing leave the file to the exit";
}

// The list file could not read back a quote or a line break: such files are named and left out;
// control characters are shown by their codes, so that a line break cannot hide.
TEST_F(DeployListTest, AddLeavesOutAndNamesTheFilesTheListFileCannotHold) {
    Pick({"ok.exe", "a\"b.exe", "line\nbreak.exe", "tab\tx.exe"});
    EXPECT_EQ(Lists(), Local({"ok.exe"}) + QStringList({"ok.exe"}));
    EXPECT_EQ(h.dialogs.MessageTexts().back(),
              "A file whose name holds a double quote (\") or a control character cannot stand on "
              "the deploy list; these were left out:\r\n" +
                  Local({"a\"b.exe", "line\\x0Abreak.exe", "tab\\x09x.exe"}).join("\r\n"));
    QStringList picked;
    for (int i = 0; i < 22; ++i) {
        picked << QString("bad\r%1").arg(i);
    }
    Pick(picked);
    EXPECT_EQ(Lists(), QStringList());
    EXPECT_TRUE(
        h.dialogs.MessageTexts().back().endsWith(Local({"bad\\x0D19"})[0] + "\r\nand 2 more"));
}

TEST_F(DeployListTest, RemoveTakesTheSelectedEntriesFromBothListsAndRewritesTheFile) {
    // Nothing to remove, or nothing selected: a message, and the file only created when missing.
    Remove({});
    EXPECT_EQ(ListFile(), "");
    Pick({"1.exe", "2.exe", "3.exe", "4.exe"});
    h.dir.Write("filelist.txt", "kept\r\n");
    Remove({});
    EXPECT_EQ(h.dialogs.MessageTexts(),
              QStringList({"There are no files on the deploy list to remove!",
                           "you forgot to select one or more\r\nfiles to remove from the list."}));
    EXPECT_EQ(ListFile(), "kept\r\n");
    Remove({0, 3});
    EXPECT_EQ(Lists(), Local({"2.exe", "3.exe"}) + QStringList({"2.exe", "3.exe"}));
    EXPECT_EQ(ListFile(), CrLf({Lists()[0].toStdString(), Lists()[1].toStdString()}));
    Remove({0, 1});
    EXPECT_EQ(Lists(), QStringList());
    EXPECT_EQ(ListFile(), "");
}

} // namespace
} // namespace corvane::test
