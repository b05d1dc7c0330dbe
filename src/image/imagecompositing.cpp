#include "image/imagecompositing.h"

#include "image/vectordrawing.h"

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
        for (int x = 0; x < source.width(); ++x)
            row[x] = op(in[x]);
    }
    return out;
}

// The operation on the first representation of a bitmap image; on a vector image, an effect
// applied to each rendering, so that every size is still drawn from the vector.
template<typename Op>
ImageRef mapPixels(const Image& image, Op op)
{
    if (image.drawing())
        return std::make_shared<const Image>(image.size(), image.drawing()->withEffect([op](const QImage& bitmap) {
            return mapped(bitmap, op);
        }));
    if (image.representations().empty() || image.representations().front().isNull())
        return nullptr;
    QImage out = mapped(image.representations().front(), op);
    if (out.isNull())
        return nullptr;
    return std::make_shared<const Image>(image.size(), std::vector<QImage>{std::move(out)});
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
    return mapPixels(image, [](QRgb p) {
        // Premultiplied samples are the pixel laid onto black already; Rec. 709 weights in 1/256.
        const int grey = (qRed(p) * 54 + qGreen(p) * 183 + qBlue(p) * 19 + 128) >> 8;
        return qRgb(grey, grey, grey);
    });
}

} // namespace quorva
