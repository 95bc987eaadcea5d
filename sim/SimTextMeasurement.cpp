#include "SimTextMeasurement.h"

namespace lumivoke::sim {
namespace {

class SimFont final : public Font {};

}  // namespace

std::shared_ptr<const Font> SimTextMeasurement::semiboldSystemFont(double) {
    ++fontsCreated;
    return std::make_shared<SimFont>();
}

double SimTextMeasurement::width(const std::string& text, const Font&) {
    ++measurements;
    std::size_t codePoints = 0;
    for (unsigned char c : text) {
        // Continuation bytes of UTF-8 do not start a character.
        if ((c & 0xC0) != 0x80) {
            ++codePoints;
        }
    }
    return static_cast<double>(codePoints) * advancePerCharacter;
}

}  // namespace lumivoke::sim
