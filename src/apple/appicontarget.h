#pragma once

#include "apple/appiconplan.h"
#include "apple/setinstaller.h"

#include <optional>

namespace quorva {

// The app icon job run to its end for those who wait for it (quorva-cli, a project's sync): every
// icon of the plan's table rendered on this thread and the pool, or the job's failure, which is
// printed as the window's writer prints it.
struct RenderedIcons {
    RenderedImages images;
    std::optional<QString> failure;
};
RenderedIcons renderAppIcons(const AppIconPlan& plan);

// The set as it goes into a catalog: exactly the files its Contents.json names, which the layout
// holds; or the file it names that no icon was made for.
struct CatalogSetFiles {
    SetFiles set;
    std::optional<QString> missing;
};
CatalogSetFiles catalogSetFiles(const CatalogSetLayout& layout, const RenderedImages& images);

} // namespace quorva
