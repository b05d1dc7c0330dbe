#pragma once

#include <QString>

#include <vector>

namespace quorva {

// Android's screen densities, each with its mipmap folder and its scale over the 1x of mdpi.
struct AndroidDensity {
    QString folder; // "mipmap-xhdpi"
    double scale;   // 2 for xhdpi

    // The density alone, as resource folders are qualified by it: "xhdpi".
    QString qualifier() const { return folder.section(QLatin1Char('-'), 1); }
    // The pixels that so many dp are at this density.
    int pixels(double dp) const { return int(dp * scale + 0.5); }
};
const std::vector<AndroidDensity>& androidDensities();

// The launcher icon's sizes in dp: the legacy icon, an adaptive layer, and what of a layer the
// launcher shows and never masks.
inline constexpr double legacyIconDp = 48;
inline constexpr double adaptiveLayerDp = 108;
inline constexpr double adaptiveViewportDp = 72;
inline constexpr double safeZoneDp = 66; // the circle's diameter
inline constexpr int playStoreIconSide = 512;
inline constexpr qint64 playStoreIconMaxBytes = 1024 * 1024;

} // namespace quorva
