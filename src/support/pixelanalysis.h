#pragma once

#include <QImage>

namespace quorva {

// True when any pixel of the bitmap is not fully opaque.
bool hasTransparentPixels(const QImage& bitmap);

} // namespace quorva
