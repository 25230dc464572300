// The computer list's buttons through the real widgets: Add, Remove, Clear, Import and Export.
#include "FaultyFileSystem.h"
#include "Harness.h"

#include "app/ListHelpers.h"

#include "computers/frmAddComputer.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

std::string Numbered(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "SRV" + std::to_string(1000 + i) + "\r\n";
    }
    return text;
}

class ComputerListTest : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }
    frmMain& w() { return *h.window; }
    void Fill(QStringList names) {
        for (const QString& name : names) {
            w().lstComputers->addItem(name);
        }
    }
    // Opens the Add Computer dialog and lets the action work in it while it is shown.
    void Add(std::function<void(frmAddComputer&)> action) {
        h.dialogs.QueueWindowAction(
            [action](QDialog& dialog) { action(static_cast<frmAddComputer&>(dialog)); });
        w().cmdAdd->click();
    }
    void Select(std::initializer_list<int> rows) {
        for (int row : rows) {
            w().lstComputers->item(row)->setSelected(true);
        }
        w().lstComputers->setCurrentRow(*rows.begin(), QItemSelectionModel::NoUpdate);
    }
    QStringList Boxes() const {
        QStringList texts;
        for (const Shown& box : h.dialogs.MessageBoxes()) {
            texts << box.text;
        }
        return texts;
    }
    MainHarness h;
};

// --- Add ---

TEST_F(ComputerListTest, TypedNamesTurnUpperCaseAndAreSavedAtOnce) {
    QString statusWhileOpen;
    Add([&](frmAddComputer& d) {
        statusWhileOpen = w().lblStatus->text();
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Add Computer"));
        EXPECT_TRUE(d.txtComputer->text().isEmpty());
        QTest::keyClicks(d.txtComputer, QStringLiteral("srv01"));
        EXPECT_EQ(d.txtComputer->text(), QStringLiteral("SRV01"));
        d.cmdAdd->click();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(statusWhileOpen, QStringLiteral("Adding Computer"));
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
    EXPECT_EQ(Entries(*w().lstComputers), QStringList{"SRV01"});
    EXPECT_EQ(h.dir.Read("computerlist.txt"), CrLf({"SRV01"}));
}

TEST_F(ComputerListTest, PastedTextIsKeptAsItIs) {
    QApplication::clipboard()->setText(QStringLiteral("web-01.corp"));
    Add([](frmAddComputer& d) {
        QTest::keyClick(d.txtComputer, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(d.txtComputer->text(), QStringLiteral("web-01.corp"));
        d.cmdAdd->click();
    });
    EXPECT_EQ(Entries(*w().lstComputers), QStringList{"web-01.corp"});
}

TEST_F(ComputerListTest, OneLeadingPairOfBackslashesIsRemoved) {
    struct Case {
        const char* typed;
        const char* added;
    };
    for (const Case& c : {Case{"\\\\SRV01", "SRV01"}, Case{"\\\\\\\\SRV02", "\\\\SRV02"},
                          Case{"\\SRV03", "\\SRV03"}}) {
        Add([&c](frmAddComputer& d) {
            d.txtComputer->setText(QString::fromLatin1(c.typed));
            d.cmdAdd->click();
        });
        EXPECT_TRUE(Entries(*w().lstComputers).contains(QString::fromLatin1(c.added))) << c.typed;
    }
    EXPECT_EQ(w().lstComputers->count(), 3);
}

TEST_F(ComputerListTest, EnterAddsOnceAndADuplicateIsKeptSorted) {
    Fill({"ALPHA", "SRV01"});
    Add([](frmAddComputer& d) {
        QTest::keyClicks(d.txtComputer, QStringLiteral("srv01"));
        QTest::keyClick(d.txtComputer, Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(Entries(*w().lstComputers), (QStringList{"ALPHA", "SRV01", "SRV01"}));
    Add([](frmAddComputer& d) {
        QTest::keyClicks(d.txtComputer, QStringLiteral("beta"));
        QTest::keyClick(d.txtComputer, Qt::Key_Escape); // bound to nothing
        EXPECT_TRUE(d.isVisible());
        d.cmdCancel->click();
    });
    EXPECT_EQ(w().lstComputers->count(), 3);
    EXPECT_FALSE(w().cmdAdd->autoDefault());
}

TEST_F(ComputerListTest, AddRefusesEmptyQuotedAndTheThousandAndFirstName) {
    Add([&](frmAddComputer& d) {
        d.cmdAdd->click();
        EXPECT_TRUE(d.isVisible());
        d.txtComputer->setText(QStringLiteral("SRV\"01"));
        d.cmdAdd->click();
        EXPECT_TRUE(d.isVisible());
        d.cmdCancel->click();
    });
    ASSERT_EQ(Boxes().size(), 2);
    EXPECT_EQ(Boxes()[0], QStringLiteral("You forgot to type a computer name, please try again."));
    EXPECT_TRUE(Boxes()[1].contains(QStringLiteral("double quote")));
    EXPECT_EQ(w().lstComputers->count(), 0);

    h.dialogs.Clear();
    for (int i = 0; i < 1000; ++i) {
        w().lstComputers->addItem(QStringLiteral("SRV%1").arg(i, 4, 10, QLatin1Char('0')));
    }
    Add([](frmAddComputer& d) {
        d.txtComputer->setText(QStringLiteral("ONEMORE"));
        d.cmdAdd->click();
        d.cmdCancel->click();
    });
    ASSERT_EQ(Boxes().size(), 1);
    EXPECT_TRUE(Boxes()[0].contains(QStringLiteral("1000")));
    EXPECT_EQ(w().lstComputers->count(), 1000);
}

// --- Remove and Clear ---

TEST_F(ComputerListTest, RemoveWithAnEmptyListSaysSoAndLeavesAnEmptyFile) {
    w().cmdRemove->click();
    EXPECT_EQ(Boxes(), QStringList{"There are no servers on the list!"});
    EXPECT_TRUE(h.dir.Exists("computerlist.txt"));
    EXPECT_EQ(h.dir.Read("computerlist.txt"), "");
}

TEST_F(ComputerListTest, RemoveWithoutSelectionSaysSoInLowerCase) {
    Fill({"SRV01", "SRV02"});
    w().lstComputers->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    w().cmdRemove->click();
    EXPECT_EQ(Boxes(),
              QStringList{"you forgot to select one or more\r\nservers to remove from the list."});
    EXPECT_EQ(w().lstComputers->count(), 2);
    EXPECT_EQ(h.dir.Read("computerlist.txt"), ""); // created, since it was missing
}

TEST_F(ComputerListTest, RemoveTakesEverySelectedNeighbourAndSaves) {
    Fill({"A1", "B2", "C3", "D4", "E5"});
    Select({1, 2, 3});
    w().cmdRemove->click();
    EXPECT_TRUE(Boxes().isEmpty());
    EXPECT_EQ(Entries(*w().lstComputers), (QStringList{"A1", "E5"}));
    EXPECT_EQ(h.dir.Read("computerlist.txt"), CrLf({"A1", "E5"}));

    Select({0, 1});
    w().cmdRemove->click();
    EXPECT_EQ(w().lstComputers->count(), 0);
    EXPECT_EQ(h.dir.Read("computerlist.txt"), "");
}

TEST_F(ComputerListTest, ClearEmptiesTheListButNotTheFile) {
    h.dir.Write("computerlist.txt", CrLf({"SRV01"}));
    Fill({"SRV01"});
    w().cmdClear->click();
    EXPECT_EQ(w().lstComputers->count(), 0);
    EXPECT_EQ(h.dir.Read("computerlist.txt"), CrLf({"SRV01"}));
}

// --- Import and Export ---

TEST_F(ComputerListTest, ImportReplacesTheListAndSaysWhatItLeftOut) {
    Fill({"OLD"});
    h.dir.Write("big.txt", Numbered(1200) + "\r\n");
    h.dialogs.QueueFile(QString::fromStdString(h.dir.file("big.txt")));
    w().cmdImport->click();
    EXPECT_EQ(w().lstComputers->count(), 1000);
    EXPECT_FALSE(Entries(*w().lstComputers).contains(QStringLiteral("OLD")));
    ASSERT_EQ(Boxes().size(), 1);
    EXPECT_TRUE(Boxes()[0].contains(QStringLiteral("200 more were left out")));
    EXPECT_EQ(h.dialogs.filters(), QStringList{"Text (*.txt)|*.txt"});
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
    EXPECT_FALSE(h.dir.Exists("computerlist.txt")); // saved only at the next add, removal or exit
}

TEST_F(ComputerListTest, ImportOfATrailingEmptyLineAddsNothingAndCancelChangesNothing) {
    h.dir.Write("few.txt", CrLf({"srv02", "SRV01", ""}));
    h.dialogs.QueueFile(QString::fromStdString(h.dir.file("few.txt")));
    w().cmdImport->click();
    EXPECT_EQ(Entries(*w().lstComputers), (QStringList{"SRV01", "srv02"}));

    h.dialogs.QueueFile(std::nullopt);
    w().cmdImport->click();
    EXPECT_EQ(Entries(*w().lstComputers), (QStringList{"SRV01", "srv02"}));
    EXPECT_TRUE(Boxes().isEmpty());
}

TEST_F(ComputerListTest, AnImportThatCannotBeReadKeepsTheListAndNamesTheFile) {
    Fill({"KEEP01"});
    h.dialogs.QueueFile(QString::fromStdString(h.dir.file("missing.txt")));
    w().cmdImport->click();
    h.dialogs.QueueFile(QString::fromStdString(h.dir.file("no/such/folder/list.txt")));
    w().cmdImport->click();
    ASSERT_EQ(Boxes().size(), 2);
    EXPECT_TRUE(Boxes()[0].contains(QString::fromStdString(h.dir.file("missing.txt"))));
    EXPECT_EQ(Boxes()[1], QStringLiteral("Unable to locate path."));
    EXPECT_EQ(Entries(*w().lstComputers), QStringList{"KEEP01"});
}

TEST_F(ComputerListTest, AnUnreachableImportOrExportNamesTheFileNotAServer) {
    MainHarness o;
    FaultyFileSystem offline(*o.nativeFiles);
    frmMain& win = o.Start(&offline);
    offline.readFailure = offline.writeFailure = {kBadFileName, "The network path was not found"};
    win.lstComputers->addItem(QStringLiteral("KEEP01"));
    win.State().CurrentServer = QStringLiteral("LASTSWEPT");
    o.dialogs.QueueFile(QStringLiteral("\\\\OFFLINE\\C$\\list.txt"));
    win.cmdImport->click();
    o.dialogs.QueueFile(QStringLiteral("\\\\OFFLINE\\C$\\out.txt"));
    win.cmdExport->click();

    const auto boxes = o.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("\\\\OFFLINE\\C$\\list.txt")));
    EXPECT_TRUE(boxes[1].text.contains(QStringLiteral("\\\\OFFLINE\\C$\\out.txt")));
    for (const Shown& s : o.dialogs.shown()) {
        EXPECT_NE(s.objectName, QStringLiteral("frmMsg"));
    }
    EXPECT_FALSE(win.State().ServerUnreachable);
    EXPECT_EQ(win.State().CurrentServer, QStringLiteral("LASTSWEPT"));
    EXPECT_EQ(win.lstComputers->count(), 1);
}

TEST_F(ComputerListTest, ExportAndImportRoundTripEveryName) {
    Fill({"SRV01", "WEB,02", " LEADING", "srv03"});
    const QString path = QString::fromStdString(h.dir.file("export.txt"));
    h.dialogs.QueueFile(path);
    w().cmdExport->click();
    EXPECT_EQ(h.dir.Read("export.txt"), CrLf({"SRV01", "\"WEB,02\"", "\" LEADING\"", "srv03"}));

    w().cmdClear->click();
    h.dialogs.QueueFile(path);
    w().cmdImport->click();
    EXPECT_EQ(Entries(*w().lstComputers), (QStringList{" LEADING", "SRV01", "srv03", "WEB,02"}));
    EXPECT_TRUE(Boxes().isEmpty());
}

TEST_F(ComputerListTest, ExportOfAnEmptyListDeletesTheFileAndAFailureIsSaid) {
    h.dir.Write("export.txt", CrLf({"OLD"}));
    h.dialogs.QueueFile(QString::fromStdString(h.dir.file("export.txt")));
    w().cmdExport->click();
    EXPECT_FALSE(h.dir.Exists("export.txt"));

    Fill({"SRV01"});
    const QString nowhere = QString::fromStdString(h.dir.file("no/such/folder/export.txt"));
    h.dialogs.QueueFile(nowhere);
    w().cmdExport->click();
    ASSERT_EQ(Boxes().size(), 1);
    EXPECT_TRUE(Boxes()[0].contains(nowhere));

    h.dialogs.QueueFile(std::nullopt);
    w().cmdExport->click();
    EXPECT_EQ(Boxes().size(), 1);
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
}

TEST_F(ComputerListTest, ScreenshotOfTheAddComputerDialog) {
    Add([](frmAddComputer& d) {
        QTest::keyClicks(d.txtComputer, QStringLiteral("srv01"));
        const QImage picture = d.grab().toImage();
        EXPECT_TRUE(picture.save(QCoreApplication::applicationDirPath() +
                                 QStringLiteral("/frmAddComputer.png")));
        d.cmdCancel->click();
    });
}

// --- The busy cursor ---

TEST_F(ComputerListTest, TheBusyCursorBlocksEveryListHandler) {
    Fill({"SRV01", "SRV02"});
    Select({0});
    w().SetBusy(true);
    for (QPushButton* button :
         {w().cmdAdd, w().cmdRemove, w().cmdClear, w().cmdImport, w().cmdExport}) {
        button->click();
    }
    EXPECT_TRUE(h.dialogs.shown().empty());
    EXPECT_EQ(w().lstComputers->count(), 2);
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
    EXPECT_FALSE(h.dir.Exists("computerlist.txt"));
}

} // namespace
} // namespace corvane::test
