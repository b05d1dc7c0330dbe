#pragma once

#include "apple/appiconset.h"
#include "apple/appleplatform.h"
#include "apple/catalogwriter.h"
#include "image/frame.h"
#include "image/macshape.h"

#include <QColor>

#include <optional>
#include <set>

namespace quorva {

// The choices beside the classic set: Xcode 14's single-size set with iOS 18's appearances, and
// a background for transparent art. With none of them the classic set is made as it always was.
struct AppIconOptions {
    std::set<ApplePlatform> platforms = {ApplePlatform::iOS}; // one set carries the entries of each
    MacShape macShape = MacShape::Auto;
    bool iconComposerFile = false; // an Icon Composer file instead of a set: the art as a layer
    Frame frame;                   // how a source that is not square comes onto the square, and its margin
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
    NoArtworkForTinted,        // nor artwork to take light on black: its luminance would be a white plate
    TransparentWatchIcon,      // a watch app's icon may have no alpha channel (ITMS-90396)
    OpaqueLayer,               // an Icon Composer layer is art over a fill: opaque art would hide it
    NoBitmap,
};

// What a user should know of a source before its set is made, though nothing stops it.
enum class AppIconNote {
    Upscaled,             // smaller than the 1024 px App Store icon: the large icons are upscaled
    Stretched,            // not square, and stretched onto the square
    TransparentStoreIcon, // the classic set's App Store icon would be transparent: App Store Connect rejects it
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

// The notes for this source (its pixel size, and whether it has transparent pixels once framed)
// and these options; none for a set that is refused.
std::vector<AppIconNote> notesOf(const Image& source, const AppIconOptions& options, bool transparent);

// Whether the frame leaves transparent margins around the art, which the App Store icon must
// not have.
bool frameAddsMargins(const Image& source, const Frame& frame);

// Why a plan was refused, as a phrase that completes "… : ".
QString describe(AppIconRefusal refusal);

// What a note says of a source of these pixels, as a phrase that completes "source: ".
QString describe(AppIconNote note, const QSize& pixels);

} // namespace quorva
