// The computer list's buttons through the real widgets: Add, Remove, Clear, Import and Export.
#include "FaultyFileSystem.h"
#include "Harness.h"
#include "StrangeFiles.h"

#include "app/ListHelpers.h"
#include "computers/frmAddComputer.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

class ComputerListTest : public ::testing::Test {
protected:
    void SetUp() override { h.Start(&files); }
    frmMain& w() { return *h.window; }
    QStringList List() { return Entries(*w().lstComputers); }
    void Add(std::function<void(frmAddComputer&)> action) {
        h.dialogs.QueueWindowAction(
            [action](QDialog& dialog) { action(static_cast<frmAddComputer&>(dialog)); });
        w().cmdAdd->click();
    }
    QString Pick(QPushButton* button, std::optional<std::string> name) {
        h.dialogs.Clear();
        h.dialogs.QueueFile(name ? std::optional(File(*name)) : std::nullopt);
        button->click();
        EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
        return Boxes().join(u'|');
    }
    QString File(const std::string& name) const { return QString::fromStdString(h.dir.file(name)); }
    QStringList Boxes() const { return h.dialogs.MessageTexts(); }
    MainHarness h;
    FaultyFileSystem files{*h.nativeFiles};
};

TEST_F(ComputerListTest, AddUpperCasesTypingKeepsPastesStripsBackslashesAndRefusesUnfitNames) {
    enum How { Type, Paste, Set, TypeAndEnter };
    const std::pair<const char*, How> cases[] = {
        {"srv01", Type},  {"web-01.corp", Paste},  {"\\\\SRV01", Set}, {"\\\\\\\\SRV02", Set},
        {"\\SRV03", Set}, {"srv01", TypeAndEnter}, // a duplicate, added once
    };
    for (const auto& [typed, how] : cases) {
        Add([&](frmAddComputer& d) {
            const QString text = QString::fromLatin1(typed);
            QApplication::clipboard()->setText(text);
            if (how == Paste)
                QTest::keyClick(d.txtComputer, Qt::Key_V, Qt::ControlModifier);
            else
                how == Set ? d.txtComputer->setText(text) : QTest::keyClicks(d.txtComputer, text);
            how == TypeAndEnter ? QTest::keyClick(d.txtComputer, Qt::Key_Return)
                                : d.cmdAdd->click();
            EXPECT_FALSE(d.isVisible()) << typed;
        });
    }
    const QStringList added{"\\\\SRV02", "\\SRV03", "SRV01", "SRV01", "SRV01", "web-01.corp"};
    EXPECT_EQ(List(), added);
    EXPECT_EQ(h.dir.Read("computerlist.txt"), (added.join("\r\n") + "\r\n").toStdString());
    EXPECT_TRUE(Boxes().isEmpty());

    for (int i = 6; i < 1000; ++i)
        w().lstComputers->addItem(QStringLiteral("SRV%1").arg(i, 4, 10, QLatin1Char('0')));
    Add([&](frmAddComputer& d) {
        EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Adding Computer"));
        EXPECT_TRUE(d.minimumSize() == d.maximumSize() && d.lblTypeName->buddy() == d.txtComputer);
        QTest::keyClicks(d.txtComputer, QStringLiteral("srv01"));
        QTest::keyClick(d.txtComputer, Qt::Key_Escape); // bound to nothing
        // A refused name stays in the box, without the backslashes it was typed with.
        for (const char* name : {"", "\\\\SRV\"01", "SRV\r\n02", "ONEMORE"}) {
            d.txtComputer->setText(QString::fromLatin1(name));
            d.cmdAdd->click();
            EXPECT_TRUE(d.isVisible() && !d.txtComputer->text().startsWith(u'\\')) << name;
        }
        d.cmdCancel->click();
    });
    EXPECT_EQ(h.dir.Read("computerlist.txt"), (added.join("\r\n") + "\r\n").toStdString());
    const QString boxes = Boxes().join(u'|');
    EXPECT_TRUE(boxes.startsWith("You forgot to type a computer name, please try again.|"));
    for (const char* part : {"double quote", "SRV\\x0D\\x0A02", "holds 1000"})
        EXPECT_TRUE(boxes.contains(QString::fromLatin1(part))) << part;
    EXPECT_EQ(Boxes().size(), 4);
}

TEST_F(ComputerListTest, RemoveTakesEverySelectedNeighbourAndAlwaysLeavesTheFileWhichClearKeeps) {
    const auto remove = [&](std::initializer_list<int> selected, int current) {
        for (int row : selected)
            w().lstComputers->item(row)->setSelected(true);
        w().lstComputers->setCurrentRow(current, QItemSelectionModel::NoUpdate);
        w().cmdRemove->click();
        return List().join(u',').toStdString() + '|' + h.dir.Read("computerlist.txt");
    };
    EXPECT_EQ(remove({}, -1), "|"); // an empty list: the file is written even so
    EXPECT_TRUE(h.dir.Exists("computerlist.txt"));
    std::filesystem::remove(h.dir.file("computerlist.txt"));
    w().lstComputers->addItems({"A1", "B2", "C3", "D4", "E5"});
    remove({}, -1);                              // no current entry
    EXPECT_EQ(remove({}, 1), "A1,B2,C3,D4,E5|"); // nothing selected
    EXPECT_EQ(remove({1, 2, 3}, 1), "A1,E5|" + CrLf({"A1", "E5"}));
    w().cmdClear->click(); // empties the list but not the file
    EXPECT_EQ(List().size(), 0);
    EXPECT_EQ(h.dir.Read("computerlist.txt"), CrLf({"A1", "E5"}));
    w().lstComputers->addItems({"A1", "E5"});
    EXPECT_EQ(remove({0, 1}, 0), "|");
    EXPECT_EQ(
        Boxes(),
        (QStringList{"There are no servers on the list!", "There are no servers on the list!",
                     "you forgot to select one or more\r\nservers to remove from the list."}));
}

// Import reads the whole file, then replaces the list; Export deletes the file of an empty list.
TEST_F(ComputerListTest, ImportAndExportRoundTripEveryNameAndNameEveryFailure) {
    QPushButton *in = w().cmdImport, *out = w().cmdExport;
    h.dir.Write("export.txt", CrLf({"OLD"}));
    EXPECT_EQ(Pick(out, "export.txt"), "");
    EXPECT_FALSE(h.dir.Exists("export.txt"));
    w().lstComputers->addItems({"SRV01", "WEB,02", " LEADING", "srv03"});
    EXPECT_EQ(Pick(out, "export.txt") + Pick(out, std::nullopt) + Pick(in, std::nullopt), "");
    EXPECT_EQ(h.dir.Read("export.txt"), CrLf({"SRV01", "\"WEB,02\"", "\" LEADING\"", "srv03"}));
    w().cmdClear->click();
    EXPECT_EQ(Pick(in, "export.txt"), "");
    EXPECT_EQ(List(), (QStringList{" LEADING", "SRV01", "srv03", "WEB,02"}));
    h.dir.Write("unfit.txt", CrLf({"GOOD01", "\"TAB\tX\"", "QU\"OTE"}));
    EXPECT_TRUE(Pick(in, "unfit.txt").endsWith(QStringLiteral("TAB\\x09X\r\nQU\"OTE")));
    EXPECT_EQ(List(), QStringList{"GOOD01"});
    EXPECT_FALSE(h.dir.Exists("computerlist.txt")); // saved only at the next add, removal or exit

    // Failures name the file and change nothing; only regular files are opened, without waiting.
    GuardedFifo fifo(h.dir.file("pipe.txt"));
    std::filesystem::create_symlink("/dev/urandom", h.dir.file("random.txt"));
    WriteSparse(h.dir.file("huge.txt"), (16u << 20) + 1);
    const QString notRegular = "Not a regular file";
    const std::tuple<QPushButton*, const char*, QString> failures[] = {
        {in, "missing.txt", ""},           {in, "pipe.txt", notRegular},
        {in, "random.txt", notRegular},    {in, "huge.txt", "Larger than 16 MB"},
        {out, "pipe.txt", notRegular},     {out, "random.txt", notRegular},
        {out, "no/such/folder/x.txt", ""},
    };
    for (const auto& [button, name, reason] : failures) {
        const QString box = Pick(button, name);
        EXPECT_TRUE(box.contains(File(name)) && box.contains(reason)) << box.toStdString();
    }
    EXPECT_EQ(Pick(in, "no/such/folder/list.txt"), QStringLiteral("Unable to locate path."));
    EXPECT_FALSE(fifo.hung());
    EXPECT_TRUE(fifo.stillThere() && std::filesystem::is_symlink(h.dir.file("random.txt")));
    files.readFailure = files.writeFailure = {kBadFileName, "The network path was not found"};
    for (QPushButton* button : {in, out}) {
        h.dialogs.Clear();
        h.dialogs.QueueFile(QStringLiteral("\\\\OFFLINE\\C$\\list.txt"));
        button->click();
        ASSERT_EQ(h.dialogs.shown().size(), 2u);
        EXPECT_TRUE(Boxes().join("").contains(QStringLiteral("\\\\OFFLINE\\C$\\list.txt")));
    }
    EXPECT_EQ(List(), QStringList{"GOOD01"});
}

} // namespace
} // namespace corvane::test
