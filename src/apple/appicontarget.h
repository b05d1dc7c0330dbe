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

// The layout with its Contents.json read once, or why it can't be.
std::optional<QString> readContentsOnce(CatalogSetLayout& layout);

// A set put into a catalog as exactly the files its Contents.json names.
SetPlacement placeRenderedSet(const std::filesystem::path& catalog, const QString& folder,
                              const CatalogSetLayout& layout, const RenderedImages& images, bool force,
                              const QStringList& drop = {});

// An app icon set of the plan made and placed into CATALOG/FOLDER: only the icons its
// Contents.json names are made (the artwork files no slot takes are not).
SetPlacement placeAppIconInCatalog(AppIconPlan plan, const std::filesystem::path& catalog, const QString& folder,
                                   bool force, const QStringList& drop = {});

} // namespace quorva
