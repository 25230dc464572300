// The file-error routine: the unreachable-server notice for 52, a message for 76, silence
// otherwise.
#include "Harness.h"

#include "app/frmMsg.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

TEST(HandleFileErrorTest, SaysAMissingPathAndAnUnreachableServerAndNothingElse) {
    MainHarness h;
    frmMain& w = h.Start();
    const QString server = QStringLiteral("SRV01");
    for (int error : {53, 61, 70, 75}) {
        EXPECT_FALSE(w.HandleFileError(error, server));
    }
    EXPECT_TRUE(h.dialogs.shown().empty());

    EXPECT_FALSE(w.HandleFileError(76, server));
    ASSERT_EQ(h.dialogs.MessageBoxes().size(), 1u);
    EXPECT_EQ(h.dialogs.MessageBoxes()[0].text, QStringLiteral("Unable to locate path."));

    EXPECT_TRUE(w.HandleFileError(52, server));
    ASSERT_EQ(h.dialogs.shown().size(), 2u);
    const Shown& notice = h.dialogs.shown()[1];
    EXPECT_EQ(notice.objectName, QStringLiteral("frmMsg"));
    EXPECT_EQ(notice.text, QStringLiteral("Unable to communicate to server SRV01\r\nThe server is "
                                          "either offline or unreachable at this time."));
    // The notice is made anew for each error and gone afterwards.
    EXPECT_EQ(w.findChild<frmMsg*>(), nullptr);
}

} // namespace
} // namespace corvane::test
