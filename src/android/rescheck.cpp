#include "android/rescheck.h"

#include "android/adaptiveicon.h"
#include "android/androiddensity.h"
#include "android/androidmanifest.h"
#include "android/androidnamespace.h"
#include "android/moduleview.h"
#include "android/resfindings.h"
#include "android/resimagechecks.h"
#include "support/paths.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr int adaptiveIconApi = 26;

// An adaptive icon's XML file, and its layers.
struct AdaptiveIcon {
    QString path;
    std::map<QString, AdaptiveLayer> layers;
};

// What an adaptive icon's layer is used as, and the XML files that name it.
struct LayerUse {
    std::set<QString> elements;
    bool wrapped = false;
    QStringList namedBy;
};

// The resource rules of one call, as the build merges a module's resources: each icon the
// manifests name defined, at each density, its adaptive layers there; each res folder read once.
class Checker {
public:
    explicit Checker(ResCheck& check) : m_check(check) {}

    std::optional<QString> run(const fs::path& asked)
    {
        const AskedModules asking = modulesAsked(asked, m_folders);
        if (asking.refusal)
            return asking.refusal;
        const std::vector<ModuleView>& views = asking.views;
        const std::optional<fs::path>& scope = asking.scope;
        for (const ModuleView& view : views)
            checkModule(view);
        if (scope && !scope->empty()) {
            const QString prefix = displayPath(*scope) + QLatin1Char('/');
            std::erase_if(m_check.findings, [&](const Finding& finding) { return !finding.path.startsWith(prefix); });
            m_check.icons.erase(std::remove_if(m_check.icons.begin(), m_check.icons.end(),
                                               [&](const QString& icon) { return !icon.startsWith(prefix); }),
                                m_check.icons.end());
        }
        return std::nullopt;
    }

private:
    // A resource the module's own res folders lack. Android's build merges the res folders of the
    // module's source sets and of the modules it depends on, so only one that none of those
    // defines is missing; without a project to look in, where it is defined can't be known.
    void reportMissing(const ModuleView& view, const ResourceRef& ref, const QString& path, const QString& what)
    {
        if (m_folders.definesAny(view.res, ref) || m_folders.definesAny(view.reachable, ref))
            return;
        const auto other = std::find_if(view.others.begin(), view.others.end(), [&](const auto& module) {
            return m_folders.at(module.second).defines(ref.type, ref.name);
        });
        const QString rule = QStringLiteral("missing-resource");
        if (other != view.others.end() && view.reachComplete)
            m_findings.add(Finding::Severity::Error, path, rule,
                           QStringLiteral("%1, which only %2 defines, and %3 does not depend on %2")
                               .arg(what, other->first, view.name),
                           ref.text());
        else if (other != view.others.end())
            return; // a plugin the module applies may add the dependency its build file doesn't name
        else if (view.inProject)
            m_findings.add(Finding::Severity::Error, path, rule,
                           QStringLiteral("%1, which no res folder of the Gradle project defines").arg(what),
                           ref.text());
        else
            m_findings.add(Finding::Severity::Warning, path, rule,
                           QStringLiteral(
                               "%1, which this res folder does not define; it may be defined in another module or "
                               "source set")
                               .arg(what),
                           ref.text());
    }

    void checkModule(const ModuleView& view)
    {
        for (const fs::path& res : view.res) {
            m_images.checkPngs(res);
            m_images.checkNotificationIcons(res);
        }
        // The icons the manifests name: each with the manifests that name it.
        std::map<ResourceRef, QStringList> launchers, others;
        bool named = false, watch = false;
        for (const fs::path& manifest : view.manifests) {
            const auto read = readAndroidManifest(manifest);
            if (!read)
                continue;
            watch = watch || read->watch;
            for (const AndroidManifestIcon& icon : read->icons) {
                named = named || icon.launcher;
                const std::optional<QString> placeholder = placeholderName(icon.value);
                const auto values = placeholder ? view.placeholders.find(*placeholder) : view.placeholders.end();
                for (const QString& value : placeholder
                         ? (values != view.placeholders.end() ? values->second : QStringList())
                         : QStringList{icon.value})
                    if (const auto ref = resourceReference(value)) {
                        QStringList& paths = (icon.launcher ? launchers : others)[*ref];
                        if (!paths.contains(displayPath(manifest)))
                            paths << displayPath(manifest);
                    }
            }
        }
        if (!named)
            for (const ResourceRef& ref : unnamedIcons(view))
                launchers[ref];
        // Other icons (a quick-settings tile's, a notification's) must be there, at any size.
        for (const auto& [ref, manifests] : others)
            for (const QString& manifest : manifests)
                reportMissing(view, ref, manifest, QStringLiteral("the manifest names %1").arg(ref.text()));

        std::map<QString, AdaptiveIcon> adaptive; // by path
        for (const auto& [ref, manifests] : launchers)
            checkIcon(view, ref, manifests, adaptive);

        std::map<ResourceRef, LayerUse> layers;
        for (const auto& [path, icon] : adaptive) {
            for (const auto& [element, layer] : icon.layers) {
                const auto ref = resourceReference(layer.drawable);
                if (!ref)
                    continue;
                LayerUse& use = layers[*ref];
                use.elements.insert(element);
                use.wrapped = use.wrapped || layer.wrapped;
                if (!use.namedBy.contains(path))
                    use.namedBy << path;
            }
            if (!icon.layers.count(QStringLiteral("monochrome")) && !watch)
                m_findings.add(Finding::Severity::Warning, path, QStringLiteral("no-monochrome"),
                               QStringLiteral(
                                   "it has no <monochrome> layer: with themed icons on (Android 13), launchers show it "
                                   "untinted among tinted ones"));
        }
        for (const auto& [ref, use] : layers)
            checkLayer(view, ref, use);
    }

    // Without a manifest that names them, every mipmap is a launcher icon but the layers of
    // adaptive ones: those an XML names, and NAME_foreground, _background and _monochrome beside NAME.
    std::set<ResourceRef> unnamedIcons(const ModuleView& view)
    {
        std::set<QString> layers, mipmaps;
        for (const fs::path& res : view.res) {
            const ResFolder& read = m_folders.at(res);
            for (const QString& sub : read.foldersOf(QStringLiteral("mipmap")))
                for (const QString& file : read.files().at(sub)) {
                    mipmaps.insert(resourceName(file));
                    if (file.endsWith(QLatin1String(".xml")))
                        if (const auto parsed = adaptiveLayers(read.read(sub, file, maxResXmlBytes)))
                            for (const auto& [element, layer] : *parsed)
                                if (const auto ref = resourceReference(layer.drawable))
                                    layers.insert(ref->name);
                }
        }
        static const QRegularExpression layerName(QStringLiteral("^(.+)_(foreground|background|monochrome)$"));
        std::set<ResourceRef> icons;
        for (const QString& name : mipmaps) {
            const QRegularExpressionMatch match = layerName.match(name);
            if (!layers.count(name) && !(match.hasMatch() && mipmaps.count(match.captured(1))))
                icons.insert({QStringLiteral("mipmap"), name});
        }
        return icons;
    }

    void checkIcon(const ModuleView& view, const ResourceRef& ref, const QStringList& manifests,
                   std::map<QString, AdaptiveIcon>& adaptive)
    {
        const std::vector<ResDefinition> definitions = m_folders.definitionsIn(view.res, ref);
        if (definitions.empty()) {
            for (const QString& manifest : manifests)
                reportMissing(view, ref, manifest, QStringLiteral("the manifest names %1").arg(ref.text()));
            return; // defined by a module it depends on, if anywhere: that module's to check
        }
        const QString shown = displayPath(definitions.front().res) + QLatin1Char('/') + ref.text();
        if (!m_check.icons.contains(shown))
            m_check.icons << shown;
        // An icon defined without a density (an adaptive icon in mipmap-anydpi-v26, a vector in
        // drawable) serves every density of the versions its folder is for: the densities are
        // needed only below them.
        const int minSdk = view.minSdk.value_or(1);
        bool everyDensity = false;
        for (const ResDefinition& definition : definitions) {
            const FolderQualifiers qualifiers = qualifiersOf(definition.folder);
            if (definition.file.endsWith(QLatin1String(".xml"))) {
                const QString path = displayPath(m_folders.at(definition.res).path(definition.folder, definition.file));
                if (const auto layers = adaptiveLayers(
                        m_folders.at(definition.res).read(definition.folder, definition.file, maxResXmlBytes)))
                    adaptive[path] = {path, *layers};
            }
            if (qualifiers.density.isEmpty() && qualifiers.version <= minSdk)
                everyDensity = true;
        }
        if (!everyDensity) {
            QStringList missing;
            for (const AndroidDensity& density : androidDensities())
                if (std::none_of(definitions.begin(), definitions.end(), [&](const ResDefinition& definition) {
                        return qualifiersOf(definition.folder).density == density.qualifier();
                    }))
                    missing << QStringLiteral("%1-%2").arg(ref.type, density.qualifier());
            if (!missing.isEmpty())
                m_findings.add(Finding::Severity::Warning, shown, QStringLiteral("missing-density"),
                               QStringLiteral("no %1 icon in %2: launchers there scale another density's%3")
                                   .arg(ref.name, missing.join(QStringLiteral(", ")),
                                        minSdk < adaptiveIconApi ? QStringLiteral(", or show none before Android 8")
                                                                 : QString()));
        }
        for (const ResDefinition& definition : definitions)
            m_images.checkPixelSize(definition, legacyIconDp, QStringLiteral("icon"), {});
    }

    void checkLayer(const ModuleView& view, const ResourceRef& ref, const LayerUse& use)
    {
        const QString element = *use.elements.begin();
        if (!m_folders.definesAny(view.res, ref)) {
            reportMissing(view, ref, use.namedBy.front(),
                          QStringLiteral("its %1 is %2%3")
                              .arg(element, ref.text(),
                                   use.namedBy.size() > 1
                                       ? QStringLiteral(" (so is that of %1)").arg(listedFiles(use.namedBy.mid(1)))
                                       : QString()));
            return;
        }
        if (ref.type == QLatin1String("color") || use.wrapped)
            return;
        const std::vector<ResDefinition> definitions = m_folders.definitionsIn(view.res, ref);
        for (const ResDefinition& definition : definitions)
            m_images.checkPixelSize(definition, adaptiveLayerDp, QStringLiteral("layer"), use.namedBy);
        if (use.elements.count(QStringLiteral("foreground")))
            m_images.checkSafeZone(definitions, use.namedBy);
    }

    ResCheck& m_check;
    ResFolders m_folders;
    ResFindings m_findings{m_check.findings};
    ResImageChecks m_images{m_folders, m_findings};
};

} // namespace

std::optional<QString> checkAndroidRes(const fs::path& path, ResCheck& check)
{
    return Checker(check).run(path);
}

} // namespace quorva
