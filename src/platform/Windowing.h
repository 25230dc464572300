// Window-system calls beyond what the toolkit offers portably.
#pragma once

class QWidget;

namespace corvane {

class Windowing {
public:
    virtual ~Windowing() = default;
    // Shows the window normally and makes it the foreground window.
    virtual void BringToFront(QWidget& window) = 0;
};

} // namespace corvane
