#pragma once

#include "target/finding.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <vector>

namespace quorva {

// What a launch screen's files in a res folder hold that Android's build refuses: a drawable its
// theme (in values, values-night, values-v31, values-night-v31) or its launch_background.xml
// names that res doesn't define ("resource drawable/… not found"), or a PNG of those drawables
// that is not whole, or a colour of its Android 12 items it doesn't define. Warned of: an Android
// 12 icon that is not square or whose art passes the circle that shows, and a dark screen's
// drawable no theme names. places: each theme file checked.
struct SplashCheck {
    QStringList places;
    std::vector<Finding> findings;
};
SplashCheck checkAndroidSplash(const std::filesystem::path& res, const QString& theme);

// An iOS launch image set without its @3x image: iPhones of three times the density scale the
// @2x one up, blurred (a warning: the build takes it).
SplashCheck checkIosSplash(const std::filesystem::path& catalog);

} // namespace quorva
