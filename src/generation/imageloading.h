#pragma once

#include "generation/image.h"

#include <QByteArray>
#include <QString>

#include <filesystem>

namespace quorva {

// An image decoded from a file, or why there is none. The format is found from the content,
// not the name; EXIF orientation is applied, pixels are brought to sRGB and to 8-bit
// premultiplied ARGB. Images that would take more memory than Qt's allocation limit are refused
// before they are decoded.
struct LoadedImage {
    ImageRef image;   // absent when the file gave no image
    QString error;    // a reason a user can read, when image is absent
};

LoadedImage loadImage(const std::filesystem::path& file);
LoadedImage loadImage(const QByteArray& encoded);

} // namespace quorva
