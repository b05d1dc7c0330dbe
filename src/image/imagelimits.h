#pragma once

#include <cstdint>

namespace quorva {

// The largest image Quorva decodes or makes: enough for the photographs of today's cameras
// (a 48-megapixel source takes 192 MiB as premultiplied pixels), while a file whose header
// claims more, a decompression bomb, is refused before any pixel is allocated.
// A side is bounded only by what QImage takes, an int; a panorama of 40000 × 10 pixels is fine.
inline constexpr std::int64_t maxImageBytes = std::int64_t{512} << 20;
inline constexpr std::int64_t maxImageSide = 0x7fffffff;

// Whether a 32-bit bitmap of this many pixels may be made.
inline constexpr bool fitsImageLimits(std::int64_t width, std::int64_t height)
{
    return width >= 1 && height >= 1 && width <= maxImageSide && height <= maxImageSide
        && width * height <= maxImageBytes / 4;
}

} // namespace quorva
