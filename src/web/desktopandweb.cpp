#include "web/desktopandweb.h"

#include "msix/msiximages.h"

namespace quorva {
namespace {

// A part's files into the whole plan, below a folder of its own ("" for the folder itself); false,
// with its refusal, when it has one.
bool takeInto(Plan& plan, Plan part, const QString& folder = {})
{
    if (part.refusal) {
        plan.refusal = part.refusal;
        return false;
    }
    for (PlannedFile& file : part.files) {
        if (!folder.isEmpty())
            file.path = folder + QLatin1Char('/') + file.path;
        plan.files.push_back(std::move(file));
    }
    return true;
}

} // namespace

DesktopAndWebPlan planDesktopAndWeb(const ImageRef& source, const DesktopAndWebOptions& options, const SiteFolder& site)
{
    DesktopAndWebPlan made;
    Plan& plan = made.plan;
    DesktopArt art;
    art.padding = options.padding;
    const auto ico = icoOf(source, art, windowsIconSizes());
    const auto icns = icnsOf(source, MacShape::Auto, options.padding);
    if (!ico || !icns) {
        plan.refusal = QStringLiteral("the image has no bitmap");
        return made;
    }
    plan.add(QStringLiteral("icon.ico"), *ico);
    plan.add(QStringLiteral("icon.icns"), *icns);
    if (!takeInto(plan, planHicolor(source, options.appId, hicolorSizes(), art)))
        return made;
    if (options.packageImages && !takeInto(plan, planMsixImages(source, art, true), QLatin1String(packageFolderName)))
        return made;
    WebOptions web;
    web.background = options.background;
    web.padding = options.padding;
    WebPlan sitePlan = planWebIcons(source, web, site);
    if (!takeInto(plan, std::move(sitePlan.plan), QLatin1String(siteFolderName)))
        return made;
    made.links = sitePlan.links;
    made.notes = sitePlan.notes;
    return made;
}

} // namespace quorva
