#include "cli/desktopcommand.h"

#include "desktop/desktopicons.h"
#include "image/imageloading.h"
#include "support/paths.h"
#include "target/installer.h"
#include "web/webicons.h"

namespace quorva {
namespace fs = std::filesystem;
namespace {

// One file in its folder, which is made if missing.
Plan oneFile(const fs::path& file, const QByteArray& bytes)
{
    Plan plan;
    plan.add(displayPath(file.filename()), bytes);
    return plan;
}

fs::path folderOf(const fs::path& file)
{
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

GenerateOutcome installed(const fs::path& root, const Plan& plan, GenerateOutcome outcome = {})
{
    outcome.errors += install(root, plan, true).failures;
    outcome.exitStatus = outcome.errors.isEmpty() ? 0 : 1;
    return outcome;
}

} // namespace

GenerateOutcome runDesktopIcons(const GenerateRequest& request)
{
    const fs::path& source = request.sources.front();
    const fs::path& destination = *request.destination;
    const LoadedImage loaded = loadImage(source);
    if (!loaded.image)
        return failedWith(pathLine(source, loaded.error));
    DesktopArt art;
    art.background = request.background;
    art.padding = request.frame.padding;
    const auto couldNotMake
        = [&] { return failedWith(pathLine(destination, QStringLiteral("Couldn't make the icons"))); };

    switch (request.kind) {
    case SetKind::Ico: {
        const auto ico = icoOf(loaded.image, art, request.sizes.empty() ? windowsIconSizes() : request.sizes);
        return ico ? installed(folderOf(destination), oneFile(destination, *ico)) : couldNotMake();
    }
    case SetKind::Icns: {
        const auto icns = icnsOf(loaded.image, request.macShape, request.frame.padding);
        return icns ? installed(folderOf(destination), oneFile(destination, *icns)) : couldNotMake();
    }
    case SetKind::Linux: {
        const Plan plan
            = planHicolor(loaded.image, request.appId, request.sizes.empty() ? hicolorSizes() : request.sizes, art);
        if (plan.refusal)
            return failedWith(pathLine(source, *plan.refusal));
        return installed(destination, plan);
    }
    case SetKind::Web: {
        SiteFolder site;
        std::optional<QString> manifest;
        if (request.manifest) {
            // The manifest lies in the site, which its icons' paths are read against.
            const fs::path within
                = resolvedPath(toPath(*request.manifest)).lexically_relative(resolvedPath(destination));
            if (within.empty() || *within.begin() == "..")
                return failedWith(pathLine(toPath(*request.manifest),
                                           QStringLiteral("the manifest must lie in the site folder %1")
                                               .arg(displayPath(destination))));
            manifest = displayPath(within);
        }
        if (const auto error = readSiteFolder(destination, manifest, site))
            return failedWith(*error);
        WebOptions options;
        options.background = request.background.value_or(QColor(Qt::white));
        options.padding = request.frame.padding;
        const WebPlan web = planWebIcons(loaded.image, options, site);
        if (web.plan.refusal)
            return failedWith(pathLine(destination, *web.plan.refusal));
        GenerateOutcome outcome;
        outcome.notes = web.notes;
        outcome = installed(destination, web.plan, outcome);
        if (outcome.exitStatus == 0)
            outcome.output = web.links;
        return outcome;
    }
    default:
        return {};
    }
}

} // namespace quorva
