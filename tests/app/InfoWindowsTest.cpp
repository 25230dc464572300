// The manual viewer and the About window: contents, placement, and that they work during a run.
#include "Harness.h"

#include "app/ListHelpers.h"

#include "app/frmAbout.h"
#include "app/frmTextViewer.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <fstream>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

std::string ShippedManual() {
    std::ifstream in(CORVANE_ASSETS_DIR "/manual.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Save(QWidget& window, const char* name) {
    EXPECT_TRUE(window.grab().toImage().save(QCoreApplication::applicationDirPath() +
                                             QLatin1Char('/') + QLatin1String(name)));
}

class InfoWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.Start();
        h.window->move(100, 80);
        h.window->show();
    }
    frmMain& w() { return *h.window; }
    MainHarness h;
};

TEST_F(InfoWindowsTest, ViewerSplitsLinesAtCommasAndRereadsTheManualEachTime) {
    h.dir.Write("manual.txt",
                CrLf({"Corvane manual", "", "First phrase, second phrase", "\"Kept, whole\""}));
    QStringList shown;
    h.dialogs.QueueWindowAction([&shown](QDialog& d) {
        shown = Entries(*static_cast<frmTextViewer&>(d).lstBody);
        static_cast<frmTextViewer&>(d).cmdClose->click();
        EXPECT_FALSE(d.isVisible());
    });
    w().cmdManual->click();
    EXPECT_EQ(shown,
              (QStringList{"Corvane manual", "", "First phrase", "second phrase", "Kept, whole"}));

    h.dir.Write("manual.txt", CrLf({"Edited while running"}));
    w().cmdManual->click();
    EXPECT_EQ(Entries(*w().TextViewer()->lstBody), QStringList{"Edited while running"});
    w().cmdManual->click(); // twice in a row shows the text once
    EXPECT_EQ(Entries(*w().TextViewer()->lstBody), QStringList{"Edited while running"});

    std::remove(h.dir.file("manual.txt").c_str());
    w().cmdManual->click();
    EXPECT_EQ(w().TextViewer()->lstBody->count(), 0);
    EXPECT_EQ(h.dialogs.MessageBoxes().size(), 0u);
}

TEST_F(InfoWindowsTest, ViewerCoversTheMainWindowWithCloseCentredUnderTheList) {
    h.dir.Write("manual.txt", ShippedManual());
    h.dialogs.QueueWindowAction([](QDialog& d) { Save(d, "frmTextViewer.png"); });
    w().cmdManual->click();
    frmTextViewer& viewer = *w().TextViewer();
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Corvane - Text Viewer"));
    EXPECT_EQ(viewer.geometry(), w().geometry());
    EXPECT_EQ(viewer.lstBody->pos(), QPoint(0, 0));
    EXPECT_GT(viewer.lstBody->count(), 100);
    EXPECT_LE(viewer.lstBody->count(), 1001);
    const QRect list = viewer.lstBody->geometry();
    const QRect close = viewer.cmdClose->geometry();
    EXPECT_NEAR(close.center().x(), list.width() / 2, 1);
    EXPECT_GT(close.top(), list.bottom());
    EXPECT_LT(close.bottom(), viewer.height());
}

TEST_F(InfoWindowsTest, AboutIsCentredOnceAndKeepsItsPlace) {
    h.dialogs.QueueWindowAction([](QDialog& d) { Save(d, "frmAbout.png"); });
    w().cmdAbout->click();
    frmAbout& about = *w().About();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Corvane"));
    EXPECT_EQ(about.lblVer->text(), QStringLiteral("Version 1.7"));
    EXPECT_FALSE(about.lblBy->text().isEmpty());
    EXPECT_TRUE(about.lblAbout->text().startsWith(
        QStringLiteral("Corvane allows you to schedule commands and exectuables")));
    EXPECT_EQ(about.Image1->pixmap().size(), QSize(168, 48));
    const QPoint first = about.pos();
    EXPECT_NEAR(about.geometry().center().x(), w().geometry().center().x(), 1);
    EXPECT_NEAR(about.geometry().center().y(), w().geometry().center().y(), 1);

    w().move(300, 200);
    h.dialogs.QueueWindowAction([](QDialog& d) { static_cast<frmAbout&>(d).cmdOk->click(); });
    w().cmdAbout->click();
    EXPECT_EQ(w().About(), &about); // hidden, not destroyed
    EXPECT_EQ(about.pos(), first);
}

TEST_F(InfoWindowsTest, ManualAndAboutWorkWhileARunWaits) {
    w().SetBusy(true);
    w().cmdManual->click();
    w().cmdAbout->click();
    ASSERT_EQ(h.dialogs.shown().size(), 2u);
    EXPECT_EQ(h.dialogs.shown()[0].objectName, QStringLiteral("frmTextViewer"));
    EXPECT_EQ(h.dialogs.shown()[1].objectName, QStringLiteral("frmAbout"));
}

} // namespace
} // namespace corvane::test
