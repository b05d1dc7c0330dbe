#pragma once

#include "image/image.h"

#include <QByteArray>
#include <QString>

#include <filesystem>

namespace quorva {

// An image decoded from a file, or why there is none. The format is found from the content,
// not the name; EXIF orientation is applied, pixels are brought to sRGB and to 8-bit
// premultiplied ARGB. An image larger than Quorva's limits is refused before it is decoded.
struct LoadedImage {
    ImageRef image; // absent when the file gave no image
    // When image is absent: why, as a phrase that completes "… is not an image Quorva can
    // read: " ("the file is empty", "its image data is damaged or incomplete").
    QString error;
};

// The formats taken are PNG, JPEG, WebP, GIF and BMP, each decoded by Qt's handler of that name
// alone, and SVG and SVGZ, which become vector images after readSvg has made them safe.
LoadedImage loadImage(const std::filesystem::path& file);
LoadedImage loadImage(const QByteArray& encoded);

} // namespace quorva
