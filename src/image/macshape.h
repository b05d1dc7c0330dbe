#pragma once

#include "image/image.h"

#include <QPainterPath>

namespace quorva {

// The shape of a macOS app icon. macOS does not mask icons: the image carries the shape, as
// Apple's template draws it since macOS 11: a body of 824 of every 1024 pixels, centred, with
// continuous (squircle-like) corners of about 185, over a soft shadow, transparent around.
inline constexpr double macMargin = 100.0 / 1024.0;
inline constexpr double macCorner = 185.0 / 1024.0;

// The body's outline in an icon of this side.
QPainterPath macBodyPath(double side);

// Whether art is shaped already: transparent all along its edges, as a Mac icon is.
bool isShapedArt(const QImage& sample);

// Whether Mac icons lay the art into the shape: when it is a full-bleed square (Auto), or always,
// or never.
enum class MacShape { Auto, Keep, Apply };
// The choice by its word, "keep" or "apply"; Auto for any other.
MacShape macShapeNamed(const QString& word);

// The art of a Mac icon as the choice says: shaped art as it is, other art laid into the shape.
// Nothing when there is no bitmap.
ImageRef macIconArt(const ImageRef& art, MacShape shape);

// The art laid into the shape: a bitmap becomes a 1024 px icon, from which the smaller sizes are
// made; a drawing stays a drawing, laid in anew at every size. Nothing when there is no bitmap.
ImageRef macShaped(const Image& art);

} // namespace quorva
