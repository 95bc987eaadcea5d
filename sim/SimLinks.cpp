#include "SimLinks.h"

namespace lumivoke::sim {

bool SimLinks::openURL(const std::string& url) {
    if (!canOpenURL(url)) {
        trace_.add("workspace", "open-url " + url + " (no application)");
        return false;
    }
    trace_.add("workspace", "open-url " + url);
    return true;
}

void SimLinks::setOpenable(const std::string& url, bool openable) {
    if (openable) {
        unopenable_.erase(url);
    } else {
        unopenable_.insert(url);
    }
}

}  // namespace lumivoke::sim
