#include "ui/sourcecheck.h"

#include "apple/imageset.h"

#include <QCoreApplication>

namespace quorva {
namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("quorva::SourceCheck", text);
}

// A reason given as a phrase, as a sentence of its own.
QString sentence(QString phrase)
{
    if (!phrase.isEmpty())
        phrase[0] = phrase[0].toUpper();
    return phrase + QLatin1Char('.');
}

} // namespace

SourceCheck checkAnySource(const ImageRef& image)
{
    SourceCheck check;
    if (!image || image->pixelSize().isEmpty()) {
        check.blocked = tr("Drop or open an image first.");
        return check;
    }
    check.canGenerate = true;
    return check;
}

SourceCheck checkImageSetSource(const ImageRef& image)
{
    SourceCheck check = checkAnySource(image);
    if (!check.canGenerate)
        return check;
    if (const std::optional<QString> refusal = imageSetRefusal(*image)) {
        check.canGenerate = false;
        check.blocked = sentence(*refusal);
        check.notes << check.blocked;
    }
    return check;
}

SourceCheck checkAppIconSource(const ImageRef& image, const AppIconOptions& options, bool transparent)
{
    SourceCheck check = checkAnySource(image);
    if (!check.canGenerate)
        return check;
    check.canGenerate = false;
    const QSize pixels = image->pixelSize();
    const QString size = QStringLiteral("%1 × %2").arg(pixels.width()).arg(pixels.height());
    // The App Store icon's transparency: the art's own, or the margins a frame leaves around it.
    const bool storeTransparent = transparent || frameAddsMargins(*image, options.frame);
    const QString offerBackground = tr("<a href=\"#background\">choose a background colour</a>");
    if (const AppIconRefusal refusal = refusalOf(options, storeTransparent); refusal != AppIconRefusal::None) {
        check.blocked = sentence(describe(refusal));
        // The same offer of a background wherever transparency is the reason.
        check.notes << (refusal == AppIconRefusal::TransparentStoreIcon
                            ? tr("It has transparent pixels, and App Store Connect rejects a transparent App Store "
                                 "icon: %1.")
                                  .arg(offerBackground)
                            : check.blocked);
        return check;
    }
    for (const AppIconNote note : notesOf(*image, options, transparent)) {
        switch (note) {
        case AppIconNote::Upscaled:
            check.notes << tr("At %1 pixels it is smaller than the 1024 px App Store icon: the larger icons will be "
                              "upscaled and look soft.")
                               .arg(size);
            break;
        case AppIconNote::Stretched:
            check.notes << tr("It is not square: every icon is stretched to a square, as the preview shows; keep its "
                              "shape with the choice below the sizes.");
            break;
        case AppIconNote::TransparentStoreIcon:
            check.notes << tr("It has transparent pixels, and App Store Connect rejects a transparent App Store icon: "
                              "%1.")
                               .arg(offerBackground);
            break;
        }
    }
    check.canGenerate = true;
    return check;
}

SourceCheck checkAndroidSource(const ImageRef& image, bool transparent)
{
    // Without an image, what every kind says.
    SourceCheck check = checkAnySource(image);
    if (!check.canGenerate)
        return check;
    if (!transparent)
        check.notes << tr("It has no transparent pixels: it becomes the icon's background layer, and launchers show "
                          "its centre. Transparent art is laid onto the background instead.");
    return check;
}

SourceCheck checkSplashSource(const ImageRef& image, bool transparent)
{
    SourceCheck check = checkAnySource(image);
    if (check.canGenerate && !transparent)
        check.notes << tr("It has no transparent pixels: the launch screen shows it as a square on its colour. "
                          "Transparent art stands on the colour alone.");
    return check;
}

SourceCheck checkDesktopSource(const ImageRef& image, const std::optional<QString>& problem)
{
    SourceCheck check = checkAnySource(image);
    if (!check.canGenerate)
        return check;
    if (problem) {
        check.canGenerate = false;
        check.blocked = *problem;
        check.notes << problem->toHtmlEscaped();
        return check;
    }
    const QSize pixels = image->pixelSize();
    if (!image->drawing() && std::max(pixels.width(), pixels.height()) < 1024)
        check.notes << tr("At %1 × %2 pixels it is smaller than the 1024 px Mac icon: the larger icons will be "
                          "upscaled and look soft.")
                           .arg(pixels.width())
                           .arg(pixels.height());
    return check;
}

} // namespace quorva
