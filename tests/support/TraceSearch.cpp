#include "TraceSearch.h"

#include <algorithm>

namespace lumivoke {

std::size_t countTraced(const sim::Trace& trace, std::string_view part) {
    const auto& lines = trace.lines();
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(),
                      [part](const auto& l) { return l.find(part) != std::string::npos; }));
}

bool traced(const sim::Trace& trace, std::string_view part) {
    return countTraced(trace, part) > 0;
}

}  // namespace lumivoke
