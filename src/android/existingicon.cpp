#include "android/existingicon.h"

#include "android/adaptiveicon.h"
#include "android/androidmanifest.h"
#include "android/gradleproject.h"
#include "android/resfolder.h"
#include "android/valuesfile.h"
#include "support/paths.h"

#include <memory>
#include <vector>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// How dense a folder's files are: xxxhdpi the most; 0 for a folder of no density.
int densityRank(const QString& folder)
{
    static const QStringList densities = {"ldpi", "mdpi", "hdpi", "xhdpi", "xxhdpi", "xxxhdpi"};
    for (const QString& part : folder.split(QLatin1Char('-')))
        if (const qsizetype rank = densities.indexOf(part); rank >= 0)
            return int(rank) + 1;
    return 0;
}

} // namespace

ExistingLauncherIcon readExistingLauncherIcon(const fs::path& res, const QString& name)
{
    ExistingLauncherIcon icon;
    // The res folder itself first, then its module's others, as the build lets them stand in.
    std::vector<std::unique_ptr<ResFolder>> folders;
    folders.push_back(std::make_unique<ResFolder>(res));
    if (const std::optional<GradleProject> project = GradleProject::above(res))
        if (const GradleModule* module = project->moduleOf(res))
            for (const fs::path& other : module->resFolders())
                if (resolvedPath(other) != resolvedPath(res))
                    folders.push_back(std::make_unique<ResFolder>(other));

    for (const auto& [folder, files] : folders.front()->files())
        if (folder.startsWith(QLatin1String("mipmap-")) && densityRank(folder))
            for (const QString& file : files)
                if (resourceName(file) == name && file.endsWith(QLatin1String(".webp")))
                    icon.webp = true;

    std::optional<std::map<QString, AdaptiveLayer>> layers;
    for (const auto& folder : folders) {
        for (const auto& [sub, file] : folder->definitionsOf(QStringLiteral("mipmap"), name))
            if (!layers && file.endsWith(QLatin1String(".xml")))
                layers = adaptiveLayers(folder->read(sub, file, maxResXmlBytes));
        if (layers)
            break;
    }
    if (!layers)
        return icon;
    icon.adaptive = true;
    icon.monochrome = layers->count(QStringLiteral("monochrome")) > 0;
    const auto background = layers->find(QStringLiteral("background"));
    const std::optional<ResourceRef> ref
        = background == layers->end() ? std::nullopt : resourceReference(background->second.drawable);
    if (!ref)
        return icon;
    for (const auto& folder : folders) {
        if (ref->type == QLatin1String("color")) {
            // The definition for no qualifier: the one every configuration falls back on.
            for (const QString& file : folder->filesDefiningColour(ref->name))
                if (file.startsWith(QLatin1String("values/")) && !icon.backgroundColour)
                    icon.backgroundColour = colourValue(folder->read(QStringLiteral("values"),
                                                                     file.section(QLatin1Char('/'), 1), maxResXmlBytes),
                                                        ref->name);
        } else {
            int best = 0;
            for (const auto& [sub, file] : folder->definitionsOf(ref->type, ref->name))
                if (isBitmapFile(file) && densityRank(sub) > best) {
                    best = densityRank(sub);
                    icon.backgroundImage = folder->path(sub, file);
                }
        }
        if (icon.backgroundColour || icon.backgroundImage)
            break;
    }
    return icon;
}

} // namespace quorva
