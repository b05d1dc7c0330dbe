#include "web/webicons.h"

#include "image/artplacement.h"
#include "image/imagecompositing.h"
#include "image/imageresizing.h"
#include "image/vectordrawing.h"
#include "png/pngstructure.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"
#include "web/webmanifest.h"

#include <QPainter>
#include <QUrl>

#include <fcntl.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxManifestBytes = 1 << 20;
constexpr int touchIconSide = 180;
constexpr double maskableCircle = 0.8; // the part of a maskable icon that every mask keeps

// The path below the site folder that a manifest's src names, or nothing when it leaves the
// folder or names another site.
std::optional<QString> sitePath(const QString& manifestPath, const QString& src)
{
    const QUrl url(src);
    if (src.startsWith(QLatin1String("//")) || !url.scheme().isEmpty())
        return std::nullopt;
    const QString path = url.path(QUrl::FullyDecoded);
    const QString joined = path.startsWith(QLatin1Char('/'))
        ? path.mid(1)
        : (manifestPath.contains(QLatin1Char('/')) ? manifestPath.section(QLatin1Char('/'), 0, -2) + QLatin1Char('/')
                                                   : QString())
            + path;
    QStringList parts;
    for (const QString& part : joined.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (parts.isEmpty())
                return std::nullopt;
            parts.removeLast();
            continue;
        }
        if (!isSingleComponent(part))
            return std::nullopt;
        parts << part;
    }
    return parts.isEmpty() ? std::nullopt : std::optional(parts.join(QLatin1Char('/')));
}

class Maker {
public:
    Maker(const ImageRef& source, const WebOptions& options) : m_source(source), m_options(options)
    {
        if (source)
            m_box = artBox(sampleBitmap(*source, 1024));
        m_fullBleed = source && !hasTransparentPixels(sampleBitmap(*source));
    }

    std::optional<QByteArray> any(int side)
    {
        DesktopArt art;
        art.padding = m_options.padding;
        return png(renderSides(m_source, art, {side})[side]);
    }
    std::optional<QByteArray> touch(int side)
    {
        DesktopArt art;
        art.padding = m_options.padding;
        art.background = m_options.background;
        return png(renderSides(m_source, art, {side})[side]);
    }
    std::optional<QByteArray> maskable(int side)
    {
        if (!m_source)
            return std::nullopt;
        QImage canvas(side, side, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(m_options.background);
        {
            QPainter painter(&canvas);
            painter.drawImage(0, 0,
                              m_fullBleed ? covering(*m_source, side)
                                          : artInCircle(*m_source, m_box, side, maskableCircle, m_options.padding));
        }
        return png(makeImage(canvas));
    }

private:
    static std::optional<QByteArray> png(const ImageRef& image) { return image ? pngData(*image).bytes : std::nullopt; }

    ImageRef m_source;
    WebOptions m_options;
    QRectF m_box;
    bool m_fullBleed = false;
};

} // namespace

std::optional<QString> readSiteFolder(const fs::path& folder, const std::optional<QString>& manifest, SiteFolder& site)
{
    const FileDescriptor root(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!root.isOpen())
        return std::nullopt;
    const QStringList candidates = manifest
        ? QStringList{*manifest}
        : QStringList{QStringLiteral("manifest.webmanifest"), QStringLiteral("manifest.json"),
                      QStringLiteral("site.webmanifest")};
    for (const QString& name : candidates) {
        QByteArray bytes;
        const int error = manifest && manifest->contains(QLatin1Char('/'))
            ? (readFile(displayPath(folder / toPath(name)), bytes) ? ENOENT : 0)
            : readFileIn(root, toPath(name), maxManifestBytes, bytes);
        if (error == ENOENT && !manifest)
            continue;
        if (error)
            return pathLine(folder / toPath(name),
                            QStringLiteral("Couldn't read the manifest: %1")
                                .arg(QString::fromLocal8Bit(std::strerror(error))));
        site.manifestPath = name;
        site.manifest = bytes;
        site.manifestOutside = name.startsWith(QLatin1String("../"));
        break;
    }
    QByteArray favicon;
    if (readFileIn(root, "favicon.png", 16 << 20, favicon) == 0) {
        const PngStructure png = readPngStructure(favicon);
        site.faviconPngSide = png.width > 0 && png.width == png.height ? int(png.width) : 16;
    }
    return std::nullopt;
}

WebPlan planWebIcons(const ImageRef& source, const WebOptions& options, const SiteFolder& site)
{
    WebPlan web;
    Maker make(source, options);
    const auto add = [&web](const QString& path, const std::optional<QByteArray>& bytes) {
        if (web.plan.find(path))
            return;
        if (!bytes)
            web.plan.refusal = QStringLiteral("Couldn't make %1").arg(path);
        else
            web.plan.add(path, *bytes);
    };
    const std::vector<ManifestIcon> defaults = {
        {QStringLiteral("icon-192.png"), QStringLiteral("192x192"), QStringLiteral("image/png"), {}},
        {QStringLiteral("icon-512.png"), QStringLiteral("512x512"), QStringLiteral("image/png"), {}},
        {QStringLiteral("icon-maskable-192.png"), QStringLiteral("192x192"), QStringLiteral("image/png"),
         QStringLiteral("maskable")},
        {QStringLiteral("icon-maskable-512.png"), QStringLiteral("512x512"), QStringLiteral("image/png"),
         QStringLiteral("maskable")},
    };
    const auto write = [&](const QString& path, const ManifestIcon& icon) {
        const int side = icon.side();
        if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
            if (source && source->drawing())
                add(path, source->drawing()->document());
            else
                web.notes
                    << QStringLiteral("%1 is an SVG icon, which a bitmap source can't make: left as it is").arg(path);
        } else if (path.endsWith(QLatin1String(".ico"), Qt::CaseInsensitive)) {
            DesktopArt art;
            art.padding = options.padding;
            add(path, icoOf(source, art, faviconSizes()));
        } else if (side <= 0) {
            web.notes << QStringLiteral("%1 gives no pixel size: left as it is").arg(path);
        } else if (path.section(QLatin1Char('/'), -1).startsWith(QLatin1String("apple-touch-icon"))) {
            add(path, make.touch(side)); // opaque wherever it is named: iOS shows transparency black
        } else {
            add(path, icon.maskable() ? make.maskable(side) : make.any(side));
        }
    };

    if (!site.manifestPath) {
        DesktopArt art;
        art.padding = options.padding;
        add(QStringLiteral("favicon.ico"), icoOf(source, art, faviconSizes()));
        web.links << QStringLiteral("<link rel=\"icon\" href=\"/favicon.ico\" sizes=\"48x48\">");
        if (source && source->drawing()) {
            add(QStringLiteral("favicon.svg"), source->drawing()->document());
            web.links << QStringLiteral("<link rel=\"icon\" href=\"/favicon.svg\" type=\"image/svg+xml\">");
        }
        add(QStringLiteral("apple-touch-icon.png"), make.touch(touchIconSide));
        web.links << QStringLiteral("<link rel=\"apple-touch-icon\" href=\"/apple-touch-icon.png\">");
        for (const ManifestIcon& icon : defaults)
            write(icon.src, icon);
        add(QStringLiteral("manifest.webmanifest"), manifestOf(defaults));
        web.links << QStringLiteral("<link rel=\"manifest\" href=\"/manifest.webmanifest\">");
        return web;
    }

    const WebManifest manifest = parseManifest(site.manifest);
    if (!manifest.error.isEmpty()) {
        web.plan.refusal = QStringLiteral("%1: %2").arg(*site.manifestPath, manifest.error);
        return web;
    }
    bool has192 = false, has512 = false;
    for (const ManifestIcon& icon : manifest.icons) {
        const std::optional<QString> path = sitePath(site.manifestOutside ? QString() : *site.manifestPath, icon.src);
        if (!path) {
            web.notes << QStringLiteral("%1 lies outside the site folder: left as it is").arg(icon.src);
            continue;
        }
        write(*path, icon);
        has192 = has192 || (icon.any() && icon.side() == 192);
        has512 = has512 || (icon.any() && icon.side() == 512);
    }
    std::vector<ManifestIcon> missing;
    for (const ManifestIcon& icon : defaults)
        if (!icon.maskable() && (icon.side() == 192 ? !has192 : !has512))
            missing.push_back(icon);
    if (!missing.empty() && site.manifestOutside) {
        // A file the manifest does not name would be served to no one.
        web.notes << QStringLiteral("%1 names no %2 px icon, which browsers want to offer installing the app; it "
                                    "lies outside the site folder and is left as it is: add the entry to it")
                         .arg(*site.manifestPath,
                              missing.size() == 2 ? QStringLiteral("192 or 512")
                                                  : QString::number(missing.front().side()));
    } else if (!missing.empty()) {
        for (const ManifestIcon& icon : missing)
            write(icon.src, icon);
        if (const std::optional<QByteArray> text = withIcons(site.manifest, missing))
            add(*site.manifestPath, *text);
    }
    if (site.faviconPngSide) {
        ManifestIcon favicon{QStringLiteral("favicon.png"), QStringLiteral("%1x%1").arg(*site.faviconPngSide), {}, {}};
        write(favicon.src, favicon);
        web.links << QStringLiteral("<link rel=\"icon\" type=\"image/png\" href=\"favicon.png\">");
    }
    web.links << QStringLiteral("<link rel=\"manifest\" href=\"%1\">")
                     .arg(site.manifestOutside ? QLatin1Char('/') + lastComponent(*site.manifestPath)
                                               : *site.manifestPath);
    return web;
}

} // namespace quorva
