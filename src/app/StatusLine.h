// The status line's colours, as colour values with red in the low byte.
#pragma once

#include <QColor>
#include <QString>

namespace corvane {

enum class StatusColour : int {
    Idle = 65535,    // yellow: waiting for a command
    Waiting = 33023, // orange: an operation waits on a dialog of the user
    Busy = 255,      // red: a run over servers
    Done = 65280,    // green: a run has finished and its result is shown
};

QColor ToQColor(StatusColour colour);

inline const QString kIdleStatus = QStringLiteral("Waiting for Command");

} // namespace corvane
