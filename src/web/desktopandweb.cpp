#include "web/desktopandweb.h"

#include "msix/msiximages.h"

namespace quorva {

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
    const Plan hicolor = planHicolor(source, options.appId, hicolorSizes(), art);
    if (hicolor.refusal) {
        plan.refusal = hicolor.refusal;
        return made;
    }
    plan.files.insert(plan.files.end(), hicolor.files.begin(), hicolor.files.end());
    Plan appx = planMsixImages(source, art, true);
    if (appx.refusal) {
        plan.refusal = appx.refusal;
        return made;
    }
    for (PlannedFile& file : appx.files) {
        file.path = QLatin1String(packageFolderName) + QLatin1Char('/') + file.path;
        plan.files.push_back(std::move(file));
    }
    WebOptions web;
    web.background = options.background;
    web.padding = options.padding;
    WebPlan sitePlan = planWebIcons(source, web, site);
    if (sitePlan.plan.refusal) {
        plan.refusal = sitePlan.plan.refusal;
        return made;
    }
    for (PlannedFile& file : sitePlan.plan.files) {
        file.path = QLatin1String(siteFolderName) + QLatin1Char('/') + file.path;
        plan.files.push_back(std::move(file));
    }
    made.links = sitePlan.links;
    made.notes = sitePlan.notes;
    return made;
}

} // namespace quorva
