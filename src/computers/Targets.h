// Which servers a run over the computer list works on.
#pragma once

#include <QStringList>

class QListWidget;

namespace corvane {

// The entries up to the first empty one (1001 at most), all of them or only the selected ones,
// in list order.
QStringList TargetServers(const QListWidget& lstComputers, bool selectedOnly);

} // namespace corvane
