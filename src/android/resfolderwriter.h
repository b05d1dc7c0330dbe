#pragma once

#include "android/androidiconplan.h"

#include <QStringList>

#include <filesystem>
#include <optional>

namespace quorva {

// What writing a launcher icon into a res folder did.
struct AndroidWrite {
    QStringList written; // paths inside the res folder
    QStringList removed; // files an earlier run wrote that this one does not
    QStringList failures;
};

// Writes the plan's files into the res folder, made and encoded side by side on the pool, each put
// in beside its place and renamed in, so that a failure or a kill leaves every file whole, old or
// new; no link below the folder leads a write out of it. What an earlier run wrote for the same
// name and this one does not (a themed layer no longer asked for) is removed: a hidden list in
// the folder, which Android's build passes over, remembers it. Every other file is left alone.
// replacing: files of the same resources under other names, removed once the plan's are in.
AndroidWrite writeAndroidIcons(const std::filesystem::path& res, const AndroidIconPlan& plan, const QString& name,
                               const std::optional<std::filesystem::path>& playStore = std::nullopt,
                               const QStringList& replacing = {});

} // namespace quorva
