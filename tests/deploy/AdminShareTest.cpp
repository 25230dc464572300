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
    for (const char* path : {"C:", "c:\\", "f:\\x", "G:\\Apps\\Bin"}) {
        EXPECT_TRUE(IsSupportedDeployPath(path)) << path;
    }
    for (const char* path : {"", "C", "C:Apps", "H:\\Apps", "\\\\SRV\\C$"}) {
        EXPECT_FALSE(IsSupportedDeployPath(path)) << path;
    }
}

} // namespace
} // namespace corvane
