#pragma once

#include "catalog/catalogwriter.h"
#include "generation/appiconset.h"

#include <QColor>

#include <optional>

namespace quorva {

// The choices beside the classic set: Xcode 14's single-size set with iOS 18's appearances, and
// a background for transparent art. With none of them the classic set is made as it always was.
struct AppIconOptions {
    bool singleSize = false;
    std::optional<QColor> background; // the source is laid onto it before anything is rescaled
    bool dark = false;
    ImageRef darkArtwork; // the dark icon's own image; absent: the source as it was before the background
    bool tinted = false;
    ImageRef tintedArtwork; // the tinted icon's own image; absent: the source's artwork
};

enum class AppIconRefusal {
    None,
    AppearancesNeedSingleSize, // iOS keeps the sized images beside appearances and never shows them
    TransparentStoreIcon,      // App Store Connect rejects an App Store icon with transparency
    NoArtworkForDark,          // an opaque source has no artwork to put on a transparent background
    NoBitmap,
};

// What to hand the app icon set job and its writer for these options.
struct AppIconPlan {
    AppIconRefusal refusal = AppIconRefusal::None;
    ImageRef image;                  // drawn for every entry without a source of its own
    std::vector<AppIconEntry> table; // largest first
    CatalogSetLayout layout;
};

// evenIfRefused: a plan refused for its source or choices still gets its image, table and layout,
// so that a window can show what such a set would look like beside the reason it is refused.
AppIconPlan planAppIconSet(const ImageRef& source, const AppIconOptions& options, bool evenIfRefused = false);

// Why such a plan would be refused, known without making its images: what a window needs to
// tell at once. A source without any image is refused with NoBitmap.
AppIconRefusal refusalOf(const AppIconOptions& options, bool sourceHasTransparency, bool hasImage = true);

// Why a plan was refused, as a phrase that completes "… : ".
QString describe(AppIconRefusal refusal);

} // namespace quorva
