#include "image/artplacement.h"

#include "image/imagecompositing.h"
#include "image/imageresizing.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace quorva {
namespace {

constexpr int artAlpha = 8; // what counts as art in a transparent source

} // namespace

QRectF artBox(const QImage& sample)
{
    int left = sample.width(), top = sample.height(), right = -1, bottom = -1;
    for (int y = 0; y < sample.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(sample.constScanLine(y));
        for (int x = 0, columns = sample.width(); x < columns; ++x)
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
        for (int x = 0, columns = source.width(); x < columns; ++x)
            out[x] = qAlpha(in[x]) * 0x01010101u; // premultiplied white of that alpha
    }
    return white;
}

namespace {

// Rec. 709 luminance of a premultiplied pixel's colour, its alpha divided out.
double luminance(QRgb pixel)
{
    const int alpha = qAlpha(pixel);
    if (alpha == 0)
        return 0;
    return (0.2126 * qRed(pixel) + 0.7152 * qGreen(pixel) + 0.0722 * qBlue(pixel)) / alpha;
}

} // namespace

std::optional<double> outlineLuminance(const QImage& sample)
{
    const QImage image = sample.format() == QImage::Format_ARGB32_Premultiplied
        ? sample
        : sample.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = image.width(), height = image.height();
    std::vector<double> edge;
    const QRgb* above = nullptr;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const auto* below = y + 1 < height ? reinterpret_cast<const QRgb*>(image.constScanLine(y + 1)) : nullptr;
        const auto opaque = [](const QRgb* line, int x) { return line && qAlpha(line[x]) >= 128; };
        for (int x = 0; x < width; ++x)
            if (opaque(row, x)
                && !(x > 0 && opaque(row, x - 1) && x + 1 < width && opaque(row, x + 1) && opaque(above, x)
                     && opaque(below, x)))
                edge.push_back(luminance(row[x]));
        above = row;
    }
    if (edge.empty())
        return std::nullopt;
    std::nth_element(edge.begin(), edge.begin() + std::ptrdiff_t(edge.size() / 2), edge.end());
    return edge[edge.size() / 2];
}

QImage themedOf(const QImage& art, std::optional<double> outline)
{
    if (!outline)
        return whiteOf(art);
    const QImage source = art.format() == QImage::Format_ARGB32_Premultiplied
        ? art
        : art.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Detail differing from the outline by less than a quarter of the range stays (shading, a
    // gradient); by more than two fifths, it is a hole; antialiasing between them, in between.
    constexpr double kept = 0.25, cut = 0.4;
    QImage themed(source.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(themed.scanLine(y));
        for (int x = 0, columns = source.width(); x < columns; ++x) {
            const int alpha = qAlpha(in[x]);
            const double apart = std::clamp((std::abs(luminance(in[x]) - *outline) - kept) / (cut - kept), 0.0, 1.0);
            const int shown = int(std::lround(alpha * (1 - apart * apart * (3 - 2 * apart))));
            out[x] = std::uint32_t(shown) * 0x01010101u;
        }
    }
    return themed;
}

} // namespace quorva
