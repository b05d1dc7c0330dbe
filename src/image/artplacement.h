#pragma once

#include "image/image.h"

#include <QImage>
#include <QRectF>

#include <optional>

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

// The luminance (0 to 1) of the art's outline in a premultiplied sample: the median of its opaque
// pixels that border transparency. Nothing when no pixel does.
std::optional<double> outlineLuminance(const QImage& sample);

// A themed icon's layer from art: white where the art is, with holes where the art's inner
// detail stands out from its outline by luminance (a light bar on a dark disc, or a dark one on a
// light disc), so that the detail survives the system's tinting; the plain silhouette without an
// outline to compare with.
QImage themedOf(const QImage& art, std::optional<double> outline);

} // namespace quorva
