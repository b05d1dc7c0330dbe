#include "android/resimagechecks.h"

#include "android/androiddensity.h"
#include "android/androidiconplan.h"
#include "support/paths.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr int maxMeasuredSide = 4096;

} // namespace

// Whether any visible pixel is coloured, not white: what Android drops from a notification icon.
bool hasColours(const QImage& icon)
{
    const QImage image = icon.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(row[x]) > 0 && std::min({qRed(row[x]), qGreen(row[x]), qBlue(row[x])}) < 240)
                return true;
    }
    return false;
}

// How far from the image's centre its art reaches, in pixels: a pixel of art is one at least half
// opaque.
double farthestArt(const QImage& layer)
{
    const QImage image = layer.convertToFormat(QImage::Format_ARGB32);
    const QPointF centre(image.width() / 2.0, image.height() / 2.0);
    double farthest = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(row[x]) >= 128)
                farthest = std::max(farthest, std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y()));
    }
    return farthest;
}

void ResImageChecks::checkPngs(const fs::path& res)
{
    const ResFolder& read = m_folders.at(res);
    for (const auto& [sub, files] : read.files()) {
        if (!sub.startsWith(QLatin1String("mipmap")) && !sub.startsWith(QLatin1String("drawable")))
            continue;
        for (const QString& file : files) {
            const fs::path path = read.path(sub, file);
            if (!file.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) || m_pngs.count(path))
                continue;
            const PngStructure& png = m_pngs[path] = readPngStructure(read.read(sub, file, maxResImageBytes));
            if (!png.whole)
                m_findings.add(Finding::Severity::Error, displayPath(path), QStringLiteral("broken-png"),
                               QStringLiteral("the PNG is not whole: %1").arg(png.problem));
        }
    }
}

QSize ResImageChecks::pixelSize(const fs::path& res, const QString& sub, const QString& file)
{
    const ResFolder& read = m_folders.at(res);
    if (const auto png = m_pngs.find(read.path(sub, file)); png != m_pngs.end())
        return png->second.width ? QSize(int(png->second.width), int(png->second.height)) : QSize();
    QByteArray bytes = read.read(sub, file, maxResImageBytes);
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    return reader.size();
}

void ResImageChecks::checkPixelSize(const ResDefinition& definition, double dp, const QString& kind,
                                    const QStringList& namedBy)
{
    const QString density = qualifiersOf(definition.folder).density;
    const auto known = std::find_if(androidDensities().begin(), androidDensities().end(),
                                    [&](const AndroidDensity& each) { return each.qualifier() == density; });
    if (!isBitmapFile(definition.file) || known == androidDensities().end())
        return;
    const QSize size = pixelSize(definition.res, definition.folder, definition.file);
    const int expected = known->pixels(dp);
    if (size.isValid() && (size.width() != expected || size.height() != expected))
        m_findings.add(Finding::Severity::Warning,
                       displayPath(m_folders.at(definition.res).path(definition.folder, definition.file)),
                       QStringLiteral("wrong-size"),
                       QStringLiteral("it is %1 × %2 px; at %3 a %4 dp %5 is %6 × %6 px%7")
                           .arg(size.width())
                           .arg(size.height())
                           .arg(density)
                           .arg(dp)
                           .arg(kind)
                           .arg(expected)
                           .arg(namedBy.isEmpty() ? QString()
                                                  : QStringLiteral(" (named by %1)").arg(listedFiles(namedBy))));
}

void ResImageChecks::checkNotificationIcons(const fs::path& res)
{
    const ResFolder& read = m_folders.at(res);
    for (const AndroidDensity& density : androidDensities()) {
        const QString sub = QStringLiteral("drawable-") + density.qualifier();
        const auto files = read.files().find(sub);
        if (files == read.files().end())
            continue;
        for (const QString& file : files->second) {
            const QString resource = resourceName(file);
            if (!file.endsWith(QLatin1String(".png"))
                || (resource != QLatin1String("ic_notification") && !resource.startsWith(QLatin1String("ic_stat_"))))
                continue;
            const QString shown = displayPath(read.path(sub, file));
            const QSize size = pixelSize(res, sub, file);
            const int expected = density.pixels(notificationIconDp);
            if (size.isValid() && (size.width() != expected || size.height() != expected))
                m_findings.add(Finding::Severity::Warning, shown, QStringLiteral("wrong-size"),
                               QStringLiteral("it is %1 × %2 px; at %3 a notification icon is %4 × %4 px")
                                   .arg(size.width())
                                   .arg(size.height())
                                   .arg(density.qualifier())
                                   .arg(expected));
            if (hasColours(QImage::fromData(read.read(sub, file, maxResImageBytes), "PNG")))
                m_findings.add(Finding::Severity::Warning, shown, QStringLiteral("notification-colours"),
                               QStringLiteral(
                                   "it is not white on transparent: Android 5 and later draw only its alpha, so "
                                   "its colours are lost and an opaque square shows as a white one"));
        }
    }
}

void ResImageChecks::checkSafeZone(const std::vector<ResDefinition>& definitions, const QStringList& namedBy)
{
    for (auto density = androidDensities().rbegin(); density != androidDensities().rend(); ++density) {
        const auto found = std::find_if(definitions.begin(), definitions.end(), [&](const ResDefinition& each) {
            return isBitmapFile(each.file) && qualifiersOf(each.folder).density == density->qualifier();
        });
        if (found == definitions.end())
            continue;
        QByteArray bytes = m_folders.at(found->res).read(found->folder, found->file, maxResImageBytes);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > maxMeasuredSide || size.height() > maxMeasuredSide)
            return;
        const QImage image = reader.read();
        if (image.isNull())
            return;
        // Antialiasing on the circle's edge is allowed a pixel.
        const double dpPerPixel = adaptiveLayerDp / image.width();
        const double farthest = farthestArt(image);
        const double radius = safeZoneDp / 2;
        if ((farthest - 1) * dpPerPixel > radius)
            m_findings.add(Finding::Severity::Warning,
                           displayPath(m_folders.at(found->res).path(found->folder, found->file)),
                           QStringLiteral("outside-safe-zone"),
                           QStringLiteral(
                               "its art reaches %1 dp from the centre, outside the %2 dp circle that no launcher "
                               "masks (%3 dp from the centre): a round mask may cut it (named by %4)")
                               .arg(qRound(farthest * dpPerPixel))
                               .arg(safeZoneDp)
                               .arg(safeZoneDp / 2)
                               .arg(listedFiles(namedBy)));
        return;
    }
}

} // namespace quorva
