// HandleWatch where no epoll is: a notifier of its own for each watched handle.
#include "platform/HandleWatch.h"

#include <QSocketNotifier>
#include <poll.h>

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

bool HandleReadyWithin(long long handle, int milliseconds) {
    if (handle < 0) {
        return false;
    }
    pollfd entry{static_cast<int>(handle), POLLIN, 0};
    // An interrupted sleep counts as not ready: the caller's event loop waits for the rest.
    return ::poll(&entry, 1, milliseconds) == 1 && (entry.revents & POLLIN) != 0;
}

} // namespace corvane
