// Which servers a run over the computer list works on: all of them, or the selected ones.
#include "computers/Targets.h"

#include "app/ListHelpers.h"

#include <QListWidget>

namespace corvane {
namespace {

// Runs look at the entries 0 to 1000 at most, up to the first empty one.
constexpr int kLastIndex = 1000;

} // namespace

QStringList TargetServers(const QListWidget& lstComputers, bool selectedOnly) {
    QStringList servers;
    for (int i = 0; i <= kLastIndex; ++i) {
        const QString server = EntryText(lstComputers, i);
        if (server.isEmpty()) {
            break;
        }
        if (!selectedOnly || lstComputers.item(i)->isSelected()) {
            servers << server;
        }
    }
    return servers;
}

} // namespace corvane
