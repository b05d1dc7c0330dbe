#include "image/imagecompositing.h"

#include "image/imagelimits.h"
#include "image/vectordrawing.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quorva {
namespace {

// Op over every pixel, into a new bitmap.
template<typename Op>
QImage mapped(const QImage& bitmap, Op op)
{
    const QImage source = bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(source.size(), QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return {};
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0, columns = source.width(); x < columns; ++x)
            row[x] = op(in[x]);
    }
    return out;
}

// The operation on the first representation of a bitmap image; on a vector image, an effect
// applied to each rendering, so that every size is still drawn from the vector.
template<typename Op>
ImageRef mapPixels(const Image& image, Op op, bool greyscale = false)
{
    std::shared_ptr<Image> result;
    if (image.drawing()) {
        result = std::make_shared<Image>(image.size(), image.drawing()->withEffect([op](const QImage& bitmap) {
            return mapped(bitmap, op);
        }));
    } else {
        if (image.representations().empty() || image.representations().front().isNull())
            return nullptr;
        QImage out = mapped(image.representations().front(), op);
        if (out.isNull())
            return nullptr;
        result = std::make_shared<Image>(image.size(), std::vector<QImage>{std::move(out)});
    }
    if (greyscale)
        result->markGreyscale();
    return result;
}

} // namespace

ImageRef onBackground(const Image& image, QColor colour)
{
    const QRgb ground = colour.rgb();
    return mapPixels(image, [ground](QRgb p) {
        // Source over, premultiplied: the colour shows through by what the pixel leaves uncovered.
        const unsigned uncovered = 255 - qAlpha(p);
        const auto blend = [uncovered](int over, int under) { return over + (under * uncovered + 127) / 255; };
        return qRgb(blend(qRed(p), qRed(ground)), blend(qGreen(p), qGreen(ground)), blend(qBlue(p), qBlue(ground)));
    });
}

ImageRef luminanceOnBlack(const Image& image)
{
    return mapPixels(
        image,
        [](QRgb p) {
            // Premultiplied samples are the pixel laid onto black already; Rec. 709 weights in 1/256.
            const int grey = (qRed(p) * 54 + qGreen(p) * 183 + qBlue(p) * 19 + 128) >> 8;
            return qRgb(grey, grey, grey);
        },
        true);
}

ImageRef framed(const Image& image, const Frame& frame)
{
    if (frame.isIdentity())
        return nullptr;
    if (image.drawing()) {
        const QSize size = image.pixelSize();
        const int side = std::max(size.width(), size.height());
        return std::make_shared<const Image>(QSizeF(side, side), image.drawing()->withFrame(frame));
    }
    if (image.representations().empty() || image.representations().front().isNull())
        return nullptr;
    const QImage& source = image.representations().front();
    const double room = std::max(0.05, 1 - 2 * frame.padding);
    // The square as fine as the source: the inner square holds the source at its own scale.
    const int inner = frame.fit == Frame::Fit::Cover ? std::min(source.width(), source.height())
                                                     : std::max(source.width(), source.height());
    const int side = int(std::ceil(inner / room));
    if (!fitsImageLimits(side, side))
        return nullptr;
    const int margin = (side - inner) / 2;
    QImage canvas(side, side, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return nullptr;
    canvas.fill(Qt::transparent);
    QImage placed;
    switch (frame.fit) {
    case Frame::Fit::Stretch:
        placed = source.scaled(inner, inner, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        break;
    case Frame::Fit::Contain:
        placed = source; // already at the inner square's scale
        break;
    case Frame::Fit::Cover:
        placed = source.copy((source.width() - inner) / 2, (source.height() - inner) / 2, inner, inner);
        break;
    }
    QPainter(&canvas).drawImage(margin + (inner - placed.width()) / 2, margin + (inner - placed.height()) / 2, placed);
    return makeImage(std::move(canvas));
}

} // namespace quorva
