#include "image/artplacement.h"

#include "image/imagecompositing.h"
#include "image/imageresizing.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quorva {
namespace {

constexpr int artAlpha = 8; // what counts as art in a transparent source

} // namespace

QRectF artBox(const QImage& sample)
{
    int left = sample.width(), top = sample.height(), right = -1, bottom = -1;
    for (int y = 0; y < sample.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(sample.constScanLine(y));
        for (int x = 0; x < sample.width(); ++x)
            if (qAlpha(row[x]) >= artAlpha) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    if (right < 0)
        return QRectF(0, 0, 1, 1);
    return QRectF(double(left) / sample.width(), double(top) / sample.height(),
                  double(right + 1 - left) / sample.width(), double(bottom + 1 - top) / sample.height());
}

QImage transparentSquare(int side)
{
    QImage canvas(side, side, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    return canvas;
}

namespace {

// The art rescaled by the factor, its box's centre on the square's.
QImage centred(const Image& art, const QRectF& box, int side, double scale)
{
    const QSize pixels = art.pixelSize();
    const ImageRef scaled = resizedToSize(art, std::max(1.0, std::round(pixels.width() * scale)),
                                          std::max(1.0, std::round(pixels.height() * scale)));
    QImage canvas = transparentSquare(side);
    if (!scaled)
        return canvas;
    const QImage& bitmap = scaled->representations().front();
    const QPointF centre(box.center().x() * bitmap.width(), box.center().y() * bitmap.height());
    QPainter(&canvas).drawImage(QPointF(side / 2.0 - centre.x(), side / 2.0 - centre.y()), bitmap);
    return canvas;
}

} // namespace

QImage artInCircle(const Image& art, const QRectF& box, int side, double circle, double padding)
{
    const QSize pixels = art.pixelSize();
    const double diagonal = std::hypot(box.width() * pixels.width(), box.height() * pixels.height());
    // Resampling spreads the art's edge by about a pixel each way: that stays inside the circle too.
    const double target = circle * side * (1 - padding) - 2;
    return centred(art, box, side, target / std::max(1.0, diagonal));
}

QImage artInSquare(const Image& art, const QRectF& box, int side, double square)
{
    const QSize pixels = art.pixelSize();
    const double longest = std::max(box.width() * pixels.width(), box.height() * pixels.height());
    return centred(art, box, side, (square * side - 2) / std::max(1.0, longest));
}

// An image covering the whole layer, its centre kept.
QImage covering(const Image& image, int side)
{
    Frame cover;
    cover.fit = Frame::Fit::Cover;
    const QSize pixels = image.pixelSize();
    const ImageRef square = pixels.width() == pixels.height() ? nullptr : framed(image, cover);
    const ImageRef scaled = resizedToSide(square ? *square : image, side);
    return scaled ? scaled->representations().front() : transparentSquare(side);
}

// White where the art is, as opaque as it is: only a themed icon's alpha counts. Written into a
// new image rather than a copy of the art's, which would be read for nothing.
QImage whiteOf(const QImage& art)
{
    const QImage source = art.format() == QImage::Format_ARGB32_Premultiplied
        ? art
        : art.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage white(source.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(white.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            out[x] = qAlpha(in[x]) * 0x01010101u; // premultiplied white of that alpha
    }
    return white;
}

} // namespace quorva
