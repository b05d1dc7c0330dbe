#pragma once

#include "target/optionschema.h"
#include "target/outputkind.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <map>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

namespace quorva {

// An output a project keeps its icons in, by its table of quorva.toml; ordered as quorva.toml
// lists them and sync's lines come (targetKinds()).
struct TargetKind {
    std::string_view table;

    // The kinds the project's own code knows of: detection, init and the Apple sets.
    static const TargetKind iOS, macOS, watchOS, IconComposer, Android, Web, Windows, Icns, Linux, Tauri, Expo;

    friend bool operator==(TargetKind a, TargetKind b) { return a.table == b.table; }
    friend bool operator<(TargetKind a, TargetKind b);
};
inline constexpr TargetKind TargetKind::iOS{"ios"};
inline constexpr TargetKind TargetKind::macOS{"macos"};
inline constexpr TargetKind TargetKind::watchOS{"watchos"};
inline constexpr TargetKind TargetKind::IconComposer{"icon-composer"};
inline constexpr TargetKind TargetKind::Android{"android"};
inline constexpr TargetKind TargetKind::Web{"web"};
inline constexpr TargetKind TargetKind::Windows{"windows"};
inline constexpr TargetKind TargetKind::Icns{"icns"};
inline constexpr TargetKind TargetKind::Linux{"linux"};
inline constexpr TargetKind TargetKind::Tauri{"tauri"};
inline constexpr TargetKind TargetKind::Expo{"expo"};

const std::vector<TargetKind>& targetKinds();
// The table's name: "ios", "icon-composer".
QString targetName(TargetKind kind);
std::optional<TargetKind> targetNamed(const QString& name);
// The one entry point that makes a kind's files.
const OutputKind* entryOf(TargetKind kind);
// Whether a kind is one of Apple's app icon sets: tables of one catalog and set are one set.
bool isAppleSet(TargetKind kind);

// What a flavor changes: the shared keys, and any target's.
struct FlavorConfig {
    ConfigTable shared;
    std::map<TargetKind, ConfigTable> targets;
};

// A project's quorva.toml: the source and what every target shares, one table per target, and
// the flavors that override any of them.
struct ProjectConfig {
    ConfigTable shared;
    std::map<TargetKind, ConfigTable> targets;
    std::map<QString, FlavorConfig> flavors;
    // Targets init found but left out, as sync would refuse them: written as comments, with why,
    // for the user to mend and take in.
    struct LeftOut {
        ConfigTable table;
        QString why;
    };
    std::map<TargetKind, LeftOut> leftOut;
};

// quorva.toml read and checked against what each table takes: an unknown key, a wrong type or a
// path that leads out of the project is an error naming its line ("quorva.toml:12: …"), and all of
// them are given. root: the project's folder, which paths are read against.
struct ReadProjectConfig {
    std::optional<ProjectConfig> config;
    QStringList errors;
};
ReadProjectConfig readProjectConfig(const QByteArray& toml, const std::filesystem::path& root,
                                    const QString& shownName = QStringLiteral("quorva.toml"));

// The text of quorva.toml for a config: every table in the order of targetKinds(), each key in
// the order its table lists them, with a comment saying what the file is. The same config gives
// the same bytes.
QByteArray writeProjectConfig(const ProjectConfig& config);

// quorva.toml's text with its shared keys (source, background, padding) set as the config has
// them, and every other line as it was, comments and all: a key's line is replaced where it
// stands, a new one goes before the first table. Nothing when the text is no TOML.
std::optional<QByteArray> withSharedKeys(const QByteArray& toml, const ProjectConfig& config);

// A TOML basic string of the text: quoted, its quotes, backslashes and control characters escaped.
QString tomlString(const QString& text);

// The name of the file, at the project's root.
inline constexpr const char* projectConfigName = "quorva.toml";

} // namespace quorva
