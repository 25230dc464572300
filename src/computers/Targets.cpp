// Which servers a run over the computer list works on: all of them, or the selected ones.
#include "app/ListHelpers.h"
#include "app/frmMain.h"

#include <QListWidget>

namespace corvane {
namespace {

// Runs look at the entries 0 to 1000 at most, up to the first empty one.
constexpr int kLastIndex = 1000;

} // namespace

QStringList frmMain::TargetServers(bool selectedOnly) const {
    QStringList servers;
    for (int i = 0; i <= kLastIndex; ++i) {
        const QString server = EntryText(*lstComputers, i);
        if (server.isEmpty()) {
            break;
        }
        if (!selectedOnly || lstComputers->item(i)->isSelected()) {
            servers << server;
        }
    }
    return servers;
}

bool frmMain::AnySelected() const {
    return !TargetServers(true).isEmpty();
}

bool frmMain::CheckSelection() {
    if (EntryText(*lstComputers, lstComputers->currentRow()).isEmpty()) {
        MsgBox(QStringLiteral("you forgot to select one or more computers from the list."));
        return false;
    }
    if (!AnySelected()) {
        MsgBox(QStringLiteral("You forgot to select one or more computers from the list."));
        return false;
    }
    return true;
}

} // namespace corvane
