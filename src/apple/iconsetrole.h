#pragma once

#include "apple/appleplatform.h"

#include <set>

namespace quorva {

// How an app icon set is judged. Only the primary icon of an application is the icon the App
// Store shows, and only it must fill the required slots and be opaque; alternate icons, the icons
// of extensions and the empty sets Xcode puts into every target's catalog get the rules every
// file of a catalog gets (its size, that it is a whole PNG).
struct IconSetRole {
    bool primary = false;
    // The platforms it is the primary icon on; empty: every platform its entries name.
    std::set<ApplePlatform> platforms;
    // The iOS devices the app runs on (TARGETED_DEVICE_FAMILY); both when it isn't known.
    bool iPhone = true;
    bool iPad = true;
    // Whether an iPad slot is required only where the set has iPad entries at all: so without a
    // project, which is what tells the device family.
    bool iPadFromEntries = true;

    bool covers(ApplePlatform platform) const { return primary && (platforms.empty() || platforms.count(platform)); }
};

} // namespace quorva
