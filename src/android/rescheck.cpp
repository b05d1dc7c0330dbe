#include "android/rescheck.h"

#include "android/adaptiveicon.h"
#include "android/androiddensity.h"
#include "android/androidiconplan.h"
#include "android/androidmanifest.h"
#include "android/androidnamespace.h"
#include "android/gradleproject.h"
#include "android/resfolder.h"
#include "png/pngstructure.h"
#include "support/paths.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxImageBytes = 64 << 20;
constexpr int maxMeasuredSide = 4096;
constexpr int adaptiveIconApi = 26;

// What a resource folder's name qualifies it by: a density ("hdpi"; none for anydpi and nodpi,
// whose files serve every density) and the Android version it is for (26 for -v26, else 0).
struct Qualifiers {
    QString density;
    int version = 0;
};

Qualifiers qualifiersOf(const QString& folder)
{
    static const QRegularExpression version(QStringLiteral("^v(\\d+)$"));
    Qualifiers qualifiers;
    const QStringList parts = folder.split(QLatin1Char('-'));
    for (const QString& part : parts.mid(1)) {
        if (const QRegularExpressionMatch match = version.match(part); match.hasMatch())
            qualifiers.version = match.captured(1).toInt();
        else if (part.endsWith(QLatin1String("dpi")) && part != QLatin1String("anydpi")
                 && part != QLatin1String("nodpi"))
            qualifiers.density = part;
    }
    return qualifiers;
}

// A module's resources as Android's build merges them, and where else the project defines any.
struct ModuleView {
    QString name;                    // ":app"; empty for a res folder outside any Gradle project
    std::vector<fs::path> res;       // its source sets' res folders, main first
    std::vector<fs::path> manifests; // its source sets' manifests
    std::optional<int> minSdk;
    std::map<QString, QStringList> placeholders;
    std::vector<fs::path> reachable; // the res folders of the modules it depends on
    bool reachComplete = true;
    bool inProject = false;
    std::vector<std::pair<QString, fs::path>> others; // every other module's res folders
};

// A file that defines a resource, in one of a module's res folders.
struct Definition {
    fs::path res;
    QString folder;
    QString file;
};

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

QString listed(const QStringList& paths)
{
    return paths.size() == 1 ? paths.front() : paths.join(QStringLiteral(", "));
}

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

// The checks of one call: each res folder and PNG read once, each finding made once.
class Checker {
public:
    explicit Checker(ResCheck& check) : m_check(check) {}

    std::optional<QString> run(const fs::path& asked)
    {
        fs::path given = asked.lexically_normal();
        if (given.filename().empty() && given.has_parent_path())
            given = given.parent_path();
        std::error_code error;
        if (fs::is_regular_file(given, error))
            return QStringLiteral("%1 is a file, not a res folder or a Gradle project").arg(displayPath(asked));
        if (!fs::is_directory(given, error))
            return QStringLiteral("%1 is no folder that can be read").arg(displayPath(asked));
        const std::optional<GradleProject> project = GradleProject::above(given);
        std::vector<ModuleView> views;
        std::optional<fs::path> scope; // the source set asked for, when a res folder was
        if (given.filename() == "res") {
            if (!folder(given).isOpen())
                return QStringLiteral("%1 is no folder that can be read").arg(displayPath(asked));
            scope = given.parent_path();
            const GradleModule* module = project ? project->moduleOf(given) : nullptr;
            views.push_back(module ? viewOf(*project, *module, given) : standalone(given));
        } else if (project) {
            // The project's every module, or the one asked for.
            const bool whole = resolvedPath(given) == resolvedPath(project->root());
            const GradleModule* only = whole ? nullptr : project->moduleOf(given);
            for (const GradleModule& module : project->modules())
                if (whole || &module == only)
                    views.push_back(viewOf(*project, module, std::nullopt));
        } else {
            return QStringLiteral("%1 is no res folder and lies in no Gradle project").arg(displayPath(asked));
        }
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
    const ResFolder& folder(const fs::path& res)
    {
        std::unique_ptr<ResFolder>& read = m_folders[res];
        if (!read)
            read = std::make_unique<ResFolder>(res);
        return *read;
    }

    ModuleView standalone(const fs::path& res)
    {
        ModuleView view;
        view.res = {res};
        std::error_code error;
        if (fs::is_regular_file(res.parent_path() / "AndroidManifest.xml", error))
            view.manifests = {res.parent_path() / "AndroidManifest.xml"};
        return view;
    }

    ModuleView viewOf(const GradleProject& project, const GradleModule& module, const std::optional<fs::path>& asked)
    {
        ModuleView view;
        view.name = module.name;
        view.inProject = true;
        view.res = module.resFolders();
        if (asked && std::none_of(view.res.begin(), view.res.end(), [&](const fs::path& res) {
                return resolvedPath(res) == resolvedPath(*asked);
            }))
            view.res.push_back(*asked); // a res folder outside the usual src/*/res
        view.manifests = module.manifests();
        if (asked && view.manifests.empty())
            view.manifests = standalone(*asked).manifests;
        view.minSdk = module.minSdk;
        view.placeholders = module.resourcePlaceholders;
        const GradleProject::Reach reach = project.reachableFrom(module);
        view.reachComplete = reach.complete;
        for (const GradleModule* other : reach.modules)
            if (other != &module)
                for (const fs::path& res : other->resFolders())
                    view.reachable.push_back(res);
        for (const GradleModule& other : project.modules())
            if (std::find(reach.modules.begin(), reach.modules.end(), &other) == reach.modules.end())
                for (const fs::path& res : other.resFolders())
                    view.others.emplace_back(other.name, res);
        return view;
    }

    // Once per file and rule, or per the key given.
    void add(Finding::Severity severity, const QString& path, const QString& rule, const QString& message,
             const QString& key = {})
    {
        if (m_reported.insert(path + QLatin1Char('\n') + rule + QLatin1Char('\n') + key).second)
            m_check.findings.push_back({severity, path, rule, message});
    }

    std::vector<Definition> definitionsIn(const std::vector<fs::path>& folders, const ResourceRef& ref)
    {
        std::vector<Definition> found;
        for (const fs::path& res : folders)
            for (const auto& [sub, file] : folder(res).definitionsOf(ref.type, ref.name))
                found.push_back({res, sub, file});
        return found;
    }

    bool definesAny(const std::vector<fs::path>& folders, const ResourceRef& ref)
    {
        return std::any_of(folders.begin(), folders.end(),
                           [&](const fs::path& res) { return folder(res).defines(ref.type, ref.name); });
    }

    // A resource the module's own res folders lack. Android's build merges the res folders of the
    // module's source sets and of the modules it depends on, so only one that none of those
    // defines is missing; without a project to look in, where it is defined can't be known.
    void reportMissing(const ModuleView& view, const ResourceRef& ref, const QString& path, const QString& what)
    {
        if (definesAny(view.res, ref) || definesAny(view.reachable, ref))
            return;
        const auto other = std::find_if(view.others.begin(), view.others.end(), [&](const auto& module) {
            return folder(module.second).defines(ref.type, ref.name);
        });
        const QString rule = QStringLiteral("missing-resource");
        if (other != view.others.end() && view.reachComplete)
            add(Finding::Severity::Error, path, rule,
                QStringLiteral("%1, which only %2 defines, and %3 does not depend on %2")
                    .arg(what, other->first, view.name),
                ref.text());
        else if (other != view.others.end())
            return; // a plugin the module applies may add the dependency its build file doesn't name
        else if (view.inProject)
            add(Finding::Severity::Error, path, rule,
                QStringLiteral("%1, which no res folder of the Gradle project defines").arg(what), ref.text());
        else
            add(Finding::Severity::Warning, path, rule,
                QStringLiteral("%1, which this res folder does not define; it may be defined in another module or "
                               "source set")
                    .arg(what),
                ref.text());
    }

    void checkModule(const ModuleView& view)
    {
        for (const fs::path& res : view.res) {
            checkPngs(res);
            checkNotificationIcons(res);
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
                add(Finding::Severity::Warning, path, QStringLiteral("no-monochrome"),
                    QStringLiteral("it has no <monochrome> layer: with themed icons on (Android 13), launchers show it "
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
            const ResFolder& read = folder(res);
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
        const std::vector<Definition> definitions = definitionsIn(view.res, ref);
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
        for (const Definition& definition : definitions) {
            const Qualifiers qualifiers = qualifiersOf(definition.folder);
            if (definition.file.endsWith(QLatin1String(".xml"))) {
                const QString path = displayPath(folder(definition.res).path(definition.folder, definition.file));
                if (const auto layers
                    = adaptiveLayers(folder(definition.res).read(definition.folder, definition.file, maxResXmlBytes)))
                    adaptive[path] = {path, *layers};
            }
            if (qualifiers.density.isEmpty() && qualifiers.version <= minSdk)
                everyDensity = true;
        }
        if (!everyDensity) {
            QStringList missing;
            for (const AndroidDensity& density : androidDensities())
                if (std::none_of(definitions.begin(), definitions.end(), [&](const Definition& definition) {
                        return qualifiersOf(definition.folder).density == density.qualifier();
                    }))
                    missing << QStringLiteral("%1-%2").arg(ref.type, density.qualifier());
            if (!missing.isEmpty())
                add(Finding::Severity::Warning, shown, QStringLiteral("missing-density"),
                    QStringLiteral("no %1 icon in %2: launchers there scale another density's%3")
                        .arg(ref.name, missing.join(QStringLiteral(", ")),
                             minSdk < adaptiveIconApi ? QStringLiteral(", or show none before Android 8") : QString()));
        }
        for (const Definition& definition : definitions)
            checkPixelSize(definition, legacyIconDp, QStringLiteral("icon"), {});
    }

    void checkLayer(const ModuleView& view, const ResourceRef& ref, const LayerUse& use)
    {
        const QString element = *use.elements.begin();
        if (!definesAny(view.res, ref)) {
            reportMissing(view, ref, use.namedBy.front(),
                          QStringLiteral("its %1 is %2%3")
                              .arg(element, ref.text(),
                                   use.namedBy.size() > 1
                                       ? QStringLiteral(" (so is that of %1)").arg(listed(use.namedBy.mid(1)))
                                       : QString()));
            return;
        }
        if (ref.type == QLatin1String("color") || use.wrapped)
            return;
        const std::vector<Definition> definitions = definitionsIn(view.res, ref);
        for (const Definition& definition : definitions)
            checkPixelSize(definition, adaptiveLayerDp, QStringLiteral("layer"), use.namedBy);
        if (use.elements.count(QStringLiteral("foreground")))
            checkSafeZone(definitions, use.namedBy);
    }

    // Every PNG of the drawable and mipmap folders is compiled by Android's build, which stops at
    // one that is not whole.
    void checkPngs(const fs::path& res)
    {
        const ResFolder& read = folder(res);
        for (const auto& [sub, files] : read.files()) {
            if (!sub.startsWith(QLatin1String("mipmap")) && !sub.startsWith(QLatin1String("drawable")))
                continue;
            for (const QString& file : files) {
                const fs::path path = read.path(sub, file);
                if (!file.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) || m_pngs.count(path))
                    continue;
                const PngStructure& png = m_pngs[path] = readPngStructure(read.read(sub, file, maxImageBytes));
                if (!png.whole)
                    add(Finding::Severity::Error, displayPath(path), QStringLiteral("broken-png"),
                        QStringLiteral("the PNG is not whole: %1").arg(png.problem));
            }
        }
    }

    // A PNG's size as its header, read already, gives it; another format's from its own reader.
    QSize pixelSize(const fs::path& res, const QString& sub, const QString& file)
    {
        const ResFolder& read = folder(res);
        if (const auto png = m_pngs.find(read.path(sub, file)); png != m_pngs.end())
            return png->second.width ? QSize(int(png->second.width), int(png->second.height)) : QSize();
        QByteArray bytes = read.read(sub, file, maxImageBytes);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        return reader.size();
    }

    // A bitmap of a density folder against so many dp at that density.
    void checkPixelSize(const Definition& definition, double dp, const QString& kind, const QStringList& namedBy)
    {
        const QString density = qualifiersOf(definition.folder).density;
        const auto known = std::find_if(androidDensities().begin(), androidDensities().end(),
                                        [&](const AndroidDensity& each) { return each.qualifier() == density; });
        if (!isBitmapFile(definition.file) || known == androidDensities().end())
            return;
        const QSize size = pixelSize(definition.res, definition.folder, definition.file);
        const int expected = known->pixels(dp);
        if (size.isValid() && (size.width() != expected || size.height() != expected))
            add(Finding::Severity::Warning,
                displayPath(folder(definition.res).path(definition.folder, definition.file)),
                QStringLiteral("wrong-size"),
                QStringLiteral("it is %1 × %2 px; at %3 a %4 dp %5 is %6 × %6 px%7")
                    .arg(size.width())
                    .arg(size.height())
                    .arg(density)
                    .arg(dp)
                    .arg(kind)
                    .arg(expected)
                    .arg(namedBy.isEmpty() ? QString() : QStringLiteral(" (named by %1)").arg(listed(namedBy))));
    }

    // Notification icons, by the names Android Studio and Quorva give them (ic_stat_…,
    // ic_notification): their size at each density, and colours that Android drops, drawing the
    // alpha alone in the status bar's colour (lint's IconColors).
    void checkNotificationIcons(const fs::path& res)
    {
        const ResFolder& read = folder(res);
        for (const AndroidDensity& density : androidDensities()) {
            const QString sub = QStringLiteral("drawable-") + density.qualifier();
            const auto files = read.files().find(sub);
            if (files == read.files().end())
                continue;
            for (const QString& file : files->second) {
                const QString resource = resourceName(file);
                if (!file.endsWith(QLatin1String(".png"))
                    || (resource != QLatin1String("ic_notification")
                        && !resource.startsWith(QLatin1String("ic_stat_"))))
                    continue;
                const QString shown = displayPath(read.path(sub, file));
                const QSize size = pixelSize(res, sub, file);
                const int expected = density.pixels(notificationIconDp);
                if (size.isValid() && (size.width() != expected || size.height() != expected))
                    add(Finding::Severity::Warning, shown, QStringLiteral("wrong-size"),
                        QStringLiteral("it is %1 × %2 px; at %3 a notification icon is %4 × %4 px")
                            .arg(size.width())
                            .arg(size.height())
                            .arg(density.qualifier())
                            .arg(expected));
                if (hasColours(QImage::fromData(read.read(sub, file, maxImageBytes), "PNG")))
                    add(Finding::Severity::Warning, shown, QStringLiteral("notification-colours"),
                        QStringLiteral("it is not white on transparent: Android 5 and later draw only its alpha, so "
                                       "its colours are lost and an opaque square shows as a white one"));
            }
        }
    }

    // The foreground's art, measured on its alpha at the largest density it has, against the 66 dp
    // circle in the middle of the 108 dp layer.
    void checkSafeZone(const std::vector<Definition>& definitions, const QStringList& namedBy)
    {
        for (auto density = androidDensities().rbegin(); density != androidDensities().rend(); ++density) {
            const auto found = std::find_if(definitions.begin(), definitions.end(), [&](const Definition& each) {
                return isBitmapFile(each.file) && qualifiersOf(each.folder).density == density->qualifier();
            });
            if (found == definitions.end())
                continue;
            QByteArray bytes = folder(found->res).read(found->folder, found->file, maxImageBytes);
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
                add(Finding::Severity::Warning, displayPath(folder(found->res).path(found->folder, found->file)),
                    QStringLiteral("outside-safe-zone"),
                    QStringLiteral("its art reaches %1 dp from the centre, outside the %2 dp circle that no launcher "
                                   "masks (%3 dp from the centre): a round mask may cut it (named by %4)")
                        .arg(qRound(farthest * dpPerPixel))
                        .arg(safeZoneDp)
                        .arg(safeZoneDp / 2)
                        .arg(listed(namedBy)));
            return;
        }
    }

    ResCheck& m_check;
    std::map<fs::path, std::unique_ptr<ResFolder>> m_folders; // each res folder read once
    std::map<fs::path, PngStructure> m_pngs;                  // every PNG of the mipmap and drawable folders
    std::set<QString> m_reported;
};

} // namespace

std::optional<QString> checkAndroidRes(const fs::path& path, ResCheck& check)
{
    return Checker(check).run(path);
}

} // namespace quorva
