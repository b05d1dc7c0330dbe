#pragma once

#include "expo/expoconfig.h"
#include "image/image.h"
#include "target/plan.h"

#include <QColor>

#include <optional>

namespace quorva {

// The images an Expo app's configuration names, made from one source, by their paths relative to
// the configuration's folder: the 1024 px icon (on the background, where given), iOS's dark and
// tinted icons, the adaptive icon's foreground (the art in the 66 dp safe circle of its 108 dp)
// and monochrome layer, the favicon. A path into node_modules, a URL or one leading out of the
// folder is left alone, and said so in notes.
struct ExpoIcons {
    Plan plan;
    QStringList notes;
    QString refusedFile; // with plan.refusal: the image that can't be made
};
// monochrome: the themed layer's own art, whose shape it takes (else the source's); keepMonochrome:
// the image the configuration names for it is the project's own, left as it is.
struct ExpoOptions {
    std::optional<QColor> background;
    double padding = 0;
    ImageRef monochrome;
    bool keepMonochrome = false;
};
ExpoIcons planExpoIcons(const ImageRef& source, const ExpoConfig& config, const ExpoOptions& options);

} // namespace quorva
