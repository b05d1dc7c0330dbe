#include "apple/imageset.h"

#include "image/imagelimits.h"
#include "image/imageresizing.h"
#include "support/lineprinter.h"

#include <memory>

namespace quorva {

std::vector<ImageSetEntry> imageSetSizes(double width, double height)
{
    const double thirdWidth = width / 3.0;
    const double thirdHeight = height / 3.0;
    return {
        {QStringLiteral("asset@1x"), QSizeF(thirdWidth, thirdHeight)},
        {QStringLiteral("asset@2x"), QSizeF(thirdWidth + thirdWidth, thirdHeight + thirdHeight)},
        {QStringLiteral("asset@3x"), QSizeF(width, height)},
    };
}

std::vector<ImageSetEntry> vectorImageSetSizes(QSize intrinsic)
{
    const QSizeF oneX(intrinsic);
    return {
        {QStringLiteral("asset@1x"), oneX},
        {QStringLiteral("asset@2x"), oneX * 2},
        {QStringLiteral("asset@3x"), oneX * 3},
    };
}

std::optional<QString> imageSetRefusal(const Image& image)
{
    const QSize pixels = image.pixelSize();
    if (pixels.isEmpty())
        return QStringLiteral("the image has no bitmap");
    if (image.drawing() && !fitsImageLimits(std::int64_t(pixels.width()) * 3, std::int64_t(pixels.height()) * 3))
        return QStringLiteral("its 3x image of %1 × %2 pixels is larger than Quorva makes")
            .arg(std::int64_t(pixels.width()) * 3)
            .arg(std::int64_t(pixels.height()) * 3);
    if (!image.drawing() && (pixels.width() < 3 || pixels.height() < 3))
        return QStringLiteral("an image set needs at least 3 × 3 pixels, this image has %1 × %2")
            .arg(pixels.width())
            .arg(pixels.height());
    return std::nullopt;
}

QString imageSetFailureReason(const Image& image)
{
    return imageSetRefusal(image).value_or(QStringLiteral("there is not enough memory for it"));
}

bool makeImageSet(ImageRef image, GenerationCompletion completion, TaskQueues& queues)
{
    if (!image || image->pixelSize().isEmpty()) {
        printLine(QStringLiteral("Couldn't get image"));
        return false;
    }
    const QSize pixels = image->pixelSize();
    const std::vector<ImageSetEntry> table
        = image->drawing() ? vectorImageSetSizes(pixels) : imageSetSizes(pixels.width(), pixels.height());
    return makeImageSet(std::move(image), table, std::move(completion), queues);
}

bool makeImageSet(ImageRef image, const std::vector<ImageSetEntry>& table, GenerationCompletion completion,
                  TaskQueues& queues)
{
    auto rendered = std::make_shared<RenderedImages>();
    auto sharedCompletion = std::make_shared<const GenerationCompletion>(std::move(completion));
    for (const ImageSetEntry& entry : table) {
        ImageRef scaled = image ? resizedToSize(*image, entry.size.width(), entry.size.height()) : nullptr;
        if (!scaled) {
            printLine(QStringLiteral("Couldn't get image"));
            return false;
        }
        queues.postToBackground([scaled] { scaled->encodedPng(); });
        (*rendered)[entry.key] = std::move(scaled);
        // The map is only touched on the main thread, so the step reads it without a lock.
        queues.postToMain([rendered, sharedCompletion] { (*sharedCompletion)(*rendered, std::nullopt); });
    }
    return true;
}

} // namespace quorva
