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

// Capacitor's full-screen splash.png, as its assets tool writes it: drawable/ at mdpi's
// portrait size, then drawable-port-* at each density and drawable-land-* turned a quarter.
struct FullScreenSplash {
    const char* density; // "xhdpi"; empty for drawable/ itself
    int width, height;   // portrait, in pixels
    double scale;        // over mdpi's
};
inline constexpr FullScreenSplash fullScreenSplashes[] = {
    {"", 320, 480, 1},       {"ldpi", 240, 320, 0.75}, {"mdpi", 320, 480, 1},      {"hdpi", 480, 800, 1.5},
    {"xhdpi", 720, 1280, 2}, {"xxhdpi", 960, 1600, 3}, {"xxxhdpi", 1280, 1920, 4},
};
inline constexpr const char* fullScreenSplashName = "splash";

// Capacitor's iOS Splash.imageset: one square image at each scale, filling the screen, so that a
// phone's height shows all of its side.
inline constexpr int fullScreenSetSide = 2732;
inline constexpr double phoneHeightPt = 844; // an iPhone 14's, in points

// The side of the square inscribed in a circle: art inside it survives the circle whole.
inline double inscribedSquare(double circle)
{
    return circle / std::sqrt(2.0);
}

} // namespace quorva
