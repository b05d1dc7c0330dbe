#pragma once

#include "image/image.h"

#include <QString>

#include <map>

namespace quorva {

// Rescaled images keyed by output file name: complete names ending in ".png" for an app icon
// set, "asset@1x" and its siblings for an image set. Inserting under a present key replaces.
using RenderedImages = std::map<QString, ImageRef>;

} // namespace quorva
