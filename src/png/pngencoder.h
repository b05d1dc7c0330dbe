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

// A screen of one colour with art laid over it at a place (a launch screen, or its icon on
// transparency), as an RGB PNG where the colour is opaque, else RGBA, without the screen ever
// being drawn whole: the rows of the colour alone cost a few bits each. art is premultiplied ARGB;
// the parts of it off the screen are left out. Gives nothing for
// an empty size or when memory runs out.
std::optional<QByteArray> encodePngOnGround(QRgb ground, QSize size, const QImage& art, QPoint at);

} // namespace quorva
