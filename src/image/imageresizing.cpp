#include "image/imageresizing.h"

#include "image/imagelimits.h"
#include "image/vectordrawing.h"

#include <cmath>

namespace quorva {
namespace {

// Area-averaging when shrinking, bilinear when enlarging; alpha is carried over unchanged in
// meaning because the source is premultiplied, so no dark fringes appear at transparent edges.
QImage rescaled(const Image& image, std::int64_t width, std::int64_t height)
{
    if (image.drawing()) // drawn straight at the size asked: as sharp as the artwork allows
        return fitsImageLimits(width, height)
            ? image.drawing()->render(static_cast<int>(width), static_cast<int>(height))
            : QImage();
    if (image.representations().empty())
        return {};
    const QImage& source = image.representations().front();
    if (source.isNull())
        return {};
    if (source.width() == width && source.height() == height)
        return source;
    // The same ceiling that keeps decompression bombs out bounds what a rescale may allocate.
    if (!fitsImageLimits(width, height))
        return {};
    const QImage& premultiplied = source.format() == QImage::Format_ARGB32_Premultiplied
        ? source
        : source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return premultiplied.scaled(static_cast<int>(width), static_cast<int>(height), Qt::IgnoreAspectRatio,
                                Qt::SmoothTransformation);
}

} // namespace

QImage sampleBitmap(const Image& image, int maxSide)
{
    if (!image.drawing())
        return image.representations().empty() ? QImage() : image.representations().front();
    const QSize size = image.pixelSize().scaled(QSize(maxSide, maxSide), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    return image.drawing()->render(size.width(), size.height());
}

ImageRef resizedToSide(const Image& image, std::int64_t side)
{
    QImage bitmap = rescaled(image, side, side);
    if (bitmap.isNull())
        return nullptr;
    return makeImage(std::move(bitmap), image.isGreyscale());
}

ImageRef resizedToSize(const Image& image, double width, double height)
{
    if (!std::isfinite(width) || !std::isfinite(height) || width < 1.0 || height < 1.0 || width >= 9.2e18
        || height >= 9.2e18)
        return nullptr;
    QImage bitmap = rescaled(image, static_cast<std::int64_t>(width), static_cast<std::int64_t>(height));
    if (bitmap.isNull())
        return nullptr;
    std::vector<QImage> reps;
    reps.push_back(std::move(bitmap));
    return std::make_shared<const Image>(QSizeF(width, height), std::move(reps));
}

} // namespace quorva
