#pragma once

#include <cmath>

namespace quorva {

// Android 12's launch screen icon: its canvas, and the circle of it that shows, in dp; smaller
// on an icon background of its own.
inline constexpr double splashIconDp = 288;
inline constexpr double splashIconCircleDp = 192;
inline constexpr double splashIconOnBackgroundDp = 240;
inline constexpr double splashIconOnBackgroundCircleDp = 160;
// The branding image at the bottom of the screen, in dp.
inline constexpr double splashBrandingWidthDp = 200;
inline constexpr double splashBrandingHeightDp = 80;

// The side of the square inscribed in a circle: art inside it survives the circle whole.
inline double inscribedSquare(double circle)
{
    return circle / std::sqrt(2.0);
}

} // namespace quorva
