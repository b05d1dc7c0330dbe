#include "support/pixelanalysis.h"

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
        for (int x = 0; x < image.width(); ++x)
            all &= row[x];
        if (qAlpha(all) != 255)
            return true;
    }
    return false;
}

} // namespace quorva
