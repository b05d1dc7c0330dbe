#pragma once

#include <QImage>
#include <QSizeF>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace quorva {

class VectorDrawing;

enum class PngFailure { NoBitmap, NoPng };

// The outcome of encoding an image as PNG: the file's bytes, or the stage that failed.
struct PngResult {
    std::optional<QByteArray> bytes;
    std::optional<PngFailure> failure;
};

// An immutable image: a size in points and its representations, either bitmaps, each a QImage in
// Format_ARGB32_Premultiplied, or one drawing rendered at whatever size is asked. Shared between
// threads through ImageRef; readers take their own shallow QImage copies. Its PNG encoding is
// made once and kept, so that writing the same image again costs no second encoding.
class Image {
public:
    Image(QSizeF sizeInPoints, std::vector<QImage> representations);
    Image(QSizeF sizeInPoints, std::shared_ptr<const VectorDrawing> drawing);

    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    QSizeF size() const { return m_size; }
    const std::vector<QImage>& representations() const { return m_representations; }
    // The drawing of a vector image, which has no bitmap representation; null for a bitmap image.
    const std::shared_ptr<const VectorDrawing>& drawing() const { return m_drawing; }
    // The first representation's pixel size, or the drawing's intrinsic size; empty when neither.
    QSize pixelSize() const;
    // Whether it is greys only, and stays so when rescaled: its PNG is then written as greyscale.
    bool isGreyscale() const { return m_greyscale; }
    void markGreyscale() { m_greyscale = true; }

    // The encoding of the first representation, made on first use by whichever thread asks first;
    // later callers, on any thread, wait for it and get the same bytes.
    const PngResult& encodedPng() const;

private:
    QSizeF m_size;
    std::vector<QImage> m_representations;
    std::shared_ptr<const VectorDrawing> m_drawing;
    bool m_greyscale = false;
    mutable std::once_flag m_encodeOnce;
    mutable PngResult m_png;
};

using ImageRef = std::shared_ptr<const Image>;

// A one-representation image whose size in points equals its pixel size.
ImageRef makeImage(QImage bitmap, bool greyscale = false);

// The PNG file bytes of an image, or which of the two stages failed: NoBitmap when the image has
// no bitmap representation to encode, NoPng when the encoder gave nothing. An image is encoded
// once; every later call returns the bytes of that encoding.
inline const PngResult& pngData(const Image& image)
{
    return image.encodedPng();
}

} // namespace quorva
