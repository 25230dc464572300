// The manual viewer and the About window: contents, placement, and that they work during a run.
#include "Harness.h"

#include "app/ListHelpers.h"

#include "app/frmAbout.h"
#include "app/frmTextViewer.h"

#include <fstream>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

class InfoWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.Start();
        h.window->move(100, 80);
        h.window->show();
    }
    frmMain& w() { return *h.window; }
    QStringList ShownManual() { return Entries(*w().TextViewer()->lstBody); }
    MainHarness h;
};

TEST_F(InfoWindowsTest, ViewerSplitsLinesAtCommasAndRereadsTheManualEachTime) {
    h.dir.Write("manual.txt",
                CrLf({"Corvane manual", "", "First phrase, second phrase", "\"Kept, whole\""}));
    h.dialogs.QueueWindowAction([](QDialog& d) {
        static_cast<frmTextViewer&>(d).cmdClose->click();
        EXPECT_FALSE(d.isVisible());
    });
    w().cmdManual->click();
    frmTextViewer* viewer = w().TextViewer();
    EXPECT_EQ(ShownManual(),
              (QStringList{"Corvane manual", "", "First phrase", "second phrase", "Kept, whole"}));

    h.dir.Write("manual.txt", CrLf({"Edited while running"}));
    w().cmdManual->click();
    w().cmdManual->click(); // twice in a row shows the text once
    EXPECT_EQ(ShownManual(), QStringList{"Edited while running"});
    EXPECT_EQ(w().TextViewer(), viewer); // hidden, not destroyed

    std::remove(h.dir.file("manual.txt").c_str());
    w().cmdManual->click();
    EXPECT_TRUE(ShownManual().isEmpty());
    EXPECT_TRUE(h.dialogs.MessageBoxes().empty());
}

TEST_F(InfoWindowsTest, ViewerCoversTheMainWindowAndShowsAtMostAThousandAndOneLines) {
    // The shipped manual for the picture, then more lines than the viewer takes.
    std::ifstream in(CORVANE_ASSETS_DIR "/manual.txt", std::ios::binary);
    std::string manual(std::istreambuf_iterator<char>(in), {});
    // The uptime window draws its pictures; the manual must not send anyone looking for files.
    EXPECT_EQ(manual.find(".gif"), std::string::npos);
    for (int i = 0; i < 1001; ++i) {
        manual += "Line " + std::to_string(i) + "\r\n";
    }
    h.dir.Write("manual.txt", manual);
    w().cmdManual->click();
    frmTextViewer& viewer = *w().TextViewer();
    EXPECT_EQ(viewer.geometry(), w().geometry());
    EXPECT_EQ(viewer.lstBody->count(), 1001);
    const QRect list = viewer.lstBody->geometry();
    const QRect close = viewer.cmdClose->geometry();
    EXPECT_NEAR(close.center().x(), list.width() / 2, 1);
    EXPECT_GT(close.top(), list.bottom());
    EXPECT_LT(close.bottom(), viewer.height());
}

TEST_F(InfoWindowsTest, AboutIsCentredOnceAndKeepsItsPlace) {
    w().cmdAbout->click();
    frmAbout& about = *w().About();
    const QPoint first = about.pos();
    EXPECT_NEAR(about.geometry().center().x(), w().geometry().center().x(), 1);
    EXPECT_NEAR(about.geometry().center().y(), w().geometry().center().y(), 1);

    w().move(300, 200);
    h.dialogs.QueueWindowAction([](QDialog& d) { static_cast<frmAbout&>(d).cmdOk->click(); });
    w().cmdAbout->click();
    EXPECT_EQ(w().About(), &about); // hidden, not destroyed
    EXPECT_EQ(about.pos(), first);
}

} // namespace
} // namespace corvane::test
