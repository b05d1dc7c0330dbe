// libFuzzer target: our PNG encoder on pixels and sizes chosen by the fuzzer. Every encoding
// must decode with Qt's decoder (libpng) to the very same premultiplied pixels, with an alpha
// channel exactly when some pixel is not opaque.

#include "png/pngencoder.h"

#include <QImage>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    // Header: width, height, and how the rest fills the pixels.
    const int width = 1 + data[0] % 96 + (data[2] & 0x80 ? 400 : 0);
    const int height = 1 + data[1] % 64;
    const bool opaque = data[2] & 1;
    const bool repeat = data[2] & 2; // a short pattern repeated: flat art rather than noise
    const std::uint8_t* pixels = data + 3;
    std::size_t available = size - 3;
    if (repeat)
        available = std::min<std::size_t>(available, 8);

    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    std::size_t at = 0;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            std::uint8_t v[4];
            for (auto& b : v) {
                b = pixels[at % available];
                ++at;
            }
            const int alpha = opaque ? 255 : v[3];
            // Premultiplied: no colour above its alpha.
            row[x] = qRgba(v[0] % (alpha + 1), v[1] % (alpha + 1), v[2] % (alpha + 1), alpha);
        }
    }

    const std::optional<QByteArray> png = quorva::encodePng(image);
    if (!png)
        std::abort();
    const QImage back = QImage::fromData(*png, "PNG");
    if (back.isNull() || back.size() != image.size())
        std::abort();
    bool anyClear = false;
    for (int y = 0; y < height && !anyClear; ++y)
        for (int x = 0; x < width && !anyClear; ++x)
            anyClear = qAlpha(image.pixel(x, y)) != 255;
    if (back.hasAlphaChannel() != anyClear)
        std::abort();
    if (back.convertToFormat(QImage::Format_ARGB32_Premultiplied) != image)
        std::abort();
    return 0;
}
