// The real way the program ends.
#include "app/Services.h"

#include <cstdio>
#include <cstdlib>

namespace corvane {

void EndProcessNow(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace corvane
