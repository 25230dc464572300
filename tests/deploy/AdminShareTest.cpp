// From a deploy path on a server's own disk to its administrative share.
#include "QtPrinters.h"

#include "deploy/AdminShare.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(AdminShareTest, MapsDrivesCToGAndDropsTheDriveOfAnythingElse) {
    const struct {
        QString deployPath;
        QString shared; // on SRV01
    } cases[] = {
        {"C:\\Apps", "\\\\SRV01\\C$\\Apps"}, {"d:\\Data\\In\\", "\\\\SRV01\\D$\\Data\\In\\"},
        {"g:\\", "\\\\SRV01\\G$\\"},         {"E:", "\\\\SRV01\\E$"},
        {"H:\\Apps", "\\\\SRV01\\\\Apps"},   {"\\\\other\\x", "\\\\SRV01\\other\\x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToAdminSharePath("SRV01", c.deployPath), c.shared);
    }
    for (const char* path : {"C:", "c:\\", "f:\\x", "G:\\Apps\\Bin", "C:\\a..b\\..c\\d.."}) {
        EXPECT_TRUE(IsSupportedDeployPath(path)) << path;
    }
    // Paths that name no folder of a share, climb out of it, or hold what no Windows path holds.
    for (const char* path :
         {"", "C", "C:Apps", "H:\\Apps", "\\\\SRV\\C$", "C:\\Apps\\..\\x", "C:\\..",
          "C:\\Apps/..\\x", "C:\\a*b", "C:\\a?b", "C:\\a<b", "C:\\a>b", "C:\\a|b", "C:\\a\"b",
          "a|b", "a\"b", "C:\\a\tb", "C:\\Apps\r\n", "C:\\a\x1f"}) {
        EXPECT_FALSE(IsSupportedDeployPath(path)) << path;
    }
}

} // namespace
} // namespace corvane
