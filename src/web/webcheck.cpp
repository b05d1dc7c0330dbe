#include "web/webcheck.h"

#include "desktop/desktopcheck.h"
#include "png/pngstructure.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"
#include "web/webmanifest.h"

#include <QImage>
#include <QUrl>

namespace quorva {
namespace fs = std::filesystem;
namespace {

Finding found(Finding::Severity severity, const fs::path& path, const char* rule, const QString& message)
{
    return {severity, displayPath(path), QString::fromLatin1(rule), message};
}

// A site's file, read only when it is a regular file of a size an icon or a manifest may have.
std::optional<QByteArray> read(const fs::path& file)
{
    constexpr std::uintmax_t maxBytes = 64 << 20;
    std::error_code error;
    QByteArray bytes;
    if (!fs::is_regular_file(file, error) || fs::file_size(file, error) > maxBytes || error
        || readFile(displayPath(file), bytes))
        return std::nullopt;
    return bytes;
}

bool transparent(const QByteArray& png)
{
    const QImage image = QImage::fromData(png, "PNG");
    return !image.isNull() && hasTransparentPixels(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

} // namespace

std::optional<fs::path> siteManifest(const fs::path& folder)
{
    for (const char* name : {"manifest.webmanifest", "manifest.json", "site.webmanifest"}) {
        std::error_code error;
        if (fs::is_regular_file(folder / name, error))
            return folder / name;
    }
    return std::nullopt;
}

std::vector<Finding> checkSite(const fs::path& folder, const fs::path& manifestFile)
{
    std::vector<Finding> findings;
    const std::optional<QByteArray> text = read(manifestFile);
    const WebManifest manifest = text ? parseManifest(*text) : WebManifest{{}, QStringLiteral("it can't be read")};
    if (!manifest.error.isEmpty()) {
        findings.push_back(found(Finding::Severity::Error, manifestFile, "bad-manifest", manifest.error));
        return findings;
    }
    bool has192 = false, has512 = false;
    // A manifest beside the site (a Vite PWA's) is served at its root.
    const fs::path base
        = isWithin(resolvedPath(manifestFile), resolvedPath(folder)) ? manifestFile.parent_path() : folder;
    for (const ManifestIcon& icon : manifest.icons) {
        const QUrl url(icon.src);
        if (!url.scheme().isEmpty() || icon.src.startsWith(QLatin1String("//")))
            continue; // on another site
        const QString path = url.path(QUrl::FullyDecoded);
        const fs::path file = path.startsWith(QLatin1Char('/')) ? folder / toPath(path.mid(1)) : base / toPath(path);
        const std::optional<QByteArray> bytes = read(file);
        if (!bytes) {
            findings.push_back(found(Finding::Severity::Error, manifestFile, "missing-file",
                                     QStringLiteral("it names %1, which is not there").arg(icon.src)));
            continue;
        }
        const int side = icon.side();
        if (!bytes->startsWith("\x89PNG") && path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
            // Browsers drop an icon they can't decode: "Download error or resource isn't a valid image".
            findings.push_back(
                found(Finding::Severity::Error, file, "broken-png", QStringLiteral("it is not a PNG file")));
            continue;
        }
        if (bytes->startsWith("\x89PNG")) {
            const PngStructure png = readPngStructure(*bytes);
            if (!png.whole) {
                findings.push_back(found(Finding::Severity::Error, file, "broken-png", png.problem));
                continue;
            }
            if (side > 0 && (int(png.width) != side || int(png.height) != side))
                findings.push_back(found(Finding::Severity::Warning, file, "wrong-size",
                                         QStringLiteral("it is %1 × %2 px; the manifest says %3")
                                             .arg(png.width)
                                             .arg(png.height)
                                             .arg(icon.sizes)));
            else if (icon.maskable() && transparent(*bytes))
                findings.push_back(found(Finding::Severity::Warning, file, "maskable-alpha",
                                         QStringLiteral("a maskable icon with transparent pixels: a launcher's "
                                                        "mask shows them as its own background")));
            const bool fits = side > 0 && int(png.width) == side;
            has192 = has192 || (fits && side == 192 && icon.any());
            has512 = has512 || (fits && side == 512 && icon.any());
        }
    }
    if (!has192 || !has512)
        findings.push_back(found(Finding::Severity::Warning, manifestFile, "missing-size",
                                 QStringLiteral("it names no %1 px icon: browsers offer to install the app only "
                                                "with icons of 192 and 512 px")
                                     .arg(!has192 ? (!has512 ? QStringLiteral("192 or 512") : QStringLiteral("192"))
                                                  : QStringLiteral("512"))));
    if (const auto touch = read(folder / "apple-touch-icon.png"); touch && transparent(*touch))
        findings.push_back(found(Finding::Severity::Warning, folder / "apple-touch-icon.png", "touch-icon-alpha",
                                 QStringLiteral("it has transparent pixels, which iOS shows black")));
    if (const auto favicon = read(folder / "favicon.ico"))
        for (const Finding& finding : checkIco(*favicon, displayPath(folder / "favicon.ico"), false))
            findings.push_back(finding);
    return findings;
}

} // namespace quorva
