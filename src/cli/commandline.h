#pragma once

#include "apple/appiconplan.h"
#include "apple/appleplatform.h"
#include "image/csscolour.h"
#include "image/frame.h"
#include "target/optionschema.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>
#include <set>
#include <vector>

namespace quorva {

enum class SetKind { AppIcon, ImageSet };

// An appearance of a single-size app icon: asked for or not, from a file of its own or not.
struct AppearanceRequest {
    bool wanted = false;
    std::optional<std::filesystem::path> file;
};

struct GenerateRequest {
    SetKind kind = SetKind::AppIcon;
    std::vector<std::filesystem::path> sources;        // one for an app icon set
    std::optional<std::filesystem::path> destination;  // DEST, below which Quorva/... is written
    std::optional<std::filesystem::path> catalog;      // or an asset catalog to write the sets into
    std::optional<QString> assetName;                  // an image set's name, when one source is given
    std::optional<std::filesystem::path> iconComposer; // or a folder to write an Icon Composer file into
    QString iconSetName = QStringLiteral("AppIcon");   // the app icon set's name in a catalog, or the .icon's
    std::set<ApplePlatform> platforms = {ApplePlatform::iOS};
    MacShape macShape = MacShape::Auto;
    bool force = false; // replace a set folder that holds other things
    bool singleSize = false;
    Frame frame; // --fit and --padding
    std::optional<QColor> background;
    AppearanceRequest dark;
    AppearanceRequest tinted;
    ConfigTable iconOptions; // the app icon's options as read, by their keys in its set's schema
};

enum class CheckFormat { Text, Json, Sarif };

struct CheckRequest {
    std::vector<std::filesystem::path> paths;
    CheckFormat format = CheckFormat::Text;
    bool strict = false;                          // warnings fail the run too
    std::optional<std::filesystem::path> project; // the Xcode project, instead of the one found
};

// init: a project's quorva.toml written from what its folder holds; sync: its icons written by it,
// listed (a dry run) or compared (a check).
struct ProjectRequest {
    enum class Command { Init, Sync } command = Command::Sync;
    std::filesystem::path project = ".";
    std::optional<std::filesystem::path> source; // init: the image every icon is made from
    bool force = false;                          // init: write over a quorva.toml there already
    QStringList flavors;                         // sync: only these flavors
    bool dryRun = false;
    bool check = false;
};

// What the command line asks for: a set to generate, catalogs to check, a project to set up or
// sync, the help or version text, or a usage error to report.
struct CommandLine {
    enum class Action { Generate, Check, Project, Help, Version, UsageError } action = Action::UsageError;
    GenerateRequest request;
    CheckRequest check;
    ProjectRequest project;
    QString error; // one line that says what is wrong
};

CommandLine parseCommandLine(const QStringList& arguments);

// appicon's options that its set's schema holds, as flags by their keys: what [ios] and [macos]
// of quorva.toml take. The Mac set's schema is the widest (it has the Mac shape). The set's
// catalog is --into and its source an argument; the slots a set may lose are sync's concern.
const OptionSchema& appIconFlags();

} // namespace quorva
