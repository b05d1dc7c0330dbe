#pragma once

#include "image/image.h"

#include <QColor>

namespace quorva {

// Operations beside the rescaling ones that make an app icon's appearances. Each runs once on a
// source, before anything is rescaled, and gives an opaque image of the same size.

// The image laid onto an opaque colour. Works on premultiplied pixels, so a half-transparent
// edge blends into the colour without a dark fringe. Nothing when the image has no bitmap.
ImageRef onBackground(const Image& image, QColor colour);

// The image's luminance laid onto black, as opaque grey: light where the artwork is, black where
// it isn't. This is what iOS tints with the user's colour.
ImageRef luminanceOnBlack(const Image& image);

} // namespace quorva
