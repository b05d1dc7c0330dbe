#pragma once

#include "target/installer.h"
#include "target/installreport.h"

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <map>
#include <optional>

namespace quorva {

// A set as it goes into a catalog: its Contents.json and the bytes of every file it names.
struct SetFiles {
    QByteArray contents;
    std::map<QString, QByteArray> files;
};

// The set as it goes into CATALOG/FOLDER whole, for the installer or a comparison with the disk:
// staged beside the old set and swapped in, so that at every moment the folder is the whole old
// set or the whole new one; files only the old set had go with it. A missing catalog is made with
// its own Contents.json (its parent folder must exist), in the same run. A set folder that holds
// anything its Contents.json does not name (a subfolder, a file of the user's), or whose old set
// has slots of a platform the new one lacks, is not placed unless force is given: then the
// failure says why, with what forcing would do. Nothing else in the catalog is touched. drop: the
// kinds of slot the old set may lose ("car", "watch"; see slotKind).
struct SetPlacement {
    std::optional<Placement> placement;
    std::optional<QString> failure;
    std::optional<QString> forcing;
    QStringList othersFiles; // files an icon tool left in the old set, which go with it, and the tool
};
SetPlacement placeSetIntoCatalog(const std::filesystem::path& catalog, const QString& folder, const SetFiles& set,
                                 bool force, const QStringList& drop = {});

// Puts a folder of files (named by paths inside it) into PARENT/FOLDER whole in the same way, as
// an Icon Composer file goes into a project.
InstallReport installWholeFolder(const std::filesystem::path& parent, const QString& folder,
                                 const std::map<QString, QByteArray>& files);
Placement placeWholeFolder(const std::filesystem::path& parent, const QString& folder,
                           const std::map<QString, QByteArray>& files);

} // namespace quorva
