#pragma once

#include "image/frame.h"
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

// The image brought onto a square as the frame says (contained, covering or stretched, with a
// margin), transparent where the art does not reach; a drawing stays a drawing, placed anew at
// every size. Nothing when the frame changes nothing, or no such bitmap can be made.
ImageRef framed(const Image& image, const Frame& frame);

} // namespace quorva
