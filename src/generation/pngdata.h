#pragma once

#include "generation/image.h"

namespace quorva {

// The PNG file bytes of an image, or which of the two stages failed: NoBitmap when the image has
// no bitmap representation to encode, NoPng when the encoder gave nothing. An image is encoded
// once; every later call returns the bytes of that encoding.
PngResult pngData(const Image& image);

} // namespace quorva
