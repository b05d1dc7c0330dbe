#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

namespace quorva {

// What a PNG file's header and chunk list say, read without inflating any pixel data: what a
// catalog check needs to know of a file that may be large, damaged or hostile.
struct PngStructure {
    bool whole = false; // signature, IHDR first, every CRC right, IDAT, IEND at the end
    QString problem;    // when not whole: what is wrong, as a phrase ("its CRC of IDAT is wrong")
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;
    bool interlaced = false;
    bool hasTransparencyChunk = false; // tRNS: an alpha channel by another name
    bool hasSrgbChunk = false;
    QByteArray iccProfile; // the colour profile of the iCCP chunk, inflated; empty when none

    bool hasAlpha() const { return colourType == 4 || colourType == 6 || hasTransparencyChunk; }
};

// Reads up to the size asked into the buffer; gives the bytes read, 0 at the end, -1 on an error.
using ByteReader = std::function<std::int64_t(char* buffer, std::int64_t size)>;

PngStructure readPngStructure(const ByteReader& read);
PngStructure readPngStructure(const QByteArray& bytes);

} // namespace quorva
