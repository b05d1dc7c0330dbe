#include "image/image.h"

#include "image/vectordrawing.h"
#include "png/pngencoder.h"

namespace quorva {

Image::Image(QSizeF sizeInPoints, std::vector<QImage> representations)
    : m_size(sizeInPoints), m_representations(std::move(representations))
{
}

Image::Image(QSizeF sizeInPoints, std::shared_ptr<const VectorDrawing> drawing)
    : m_size(sizeInPoints), m_drawing(std::move(drawing))
{
}

QSize Image::pixelSize() const
{
    if (m_drawing)
        return m_drawing->intrinsicSize();
    return m_representations.empty() ? QSize() : m_representations.front().size();
}

const PngResult& Image::encodedPng() const
{
    std::call_once(m_encodeOnce, [this] {
        if (m_representations.empty() || m_representations.front().isNull()) {
            m_png.failure = PngFailure::NoBitmap;
            return;
        }
        m_png.bytes = encodePng(m_representations.front(), m_greyscale);
        if (!m_png.bytes)
            m_png.failure = PngFailure::NoPng;
    });
    return m_png;
}

ImageRef makeImage(QImage bitmap, bool greyscale)
{
    const QSizeF points(bitmap.width(), bitmap.height());
    std::vector<QImage> reps;
    reps.push_back(std::move(bitmap));
    auto image = std::make_shared<Image>(points, std::move(reps));
    if (greyscale)
        image->markGreyscale();
    return image;
}

} // namespace quorva
