#include "msix/msixkind.h"

#include "msix/msixcheck.h"
#include "msix/msiximages.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <algorithm>
#include <map>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// What tells two images apart for Windows' resource loader: the resource and its qualifiers.
QString qualifiersKey(const MsixImageName& image)
{
    return QStringLiteral("%1/%2/%3/%4")
        .arg(image.resource.toLower())
        .arg(image.scale.value_or(0))
        .arg(image.targetSize.value_or(0))
        .arg(image.altform);
}

const OptionSchema& msixOptions()
{
    static const OptionSchema options = withSharedOptions(
        {{"folder", OptionType::Output, true},
         OptionSpec{"msix", OptionType::Flag}.described("Windows 11's qualified images, not Tauri's flat set")});
    return options;
}

KindOutput makeMsixImages(const KindRequest& request)
{
    KindOutput out;
    out.where = request.text(QStringLiteral("folder"));
    const SourceImages::Source& source = request.image();
    if (!source.loaded.image)
        return KindOutput::unreadable(source.loaded.error);
    const fs::path folder = request.path(QStringLiteral("folder"));
    // The other roles the folder has images of already, made anew with the rest.
    const QStringList names = request.inputs.list(folder);
    std::vector<MsixResource> alsoRoles;
    for (const MsixResource& role : msixOtherRoles())
        if (std::any_of(names.begin(), names.end(), [&](const QString& name) {
                const auto image = msixImageName(name);
                return image && image->resource.compare(QLatin1String(role.name), Qt::CaseInsensitive) == 0;
            }))
            alsoRoles.push_back(role);
    const bool windows11 = request.flag(QStringLiteral("msix"));
    Plan plan = planMsixImages(source.loaded.image, {request.colour(), request.padding()}, windows11,
                               windows11 ? alsoRoles : std::vector<MsixResource>{});
    if (plan.refusal)
        return KindOutput::failed(pathLine(folder, *plan.refusal));
    // An image the folder already has under another spelling of the same qualifiers
    // (Square44x44Logo.altform-unplated_targetsize-16.png, as Visual Studio orders them) is
    // written under its own name: two files of one resource and qualifiers make MakePri fail.
    std::map<QString, QString> existing;
    for (const QString& name : names)
        if (const auto image = msixImageName(name))
            existing[qualifiersKey(*image)] = name;
    for (PlannedFile& file : plan.files)
        if (const auto found = existing.find(qualifiersKey(*msixImageName(file.path))); found != existing.end())
            file.path = found->second;
    // Images the last sync wrote and this one does not (the flat set after the qualified one, or
    // the other way): two files of one resource and scale would make the package ambiguous.
    if (request.earlier) {
        const fs::path below = toPath(out.where).lexically_normal();
        for (const QString& file : *request.earlier)
            if (const fs::path within = toPath(file).lexically_normal().lexically_relative(below);
                !within.empty() && *within.begin() != ".." && !plan.find(displayPath(within)))
                plan.removals << displayPath(within);
    }
    out.placements.push_back({folder, plan, true});
    return out;
}

KindCheck checkMsixImages(const KindRequest& request)
{
    KindCheck check;
    const fs::path folder = request.path(QStringLiteral("folder"));
    if (!isFolder(folder)) {
        check.error = pathLine(folder, QStringLiteral("it is no folder"));
        return check;
    }
    check.places << displayPath(folder);
    check.findings = checkMsixFolder(folder, displayPath(folder));
    return check;
}

} // namespace

const OutputKind
    msixKind{"msix",
             "msix",
             msixOptions,
             {"source", "folder"},
             makeMsixImages,
             checkMsixImages,
             "writes a Windows package's images into DIR: StoreLogo.png and Square30x30Logo.png to "
             "Square310x310Logo.png as tauri icon does; with --msix, Windows 11's set: every tile at "
             "scale-100 to scale-400 and the app icon at each targetsize, plated and unplated",
             [](const fs::path& path) { return isFolder(path) && isMsixFolder(path) ? "folder" : nullptr; },
             // Qualified as Windows 11 wants them, or the flat set.
             [](const fs::path& path) {
                 return hasQualifiedMsixImages(path) ? ConfigTable{{QStringLiteral("msix"), {true, 0}}} : ConfigTable{};
             }};

} // namespace quorva
