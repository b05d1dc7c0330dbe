#include "apple/appleiconkinds.h"

#include "apple/appiconplan.h"
#include "apple/appicontarget.h"
#include "apple/iconcomposerdesign.h"
#include "apple/iconcomposerplan.h"
#include "image/imageresizing.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"
#include "xcodeproj/xcodeproject.h"

namespace quorva {
namespace fs = std::filesystem;
namespace {

const OptionSchema& setOptions(bool mac)
{
    const auto keys = [](bool withShape) {
        OptionSchema keys
            = {{"catalog", OptionType::Output, true},
               OptionSpec{"set", OptionType::SetName}.described(
                   "the app icon set's name in the catalog, or the .icon's (default: AppIcon)"),
               OptionSpec{"single-size", OptionType::Flag}.described(
                   "one 1024 px AppIcon.png, from which Xcode makes every size"),
               OptionSpec{"dark", OptionType::FlagOrImage}.described(
                   "add the dark icon: FILE, or the source's transparent artwork"),
               OptionSpec{"tinted", OptionType::FlagOrImage}.described(
                   "add the tinted icon: the luminance of FILE or of the artwork"),
               OptionSpec{"fit", OptionType::Choice, false, {"stretch", "contain", "cover"}}.described(
                   "a source that is not square: stretch it onto the square (the default), contain it whole, or "
                   "cover the square and cut the rest"),
               OptionSpec{"drop", OptionType::SlotKinds}.described(
                   "the kinds of slot the set may lose, joined by commas"),
               OptionSpec{"force", OptionType::Flag}.described(
                   "replace a set folder even if it holds files the set does not name")};
        if (withShape)
            keys.push_back(macShapeOption());
        return withSharedOptions(std::move(keys));
    };
    static const OptionSchema phone = keys(false), desktop = keys(true);
    return mac ? desktop : phone;
}

// The dark and tinted icons asked for, and their own images; why not, when one can't be read.
std::optional<QString> appearancesOf(const KindRequest& request, AppIconOptions& options)
{
    for (const auto& [key, wanted, artwork] :
         {std::tuple(QStringLiteral("dark"), &options.dark, &options.darkArtwork),
          std::tuple(QStringLiteral("tinted"), &options.tinted, &options.tintedArtwork)}) {
        *wanted = request.wanted(key);
        if (request.file(key)) {
            const LoadedImage& loaded = request.image(key).loaded;
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

std::optional<ApplePlatform> platformOfTable(const QString& table)
{
    if (table == QLatin1String(iosIconKind.table))
        return ApplePlatform::iOS;
    if (table == QLatin1String(macosIconKind.table))
        return ApplePlatform::macOS;
    if (table == QLatin1String(watchosIconKind.table))
        return ApplePlatform::watchOS;
    return std::nullopt;
}

// The platforms' icons in one set in the catalog: its own platform's, or those of every table
// naming the set.
KindOutput makeSet(const KindRequest& request, ApplePlatform own)
{
    const SourceImages::Source& source = request.image();
    if (!source.loaded.image)
        return KindOutput::unreadable(source.loaded.error);
    const ImageRef& image = source.loaded.image;
    KindOutput out;
    const QString set = request.text(QStringLiteral("set"), QStringLiteral("AppIcon"));
    const QString catalog = request.text(QStringLiteral("catalog"));
    out.where = catalog + QLatin1Char('/') + set + QStringLiteral(".appiconset");
    // A catalog that is not there is made with its own Contents.json.
    request.inputs.exists(request.path(QStringLiteral("catalog")));
    AppIconOptions options;
    options.platforms = {own};
    for (const QString& table : request.tables)
        if (const std::optional<ApplePlatform> platform = platformOfTable(table))
            options.platforms.insert(*platform);
    options.macShape = macShapeNamed(request.text(QStringLiteral("mac-shape")));
    options.frame.fit = fitNamed(request.text(QStringLiteral("fit")));
    options.frame.padding = request.padding();
    options.singleSize = request.flag(QStringLiteral("single-size"));
    options.background = request.colour();
    if ((out.failure = appearancesOf(request, options)))
        return out;
    const AppIconPlan plan = planAppIconSet(image, options);
    const fs::path sourcePath = toPath(request.text(QStringLiteral("source")));
    if (plan.refusal != AppIconRefusal::None)
        return KindOutput::failed(pathLine(sourcePath, describe(plan.refusal)));
    // What appicon notes of a source, a project's sync says too; and as sync exits 0 only for
    // files a store takes, a transparent App Store icon is no note but a refusal.
    for (const AppIconNote note : notesOf(*image, options, hasTransparentPixels(sampleBitmap(*image)))) {
        if (note == AppIconNote::TransparentStoreIcon)
            return KindOutput::failed(pathLine(sourcePath,
                                               describe(note, image->pixelSize())
                                                   + QStringLiteral("; lay it onto a colour with background "
                                                                    "= \"#ffffff\" in its table")));
        out.notes << pathLine(sourcePath, describe(note, image->pixelSize()));
    }
    const auto drop = request.options.find(QStringLiteral("drop"));
    const SetPlacement placed
        = placeAppIconInCatalog(plan, request.path(QStringLiteral("catalog")), set + QStringLiteral(".appiconset"),
                                request.flag(QStringLiteral("force")),
                                drop == request.options.end() ? QStringList() : drop->second.words());
    if (!placed.placement) {
        out.failure = placed.failure;
        out.forcing = placed.forcing;
        return out;
    }
    out.placements.push_back(*placed.placement);
    if (!placed.othersFiles.isEmpty())
        out.notes << QStringLiteral("replaces what another tool left in the set: %1")
                         .arg(placed.othersFiles.join(QStringLiteral(", ")));
    if (request.flavor)
        if (const std::optional<QString> note
            = flavorSetNote(request.path(QStringLiteral("catalog")), *request.flavor, set))
            out.notes << *note;
    return out;
}

const OptionSchema& iconComposerOptions()
{
    static const OptionSchema options
        = withSharedOptions({{"folder", OptionType::Output, true},
                             OptionSpec{"name", OptionType::SetName}.described("the .icon's name (default: AppIcon)"),
                             OptionSpec{"layer", OptionType::SetName}.described("the art's layer's name"),
                             OptionSpec{"dark", OptionType::FlagOrImage}.described(
                                 "add the dark appearance: FILE, or the source's artwork"),
                             OptionSpec{"tinted", OptionType::FlagOrImage}.described(
                                 "add the tinted appearance: FILE, or the source's artwork")});
    return options;
}

// NAME.icon in its folder: made from the source, or a designer's file with one layer's image
// made from it and the rest of its design kept.
KindOutput makeIconComposerFile(const KindRequest& request)
{
    const SourceImages::Source& source = request.image();
    if (!source.loaded.image)
        return KindOutput::unreadable(source.loaded.error);
    KindOutput out;
    const QString name = request.text(QStringLiteral("name"), QStringLiteral("AppIcon")) + QStringLiteral(".icon");
    out.where = request.text(QStringLiteral("folder")) + QLatin1Char('/') + name;
    const fs::path folder = request.path(QStringLiteral("folder"));
    if (const QString layer = request.text(QStringLiteral("layer")); !layer.isEmpty()) {
        // A design kept is every file of it.
        const fs::path icon = folder / toPath(name);
        request.inputs.read(icon / "icon.json");
        for (const QString& file : request.inputs.list(icon / "Assets"))
            request.inputs.read(icon / "Assets" / toPath(file));
        const std::optional<IconComposerDesign> design = readIconComposerDesign(icon);
        if (!design)
            return KindOutput::failed(
                pathLine(icon,
                         QStringLiteral("there is no Icon Composer file whose design to keep (layer = "
                                        "\"%1\" in [icon-composer] keeps one)")
                             .arg(layer)));
        const DesignWithArt made = withLayerArt(*design, layer, *source.loaded.image);
        if (made.failure)
            return KindOutput::failed(pathLine(icon, *made.failure));
        out.placements.push_back(placeWholeFolder(folder, name, made.files));
        return out;
    }
    AppIconOptions options;
    options.background = request.colour();
    options.frame.padding = request.padding();
    if ((out.failure = appearancesOf(request, options)))
        return out;
    const IconComposerPlan plan = planIconComposerFile(source.loaded.image, options);
    if (!plan.file)
        return KindOutput::failed(pathLine(toPath(request.text(QStringLiteral("source"))), describe(plan.refusal)));
    out.placements.push_back(placeWholeFolder(folder, name, plan.file->files()));
    return out;
}

} // namespace

const OutputKind iosIconKind{"ios",
                             nullptr,
                             []() -> const OptionSchema& { return setOptions(false); },
                             {},
                             [](const KindRequest& request) { return makeSet(request, ApplePlatform::iOS); }};
const OutputKind macosIconKind{"macos",
                               nullptr,
                               []() -> const OptionSchema& { return setOptions(true); },
                               {},
                               [](const KindRequest& request) { return makeSet(request, ApplePlatform::macOS); }};
const OutputKind watchosIconKind{"watchos",
                                 nullptr,
                                 []() -> const OptionSchema& { return setOptions(false); },
                                 {},
                                 [](const KindRequest& request) { return makeSet(request, ApplePlatform::watchOS); }};
const OutputKind iconComposerKind{"icon-composer", nullptr, iconComposerOptions, {}, makeIconComposerFile};

} // namespace quorva
