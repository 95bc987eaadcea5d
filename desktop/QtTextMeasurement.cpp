#include "QtTextMeasurement.h"

#include <QGuiApplication>
#include <QString>
#include <cmath>

namespace lumivoke::desktop {

QFont QtTextMeasurement::semiboldFont(double pixelSize) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    font.setWeight(QFont::DemiBold);
    return font;
}

std::shared_ptr<const Font> QtTextMeasurement::semiboldSystemFont(double pointSize) {
    auto& font = fonts_[pointSize];
    if (!font) {
        font = std::make_shared<const QtFont>(semiboldFont(pointSize));
    }
    return font;
}

double QtTextMeasurement::width(const std::string& text, const Font& font) {
    const auto* qt = dynamic_cast<const QtFont*>(&font);
    if (qt == nullptr) {
        return 0;
    }
    return qt->metrics.horizontalAdvance(QString::fromStdString(text));
}

}  // namespace lumivoke::desktop
