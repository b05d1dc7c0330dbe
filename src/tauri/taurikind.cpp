#include "tauri/taurikind.h"

#include "desktop/desktopicons.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "tauri/tauricheck.h"
#include "tauri/tauriconfig.h"

#include <algorithm>
#include <set>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxConfigBytes = 4 << 20;

const OptionSchema& tauriOptions()
{
    static const OptionSchema options = {
        {"config", OptionType::Output, true},
        macShapeOption(),
        sharedOption("source"),
        sharedOption("padding"),
    };
    return options;
}

KindOutput makeTauriIcons(const KindRequest& request)
{
    KindOutput out;
    const SourceImages::Source& source = request.image();
    if (!source.loaded.image)
        return KindOutput::unreadable(source.loaded.error);
    const fs::path config = request.path(QStringLiteral("config")).lexically_normal();
    const fs::path folder = config.parent_path();
    // Every icon the configurations name, once, in the order they name them.
    std::vector<TauriIcon> icons;
    for (const QString& name : QStringList{displayPath(config.filename())} + tauriPlatformConfigNames()) {
        const fs::path each = folder / toPath(name);
        const std::optional<QByteArray> text = request.inputs.read(each, maxConfigBytes);
        if (!text && each != config)
            continue; // no configuration of its own for that platform
        const TauriIcons named = tauriIcons(text.value_or(QByteArray()));
        if (named.error)
            return KindOutput::failed(pathLine(each, *named.error));
        for (const QString& skipped : named.skipped)
            out.notes << pathLine(each, QStringLiteral("left %1 alone: its name tells no size").arg(skipped));
        for (const TauriIcon& icon : named.icons)
            if (std::none_of(icons.begin(), icons.end(), [&](const TauriIcon& had) {
                    return toPath(had.path).lexically_normal() == toPath(icon.path).lexically_normal();
                }))
                icons.push_back(icon);
    }
    if (icons.empty())
        return KindOutput::failed(pathLine(config, QStringLiteral("it names no icons (bundle.icon)")));
    const QString shape = request.text(QStringLiteral("mac-shape"));
    const MacShape macShape = shape == QLatin1String("keep") ? MacShape::Keep
        : shape == QLatin1String("apply")                    ? MacShape::Apply
                                                             : MacShape::Auto;
    DesktopArt art;
    art.padding = request.padding();
    std::set<int> sides;
    for (const TauriIcon& icon : icons)
        if (icon.format == TauriIcon::Format::Png)
            sides.insert(icon.side);
    const std::map<int, ImageRef> rendered = renderSides(source.loaded.image, art, sides);
    Plan plan;
    QStringList places;
    for (const TauriIcon& icon : icons) {
        const fs::path within = (folder / toPath(icon.path)).lexically_normal().lexically_relative(folder);
        if (within.empty() || *within.begin() == ".." || toPath(icon.path).is_absolute())
            return KindOutput::failed(
                pathLine(config, QStringLiteral("its icon %1 lies outside its folder").arg(icon.path)));
        std::optional<QByteArray> bytes;
        switch (icon.format) {
        case TauriIcon::Format::Ico:
            bytes = icoOf(source.loaded.image, art, windowsIconSizes());
            break;
        case TauriIcon::Format::Icns:
            bytes = icnsOf(source.loaded.image, macShape, art.padding);
            break;
        case TauriIcon::Format::Png:
            if (const auto image = rendered.find(icon.side); image != rendered.end() && image->second)
                bytes = pngData(*image->second).bytes;
            break;
        }
        if (!bytes)
            return KindOutput::failed(pathLine(folder / within, QStringLiteral("Couldn't make the icon")));
        plan.add(displayPath(within), *bytes);
        const fs::path parent = (folder / within).parent_path();
        const QString place = displayPath(request.base.empty() ? parent : parent.lexically_relative(request.base));
        if (!places.contains(place))
            places << place;
    }
    // Where the icons go, as the user names them: their folders.
    out.where = places.join(QStringLiteral(", "));
    out.placements.push_back({folder, plan, false});
    return out;
}

KindCheck checkTauri(const KindRequest& request)
{
    KindCheck check;
    check.places << displayPath(request.path(QStringLiteral("config")));
    check.findings = checkTauriIcons(request.path(QStringLiteral("config")));
    return check;
}

} // namespace

std::vector<fs::path> tauriConfigs(const fs::path& config)
{
    std::vector<fs::path> configs = {config};
    for (const QString& name : tauriPlatformConfigNames())
        if (const fs::path platform = config.parent_path() / toPath(name); isFile(platform))
            configs.push_back(platform);
    return configs;
}

const OutputKind tauriKind{"tauri",
                           "tauri",
                           tauriOptions,
                           {"source", "config"},
                           makeTauriIcons,
                           checkTauri,
                           "writes every icon a Tauri configuration's bundle.icon (and its platforms' "
                           "configurations') lists, at the size its name gives",
                           [](const fs::path& path) -> const char* {
                               return isFile(path) && path.filename().string().starts_with("tauri.")
                                       && displayPath(path.extension()).toLower() == QLatin1String(".json")
                                   ? "config"
                                   : nullptr;
                           }};

} // namespace quorva
