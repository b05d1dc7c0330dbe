#pragma once

#include "apple/appiconplan.h"
#include "apple/iconcomposerfile.h"

#include <optional>

namespace quorva {

// What to write as an Icon Composer file for this source and these choices (the background, the
// dark and tinted images, the frame), or why it can't be: an opaque source can't be a layer over
// a fill. An SVG source goes in as its cleaned document, since Icon Composer takes SVG layers;
// a bitmap as a 1024 px PNG.
struct IconComposerPlan {
    AppIconRefusal refusal = AppIconRefusal::None;
    std::optional<IconComposerFile> file;
};
IconComposerPlan planIconComposerFile(const ImageRef& source, const AppIconOptions& options);

} // namespace quorva
