// A deploy path the rule lets through leads into its drive's admin share and never climbs out.
#include "FuzzSupport.h"
#include "deploy/AdminShare.h"

FUZZ_TARGET(bytes) {
    const QString path = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    const QString share = AdminShareName(path);
    FUZZ_CHECK(share.isEmpty() || (share.size() == 2 && share.endsWith(u'$')));
    if (IsSupportedDeployPath(path)) {
        FUZZ_CHECK(!share.isEmpty() && !HoldsUnusableCharacter(path));
        const QString root = QStringLiteral("\\\\SRV01\\") + share;
        const QString full = ToAdminSharePath(QStringLiteral("SRV01"), path);
        FUZZ_CHECK((full == root || full.startsWith(root + u'\\')) &&
                   !QString(full + u'\\').replace(u'/', u'\\').contains(QStringLiteral("\\..\\")));
    }
}
