#pragma once

#include "image/renderedimages.h"

#include <QString>

#include <functional>
#include <optional>

namespace quorva {

// What a job calls with its results: a map on success, a message on failure.
using GenerationCompletion = std::function<void(std::optional<RenderedImages> images, std::optional<QString> message)>;

} // namespace quorva
