#include "project/targetplacement.h"

#include "android/androidiconplan.h"
#include "android/androidinstall.h"
#include "android/androidkind.h"
#include "android/gradleproject.h"
#include "android/launchericonname.h"
#include "apple/appiconplan.h"
#include "apple/appicontarget.h"
#include "apple/iconcomposerdesign.h"
#include "apple/iconcomposerplan.h"
#include "desktop/desktopicons.h"
#include "desktop/desktopkinds.h"
#include "expo/expokind.h"
#include "image/csscolour.h"
#include "image/imageresizing.h"
#include "png/pngencoder.h"
#include "project/writtenplaces.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"
#include "tauri/taurikind.h"
#include "web/webicons.h"
#include "web/webkind.h"
#include "xcodeproj/xcodeproject.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <thread>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxInputBytes = 64 << 20;

MacShape macShapeOf(const ProjectTarget& target)
{
    const QString shape = target.text(QStringLiteral("mac-shape"));
    return shape == QLatin1String("keep") ? MacShape::Keep
        : shape == QLatin1String("apply") ? MacShape::Apply
                                          : MacShape::Auto;
}

double paddingOf(const ProjectTarget& target)
{
    const auto found = target.settings.find(QStringLiteral("padding"));
    if (found == target.settings.end())
        return 0;
    const double* percent = std::get_if<double>(&found->second.value);
    return percent ? *percent / 100 : 0;
}

std::optional<QColor> colourOf(const ProjectTarget& target)
{
    const QColor colour = parseCssColour(target.text(QStringLiteral("background")));
    return colour.isValid() ? std::optional(colour) : std::nullopt;
}

// The dark and tinted icons asked for, and their own images; why not, when one can't be read.
std::optional<QString> appearancesOf(const ProjectTarget& target, SourceImages& images, AppIconOptions& options)
{
    for (const auto& [key, wanted, artwork] :
         {std::tuple(QStringLiteral("dark"), &options.dark, &options.darkArtwork),
          std::tuple(QStringLiteral("tinted"), &options.tinted, &options.tintedArtwork)}) {
        *wanted = target.wanted(key);
        if (const auto file = target.file(key)) {
            const LoadedImage& loaded = images.load(*file);
            if (!loaded.image)
                return loaded.error;
            *artwork = loaded.image;
        }
    }
    return std::nullopt;
}

// What the user must set for a flavor's build to take its set, in which configurations; nothing
// when the configurations select it already.
std::optional<QString> flavorSetNote(const fs::path& catalog, const QString& flavor, const QString& set)
{
    const QString setting = QStringLiteral("ASSETCATALOG_COMPILER_APPICON_NAME = %1").arg(set);
    const std::optional<XcodeProject> project = findXcodeProjectFor(catalog);
    const XcodeTarget* app = nullptr;
    if (project)
        for (const XcodeTarget& target : project->targets)
            if (!app && target.isApplication() && target.copies(catalog))
                app = &target;
    if (!app)
        return QStringLiteral("the %1 flavor's configurations must select it: %2").arg(flavor, setting);
    const QStringList configurations = app->configurationsOf(flavor);
    if (configurations.isEmpty())
        return QStringLiteral("target %1 has no configurations of the %2 flavor (Debug-%2, Release-%2): add them, "
                              "each with %3")
            .arg(app->name, flavor, setting);
    QStringList other;
    for (const QString& configuration : configurations)
        if (app->appIconOf(configuration) != set)
            other << configuration;
    if (other.isEmpty())
        return std::nullopt;
    return QStringLiteral("set %1 in the configurations %2 of target %3")
        .arg(setting, other.join(QStringLiteral(", ")), app->name);
}

// The Apple set: the platforms' icons in one set in the catalog.
TargetPlacement placeAppleSet(const ProjectTarget& target, const fs::path& root, const ImageRef& source,
                              SourceImages& images)
{
    TargetPlacement out;
    const QString set = target.text(QStringLiteral("set"), QStringLiteral("AppIcon"));
    out.where = target.text(QStringLiteral("catalog")) + QLatin1Char('/') + set + QStringLiteral(".appiconset");
    AppIconOptions options;
    options.platforms.clear();
    for (const TargetKind platform : target.platforms)
        options.platforms.insert(platform == TargetKind::macOS         ? ApplePlatform::macOS
                                     : platform == TargetKind::watchOS ? ApplePlatform::watchOS
                                                                       : ApplePlatform::iOS);
    options.macShape = macShapeOf(target);
    const QString fit = target.text(QStringLiteral("fit"));
    options.frame.fit = fit == QLatin1String("contain") ? Frame::Fit::Contain
        : fit == QLatin1String("cover")                 ? Frame::Fit::Cover
                                                        : Frame::Fit::Stretch;
    options.frame.padding = paddingOf(target);
    options.singleSize = target.flag(QStringLiteral("single-size"));
    options.background = colourOf(target);
    if ((out.failure = appearancesOf(target, images, options)))
        return out;
    const AppIconPlan plan = planAppIconSet(source, options);
    const fs::path sourcePath = toPath(target.text(QStringLiteral("source")));
    if (plan.refusal != AppIconRefusal::None) {
        out.failure = pathLine(sourcePath, describe(plan.refusal));
        return out;
    }
    // What appicon notes of a source, sync says too; and as sync exits 0 only for files a store
    // takes, a transparent App Store icon is no note but a refusal.
    for (const AppIconNote note : notesOf(*source, options, hasTransparentPixels(sampleBitmap(*source)))) {
        if (note == AppIconNote::TransparentStoreIcon) {
            out.failure = pathLine(sourcePath,
                                   describe(note, source->pixelSize())
                                       + QStringLiteral("; lay it onto a colour with background = "
                                                        "\"#ffffff\" in its table"));
            return out;
        }
        out.notes << pathLine(sourcePath, describe(note, source->pixelSize()));
    }
    const auto drop = target.settings.find(QStringLiteral("drop"));
    const SetPlacement placed
        = placeAppIconInCatalog(plan, root / toPath(target.text(QStringLiteral("catalog"))),
                                set + QStringLiteral(".appiconset"), target.flag(QStringLiteral("force")),
                                drop == target.settings.end() ? QStringList() : drop->second.words());
    if (!placed.placement) {
        out.failure = *placed.failure
            + (placed.forcing ? QStringLiteral("; force = true in its table %1").arg(*placed.forcing) : QString());
        return out;
    }
    out.placements.push_back(*placed.placement);
    if (!placed.othersFiles.isEmpty())
        out.notes << QStringLiteral("replaces what another tool left in the set: %1")
                         .arg(placed.othersFiles.join(QStringLiteral(", ")));
    if (target.flavor)
        if (const std::optional<QString> note
            = flavorSetNote(root / toPath(target.text(QStringLiteral("catalog"))), *target.flavor, set))
            out.notes << *note;
    return out;
}

TargetPlacement placeIconComposerFile(const ProjectTarget& target, const fs::path& root, const ImageRef& source,
                                      SourceImages& images)
{
    TargetPlacement out;
    const QString name = target.text(QStringLiteral("name"), QStringLiteral("AppIcon")) + QStringLiteral(".icon");
    out.where = target.text(QStringLiteral("folder")) + QLatin1Char('/') + name;
    const fs::path folder = root / toPath(target.text(QStringLiteral("folder")));
    if (const QString layer = target.text(QStringLiteral("layer")); !layer.isEmpty()) {
        // A designer's file: its design kept, the one layer's image made from the source.
        const std::optional<IconComposerDesign> design = readIconComposerDesign(folder / toPath(name));
        if (!design) {
            out.failure = pathLine(folder / toPath(name),
                                   QStringLiteral("there is no Icon Composer file whose design to keep (layer = "
                                                  "\"%1\" in [icon-composer] keeps one)")
                                       .arg(layer));
            return out;
        }
        const DesignWithArt made = withLayerArt(*design, layer, *source);
        if (made.failure) {
            out.failure = pathLine(folder / toPath(name), *made.failure);
            return out;
        }
        out.placements.push_back(placeWholeFolder(folder, name, made.files));
        return out;
    }
    AppIconOptions options;
    options.background = colourOf(target);
    options.frame.padding = paddingOf(target);
    if ((out.failure = appearancesOf(target, images, options)))
        return out;
    const IconComposerPlan plan = planIconComposerFile(source, options);
    if (!plan.file) {
        out.failure = pathLine(toPath(target.text(QStringLiteral("source"))), describe(plan.refusal));
        return out;
    }
    out.placements.push_back(placeWholeFolder(folder, name, plan.file->files()));
    return out;
}

// A target made by its kind's one entry point, from its settings.
TargetPlacement placeByKind(const OutputKind& kind, const ProjectTarget& target, const fs::path& root,
                            SourceImages& images, const LockedTarget* earlier)
{
    KindInputs inputs(root);
    // In a project the lock keeps what the last sync wrote.
    KindRequest request{target.settings, root, images, inputs, QStringList()};
    if (earlier)
        for (const auto& [file, digest] : earlier->files)
            *request.earlier << file;
    KindOutput made = kind.make(request);
    TargetPlacement out;
    out.placements = std::move(made.placements);
    out.where = made.where;
    out.failure = made.failure;
    // How quorva.toml settles a refusal.
    const QString table = target.flavor ? QStringLiteral("flavors.%1.%2").arg(*target.flavor, QLatin1String(kind.table))
                                        : QLatin1String(kind.table);
    if (out.failure && !made.settledBy.isEmpty())
        *out.failure += QStringLiteral(": say which with %1 = \"…\" in [%2]").arg(made.settledBy, table);
    if (out.failure && made.forcing)
        *out.failure += QStringLiteral("; force = true in [%1] %2").arg(table, *made.forcing);
    out.sourceFailed = made.sourceFailed;
    out.notes = made.notes;
    out.replaced = made.replaced;
    out.inputs = inputs.recorded();
    return out;
}

} // namespace

TargetPlacement placeTarget(const ProjectTarget& target, const fs::path& root, SourceImages& images,
                            const LockedTarget* earlier)
{
    if (const OutputKind* entry = entryOf(target.kind))
        return placeByKind(*entry, target, root, images, earlier);
    // Apple's sets and Icon Composer files, planned as the Xcode project keeps them.
    const LoadedImage& loaded = images.load(target.text(QStringLiteral("source")));
    if (!loaded.image) {
        TargetPlacement failed;
        failed.failure = loaded.error;
        failed.sourceFailed = true;
        return failed;
    }
    if (target.kind == TargetKind::IconComposer)
        return placeIconComposerFile(target, root, loaded.image, images);
    return placeAppleSet(target, root, loaded.image, images);
}

std::vector<KindInput> targetInputs(const ProjectTarget& target, const fs::path& root)
{
    KindInputs inputs(root);
    for (const TargetImage& image : targetImages(target))
        inputs.read(root / toPath(image.path), 256 << 20);
    if (isAppleSet(target.kind)) {
        // A catalog that is not there is made with its own Contents.json.
        inputs.exists(root / toPath(target.text(QStringLiteral("catalog"))));
    } else if (target.kind == TargetKind::IconComposer && target.settings.count(QStringLiteral("layer"))) {
        // A design kept is every file of it.
        const fs::path icon = root / toPath(target.place() + QStringLiteral(".icon"));
        inputs.read(icon / "icon.json");
        for (const QString& file : inputs.list(icon / "Assets"))
            inputs.read(icon / "Assets" / toPath(file));
    }
    return inputs.recorded();
}

std::vector<TargetPlacement> placeTargets(const std::vector<const ProjectTarget*>& targets, const fs::path& root,
                                          const SyncLock& lock)
{
    SourceImages images(root);
    std::vector<TargetPlacement> made(targets.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < targets.size(); i = next++) {
            const auto locked = lock.targets.find(targets[i]->key());
            made[i] = placeTarget(*targets[i], root, images, locked != lock.targets.end() ? &locked->second : nullptr);
            if (made[i].inputs.empty())
                made[i].inputs = targetInputs(*targets[i], root);
        }
    };
    const std::size_t helpers = std::min<std::size_t>(targets.size(), std::max(1u, std::thread::hardware_concurrency()))
        - (targets.empty() ? 0 : 1);
    std::vector<std::thread> threads;
    for (std::size_t helper = 0; helper < helpers; ++helper)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    return made;
}

} // namespace quorva
