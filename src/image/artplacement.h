#pragma once

#include "image/image.h"

#include <QImage>
#include <QRectF>

namespace quorva {

// Where the art lies in a premultiplied sample of an image, as fractions of its width and height:
// its opaque bounding box (the whole image when nothing in it is opaque enough to count).
QRectF artBox(const QImage& sample);

// A transparent square of side × side pixels.
QImage transparentSquare(int side);

// The art on a square of side × side pixels, rescaled (or drawn anew) at the one size at which its
// box fits a centred circle of diameter circle × side, less the padding (a fraction of that
// circle), and centred: the zone that every launcher's or browser's mask keeps.
QImage artInCircle(const Image& art, const QRectF& box, int side, double circle, double padding = 0);

// The same with the box fitted into a centred square of square × side pixels.
QImage artInSquare(const Image& art, const QRectF& box, int side, double square);

// An image covering the whole square, its centre kept.
QImage covering(const Image& image, int side);

// White where the art is, as opaque as it is: the art's alpha alone, as themed and notification
// icons take it.
QImage whiteOf(const QImage& art);

} // namespace quorva
