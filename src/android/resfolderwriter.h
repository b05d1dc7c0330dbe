#pragma once

#include "android/androidiconplan.h"
#include "target/installer.h"
#include "target/plan.h"

#include <QStringList>

#include <filesystem>
#include <optional>
#include <vector>

namespace quorva {

// What writing a launcher icon into a res folder did.
struct AndroidWrite {
    QStringList written; // paths inside the res folder
    QStringList removed; // files an earlier run wrote that this one does not
    QStringList failures;
    // When refused for what lies in its way: what forcing it would do ("replaces it").
    std::optional<QString> forcing;
};

// A launcher icon's files by their paths inside the res folder, made and encoded side by side on
// the pool, in order; and the Play Store icon when asked. The same plan gives the same bytes.
struct AndroidFiles {
    Plan plan;
    std::optional<QByteArray> playStore;
    QStringList failures;                    // "mipmap-hdpi/ic_launcher.png: Couldn't make the image"
    std::optional<QString> playStoreFailure; // one that could not be made, or is over what Play takes
};
AndroidFiles planAndroidFiles(const AndroidIconPlan& plan, bool playStore);

// The files as they go into the res folder, and the Play Store icon where it is asked for: the
// placements for the installer (or a comparison with the disk), or why they can't be made.
struct AndroidPlacement {
    std::vector<Placement> placements; // the res folder's, then the Play Store icon's folder's
    QStringList written;               // the plan's paths inside the res folder
    QStringList replaced;              // files of the same resources that were not Quorva's, which go
    QStringList failures;
    std::optional<QString> forcing;
};
// earlier: what an earlier run wrote, by paths inside res, where the project keeps the list (in
// quorva.lock): then res gets no hidden list, and one an older run left there goes.
AndroidPlacement placeAndroidIcons(const std::filesystem::path& res, const AndroidFiles& files, const QString& name,
                                   const std::optional<std::filesystem::path>& playStore = std::nullopt,
                                   const QStringList& replacing = {},
                                   const std::optional<QStringList>& earlier = std::nullopt);

// Puts the files into the res folder, and the Play Store icon where it is asked for, all or
// nothing; no link below the folder leads a write out of it. What an earlier run wrote for the
// same name and this one does not (a themed layer no longer asked for) is removed: a hidden list
// in the folder, which Android's build passes over, remembers it. Every other file is left alone.
// replacing: files of the same resources under other names, removed once the plan's are in.
AndroidWrite installAndroidPlacement(const AndroidPlacement& placed);

} // namespace quorva
