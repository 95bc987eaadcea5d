#pragma once

#include <memory>
#include <string>

namespace lumivoke {

/// A font made by the platform; opaque to the application.
class Font {
public:
    virtual ~Font() = default;
};

/// Measures text as the platform would draw it.
class TextMeasurement {
public:
    virtual ~TextMeasurement() = default;
    /// The system font of pointSize points in semibold weight, standard design.
    virtual std::shared_ptr<const Font> semiboldSystemFont(double pointSize) = 0;
    /// The width in points of text (UTF-8) drawn on one line in font.
    virtual double width(const std::string& text, const Font& font) = 0;
};

}  // namespace lumivoke
