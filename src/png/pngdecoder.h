#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <optional>

namespace quorva {

// The PNGs that most sources are, decoded on libdeflate, whose inflater is many times faster than
// zlib's on an icon's long runs: 8-bit RGB or RGBA, not interlaced, every chunk whole, and no
// chunk that changes how the pixels look (a colour profile, a gamma, a transparent colour, an
// orientation) or that this decoder doesn't know.
//
// The image is what Qt's reader makes of the same file: Format_RGB32 or Format_ARGB32, pixel for
// pixel. nullopt for every other file (it is then Qt's to decode, or to refuse with a reason), and
// for one of more than maxPixels.
std::optional<QImage> decodePlainPng(const QByteArray& file, std::int64_t maxPixels);

} // namespace quorva
