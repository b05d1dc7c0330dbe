#include "web/webkind.h"

#include "support/paths.h"
#include "web/webcheck.h"
#include "web/webicons.h"

namespace quorva {
namespace fs = std::filesystem;
namespace {

const OptionSchema& webOptions()
{
    static const OptionSchema options
        = withSharedOptions({{"folder", OptionType::Output, true}, {"manifest", OptionType::Output}});
    return options;
}

KindOutput makeWebIcons(const KindRequest& request)
{
    KindOutput out;
    out.where = request.text(QStringLiteral("folder"));
    const SourceImages::Source& source = request.image();
    if (!source.loaded.image)
        return KindOutput::unreadable(source.loaded.error);
    const fs::path folder = request.path(QStringLiteral("folder"));
    // The manifest by its path from the site's folder: inside it, or beside it (a Vite PWA's).
    std::optional<QString> manifest;
    if (const auto given = request.file(QStringLiteral("manifest")))
        manifest
            = displayPath(absoluteFolder(request.base / toPath(*given)).lexically_relative(absoluteFolder(folder)));
    // What the plan reads of the site.
    for (const QString& name : manifest
             ? QStringList{*manifest}
             : QStringList{QStringLiteral("manifest.webmanifest"), QStringLiteral("manifest.json"),
                           QStringLiteral("site.webmanifest")})
        request.inputs.read(folder / toPath(name));
    request.inputs.read(folder / "favicon.png");
    SiteFolder site;
    if (const auto error = readSiteFolder(folder, manifest, site))
        return KindOutput::failed(*error);
    WebOptions options;
    options.background = request.colour().value_or(QColor(Qt::white));
    options.padding = request.padding();
    const WebPlan web = planWebIcons(source.loaded.image, options, site);
    if (web.plan.refusal)
        out.failure = pathLine(folder, *web.plan.refusal);
    else
        out.placements.push_back({folder, web.plan, true});
    out.notes = web.notes;
    out.links = web.links;
    return out;
}

// The site as browsers read it: its manifest (the one named, or the folder's own) and its icons.
KindCheck checkWebIcons(const KindRequest& request)
{
    KindCheck check;
    const fs::path folder = request.path(QStringLiteral("folder"));
    const std::optional<fs::path> manifest = request.file(QStringLiteral("manifest"))
        ? std::optional(request.path(QStringLiteral("manifest")))
        : siteManifest(folder);
    if (!manifest)
        return check; // a site of favicons alone
    check.places << displayPath(folder);
    check.findings = checkSite(folder, *manifest);
    return check;
}

} // namespace

const OutputKind webKind{"web", "web", webOptions, {"source", "folder"}, makeWebIcons, checkWebIcons};

} // namespace quorva
