// The deploy-path rule and the admin-share path: a path the rule lets through leads into the
// share of its drive on that server and never climbs out of it.
#include "FuzzSupport.h"
#include "deploy/AdminShare.h"

#include <QRegularExpression>
#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString share = AdminShareName(path);
    FUZZ_CHECK(share.isEmpty() || (share.size() == 2 && share.endsWith(u'$')));
    if (!IsSupportedDeployPath(path)) {
        return 0;
    }
    FUZZ_CHECK(!share.isEmpty() && !HoldsUnusableCharacter(path));
    const QString root = QStringLiteral("\\\\SRV01\\") + share;
    const QString full = ToAdminSharePath(QStringLiteral("SRV01"), path);
    FUZZ_CHECK(full == root || full.startsWith(root + u'\\'));
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    FUZZ_CHECK(!full.split(separators).contains(QStringLiteral("..")));
    return 0;
}
