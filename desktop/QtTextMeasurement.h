#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <map>

#include "platform/TextMeasurement.h"

namespace lumivoke::desktop {

/// A Qt font with its metrics, made once per size.
class QtFont final : public Font {
public:
    explicit QtFont(const QFont& font) : font(font), metrics(font) {}
    QFont font;
    QFontMetricsF metrics;
};

/// Measures with the application font in DemiBold; sizes are in pixels, which is what the
/// core's points are on a display at scale 1.
class QtTextMeasurement final : public TextMeasurement {
public:
    std::shared_ptr<const Font> semiboldSystemFont(double pointSize) override;
    double width(const std::string& text, const Font& font) override;

    /// The font the overlays draw with, so that drawing and measuring agree.
    static QFont semiboldFont(double pixelSize);

private:
    std::map<double, std::shared_ptr<const QtFont>> fonts_;
};

}  // namespace lumivoke::desktop
