#include "desktop/desktopicons.h"

#include "desktop/icnsfile.h"
#include "desktop/icofile.h"
#include "generation/sidebyside.h"
#include "image/imagecompositing.h"
#include "image/imageresizing.h"
#include "image/vectordrawing.h"

#include <QRegularExpression>

namespace quorva {

std::map<int, ImageRef> renderSides(const ImageRef& source, const DesktopArt& art, const std::set<int>& sides)
{
    if (!source)
        return {};
    ImageRef prepared = source;
    const QSize pixels = source->pixelSize();
    if (art.padding > 0 || pixels.width() != pixels.height()) {
        Frame frame;
        frame.fit = Frame::Fit::Contain;
        frame.padding = art.padding;
        prepared = framed(*prepared, frame);
    }
    if (prepared && art.background)
        prepared = onBackground(*prepared, *art.background);
    if (!prepared)
        return {};
    // The largest first, each with its encoding, so that no large one is left to end the run alone.
    std::vector<int> order(sides.rbegin(), sides.rend());
    std::vector<ImageRef> made(order.size());
    std::vector<std::function<void()>> tasks;
    for (std::size_t i = 0; i < order.size(); ++i)
        tasks.push_back([&, i] {
            made[i] = resizedToSide(*prepared, order[i]);
            if (made[i])
                (void)pngData(*made[i]);
        });
    runSideBySide(tasks);
    std::map<int, ImageRef> images;
    for (std::size_t i = 0; i < order.size(); ++i)
        images[order[i]] = made[i];
    return images;
}

const std::vector<int>& windowsIconSizes()
{
    static const std::vector<int> sizes = {16, 20, 24, 32, 40, 48, 64, 256};
    return sizes;
}

const std::vector<int>& faviconSizes()
{
    static const std::vector<int> sizes = {16, 32, 48};
    return sizes;
}

std::optional<QByteArray> icoOf(const ImageRef& source, const DesktopArt& art, const std::vector<int>& sides)
{
    const std::map<int, ImageRef> images = renderSides(source, art, {sides.begin(), sides.end()});
    std::vector<QImage> bitmaps;
    for (const int side : sides) {
        const auto found = images.find(side);
        if (found == images.end() || !found->second || found->second->representations().empty())
            return std::nullopt;
        bitmaps.push_back(found->second->representations().front());
    }
    return encodeIco(bitmaps);
}

std::optional<QByteArray> icnsOf(const ImageRef& source, MacShape shape, double padding)
{
    DesktopArt art;
    art.padding = padding;
    std::set<int> sides;
    for (const IcnsType& type : icnsPngTypes())
        sides.insert(type.pixels);
    const ImageRef shaped = macIconArt(source, shape);
    const std::map<int, ImageRef> images = renderSides(shaped, art, sides);
    std::vector<IcnsElement> elements;
    for (const IcnsType& type : icnsPngTypes()) {
        const auto found = images.find(type.pixels);
        const PngResult* png = found != images.end() && found->second ? &pngData(*found->second) : nullptr;
        if (!png || !png->bytes)
            return std::nullopt;
        elements.push_back({QByteArray(type.type), *png->bytes});
    }
    return encodeIcns(elements);
}

const std::vector<int>& hicolorSizes()
{
    static const std::vector<int> sizes = {16, 22, 24, 32, 48, 64, 128, 256, 512};
    return sizes;
}

std::optional<QString> appIdProblem(const QString& id)
{
    // What a .desktop file's name may be: a D-Bus well-known name, as desktops look it up.
    static const QRegularExpression element(QStringLiteral("^[A-Za-z_-][A-Za-z0-9_-]*$"));
    if (id.isEmpty() || id.size() > 255)
        return QStringLiteral("an application ID is 1 to 255 characters long");
    const QStringList elements = id.split(QLatin1Char('.'));
    if (elements.size() < 2)
        return QStringLiteral("an application ID is a reverse DNS name of two elements or more, such as "
                              "org.example.App");
    for (const QString& part : elements)
        if (!element.match(part).hasMatch())
            return QStringLiteral("\"%1\" is no element of an application ID: letters, digits, _ and -, not "
                                  "starting with a digit")
                .arg(part);
    return std::nullopt;
}

Plan planHicolor(const ImageRef& source, const QString& appId, const std::vector<int>& sides, const DesktopArt& art)
{
    Plan plan;
    const std::map<int, ImageRef> images = renderSides(source, art, {sides.begin(), sides.end()});
    for (const int side : sides) {
        const auto found = images.find(side);
        const PngResult* png = found != images.end() && found->second ? &pngData(*found->second) : nullptr;
        if (!png || !png->bytes) {
            plan.refusal = QStringLiteral("Couldn't make the %1 px icon").arg(side);
            return plan;
        }
        plan.add(QStringLiteral("hicolor/%1x%1/apps/%2.png").arg(side).arg(appId), *png->bytes);
    }
    if (source && source->drawing() && !art.background && art.padding <= 0)
        plan.add(QStringLiteral("hicolor/scalable/apps/%1.svg").arg(appId), source->drawing()->document());
    return plan;
}

} // namespace quorva
