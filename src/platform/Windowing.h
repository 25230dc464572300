// Window-system calls beyond what the toolkit offers portably.
#pragma once

class QWidget;

namespace corvane {

// Whether a window brought to the front also takes the keyboard focus.
enum class Focus {
    // It becomes the active window, as the user had clicked it. Windows:
    // ShowWindow(hWnd, SW_SHOWNORMAL) and then SetForegroundWindow(hWnd).
    Take,
    // It is only restored and raised; the active window and its focus stay where they are, so
    // the user can go on typing elsewhere. Windows: ShowWindow(hWnd, SW_SHOWNOACTIVATE) when it is
    // hidden or minimized, then SetWindowPos(hWnd, HWND_TOP, ..., SWP_NOMOVE | SWP_NOSIZE |
    // SWP_NOACTIVATE); never SetForegroundWindow.
    Leave,
};

class Windowing {
public:
    virtual ~Windowing() = default;
    // Shows the window in its normal size and position (a minimized one is restored) in front of
    // the program's other windows; with Focus::Take it also becomes the foreground window. The
    // window must outlive the call; failures of the window system are ignored.
    virtual void BringToFront(QWidget& window, Focus focus) = 0;
};

} // namespace corvane
