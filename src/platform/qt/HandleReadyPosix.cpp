// The short sleep on a wait handle where it is a descriptor (a pidfd on Linux).
#include "platform/HandleWatch.h"

#include <poll.h>

namespace corvane {

bool HandleReadyWithin(long long handle, int milliseconds) {
    if (handle < 0) {
        return false;
    }
    pollfd entry{static_cast<int>(handle), POLLIN, 0};
    // An interrupted sleep counts as not ready: the caller's event loop waits for the rest.
    return ::poll(&entry, 1, milliseconds) == 1 && (entry.revents & POLLIN) != 0;
}

} // namespace corvane
