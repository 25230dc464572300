// HandleWatch where no epoll is: a notifier of its own for each watched handle.
#include "platform/HandleWatch.h"

#include <QSocketNotifier>

namespace corvane {

HandleWatch::HandleWatch(long long handle, std::function<void()> ready)
    : m_handle(handle), m_ready(std::move(ready)) {
    if (handle < 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(static_cast<qintptr>(handle), QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [this] { Fire(); });
    m_platform = notifier;
    m_active = true;
}

HandleWatch::~HandleWatch() {
    // The handle stays readable after the end: stop watching before it is closed.
    if (auto* notifier = static_cast<QSocketNotifier*>(m_platform)) {
        notifier->setEnabled(false);
        delete notifier;
    }
}

void HandleWatch::Fire() {
    if (!m_fired) {
        m_fired = true;
        if (auto* notifier = static_cast<QSocketNotifier*>(m_platform)) {
            notifier->setEnabled(false);
        }
        m_ready();
    }
}

} // namespace corvane
