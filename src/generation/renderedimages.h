#pragma once

#include "generation/image.h"

#include <QString>

#include <functional>
#include <map>
#include <optional>

namespace quorva {

// Rescaled images keyed by output file name: complete names ending in ".png" for an app icon
// set, "asset@1x" and its siblings for an image set. Inserting under a present key replaces.
using RenderedImages = std::map<QString, ImageRef>;

// What a job calls with its results: a map on success, a message on failure.
using GenerationCompletion = std::function<void(std::optional<RenderedImages> images, std::optional<QString> message)>;

} // namespace quorva
