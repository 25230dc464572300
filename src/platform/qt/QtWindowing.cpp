// Brings a window to the front the way the toolkit allows on each window system.
#include "platform/qt/QtWindowing.h"

#include <QWidget>

namespace corvane {

void QtWindowing::BringToFront(QWidget& window, Focus focus) {
    if (focus == Focus::Take) {
        window.showNormal();
        window.raise();
        window.activateWindow();
        return;
    }
    // Showing a hidden or minimized window activates it unless told otherwise.
    const bool quiet = window.testAttribute(Qt::WA_ShowWithoutActivating);
    window.setAttribute(Qt::WA_ShowWithoutActivating, true);
    window.showNormal();
    window.setAttribute(Qt::WA_ShowWithoutActivating, quiet);
    window.raise();
}

} // namespace corvane
