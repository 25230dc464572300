// HandleWatch on Linux: every wait handle goes into one epoll descriptor, which one notifier
// watches for the whole run, so a command's wait registers nothing with the event loop.
#include "platform/HandleWatch.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <sys/epoll.h>
#include <unistd.h>
#include <vector>

namespace corvane {
namespace {

// Registering a notifier per wait costs the event loop's own wakeups (glib signals its poll set
// changes); this one stays registered and is readable only while a watched handle is.
class EpollSet final : public QObject {
public:
    explicit EpollSet(int epoll) : QObject(QCoreApplication::instance()), m_epoll(epoll) {
        m_notifier = new QSocketNotifier(m_epoll, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &EpollSet::Dispatch);
    }
    ~EpollSet() override {
        delete m_notifier; // stops watching before the descriptor goes
        ::close(m_epoll);
    }

    bool Add(int fd, HandleWatch* watch) {
        // One-shot: a handle that fired stays out of the set, so a nested wait never spins on
        // the readable handle of the wait it interrupted.
        epoll_event event{};
        event.events = EPOLLIN | EPOLLONESHOT;
        event.data.fd = fd;
        if (::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event) != 0 &&
            (errno != EEXIST || ::epoll_ctl(m_epoll, EPOLL_CTL_MOD, fd, &event) != 0)) {
            return false;
        }
        m_watches.push_back({fd, watch});
        return true;
    }

    void Remove(int fd, HandleWatch* watch, bool fired) {
        std::erase_if(m_watches, [&](const Entry& e) { return e.watch == watch; });
        // A fired handle is disarmed already and leaves the set when it is closed.
        if (!fired) {
            ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, fd, nullptr);
        }
    }

private:
    struct Entry {
        int fd;
        HandleWatch* watch;
    };

    void Dispatch() {
        std::array<epoll_event, 8> events{};
        const int n = ::epoll_wait(m_epoll, events.data(), static_cast<int>(events.size()), 0);
        for (int i = 0; i < n; ++i) {
            // Looked up afresh: an earlier watch's wake may have ended another wait.
            for (const Entry& entry : m_watches) {
                if (entry.fd == events[static_cast<size_t>(i)].data.fd) {
                    entry.watch->Fire();
                    break;
                }
            }
        }
    }

    int m_epoll;
    QSocketNotifier* m_notifier = nullptr;
    std::vector<Entry> m_watches;
};

// Made on first use and owned by the application object, so it never outlives the event loop.
EpollSet* TheSet() {
    static QPointer<EpollSet> set;
    if (set.isNull() && QCoreApplication::instance() != nullptr) {
        const int epoll = ::epoll_create1(EPOLL_CLOEXEC);
        if (epoll >= 0) {
            set = new EpollSet(epoll);
        }
    }
    return set.data();
}

} // namespace

HandleWatch::HandleWatch(long long handle, std::function<void()> ready)
    : m_handle(handle), m_ready(std::move(ready)) {
    EpollSet* set = TheSet();
    if (handle >= 0 && set != nullptr && set->Add(static_cast<int>(handle), this)) {
        m_platform = set;
        m_active = true;
    }
}

HandleWatch::~HandleWatch() {
    if (m_active) {
        static_cast<EpollSet*>(m_platform)->Remove(static_cast<int>(m_handle), this, m_fired);
    }
}

void HandleWatch::Fire() {
    if (!m_fired) {
        m_fired = true;
        m_ready();
    }
}

} // namespace corvane
