#include "apple/iconcomposerplan.h"

#include "apple/contentsjson.h"
#include "image/imagecompositing.h"
#include "image/imageresizing.h"
#include "image/vectordrawing.h"
#include "support/pixelanalysis.h"

namespace quorva {
namespace {

// A layer's image: the document of a drawing untouched by any frame, else the 1024 px PNG.
std::optional<IconComposerImage> layerImage(const Image& image, const Frame& frame, const QString& name)
{
    if (image.drawing() && frame.isIdentity())
        return IconComposerImage{name + QStringLiteral(".svg"), image.drawing()->document()};
    const ImageRef shaped = frame.isIdentity() ? nullptr : framed(image, frame);
    const ImageRef icon = resizedToSide(shaped ? *shaped : image, singleSizeIconSide);
    if (!icon || !pngData(*icon).bytes)
        return std::nullopt;
    return IconComposerImage{name + QStringLiteral(".png"), *pngData(*icon).bytes};
}

} // namespace

IconComposerPlan planIconComposerFile(const ImageRef& source, const AppIconOptions& options)
{
    IconComposerPlan plan;
    if (!source || source->pixelSize().isEmpty()) {
        plan.refusal = AppIconRefusal::NoBitmap;
        return plan;
    }
    if (!hasTransparentPixels(sampleBitmap(*source))) {
        plan.refusal = AppIconRefusal::OpaqueLayer;
        return plan;
    }
    IconComposerFile file;
    const std::optional<IconComposerImage> art = layerImage(*source, options.frame, QStringLiteral("Art"));
    if (!art) {
        plan.refusal = AppIconRefusal::NoBitmap;
        return plan;
    }
    file.art = *art;
    if (options.dark && options.darkArtwork)
        file.dark = layerImage(*options.darkArtwork, options.frame, QStringLiteral("Art-Dark"));
    if (options.tinted && options.tintedArtwork)
        file.tinted = layerImage(*options.tintedArtwork, options.frame, QStringLiteral("Art-Tinted"));
    file.fill = options.background;
    file.darkFill = options.dark && !options.darkArtwork && options.background;
    plan.file = std::move(file);
    return plan;
}

} // namespace quorva
