// The file-error routine: the unreachable-server notice for 52, a message for 76, silence
// otherwise.
#include "Harness.h"

#include "app/frmMsg.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

class HandleFileErrorTest : public ::testing::Test {
protected:
    void SetUp() override { Start(); }
    void Start() {
        h.Start();
        h.window->State().CurrentServer = QStringLiteral("SRV01");
    }
    MainHarness h;
};

TEST_F(HandleFileErrorTest, UnreachableServerShowsTheNoticeNamingTheCurrentServer) {
    QString labelText;
    h.dialogs.QueueWindowAction([&labelText](QDialog& window) {
        labelText = window.findChild<QLabel*>(QStringLiteral("lblMsg"))->text();
        EXPECT_TRUE(window.isVisible());
    });
    h.window->HandleFileError(52);

    ASSERT_EQ(h.dialogs.shown().size(), 1u);
    const Shown& notice = h.dialogs.shown()[0];
    EXPECT_EQ(notice.kind, Shown::Window);
    EXPECT_EQ(notice.objectName, QStringLiteral("frmMsg"));
    EXPECT_EQ(notice.title, QStringLiteral("Warning:"));
    EXPECT_EQ(labelText, QStringLiteral("Unable to communicate to server SRV01\r\nThe server is "
                                        "either offline or unreachable at this time."));
    EXPECT_TRUE(h.window->State().ServerUnreachable);
    // The notice is made anew for each error and gone afterwards.
    EXPECT_EQ(h.window->findChild<frmMsg*>(), nullptr);
}

TEST_F(HandleFileErrorTest, MissingPathIsSaidAndLeavesTheServerReachable) {
    h.window->HandleFileError(76);
    const auto boxes = h.dialogs.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Unable to locate path."));
    EXPECT_EQ(boxes[0].title, QStringLiteral("Corvane"));
    EXPECT_EQ(boxes[0].style, 0);
    EXPECT_FALSE(h.window->State().ServerUnreachable);
}

TEST_F(HandleFileErrorTest, OtherErrorsShowNothingAndSetNothing) {
    for (int error : {53, 61, 70, 75}) {
        h.window->HandleFileError(error);
    }
    EXPECT_TRUE(h.dialogs.shown().empty());
    EXPECT_FALSE(h.window->State().ServerUnreachable);
}

} // namespace
} // namespace corvane::test
