// A push button whose caption wraps onto several lines when it is wider than the button.
#pragma once

#include <QPushButton>

namespace corvane {

class WrapButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace corvane
