#pragma once

#include "catalog/finding.h"

#include <QStringList>

#include <filesystem>
#include <optional>
#include <vector>

namespace quorva {

struct CatalogCheck {
    QStringList sets; // every app icon set and image set checked, as shown
    std::vector<Finding> findings;
};

// Checks an asset catalog, walked through its groups, or a single set folder, adding to check.
// Hidden folders and symbolic links are not entered, nor anything deeper than any catalog nests.
// A reason when the path is no catalog or set.
std::optional<QString> checkCatalog(const std::filesystem::path& path, CatalogCheck& check);

} // namespace quorva
