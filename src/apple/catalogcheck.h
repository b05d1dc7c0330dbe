#pragma once

#include "target/finding.h"

#include <QStringList>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace quorva {

class ImageFiles;

// What one check run found, over every path it was given.
struct CatalogCheck {
    QStringList sets; // every app icon set and image set checked, as shown
    std::vector<Finding> findings;
    QStringList notes;                 // how the check judged what no project told it, each said once
    std::shared_ptr<ImageFiles> files; // the image files read so far, each identical one once
};

struct CheckOptions {
    // The Xcode project (an .xcodeproj folder) that builds the catalogs; else the nearest one above
    // each catalog that copies it, if any.
    std::optional<std::filesystem::path> project;
};

// Checks an asset catalog, walked through its groups, or a single set folder, adding to check.
// What the Xcode project says decides which app icon set is the app's icon, for which platforms
// and devices; the App Store's rules apply to that set alone. Links are followed while they stay
// inside the catalog; hidden folders are not entered, nor anything deeper than any catalog nests.
// Icon Composer files the app uses are checked too. A reason when the path is no catalog or set,
// or the project given can't be read.
std::optional<QString> checkCatalog(const std::filesystem::path& path, CatalogCheck& check,
                                    const CheckOptions& options = {});

} // namespace quorva
