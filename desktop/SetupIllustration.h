#pragma once

#include <QString>
#include <QSvgRenderer>
#include <QWidget>
#include <string>

namespace lumivoke::desktop {

/// A Setup row's illustration: one of the port's own drawings, in its light or dark variant as
/// the window's palette asks, as wide as the row allows up to a maximum and as high as its
/// aspect ratio then needs, with rounded corners and a hairline border in the separator colour.
class SetupIllustration final : public QWidget {
public:
    SetupIllustration(double maxWidth, QWidget* parent);

    /// Shows the drawing of an image asset of the core ("SetupAccessibility"…); none for an
    /// asset the port has no drawing of.
    void setAsset(const std::string& asset);

    /// The resource of an asset's drawing in a light or dark palette; empty for an unknown one.
    static QString resourceFor(const std::string& asset, bool dark);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void load();
    /// The drawing's size when shown in width pixels at most.
    QSize fitted(int width) const;

    double maxWidth_;
    std::string asset_;
    QSvgRenderer renderer_;
};

}  // namespace lumivoke::desktop
