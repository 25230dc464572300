// Brings a window to the front the way the toolkit allows on each window system.
#include "platform/qt/QtWindowing.h"

#include <QWidget>

namespace corvane {

void QtWindowing::BringToFront(QWidget& window) {
    window.showNormal();
    window.raise();
    window.activateWindow();
}

} // namespace corvane
