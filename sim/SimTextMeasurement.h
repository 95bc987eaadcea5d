#pragma once

#include <memory>
#include <string>

#include "platform/TextMeasurement.h"

namespace lumivoke::sim {

/// Deterministic text measurement: every character (code point) advances by the same width,
/// 6 points unless a test sets another, whatever the font; so "EN" measures 12.
class SimTextMeasurement final : public TextMeasurement {
public:
    std::shared_ptr<const Font> semiboldSystemFont(double pointSize) override;
    double width(const std::string& text, const Font& font) override;

    double advancePerCharacter = 6;
    int fontsCreated = 0;
    int measurements = 0;
};

}  // namespace lumivoke::sim
