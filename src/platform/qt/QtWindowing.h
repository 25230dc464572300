// The real Windowing on top of Qt's window handling.
#pragma once

#include "platform/Windowing.h"

namespace corvane {

class QtWindowing final : public Windowing {
public:
    void BringToFront(QWidget& window, Focus focus) override;
};

} // namespace corvane
