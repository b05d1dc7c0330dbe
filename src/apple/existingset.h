#pragma once

#include "apple/appleplatform.h"
#include "apple/setcontents.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>
#include <set>

namespace quorva {

// The kind of slot an entry of an app icon set fills, as quorva.toml's drop key names it: "ios",
// "mac" and "watch" for the platforms Quorva writes, else the idiom ("car", "tv", "vision").
QString slotKind(const SetEntry& entry);

// The icon tool known to write a file of this name into an app icon set ("flutter_launcher_icons",
// "tauri icon", "the Capacitor assets tool"): such files, left behind by an earlier run of that
// tool, are replaced with the set without force.
std::optional<QString> toolThatWrote(const QString& file);

// An app icon set as a project has it today, for init to ask for a set that keeps all of it.
struct ExistingSet {
    bool present = false;
    std::set<ApplePlatform> platforms;           // the platforms whose slots hold a file
    QStringList otherSlots;                      // kinds of filled slots Quorva writes none of: "car"
    bool singleSize = false;                     // its iOS icon is one 1024 px image that Xcode scales
    std::optional<std::filesystem::path> dark;   // the iOS dark appearance's file
    std::optional<std::filesystem::path> tinted; // and the tinted one's
    // The App Store icon's file (iOS's 1024 px image), and the watch app's.
    std::optional<std::filesystem::path> storeIcon;
    std::optional<std::filesystem::path> watchIcon;
};
// folder: NAME.appiconset.
ExistingSet readExistingSet(const std::filesystem::path& folder);

// The colour an opaque icon's art lies on, read from its file: for a background that keeps a
// transparent source looking as the icon the store has now.
std::optional<QColor> backgroundOfIcon(const std::filesystem::path& file);

} // namespace quorva
