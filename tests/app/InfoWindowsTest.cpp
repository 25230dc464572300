// The manual viewer and the About window: contents, placement, and that they are kept.
#include "Harness.h"

#include "app/ListHelpers.h"
#include "app/frmAbout.h"
#include "app/frmTextViewer.h"

#include <fstream>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

TEST(InfoWindowsTest, TheViewerRereadsTheManualAndAboutIsCentredOnce) {
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
    std::remove(h.dir.file("manual.txt").c_str());
    w.cmdManual->click();
    EXPECT_TRUE(manual().isEmpty());
    std::ifstream in(CORVANE_ASSETS_DIR "/manual.txt", std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(text.find(".gif"), std::string::npos);
    for (int i = 0; i < 1001; ++i) {
        text += "Line " + std::to_string(i) + "\r\n";
    }
    h.dir.Write("manual.txt", text);
    w.cmdManual->click();
    w.cmdManual->click(); // twice in a row shows the text once
    EXPECT_EQ(manual().size(), 1001);
    EXPECT_TRUE(w.TextViewer() == viewer && viewer->geometry() == w.geometry());

    w.cmdAbout->click();
    frmAbout& about = *w.About();
    const QPoint first = about.pos();
    w.move(300, 200);
    h.dialogs.QueueWindowAction([](QDialog& d) { static_cast<frmAbout&>(d).cmdOk->click(); });
    w.cmdAbout->click();
    EXPECT_TRUE(w.About() == &about && about.pos() == first);
    EXPECT_TRUE(h.dialogs.MessageBoxes().empty());
}

} // namespace
} // namespace corvane::test
