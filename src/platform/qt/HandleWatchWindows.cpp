// HandleWatch on Windows: a process handle is signalled when the process ends, which a
// QWinEventNotifier reports to the event loop.
#include "platform/HandleWatch.h"

#include <QWinEventNotifier>
#include <windows.h>

namespace corvane {

HandleWatch::HandleWatch(long long handle, std::function<void()> ready)
    : m_handle(handle), m_ready(std::move(ready)) {
    if (handle <= 0) {
        return;
    }
    auto* notifier = new QWinEventNotifier(reinterpret_cast<Qt::HANDLE>(handle));
    QObject::connect(notifier, &QWinEventNotifier::activated, notifier, [this] { Fire(); });
    m_platform = notifier;
    m_active = true;
}

HandleWatch::~HandleWatch() {
    delete static_cast<QWinEventNotifier*>(m_platform);
}

void HandleWatch::Fire() {
    if (!m_fired) {
        m_fired = true;
        // A signalled handle stays signalled: one report is all the wait needs.
        if (auto* notifier = static_cast<QWinEventNotifier*>(m_platform)) {
            notifier->setEnabled(false);
        }
        m_ready();
    }
}

bool HandleReadyWithin(long long handle, int milliseconds) {
    return handle > 0 && ::WaitForSingleObject(reinterpret_cast<HANDLE>(handle),
                                               static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

} // namespace corvane
