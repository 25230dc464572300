// Event filters for the schedule fields: focus moved away by the user, and the job-ID keys.
#pragma once

#include <QObject>
#include <functional>

namespace corvane {

// Calls back, through a queued call, when the watched widget loses the focus because the user
// moved it (Tab, Backtab, mouse, shortcut). Focus taken by a message box or a pop-up list does not
// count, so a check never runs again because of its own message.
class UserFocusLoss final : public QObject {
public:
    UserFocusLoss(QObject* parent, std::function<void()> onLoss)
        : QObject(parent), m_onLoss(std::move(onLoss)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_onLoss;
};

// Reports a key release only when the same field also received the press, so the release of the
// Enter that closed a message box never counts; and reports every mouse-button press.
class KeyAndMouseWatch final : public QObject {
public:
    KeyAndMouseWatch(QObject* parent, std::function<void()> onKeyUp,
                     std::function<void()> onMouseDown)
        : QObject(parent), m_onKeyUp(std::move(onKeyUp)), m_onMouseDown(std::move(onMouseDown)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_onKeyUp;
    std::function<void()> m_onMouseDown;
    bool m_pressed = false;
};

} // namespace corvane
