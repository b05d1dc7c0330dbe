#pragma once

#include "project/projectconfig.h"

#include <optional>
#include <vector>

namespace quorva {

// One output sync writes: a target of quorva.toml, or a flavor's, its settings merged from the
// shared keys, its table, and the flavor's.
struct ProjectTarget {
    TargetKind kind;
    // The Apple platforms of one set: iOS, macOS and watchOS tables naming the same catalog and
    // set are one set with the entries of each, as Xcode keeps a multiplatform app's icon.
    std::vector<TargetKind> platforms;
    std::optional<QString> flavor;
    ConfigTable settings;

    // How sync names it: "ios", "ios+macos", "android (dev)".
    QString label() const;
    // Its key in quorva.lock: "ios", "flavors.dev.android".
    QString key() const;
    // Where it writes, as quorva.toml names it: no two targets may write to the same place.
    QString place() const;
    QString text(const QString& key, const QString& fallback = {}) const;
    bool flag(const QString& key) const;
    // A bool-or-path key: true, or the path of an image of its own.
    bool wanted(const QString& key) const;
    std::optional<QString> file(const QString& key) const;
};

// The targets of the config in the order sync writes them: the project's own, then each flavor's.
// A flavor writes the Android and iOS icons the project has, the Android files into its own
// source set (src/NAME/res beside src/main/res) and the iOS set beside the main one as SET-NAME,
// and any other target its own table names. flavors: only these flavors' targets, and none of the
// project's own; empty: every target. Targets writing to the same place, or a flavor that is not
// in the config, are errors.
struct ProjectTargets {
    std::vector<ProjectTarget> targets;
    QStringList errors;
};
ProjectTargets projectTargets(const ProjectConfig& config, const QStringList& flavors = {});

} // namespace quorva
