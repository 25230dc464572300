// Brings a window to the front on Windows, where only the window system's own calls restore a
// window without activating it, or make it the foreground window.
#include "platform/qt/QtWindowing.h"

#include <QWidget>
#include <windows.h>

namespace corvane {

void QtWindowing::BringToFront(QWidget& window, Focus focus) {
    window.setVisible(true);
    auto* hwnd = reinterpret_cast<HWND>(window.winId());
    if (focus == Focus::Take) {
        ShowWindow(hwnd, SW_SHOWNORMAL);
        SetForegroundWindow(hwnd);
        return;
    }
    if (IsIconic(hwnd) || !IsWindowVisible(hwnd)) {
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    }
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace corvane
