#include "SimLinks.h"

namespace lumivoke::sim {

bool SimLinks::openURL(const std::string& url) {
    trace_.add("workspace", "open-url " + url);
    return true;
}

}  // namespace lumivoke::sim
