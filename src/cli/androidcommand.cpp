#include "cli/androidcommand.h"

#include "android/androidiconplan.h"
#include "android/resfolderwriter.h"
#include "image/imageloading.h"
#include "support/paths.h"

namespace quorva {
namespace fs = std::filesystem;
namespace {

GenerateOutcome failedWith(const QString& error)
{
    GenerateOutcome outcome;
    outcome.exitStatus = 1;
    outcome.errors << error;
    return outcome;
}

// Gradle's source sets each have their res folder: src/main/res, src/debug/res, src/free/res.
bool isSourceSetRes(const fs::path& res)
{
    const fs::path resolved = resolvedPath(res);
    const fs::path set = resolved.parent_path();
    return resolved.filename() == "res" && set.parent_path().filename() == "src" && !set.filename().empty();
}

std::optional<QString> loadInto(const std::optional<fs::path>& file, ImageRef& image)
{
    if (!file)
        return std::nullopt;
    const LoadedImage loaded = loadImage(*file);
    image = loaded.image;
    return loaded.image ? std::nullopt : std::optional(pathLine(*file, loaded.error));
}

} // namespace

GenerateOutcome runAndroidIcon(const GenerateRequest& request)
{
    const fs::path& source = request.sources.front();
    const fs::path& res = *request.res;
    std::error_code error;
    if (!fs::is_directory(res, error))
        return failedWith(pathLine(res,
                                   QStringLiteral("Couldn't write the icon: there is no such folder (give the "
                                                  "app's src/main/res)")));
    if (!request.force && !isSourceSetRes(res))
        return failedWith(pathLine(res,
                                   QStringLiteral("it is not an app's src/main/res folder; --force writes into "
                                                  "it anyway")));
    const LoadedImage loaded = loadImage(source);
    if (!loaded.image)
        return failedWith(pathLine(source, loaded.error));
    AndroidIconOptions options;
    options.name = request.androidName;
    if (request.background)
        options.backgroundColour = *request.background;
    options.monochrome = request.monochrome.wanted;
    options.padding = request.frame.padding;
    options.playStore = request.playStore.has_value();
    for (const auto& failure : {loadInto(request.backgroundFile, options.backgroundImage),
                                loadInto(request.monochrome.file, options.monochromeArtwork)})
        if (failure)
            return failedWith(*failure);

    const AndroidIconPlan plan = planAndroidIcons(loaded.image, options);
    if (plan.refusal != AndroidRefusal::None)
        return failedWith(pathLine(source,
                                   describe(plan.refusal)
                                       + (plan.refusal == AndroidRefusal::NoArtworkForMonochrome
                                              ? QStringLiteral(" (--monochrome FILE)")
                                              : QString())));
    GenerateOutcome outcome;
    for (const AndroidNote note : plan.notes)
        if (note == AndroidNote::FullBleed)
            outcome.notes << pathLine(source,
                                      QStringLiteral("it has no transparent pixels: it is the icon's "
                                                     "background layer, the foreground is left empty, and "
                                                     "launchers show its centre"));

    // Android's build refuses a resource defined twice: say where, and write nothing.
    const QString colourFile = QStringLiteral("values/%1_background.xml").arg(options.name);
    if (plan.texts.count(colourFile))
        if (const auto elsewhere
            = colourDefinedElsewhere(res, options.name + QStringLiteral("_background"), colourFile))
            return failedWith(pathLine(res / toPath(*elsewhere),
                                       QStringLiteral("defines the colour %1_background already, which Quorva "
                                                      "writes in %2; remove it there, or give --name another name")
                                           .arg(options.name, colourFile)));
    const QStringList clashes = clashingFiles(res, plan);
    if (!clashes.isEmpty() && !request.force)
        return failedWith(
            pathLine(res / toPath(clashes.front()),
                     QStringLiteral("is the same resource as a file Quorva writes beside it, which "
                                    "Android's build refuses; --force replaces %1")
                         .arg(clashes.size() == 1 ? QStringLiteral("it")
                                                  : QStringLiteral("it and %1 more").arg(clashes.size() - 1))));

    const AndroidWrite write = writeAndroidIcons(res, plan, options.name, request.playStore, clashes);
    outcome.errors = write.failures;
    outcome.exitStatus = outcome.errors.isEmpty() ? 0 : 1;
    return outcome;
}

} // namespace quorva
