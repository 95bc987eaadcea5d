#include "base/MainLoop.h"

#include <cstdio>
#include <cstdlib>

namespace lumivoke {

void requireMainThread(const MainLoop& loop, const char* operation) {
    if (!loop.isMainThread()) {
        std::fprintf(stderr, "%s must be called on the main thread\n", operation);
        std::abort();
    }
}

}  // namespace lumivoke
