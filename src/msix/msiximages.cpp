#include "msix/msiximages.h"

#include <QPainter>
#include <QRegularExpression>

#include <cmath>
#include <map>
#include <set>

namespace quorva {
namespace {

// A rendered side's PNG, or nothing.
const QByteArray* pngOf(const std::map<int, ImageRef>& images, int side)
{
    const auto found = images.find(side);
    if (found == images.end() || !found->second)
        return nullptr;
    const PngResult& png = pngData(*found->second);
    return png.bytes ? &*png.bytes : nullptr;
}

// A wide tile: the square art at the tile's height, centred on a canvas transparent (or of the
// background colour) either side, as Visual Studio lays it.
std::optional<QByteArray> wideTile(const ImageRef& square, int width, int height, const DesktopArt& art)
{
    if (!square || square->representations().empty())
        return std::nullopt;
    QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(art.background ? art.background->rgba() : 0u);
    {
        QPainter painter(&canvas);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage((width - height) / 2, 0, square->representations().front());
    }
    const ImageRef tile = makeImage(canvas);
    const PngResult& png = pngData(*tile);
    return png.bytes;
}

QString qualified(const char* name, const QString& qualifiers)
{
    return QStringLiteral("%1.%2.png").arg(QLatin1String(name), qualifiers);
}

} // namespace

const std::vector<MsixResource>& msixResources()
{
    static const std::vector<MsixResource> resources = {
        {"StoreLogo", 50, 50},
        {"Square44x44Logo", 44, 44},
        {"Square150x150Logo", 150, 150},
        {"Wide310x150Logo", 310, 150},
    };
    return resources;
}

const std::vector<MsixResource>& msixOtherRoles()
{
    static const std::vector<MsixResource> roles = {
        {"SmallTile", 71, 71},
        {"LargeTile", 310, 310},
        {"SplashScreen", 620, 300},
    };
    return roles;
}

const std::vector<int>& msixScales()
{
    static const std::vector<int> scales = {100, 125, 150, 200, 400};
    return scales;
}

const std::vector<int>& msixTargetSizes()
{
    static const std::vector<int> sizes = {16, 20, 24, 30, 32, 36, 40, 48, 60, 64, 72, 80, 96, 256};
    return sizes;
}

const std::vector<MsixResource>& tauriStoreImages()
{
    static const std::vector<MsixResource> images = {
        {"StoreLogo", 50, 50},           {"Square30x30Logo", 30, 30},     {"Square44x44Logo", 44, 44},
        {"Square71x71Logo", 71, 71},     {"Square89x89Logo", 89, 89},     {"Square107x107Logo", 107, 107},
        {"Square142x142Logo", 142, 142}, {"Square150x150Logo", 150, 150}, {"Square284x284Logo", 284, 284},
        {"Square310x310Logo", 310, 310},
    };
    return images;
}

std::optional<MsixImageName> msixImageName(const QString& fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^([^.]+)(?:\\.([^.]+))?\\.png$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    MsixImageName name;
    name.resource = match.captured(1);
    for (const QString& qualifier : match.captured(2).split(QLatin1Char('_'), Qt::SkipEmptyParts)) {
        const qsizetype dash = qualifier.indexOf(QLatin1Char('-'));
        if (dash < 0)
            return std::nullopt;
        const QString key = qualifier.left(dash).toLower(), value = qualifier.mid(dash + 1);
        bool number = false;
        const int count = value.toInt(&number);
        if (key == QLatin1String("scale") && number)
            name.scale = count;
        else if (key == QLatin1String("targetsize") && number)
            name.targetSize = count;
        else if (key == QLatin1String("altform"))
            name.altform = value.toLower();
        else
            return std::nullopt; // a qualifier of another kind (lang-, contrast-, theme-)
    }
    return name;
}

std::optional<QSize> msixBaseSize(const QString& resource)
{
    static const QRegularExpression sized(QStringLiteral("^(?:Square|Wide)(\\d{1,4})x(\\d{1,4})Logo$"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch match = sized.match(resource); match.hasMatch())
        return QSize(match.captured(1).toInt(), match.captured(2).toInt());
    for (const std::vector<MsixResource>* table : {&msixResources(), &msixOtherRoles()})
        for (const MsixResource& role : *table)
            if (resource.compare(QLatin1String(role.name), Qt::CaseInsensitive) == 0)
                return QSize(role.width, role.height);
    if (resource.compare(QLatin1String("BadgeLogo"), Qt::CaseInsensitive) == 0)
        return QSize(24, 24); // the lock screen's white silhouette, which Quorva does not draw
    return std::nullopt;
}

int scaled(int side, int scale)
{
    return int(std::lround(side * scale / 100.0));
}

Plan planMsixImages(const ImageRef& source, const DesktopArt& art, bool windows11,
                    const std::vector<MsixResource>& alsoRoles)
{
    Plan plan;
    const auto refuse = [&](int side) {
        plan.files.clear();
        plan.refusal = QStringLiteral("Couldn't make the %1 px image").arg(side);
        return plan;
    };
    if (!windows11) {
        std::set<int> sides;
        for (const MsixResource& image : tauriStoreImages())
            sides.insert(image.width);
        const std::map<int, ImageRef> images = renderSides(source, art, sides);
        for (const MsixResource& image : tauriStoreImages()) {
            const QByteArray* png = pngOf(images, image.width);
            if (!png)
                return refuse(image.width);
            plan.add(QStringLiteral("%1.png").arg(QLatin1String(image.name)), *png);
        }
        return plan;
    }
    // Every scaled resource's square art (a wide tile's at its height), then the target sizes,
    // which fill their square: plated with the background, unplated without.
    std::vector<MsixResource> resources = msixResources();
    resources.insert(resources.end(), alsoRoles.begin(), alsoRoles.end());
    std::set<int> sides;
    for (const MsixResource& resource : resources)
        for (const int scale : msixScales())
            sides.insert(scaled(resource.height, scale));
    const std::map<int, ImageRef> images = renderSides(source, art, sides);
    const std::set<int> targets(msixTargetSizes().begin(), msixTargetSizes().end());
    const DesktopArt filled{art.background, 0}, unplatedArt{std::nullopt, 0};
    const std::map<int, ImageRef> plated = renderSides(source, filled, targets);
    const std::map<int, ImageRef> unplated = art.background ? renderSides(source, unplatedArt, targets) : plated;
    for (const MsixResource& resource : resources) {
        for (const int scale : msixScales()) {
            const int width = scaled(resource.width, scale), height = scaled(resource.height, scale);
            const QString name = qualified(resource.name, QStringLiteral("scale-%1").arg(scale));
            if (width == height) {
                const QByteArray* png = pngOf(images, height);
                if (!png)
                    return refuse(height);
                plan.add(name, *png);
            } else {
                const auto found = images.find(height);
                const std::optional<QByteArray> png
                    = wideTile(found == images.end() ? nullptr : found->second, width, height, art);
                if (!png)
                    return refuse(width);
                plan.add(name, *png);
            }
        }
        if (QLatin1String(resource.name) != QLatin1String("Square44x44Logo"))
            continue;
        for (const int side : msixTargetSizes()) {
            const QByteArray *platedPng = pngOf(plated, side), *unplatedPng = pngOf(unplated, side);
            if (!platedPng || !unplatedPng)
                return refuse(side);
            plan.add(qualified(resource.name, QStringLiteral("targetsize-%1").arg(side)), *platedPng);
            plan.add(qualified(resource.name, QStringLiteral("targetsize-%1_altform-unplated").arg(side)),
                     *unplatedPng);
            plan.add(qualified(resource.name, QStringLiteral("targetsize-%1_altform-lightunplated").arg(side)),
                     *unplatedPng);
        }
    }
    return plan;
}

} // namespace quorva
