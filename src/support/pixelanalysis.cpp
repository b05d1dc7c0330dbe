#include "support/pixelanalysis.h"

#include <algorithm>
#include <vector>

namespace quorva {

bool hasTransparentPixels(const QImage& bitmap)
{
    if (!bitmap.hasAlphaChannel())
        return false;
    const QImage image
        = bitmap.format() == QImage::Format_ARGB32_Premultiplied || bitmap.format() == QImage::Format_ARGB32
        ? bitmap
        : bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QRgb all = 0xff000000u;
        for (int x = 0, columns = image.width(); x < columns; ++x)
            all &= row[x];
        if (qAlpha(all) != 255)
            return true;
    }
    return false;
}

std::optional<QColor> edgeColour(const QImage& bitmap)
{
    if (bitmap.isNull() || hasTransparentPixels(bitmap))
        return std::nullopt;
    const int right = bitmap.width() - 1, bottom = bitmap.height() - 1;
    const int points[][2] = {{0, 0},         {right, 0},          {0, bottom},     {right, bottom},
                             {right / 2, 0}, {right / 2, bottom}, {0, bottom / 2}, {right, bottom / 2}};
    std::vector<std::pair<QRgb, int>> counts;
    for (const auto& [x, y] : points) {
        const QRgb pixel = bitmap.pixel(x, y) | 0xff000000u;
        const auto seen
            = std::find_if(counts.begin(), counts.end(), [&](const auto& each) { return each.first == pixel; });
        if (seen == counts.end())
            counts.emplace_back(pixel, 1);
        else
            ++seen->second;
    }
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    return QColor(most->first);
}

} // namespace quorva
