#pragma once

#include <cstdint>

namespace quorva {

// The PNG standard's bound on a chunk's length, and on an image's side.
inline constexpr std::uint32_t maxChunkLength = 0x7fffffff;

// A chunk's length, a CRC or a side, as the file stores it: most significant byte first.
inline std::uint32_t bigEndian32(const unsigned char* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

} // namespace quorva
