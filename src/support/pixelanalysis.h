#pragma once

#include <QColor>
#include <QImage>

#include <optional>

namespace quorva {

// True when any pixel of the bitmap is not fully opaque.
bool hasTransparentPixels(const QImage& bitmap);

// The colour an opaque icon's art lies on: the one its corners and the middles of its edges show
// most often (the first of them on a tie). Nothing for an empty or transparent bitmap.
std::optional<QColor> edgeColour(const QImage& bitmap);

} // namespace quorva
