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
        = withSharedOptions({{"folder", OptionType::Output, true},
                             OptionSpec{"manifest", OptionType::Output}.described(
                                 "the site's manifest, when it is not DIR's own")},
                            {{"background",
                              "lay the art onto COLOR behind the touch icon and the maskable icons "
                              "(default: white)"}});
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

const OutputKind webKind{"web",
                         "web",
                         webOptions,
                         {"source", "folder"},
                         makeWebIcons,
                         checkWebIcons,
                         "writes a site's icons into DIR: favicon.ico, favicon.svg for an SVG, apple-touch-icon.png, "
                         "icon-192.png, icon-512.png, their maskable twins and manifest.webmanifest; a manifest in "
                         "DIR (manifest.webmanifest, manifest.json or --manifest FILE) says which icons to write "
                         "instead, and only gets the 192 and 512 px entries it lacks; prints the <link> lines",
                         // A folder holding a web manifest is a site.
                         [](const fs::path& path) {
                             return isFolder(path) && siteManifest(path) ? "folder" : nullptr;
                         }};

} // namespace quorva
