#include "msix/msixcheck.h"

#include "msix/msiximages.h"
#include "png/pngstructure.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <QDir>

#include <map>
#include <set>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxImageBytes = 64 << 20;

// The package's images in the folder, by file name, each as the resource loader reads its name.
std::map<QString, MsixImageName> imagesIn(const fs::path& folder)
{
    std::map<QString, MsixImageName> images;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const QString name = displayPath(entry.path().filename());
        if (const auto read = msixImageName(name); read && msixBaseSize(read->resource))
            images[name] = *read;
    }
    return images;
}

bool isResource(const MsixImageName& image, const char* resource)
{
    return image.resource.compare(QLatin1String(resource), Qt::CaseInsensitive) == 0;
}

} // namespace

bool isMsixFolder(const fs::path& folder)
{
    for (const auto& [name, image] : imagesIn(folder))
        if (isResource(image, "StoreLogo") || isResource(image, "Square44x44Logo"))
            return true;
    return false;
}

bool hasQualifiedMsixImages(const fs::path& folder)
{
    for (const auto& [name, image] : imagesIn(folder))
        if (image.scale || image.targetSize)
            return true;
    return false;
}

std::vector<Finding> checkMsixFolder(const fs::path& folder, const QString& shown)
{
    std::vector<Finding> findings;
    const auto add = [&](Finding::Severity severity, const QString& path, const char* rule, const QString& message) {
        findings.push_back({severity, path, QLatin1String(rule), message});
    };
    const std::map<QString, MsixImageName> images = imagesIn(folder);
    bool mediumTile = false, storeLogo = false, appIcon = false, unplated = false, qualified = false;
    std::set<int> storeScales, plated, unplatedSizes;
    for (const auto& [name, image] : images) {
        const QString path = shown + QLatin1Char('/') + name;
        const QSize base = *msixBaseSize(image.resource);
        const int scale = image.scale.value_or(100);
        const QSize expected = image.targetSize ? QSize(*image.targetSize, *image.targetSize)
                                                : QSize(scaled(base.width(), scale), scaled(base.height(), scale));
        const std::optional<QByteArray> bytes = readSmallFile(folder / toPath(name), maxImageBytes, false);
        const PngStructure png = bytes ? readPngStructure(*bytes) : PngStructure{};
        if (!bytes)
            add(Finding::Severity::Error, path, "unreadable", QStringLiteral("it can't be read"));
        else if (!png.whole)
            add(Finding::Severity::Error, path, "broken-png",
                QStringLiteral("it is not a whole PNG: %1").arg(png.problem));
        else if (QSize(int(png.width), int(png.height)) != expected)
            // The Windows App Certification Kit fails an image whose size is not its name's.
            add(Finding::Severity::Error, path, "wrong-size",
                QStringLiteral("it is %1 × %2 px; its name asks for %3 × %4")
                    .arg(png.width)
                    .arg(png.height)
                    .arg(expected.width())
                    .arg(expected.height()));
        if (isResource(image, "Square150x150Logo") && scale == 100)
            mediumTile = true;
        storeLogo = storeLogo || isResource(image, "StoreLogo");
        qualified = qualified || image.scale || image.targetSize;
        if (isResource(image, "StoreLogo") && image.scale)
            storeScales.insert(*image.scale);
        if (isResource(image, "Square44x44Logo")) {
            appIcon = true;
            const bool isUnplated = image.altform == QLatin1String("unplated");
            unplated = unplated || isUnplated;
            if (image.targetSize)
                (isUnplated ? unplatedSizes : plated).insert(*image.targetSize);
        }
    }
    if (!storeLogo && !appIcon)
        return findings; // no package's images: a folder of other images
    if (!mediumTile)
        add(Finding::Severity::Error, shown, "missing-tile",
            QStringLiteral("it has no medium tile at scale 100 (Square150x150Logo.png or "
                           "Square150x150Logo.scale-100.png), which the Store asks of every package"));
    // Tauri's flat set is there whether the app ships a package or not: only a package's own
    // qualified set is held to Windows 11's taskbar.
    if (appIcon && qualified && !unplated)
        add(Finding::Severity::Warning, shown, "missing-unplated",
            QStringLiteral("its app icon has no unplated images (Square44x44Logo.targetsize-N_altform-unplated.png): "
                           "Windows 11 draws it on a plate in the taskbar and Start"));
    for (const int side : plated)
        if (unplated && !unplatedSizes.count(side))
            add(Finding::Severity::Warning, shown, "missing-unplated",
                QStringLiteral("its app icon has no unplated image at %1 px "
                               "(Square44x44Logo.targetsize-%1_altform-unplated.png): Windows 11 draws that size "
                               "on a plate")
                    .arg(side));
    if (!storeScales.empty())
        for (const int scale : msixScales())
            if (!storeScales.count(scale))
                add(Finding::Severity::Warning, shown, "missing-scale",
                    QStringLiteral("it has no package logo at scale %1 (StoreLogo.scale-%1.png), which the Store "
                                   "asks for")
                        .arg(scale));
    return findings;
}

} // namespace quorva
