// The status line's colours.
#include "app/StatusLine.h"

namespace corvane {

QColor ToQColor(StatusColour colour) {
    const int value = static_cast<int>(colour);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

} // namespace corvane
