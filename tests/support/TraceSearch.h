#pragma once

#include <cstddef>
#include <string_view>

#include "Trace.h"

// Questions the tests ask of a simulated machine's trace.
namespace lumivoke {

/// How many trace lines contain part.
std::size_t countTraced(const sim::Trace& trace, std::string_view part);

/// Whether some trace line contains part.
bool traced(const sim::Trace& trace, std::string_view part);

}  // namespace lumivoke
