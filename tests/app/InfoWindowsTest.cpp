// The manual viewer and the About window: contents, placement, and that they are kept.
#include "Harness.h"

#include "app/ListHelpers.h"
#include "app/frmAbout.h"
#include "app/frmTextViewer.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

TEST(InfoWindowsTest, TheViewerRereadsTheManualEachTimeAndAboutCloses) {
    MainHarness h;
    frmMain& w = h.Start();
    w.move(100, 80);
    w.show();
    const auto manual = [&w] { return Entries(*w.TextViewer()->lstBody); };
    h.dir.Write("manual.txt",
                CrLf({"Corvane manual", "", "First phrase, second phrase", "\"Kept, whole\""}));
    h.dialogs.QueueWindowAction(
        [](QDialog& d) { static_cast<frmTextViewer&>(d).cmdClose->click(); });
    w.cmdManual->click();
    frmTextViewer* viewer = w.TextViewer();
    EXPECT_EQ(manual(),
              (QStringList{"Corvane manual", "", "First phrase", "second phrase", "Kept, whole"}));
    EXPECT_FALSE(viewer->isVisible());
    h.dir.Write("manual.txt", "Line\r\n");
    w.cmdManual->click();
    w.cmdManual->click(); // twice in a row shows the text once
    EXPECT_EQ(manual(), QStringList{"Line"});
    EXPECT_TRUE(w.TextViewer() == viewer && viewer->geometry() == w.geometry());

    h.dialogs.QueueWindowAction([](QDialog& d) { static_cast<frmAbout&>(d).cmdOk->click(); });
    w.cmdAbout->click();
    EXPECT_TRUE(!w.About()->isVisible() && h.dialogs.MessageBoxes().empty());
}

} // namespace
} // namespace corvane::test
