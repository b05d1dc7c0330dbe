#include "generation/imagecompositing.h"

namespace quorva {
namespace {

// Runs op over every pixel of the first representation, into a new opaque bitmap.
template<typename Op>
ImageRef mapPixels(const Image& image, Op op)
{
    if (image.representations().empty() || image.representations().front().isNull())
        return nullptr;
    const QImage source = image.representations().front().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(source.size(), QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return nullptr;
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            row[x] = op(in[x]);
    }
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
