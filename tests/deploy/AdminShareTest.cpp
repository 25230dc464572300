// From a deploy path on a server's own disk to its administrative share.
#include "deploy/AdminShare.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(AdminShareTest, MapsDrivesCToGAndDropsTheDriveOfAnythingElse) {
    const struct {
        const char* server;
        const char* deployPath;
        const char* shared;
    } cases[] = {
        {"SRV01", "C:\\Apps", "\\\\SRV01\\C$\\Apps"},
        {"SRV01", "c:\\apps", "\\\\SRV01\\C$\\apps"},
        {"SRV01", "d:\\Data\\In\\", "\\\\SRV01\\D$\\Data\\In\\"},
        {"SRV01", "G:\\", "\\\\SRV01\\G$\\"},
        {"SRV01", "E:", "\\\\SRV01\\E$"},
        {"SRV01", "H:\\Apps", "\\\\SRV01\\\\Apps"},
        {"SRV01", "\\\\other\\share\\x", "\\\\SRV01\\other\\share\\x"},
        {"SRV01", "CC\\x", "\\\\SRV01\\\\x"},
        {"web-01.Corp", "F:\\x", "\\\\web-01.Corp\\F$\\x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            ToAdminSharePath(QString::fromLatin1(c.server), QString::fromLatin1(c.deployPath)),
            QString::fromLatin1(c.shared))
            << c.deployPath;
    }
    for (const char* path : {"C:", "c:\\", "G:\\Apps\\Bin"}) {
        EXPECT_TRUE(IsSupportedDeployPath(QString::fromLatin1(path))) << path;
    }
    for (const char* path : {"", "C", "C:Apps", "H:\\Apps", "\\\\SRV\\C$"}) {
        EXPECT_FALSE(IsSupportedDeployPath(QString::fromLatin1(path))) << path;
    }
    EXPECT_EQ(AdminShareRoot(QStringLiteral("SRV01"), QStringLiteral("e:\\x")),
              QStringLiteral("\\\\SRV01\\E$"));
}

} // namespace
} // namespace corvane
