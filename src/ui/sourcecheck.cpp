#include "ui/sourcecheck.h"

#include "image/imagelimits.h"

#include <QCoreApplication>

namespace quorva {
namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("quorva::SourceCheck", text);
}

} // namespace

SourceCheck checkSource(const ImageRef& image, int segment, const AppIconOptions& options, bool transparent)
{
    SourceCheck check;
    if (!image || image->pixelSize().isEmpty()) {
        check.blocked = tr("Drop or open an image first.");
        return check;
    }
    const QSize pixels = image->pixelSize();
    const QString size = QStringLiteral("%1 × %2").arg(pixels.width()).arg(pixels.height());
    if (segment == 1) {
        if (!image->drawing() && (pixels.width() < 3 || pixels.height() < 3)) {
            check.blocked = tr("An image set needs at least 3 × 3 pixels; this image has %1.").arg(size);
            check.notes << check.blocked;
            return check;
        }
        if (image->drawing() && !fitsImageLimits(std::int64_t(pixels.width()) * 3, std::int64_t(pixels.height()) * 3)) {
            check.blocked = tr("At three times its size of %1 it is larger than Quorva makes.").arg(size);
            check.notes << check.blocked;
            return check;
        }
        check.canGenerate = true;
        return check;
    }
    if (const AppIconRefusal refusal = refusalOf(options, transparent); refusal != AppIconRefusal::None) {
        check.blocked = describe(refusal) + QLatin1Char('.');
        check.blocked[0] = check.blocked[0].toUpper();
        check.notes << check.blocked;
        return check;
    }
    if (!image->drawing() && std::min(pixels.width(), pixels.height()) < 1024)
        check.notes << tr("At %1 pixels it is smaller than the 1024 px App Store icon: the larger icons will be "
                          "upscaled and look soft.")
                           .arg(size);
    if (pixels.width() != pixels.height())
        check.notes << tr("It is not square: every icon is stretched to a square, as the preview shows.");
    if (transparent && !options.background)
        check.notes << tr("It has transparent pixels, and App Store Connect rejects a transparent App Store icon: "
                          "<a href=\"#background\">choose a background colour</a>.");
    check.canGenerate = true;
    return check;
}

} // namespace quorva
