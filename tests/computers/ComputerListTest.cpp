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

const QString kIdle = QStringLiteral("Waiting for Command");

class ComputerListTest : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }
    frmMain& w() { return *h.window; }
    void Fill(const QStringList& names) { w().lstComputers->addItems(names); }
    // Opens the Add Computer dialog and lets the action work in it while it is shown.
    void Add(std::function<void(frmAddComputer&)> action) {
        h.dialogs.QueueWindowAction(
            [action](QDialog& dialog) { action(static_cast<frmAddComputer&>(dialog)); });
        w().cmdAdd->click();
    }
    // Clicks Import or Export with the file dialog answering the AppDir file (or cancelled).
    void Pick(QPushButton* button, std::optional<std::string> name) {
        h.dialogs.QueueFile(name ? std::optional(File(*name)) : std::nullopt);
        button->click();
    }
    QString File(const std::string& name) const { return QString::fromStdString(h.dir.file(name)); }
    QStringList Boxes() const { return h.dialogs.MessageTexts(); }
    MainHarness h;
};

TEST_F(ComputerListTest, AddUpperCasesTypingKeepsPastesStripsOneBackslashPairAndSavesAtOnce) {
    enum How { Type, Paste, Set, TypeAndEnter };
    const std::pair<const char*, How> cases[] = {
        {"srv01", Type},  {"web-01.corp", Paste},  {"\\\\SRV01", Set}, {"\\\\\\\\SRV02", Set},
        {"\\SRV03", Set}, {"srv01", TypeAndEnter}, // a duplicate, added once
    };
    for (const auto& [typed, how] : cases) {
        Add([&](frmAddComputer& d) {
            const QString text = QString::fromLatin1(typed);
            if (how == Paste) {
                QApplication::clipboard()->setText(text);
                QTest::keyClick(d.txtComputer, Qt::Key_V, Qt::ControlModifier);
            } else if (how == Set) {
                d.txtComputer->setText(text);
            } else {
                QTest::keyClicks(d.txtComputer, text);
            }
            how == TypeAndEnter ? QTest::keyClick(d.txtComputer, Qt::Key_Return)
                                : d.cmdAdd->click();
            EXPECT_FALSE(d.isVisible()) << typed;
        });
    }
    const QStringList added{"\\\\SRV02", "\\SRV03", "SRV01", "SRV01", "SRV01", "web-01.corp"};
    EXPECT_EQ(Entries(*w().lstComputers), added);
    EXPECT_EQ(h.dir.Read("computerlist.txt"), (added.join("\r\n") + "\r\n").toStdString());
    EXPECT_TRUE(Boxes().isEmpty());
}

TEST_F(ComputerListTest, TheAddComputerDialogRefusesEmptyQuotedAndExtraNames) {
    for (int i = 0; i < 1000; ++i) {
        w().lstComputers->addItem(QStringLiteral("SRV%1").arg(i, 4, 10, QLatin1Char('0')));
    }
    Add([&](frmAddComputer& d) {
        EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Adding Computer"));
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Add Computer"));
        QTest::keyClicks(d.txtComputer, QStringLiteral("srv01"));
        QTest::keyClick(d.txtComputer, Qt::Key_Escape); // bound to nothing
        EXPECT_TRUE(d.isVisible());
        // A refused name stays in the box, without the backslashes it was typed with.
        for (const char* name : {"", "\\\\SRV\"01", "SRV\r\n02", "ONEMORE"}) {
            d.txtComputer->setText(QString::fromLatin1(name));
            d.cmdAdd->click();
            EXPECT_TRUE(d.isVisible()) << name;
            EXPECT_FALSE(d.txtComputer->text().startsWith(u'\\')) << name;
        }
        d.cmdCancel->click();
    });
    EXPECT_EQ(w().lblStatus->text(), kIdle);
    EXPECT_EQ(w().lstComputers->count(), 1000);
    ASSERT_EQ(Boxes().size(), 4);
    EXPECT_EQ(Boxes()[0], QStringLiteral("You forgot to type a computer name, please try again."));
    EXPECT_TRUE(Boxes()[1].contains(QStringLiteral("double quote")));
    EXPECT_TRUE(Boxes()[2].contains(QStringLiteral("SRV\\x0D\\x0A02")));
    EXPECT_TRUE(Boxes()[3].contains(QStringLiteral("1000")));
}

TEST_F(ComputerListTest, RemoveTakesEverySelectedNeighbourAndAlwaysLeavesTheFileWhichClearKeeps) {
    const auto remove = [&](std::initializer_list<int> selected, int current) {
        for (int row : selected) {
            w().lstComputers->item(row)->setSelected(true);
        }
        w().lstComputers->setCurrentRow(current, QItemSelectionModel::NoUpdate);
        w().cmdRemove->click();
    };
    remove({}, -1); // an empty list
    EXPECT_TRUE(h.dir.Exists("computerlist.txt"));
    std::remove(h.dir.file("computerlist.txt").c_str());
    Fill({"A1", "B2", "C3", "D4", "E5"});
    remove({}, -1); // no current entry
    remove({}, 1);  // nothing selected
    EXPECT_EQ(w().lstComputers->count(), 5);
    EXPECT_TRUE(h.dir.Exists("computerlist.txt"));
    EXPECT_EQ(h.dir.Read("computerlist.txt"), "");
    remove({1, 2, 3}, 1);
    EXPECT_EQ(Entries(*w().lstComputers), (QStringList{"A1", "E5"}));
    EXPECT_EQ(h.dir.Read("computerlist.txt"), CrLf({"A1", "E5"}));
    w().cmdClear->click(); // empties the list but not the file
    EXPECT_EQ(w().lstComputers->count(), 0);
    EXPECT_EQ(h.dir.Read("computerlist.txt"), CrLf({"A1", "E5"}));
    Fill({"A1", "E5"});
    remove({0, 1}, 0);
    EXPECT_EQ(w().lstComputers->count(), 0);
    EXPECT_EQ(h.dir.Read("computerlist.txt"), "");
    EXPECT_EQ(
        Boxes(),
        (QStringList{"There are no servers on the list!", "There are no servers on the list!",
                     "you forgot to select one or more\r\nservers to remove from the list."}));
}

TEST_F(ComputerListTest, ImportReadsFirstThenReplacesTheListWithAtMostAThousandNames) {
    h.dir.Write("few.txt", CrLf({"srv02", "SRV01", ""}));
    std::string big;
    for (int i = 0; i < 1200; ++i) {
        big += "SRV" + std::to_string(1000 + i) + "\r\n";
    }
    h.dir.Write("big.txt", big + "\r\n");
    Fill({"OLD"});
    Pick(w().cmdImport, "missing.txt");
    Pick(w().cmdImport, "no/such/folder/list.txt");
    Pick(w().cmdImport, std::nullopt);
    EXPECT_EQ(Entries(*w().lstComputers), QStringList{"OLD"});
    Pick(w().cmdImport, "few.txt");
    EXPECT_EQ(Entries(*w().lstComputers), (QStringList{"SRV01", "srv02"}));
    Pick(w().cmdImport, "big.txt");
    EXPECT_EQ(w().lstComputers->count(), 1000);
    h.dir.Write("unfit.txt", CrLf({"GOOD01", "\"TAB\tX\"", "QU\"OTE"}));
    Pick(w().cmdImport, "unfit.txt");
    EXPECT_EQ(Entries(*w().lstComputers), QStringList{"GOOD01"});

    ASSERT_EQ(Boxes().size(), 4);
    EXPECT_TRUE(Boxes()[3].contains(File("unfit.txt")));
    EXPECT_TRUE(Boxes()[3].endsWith(QStringLiteral("TAB\\x09X\r\nQU\"OTE")));
    EXPECT_TRUE(Boxes()[0].contains(File("missing.txt")));
    EXPECT_EQ(Boxes()[1], QStringLiteral("Unable to locate path."));
    EXPECT_TRUE(Boxes()[2].contains(QStringLiteral("200 more were left out")));
    EXPECT_EQ(w().lblStatus->text(), kIdle);
    EXPECT_FALSE(h.dir.Exists("computerlist.txt")); // saved only at the next add, removal or exit
}

TEST_F(ComputerListTest, ExportRoundTripsEveryNameDeletesTheFileOfAnEmptyListAndNamesFailures) {
    h.dir.Write("export.txt", CrLf({"OLD"}));
    Pick(w().cmdExport, "export.txt");
    EXPECT_FALSE(h.dir.Exists("export.txt"));

    Fill({"SRV01", "WEB,02", " LEADING", "srv03"});
    Pick(w().cmdExport, "export.txt");
    EXPECT_EQ(h.dir.Read("export.txt"), CrLf({"SRV01", "\"WEB,02\"", "\" LEADING\"", "srv03"}));
    Pick(w().cmdExport, "no/such/folder/export.txt");
    Pick(w().cmdExport, std::nullopt);
    ASSERT_EQ(Boxes().size(), 1);
    EXPECT_TRUE(Boxes()[0].contains(File("no/such/folder/export.txt")));
    EXPECT_EQ(w().lblStatus->text(), kIdle);

    w().cmdClear->click();
    Pick(w().cmdImport, "export.txt");
    EXPECT_EQ(Entries(*w().lstComputers), (QStringList{" LEADING", "SRV01", "srv03", "WEB,02"}));
    EXPECT_EQ(Boxes().size(), 1);
}

TEST_F(ComputerListTest, ImportAndExportRefuseAPipeADeviceOrAHugeFileWithoutWaiting) {
    GuardedFifo fifo(h.dir.file("pipe.txt"));
    std::filesystem::create_symlink("/dev/urandom", h.dir.file("random.txt"));
    WriteSparse(h.dir.file("huge.txt"), (16u << 20) + 1);
    Fill({"SRV01"});
    const std::pair<QPushButton*, const char*> cases[] = {
        {w().cmdImport, "pipe.txt"}, {w().cmdImport, "random.txt"}, {w().cmdImport, "huge.txt"},
        {w().cmdExport, "pipe.txt"}, {w().cmdExport, "random.txt"},
    };
    for (const auto& [button, name] : cases) {
        h.dialogs.Clear();
        Pick(button, name);
        ASSERT_EQ(Boxes().size(), 1) << name;
        EXPECT_TRUE(Boxes()[0].contains(File(name))) << Boxes()[0].toStdString();
        EXPECT_TRUE(Boxes()[0].contains(QStringLiteral("Not a regular file")) ||
                    Boxes()[0].contains(QStringLiteral("Larger than 16 MB")))
            << Boxes()[0].toStdString();
    }
    EXPECT_FALSE(fifo.hung());
    EXPECT_TRUE(fifo.stillThere());
    EXPECT_TRUE(std::filesystem::is_symlink(h.dir.file("random.txt")));
    EXPECT_EQ(Entries(*w().lstComputers), QStringList{"SRV01"});
}

TEST_F(ComputerListTest, AnUnreachableImportOrExportNamesTheFileNotAServer) {
    MainHarness o;
    FaultyFileSystem offline(*o.nativeFiles);
    frmMain& win = o.Start(&offline);
    offline.readFailure = offline.writeFailure = {kBadFileName, "The network path was not found"};
    win.lstComputers->addItem(QStringLiteral("KEEP01"));
    o.dialogs.QueueFile(QStringLiteral("\\\\OFFLINE\\C$\\list.txt"));
    win.cmdImport->click();
    o.dialogs.QueueFile(QStringLiteral("\\\\OFFLINE\\C$\\out.txt"));
    win.cmdExport->click();

    const auto boxes = o.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("\\\\OFFLINE\\C$\\list.txt")));
    EXPECT_TRUE(boxes[1].text.contains(QStringLiteral("\\\\OFFLINE\\C$\\out.txt")));
    EXPECT_EQ(o.dialogs.shown().size(), 4u); // two file dialogs and two boxes, no frmMsg
    EXPECT_EQ(win.lstComputers->count(), 1);
}

} // namespace
} // namespace corvane::test
