// libFuzzer target: any bytes through the image loader. It must give an image that keeps the
// loader's promises, or no image and a reason; never crash, hang or read out of bounds.

#include "apple/imageset.h"
#include "image/imagelimits.h"
#include "image/imageloading.h"
#include "image/imageresizing.h"

#include <QImageReader>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = [] {
        quorva::loadImage(QByteArray("x")); // sets the loader's own limit once
        // Smaller than the product's limit, so that each input decodes in fuzzing time.
        QImageReader::setAllocationLimit(64);
        return true;
    }();
    (void)ready;

    const quorva::LoadedImage loaded
        = quorva::loadImage(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!loaded.image) {
        if (loaded.error.isEmpty())
            std::abort(); // no image must come with a reason
        return 0;
    }
    const QSize pixels = loaded.image->pixelSize();
    if (pixels.isEmpty() || loaded.image->size() != QSizeF(pixels))
        std::abort();
    // A bitmap fits the limits; a drawing may declare more, being drawn only at the sizes asked
    // for, but then an image set of it is refused.
    if (!quorva::fitsImageLimits(pixels.width(), pixels.height())
        && (!loaded.image->drawing() || !quorva::imageSetRefusal(*loaded.image)))
        std::abort();
    if (!loaded.image->drawing()
        && loaded.image->representations().front().format() != QImage::Format_ARGB32_Premultiplied)
        std::abort();
    if (!quorva::resizedToSide(*loaded.image, 20))
        std::abort();
    return 0;
}
