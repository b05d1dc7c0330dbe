#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace quorva {

// Encodes a bitmap as an 8-bit, non-interlaced PNG without colour profile chunk. An image whose
// every pixel is opaque becomes colour type 2 (RGB, no alpha channel), which App Store Connect
// requires of app icons; any other image colour type 6 (RGBA, un-premultiplied with rounding to
// nearest, so that premultiplying the decoded samples gives back the very same pixels). Gives
// nothing for a null image or when memory runs out.
// greyscale: an image of opaque greys only (the tinted icon) becomes colour type 0, one sample a
// pixel, a third of the bytes.
std::optional<QByteArray> encodePng(const QImage& bitmap, bool greyscale = false);

// The same, always colour type 6 even when every pixel is opaque: Google Play asks for its store
// icon as a 32-bit PNG.
std::optional<QByteArray> encodeRgbaPng(const QImage& bitmap);

} // namespace quorva
