#pragma once

#include "image/image.h"

#include <cstdint>

namespace quorva {

// The whole source stretched onto a side × side bitmap (side × side points). Nothing when no such
// bitmap can be made: a side below 1, or too large to allocate.
ImageRef resizedToSide(const Image& image, std::int64_t side);

// The whole source stretched onto a bitmap of the whole-pixel parts of width and height; the
// image's size in points keeps the fractions. Nothing for a dimension below 1, a value that is
// not finite, or a bitmap too large to allocate.
ImageRef resizedToSize(const Image& image, double width, double height);

// A bitmap that stands for the image when it is looked at rather than written: the first
// representation as it is, or the drawing rendered within maxSide × maxSide, aspect kept.
QImage sampleBitmap(const Image& image, int maxSide = 512);

} // namespace quorva
