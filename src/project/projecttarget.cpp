#include "project/projecttarget.h"

#include "splash/splashkind.h"

#include <algorithm>
#include <map>

namespace quorva {
namespace {

ConfigTable merged(std::initializer_list<const ConfigTable*> layers)
{
    ConfigTable out;
    for (const ConfigTable* layer : layers)
        if (layer)
            for (const auto& [key, value] : *layer)
                out[key] = value;
    return out;
}

template<typename Map>
const ConfigTable* find(const Map& map, TargetKind kind)
{
    const auto found = map.find(kind);
    return found == map.end() ? nullptr : &found->second;
}

} // namespace

QString ProjectTarget::label() const
{
    QStringList names;
    for (const TargetKind platform : platforms)
        names << targetName(platform);
    const QString name = names.isEmpty() ? targetName(kind) : names.join(QLatin1Char('+'));
    return flavor ? QStringLiteral("%1 (%2)").arg(name, *flavor) : name;
}

QString ProjectTarget::key() const
{
    return flavor ? QStringLiteral("flavors.%1.%2").arg(*flavor, targetName(kind)) : targetName(kind);
}

QString ProjectTarget::place() const
{
    if (isAppleSet(kind))
        return text("catalog") + QLatin1Char('/') + text("set", QStringLiteral("AppIcon"));
    if (kind == TargetKind::IconComposer)
        return text("folder") + QLatin1Char('/') + text("name", QStringLiteral("AppIcon"));
    // Where a kind writes: its first path, the one its table needs; else the first it gives of
    // those it may take (a launch screen's res, else its catalog).
    if (const OutputKind* entry = entryOf(kind))
        for (const bool required : {true, false})
            for (const OptionSpec& option : entry->options())
                if (option.type == OptionType::Output && option.required == required
                    && (required || !text(QLatin1String(option.key)).isEmpty()))
                    return text(QLatin1String(option.key));
    return {};
}

QString ProjectTarget::text(const QString& key, const QString& fallback) const
{
    const auto found = settings.find(key);
    return found == settings.end() || found->second.text().isEmpty() ? fallback : found->second.text();
}

bool ProjectTarget::flag(const QString& key) const
{
    const auto found = settings.find(key);
    return found != settings.end() && found->second.flag();
}

bool ProjectTarget::wanted(const QString& key) const
{
    const auto found = settings.find(key);
    return found != settings.end() && (found->second.flag() || !found->second.text().isEmpty());
}

std::optional<QString> ProjectTarget::file(const QString& key) const
{
    const auto found = settings.find(key);
    if (found == settings.end() || found->second.isBool() || found->second.text().isEmpty())
        return std::nullopt;
    return found->second.text();
}

ProjectTargets projectTargets(const ProjectConfig& config, const QStringList& flavors)
{
    ProjectTargets out;
    for (const QString& flavor : flavors)
        if (!config.flavors.count(flavor))
            out.errors << QStringLiteral("there is no flavor %1 in quorva.toml%2")
                              .arg(flavor,
                                   config.flavors.empty() ? QString() : QStringLiteral(" (its flavors: %1)").arg([&] {
                                       QStringList names;
                                       for (const auto& [name, f] : config.flavors)
                                           names << name;
                                       return names.join(QStringLiteral(", "));
                                   }()));
    if (!out.errors.isEmpty())
        return out;

    std::vector<ProjectTarget> targets;
    if (flavors.isEmpty())
        for (const auto& [kind, table] : config.targets)
            targets.push_back({kind, {}, std::nullopt, merged({&config.shared, &table})});
    for (const auto& [name, flavor] : config.flavors) {
        if (!flavors.isEmpty() && !flavors.contains(name))
            continue;
        for (const TargetKind kind : targetKinds()) {
            const ConfigTable* base = find(config.targets, kind);
            const ConfigTable* own = find(flavor.targets, kind);
            const bool perFlavor = kind == TargetKind::Android || kind == TargetKind::iOS;
            if (!own && !(perFlavor && base))
                continue;
            ProjectTarget target{kind, {}, name, merged({&config.shared, base, &flavor.shared, own})};
            // The flavor's own places, unless its table gives them.
            const auto given = [&](const char* key) { return own && own->count(QLatin1String(key)); };
            // A flavor's launch screen is its own source set's too; on iOS, whose launch screen
            // is the app's one, only where its table names a catalog.
            const bool launchScreen = kind == TargetKind{splashKind.table};
            if ((kind == TargetKind::Android || launchScreen) && !given("res") && base
                && target.settings.count(QStringLiteral("res"))) {
                QString res = target.text("res");
                if (res.endsWith(QLatin1String("src/main/res")))
                    target.settings[QStringLiteral("res")].value = res.chopped(8) + name + QStringLiteral("/res");
                else
                    out.errors << QStringLiteral("[flavors.%1.%2] needs 'res': [%2]'s %3 is no src/main/res "
                                                 "to put src/%1/res beside")
                                      .arg(name, targetName(kind), res);
            }
            if (launchScreen && !given("catalog"))
                target.settings.erase(QStringLiteral("catalog"));
            if (kind == TargetKind::Android && !given("play-store"))
                target.settings.erase(QStringLiteral("play-store")); // the store icon is the project's one
            if (kind == TargetKind::iOS && !given("set"))
                target.settings[QStringLiteral("set")].value
                    = target.text("set", QStringLiteral("AppIcon")) + QLatin1Char('-') + name;
            targets.push_back(std::move(target));
        }
    }

    // Apple tables naming one set are one set of several platforms.
    std::vector<ProjectTarget> kept;
    for (ProjectTarget& target : targets) {
        if (isAppleSet(target.kind)) {
            const auto same = std::find_if(kept.begin(), kept.end(), [&](const ProjectTarget& earlier) {
                return isAppleSet(earlier.kind) && earlier.flavor == target.flavor && earlier.place() == target.place();
            });
            if (same != kept.end()) {
                same->platforms.push_back(target.kind);
                continue;
            }
            target.platforms = {target.kind};
        }
        kept.push_back(std::move(target));
    }
    targets = std::move(kept);

    // Two targets may not share a place; but kinds share a res folder, each its own files there.
    std::map<std::pair<std::string_view, QString>, QString> places;
    for (const ProjectTarget& target : targets) {
        const bool res = target.place() == target.text(QStringLiteral("res"));
        const auto [at, fresh]
            = places.emplace(std::pair(res ? target.kind.table : std::string_view(), target.place()), target.label());
        if (!fresh)
            out.errors << QStringLiteral("%1 and %2 both write %3").arg(at->second, target.label(), at->first.second);
    }
    if (out.errors.isEmpty())
        out.targets = std::move(targets);
    return out;
}

} // namespace quorva
