#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace quorva {

// What a PNG file's header and chunks say, with its compressed image data inflated as it is read
// and checked against the size the header gives, but no pixel kept: what a catalog check needs to
// know of a file that may be large, damaged or hostile.
struct PngStructure {
    bool whole = false; // signature, IHDR first, every CRC right, image data that inflates, IEND last
    QString problem;    // when not whole: what is wrong, as a phrase ("the CRC of its IDAT chunk is wrong")
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

// Whether a PNG file's chunks are all there, each with its right CRC, up to IEND: what a decoder
// needs in order not to run out of data or stop at a damaged chunk. Cheaper than the whole
// structure: nothing is inflated.
bool hasWholeChunks(const QByteArray& bytes);

// The width and height the IHDR chunk of a PNG file's bytes gives, read without decoding anything;
// nothing when the bytes don't start as a PNG file.
std::optional<QSize> pngHeaderSize(const QByteArray& bytes);

// What other format a file's bytes are, when they are no PNG but an image all the same: "WebP",
// "JPEG", "GIF", "HEIF"…; empty otherwise.
QString otherImageFormat(const QByteArray& head);

} // namespace quorva
