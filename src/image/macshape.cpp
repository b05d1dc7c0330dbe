#include "image/macshape.h"

#include "image/imageresizing.h"

#include "image/vectordrawing.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace quorva {
namespace {

constexpr int macSide = 1024;
constexpr double shadowDrop = 10.0 / 1024.0;
constexpr double shadowBlur = 20.0 / 1024.0;
constexpr double shadowOpacity = 0.3;
// A superellipse's exponent for the corners: 2 would be a circular arc; higher blends the curve
// into the straight sides, as Apple's continuous corners do. The curve reaches farther along the
// sides than a circle of the same look would.
constexpr double cornerExponent = 4.0;
constexpr double cornerReach = 1.4;

// One pass of a box blur of this radius over the alpha samples, along rows or columns.
void boxBlur(std::vector<float>& alpha, int side, int radius, bool rows)
{
    std::vector<float> line(static_cast<std::size_t>(side)), out(static_cast<std::size_t>(side));
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j)
            line[std::size_t(j)] = alpha[std::size_t(rows ? i * side + j : j * side + i)];
        float sum = 0;
        for (int j = -radius; j <= radius; ++j)
            sum += line[std::size_t(std::clamp(j, 0, side - 1))];
        for (int j = 0; j < side; ++j) {
            out[std::size_t(j)] = sum / float(2 * radius + 1);
            sum += line[std::size_t(std::min(j + radius + 1, side - 1))] - line[std::size_t(std::max(j - radius, 0))];
        }
        for (int j = 0; j < side; ++j)
            alpha[std::size_t(rows ? i * side + j : j * side + i)] = out[std::size_t(j)];
    }
}

// The art (drawn within the body's square of a side × side bitmap) cut to the body, over its
// shadow.
QImage shapeInto(const QImage& art)
{
    const int side = art.width();
    const QPainterPath body = macBodyPath(side);
    QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
    if (icon.isNull())
        return {};
    // The shadow: the body's coverage, dropped and blurred (three box passes: nearly Gaussian).
    QImage coverage(side, side, QImage::Format_Alpha8);
    coverage.fill(0);
    {
        QPainter painter(&coverage);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(0, side * shadowDrop);
        painter.fillPath(body, Qt::black);
    }
    std::vector<float> alpha(std::size_t(side) * std::size_t(side));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            alpha[std::size_t(y * side + x)] = coverage.constScanLine(y)[x];
    const int radius = std::max(1, int(std::lround(side * shadowBlur / 2)));
    for (int pass = 0; pass < 3; ++pass) {
        boxBlur(alpha, side, radius, true);
        boxBlur(alpha, side, radius, false);
    }
    for (int y = 0; y < side; ++y) {
        auto* row = reinterpret_cast<QRgb*>(icon.scanLine(y));
        for (int x = 0; x < side; ++x)
            row[x] = qRgba(0, 0, 0, int(std::lround(alpha[std::size_t(y * side + x)] * shadowOpacity)));
    }
    // The art, cut to the body, over it.
    QImage cut(side, side, QImage::Format_ARGB32_Premultiplied);
    cut.fill(Qt::transparent);
    {
        QPainter painter(&cut);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(body, Qt::black);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.drawImage(0, 0, art);
    }
    QPainter(&icon).drawImage(0, 0, cut);
    return icon;
}

} // namespace

QPainterPath macBodyPath(double side)
{
    const double inset = side * macMargin, size = side - 2 * inset;
    const double reach = std::min(size / 2, side * macCorner * cornerReach);
    // One corner's curve, from the end of one side to the start of the next, as points on a
    // superellipse quadrant.
    const auto corner = [&](QPainterPath& path, QPointF at, QPointF alongFirst, QPointF alongSecond) {
        constexpr int steps = 24;
        for (int i = 0; i <= steps; ++i) {
            const double t = (M_PI / 2) * i / steps;
            const double a = std::pow(std::cos(t), 2 / cornerExponent), b = std::pow(std::sin(t), 2 / cornerExponent);
            // (1 - a) along the first side's direction back from the corner, (1 - b) along the next.
            path.lineTo(at + alongFirst * (reach * (1 - b)) + alongSecond * (reach * (1 - a)));
        }
    };
    const QPointF topLeft(inset, inset), topRight(inset + size, inset), bottomRight(inset + size, inset + size),
        bottomLeft(inset, inset + size);
    QPainterPath path(QPointF(inset + reach, inset));
    path.lineTo(topRight - QPointF(reach, 0));
    corner(path, topRight, QPointF(-1, 0), QPointF(0, 1));
    path.lineTo(bottomRight - QPointF(0, reach));
    corner(path, bottomRight, QPointF(0, -1), QPointF(-1, 0));
    path.lineTo(bottomLeft + QPointF(reach, 0));
    corner(path, bottomLeft, QPointF(1, 0), QPointF(0, -1));
    path.lineTo(topLeft + QPointF(0, reach));
    corner(path, topLeft, QPointF(0, 1), QPointF(1, 0));
    path.closeSubpath();
    return path;
}

bool isShapedArt(const QImage& sample)
{
    if (sample.isNull() || !sample.hasAlphaChannel())
        return false;
    const QImage image = sample.convertToFormat(QImage::Format_ARGB32);
    int edge = 0, clear = 0;
    const auto look = [&](int x, int y) {
        ++edge;
        clear += qAlpha(image.pixel(x, y)) < 16;
    };
    for (int x = 0, columns = image.width(); x < columns; ++x) {
        look(x, 0);
        look(x, image.height() - 1);
    }
    for (int y = 0; y < image.height(); ++y) {
        look(0, y);
        look(image.width() - 1, y);
    }
    return clear * 10 >= edge * 6;
}

ImageRef macShaped(const Image& art)
{
    Frame body;
    body.padding = macMargin; // the art stretched onto the body's square
    if (art.drawing())
        return std::make_shared<const Image>(QSizeF(macSide, macSide),
                                             art.drawing()->withFrame(body)->withEffect(
                                                 [](const QImage& bitmap) { return shapeInto(bitmap); }));
    if (art.representations().empty() || art.representations().front().isNull())
        return nullptr;
    const int inset = int(std::lround(macSide * macMargin));
    QImage canvas(macSide, macSide, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter(&canvas).drawImage(inset, inset,
                                art.representations().front().scaled(macSide - 2 * inset, macSide - 2 * inset,
                                                                     Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QImage icon = shapeInto(canvas);
    return icon.isNull() ? nullptr : makeImage(std::move(icon));
}

MacShape macShapeNamed(const QString& word)
{
    return word == QLatin1String("keep") ? MacShape::Keep
        : word == QLatin1String("apply") ? MacShape::Apply
                                         : MacShape::Auto;
}

ImageRef macIconArt(const ImageRef& art, MacShape shape)
{
    if (!art)
        return nullptr;
    const bool apply = shape == MacShape::Apply || (shape == MacShape::Auto && !isShapedArt(sampleBitmap(*art)));
    return apply ? macShaped(*art) : art;
}

} // namespace quorva
