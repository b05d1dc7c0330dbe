#include "cli/commandline.h"

#include "apple/appleiconkinds.h"
#include "apple/assetname.h"
#include "cli/flagvalue.h"
#include "desktop/desktopicons.h"
#include "support/paths.h"
#include "target/optionschema.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <set>

namespace quorva {
namespace {

CommandLine usageError(const QString& error)
{
    CommandLine line;
    line.error = error;
    return line;
}

const QStringList commands = {"appicon", "imageset", "check", "init", "sync"};

// An image set's name, by the rule of a set's name.
const OptionSpec& imageSetNameOption()
{
    static const OptionSpec option{"name", OptionType::SetName};
    return option;
}

// The options each command takes, and what each takes after it. A flag of a schema is true or
// false, as its key is: given bare it is true, and it may say --KEY=false.
enum class Takes { Nothing, Flag, Value, OptionalFile };
struct CommandOption {
    Takes takes;
    QStringList commands;
};

const std::map<QString, CommandOption>& commandOptions()
{
    static const std::map<QString, CommandOption> specs = [] {
        std::map<QString, CommandOption> specs = {
            {"--into", {Takes::Value, {"appicon", "imageset"}}},
            {"--force", {Takes::Flag, {"imageset", "init"}}},
            {"--source", {Takes::Value, {"init"}}},
            {"--flavor", {Takes::Value, {"sync"}}},
            {"--dry-run", {Takes::Nothing, {"sync"}}},
            {"--check", {Takes::Nothing, {"sync"}}},
            {"--icon-composer", {Takes::Value, {"appicon"}}},
            {"--platform", {Takes::Value, {"appicon"}}},
            {"--name", {Takes::Value, {"imageset"}}},
            {"--json", {Takes::Nothing, {"check"}}},
            {"--format", {Takes::Value, {"check"}}},
            {"--strict", {Takes::Nothing, {"check"}}},
            {"--project", {Takes::Value, {"check"}}},
        };
        for (const OptionSpec& option : appIconFlags()) {
            CommandOption& spec = specs[QStringLiteral("--") + QLatin1String(option.key)];
            spec.takes = option.type == OptionType::Flag ? Takes::Flag
                : option.type == OptionType::FlagOrImage ? Takes::OptionalFile
                                                         : Takes::Value;
            spec.commands << QStringLiteral("appicon");
        }
        for (auto& [option, spec] : specs)
            std::sort(spec.commands.begin(), spec.commands.end(),
                      [](const QString& a, const QString& b) { return commands.indexOf(a) < commands.indexOf(b); });
        return specs;
    }();
    return specs;
}

// An option as given: its value, and for --dark and --tinted the place of a positional argument
// right after it, which it takes as its FILE when the command has more than it needs.
struct Given {
    std::optional<QString> value;
    std::optional<qsizetype> followedBy;
};

// The options that take an optional FILE (--dark, --tinted, --monochrome), as asked: --OPTION=FILE
// names its file; a bare one takes the argument right after it when the command has more than it
// needs, the last ones first.
void takeOptionalFiles(const std::map<QString, Given>& given, QStringList& positional, qsizetype needed,
                       const std::vector<std::pair<const char*, AppearanceRequest*>>& options)
{
    std::vector<std::pair<qsizetype, AppearanceRequest*>> following;
    for (const auto& [option, request] : options) {
        const auto found = given.find(QLatin1String(option));
        if (found == given.end())
            continue;
        request->wanted = true;
        if (found->second.value)
            request->file = toPath(*found->second.value);
        else if (found->second.followedBy)
            following.emplace_back(*found->second.followedBy, request);
    }
    std::sort(following.begin(), following.end());
    for (auto it = following.rbegin(); it != following.rend() && positional.size() > needed; ++it)
        it->second->file = toPath(positional.takeAt(it->first));
}

} // namespace

const OptionSchema& appIconFlags()
{
    static const OptionSchema flags = [] {
        OptionSchema flags;
        for (const OptionSpec& option : macosIconKind.options())
            if (!QStringList{"catalog", "drop", "source"}.contains(QLatin1String(option.key)))
                flags.push_back(option);
        return flags;
    }();
    return flags;
}

QString usageText()
{
    return QStringLiteral(
        "Usage: quorva-cli appicon SOURCE DEST [APP ICON OPTIONS]\n"
        "       quorva-cli appicon SOURCE --into CATALOG [--set NAME] [--force] [APP ICON OPTIONS]\n"
        "       quorva-cli appicon SOURCE --icon-composer FOLDER [--set NAME] [--background COLOR]\n"
        "                          [--dark [FILE]] [--tinted [FILE]]\n"
        "       quorva-cli imageset SOURCE... DEST [--name NAME]\n"
        "       quorva-cli imageset SOURCE... --into CATALOG [--name NAME] [--force]\n"
        "       quorva-cli android SOURCE RES [--background COLOR|FILE] [--monochrome [FILE]]\n"
        "                          [--name NAME] [--padding PERCENT] [--play-store FILE] [--force]\n"
        "                          [--notification [FILE]] [--notification-name NAME]\n"
        "       quorva-cli ico SOURCE FILE.ico [--sizes LIST] [--background COLOR] [--padding PERCENT]\n"
        "       quorva-cli icns SOURCE FILE.icns [--mac-shape auto|keep|apply] [--padding PERCENT]\n"
        "       quorva-cli linux SOURCE DIR --id APP_ID [--sizes LIST]\n"
        "       quorva-cli web SOURCE DIR [--background COLOR] [--padding PERCENT] [--manifest FILE]\n"
        "       quorva-cli tauri SOURCE CONFIG\n"
        "       quorva-cli expo SOURCE CONFIG\n"
        "       quorva-cli msix SOURCE DIR [--msix] [--background COLOR] [--padding PERCENT]\n"
        "       quorva-cli check [PATH...] [--format text|json|sarif] [--strict] [--project XCODEPROJ]\n"
        "       quorva-cli init [PROJECT] [--source FILE] [--force]\n"
        "       quorva-cli sync [PROJECT] [--flavor NAME]... [--dry-run | --check]\n"
        "\n"
        "Turns an image into the icon files that Xcode, Android's build, Windows, macOS, Linux\n"
        "desktops and browsers take as they are.\n"
        "SOURCE is a PNG, JPEG, WebP, GIF, BMP, SVG or SVGZ file of at most 134 megapixels, known\n"
        "by its content.\n"
        "\n"
        "  appicon    writes DEST/Quorva/icon/iOS/AppIcon.appiconset: the 17 app icon sizes\n"
        "             and Contents.json, with the artwork files also in DEST/Quorva/icon/iOS\n"
        "  imageset   writes DEST/Quorva/asset/iOS/NAME.imageset for each SOURCE: asset@1x.png,\n"
        "             asset@2x.png, asset@3x.png and Contents.json\n"
        "  android    writes the Android launcher icon the app's manifest names into RES, a\n"
        "             source set's res folder (src/main/res, src/free/res): mipmap-*/NAME.png,\n"
        "             the round icon when the manifest names one, the adaptive layers, their XML\n"
        "             in mipmap-anydpi-v26 and the background colour in values (changed in\n"
        "             place where another values file, such as colors.xml, defines it)\n"
        "  ico        writes a Windows .ico file: 16, 20, 24, 32, 40, 48, 64 and 256 px unless\n"
        "             --sizes says otherwise (16,32,48 is a favicon)\n"
        "  icns       writes a macOS .icns file: every PNG type from 16 to 1024 px\n"
        "  linux      writes DIR/hicolor/SIZExSIZE/apps/APP_ID.png from 16 to 512 px, and\n"
        "             DIR/hicolor/scalable/apps/APP_ID.svg for an SVG source\n"
        "  web        writes a site's icons into DIR: favicon.ico, favicon.svg for an SVG,\n"
        "             apple-touch-icon.png, icon-192.png, icon-512.png, their maskable twins and\n"
        "             manifest.webmanifest; a manifest in DIR (manifest.webmanifest,\n"
        "             manifest.json or --manifest FILE) says which icons to write instead, and\n"
        "             only gets the 192 and 512 px entries it lacks; prints the <link> lines\n"
        "  tauri      writes every icon a Tauri configuration's bundle.icon (and its\n"
        "             platforms' configurations') lists, at the size its name gives\n"
        "  expo       writes the images an Expo app.json names, 1024 px\n"
        "  msix       writes a Windows package's images into DIR: StoreLogo.png and\n"
        "             Square30x30Logo.png to Square310x310Logo.png as tauri icon does; with\n"
        "             --msix, Windows 11's set: every tile at scale-100 to scale-400 and the\n"
        "             app icon at each targetsize, plated and unplated\n"
        "  check      reports what Xcode and App Store Connect would reject in a catalog or set,\n"
        "             what Android's build and launchers would in a res folder or a Gradle\n"
        "             module or project (merged as the build merges them), what Windows,\n"
        "             macOS and browsers would in an .ico or .icns file or a site's folder,\n"
        "             and what Tauri's build would in the icons tauri.conf.json names; with no\n"
        "             PATH, every target of the current folder's quorva.toml (or, without one,\n"
        "             every place init would find)\n"
        "  init       writes PROJECT/quorva.toml (PROJECT: the current folder by default) from\n"
        "             what the project is (Flutter, React Native, Capacitor, Tauri, Electron,\n"
        "             Expo, Xcode, Gradle), where it keeps its icons and what they have now\n"
        "             (themed layer, colours, dark and tinted icons, an Icon Composer design);\n"
        "             imports the settings of flutter_launcher_icons, its flavors with them;\n"
        "             copies an image that lies where a target writes to quorva-sources/\n"
        "  sync       writes every target quorva.toml names, each whole or not at all, and\n"
        "             quorva.lock beside it; prints a line for each target; refuses what a\n"
        "             store would reject, and an image that lies where a target writes\n"
        "\n"
        "App icon options:\n"
        "  --single-size        one 1024 px AppIcon.png, from which Xcode makes every size\n"
        "  --background COLOR   lay the source onto COLOR first: #RGB, #RRGGBB, rgb(r, g, b)\n"
        "                       or a CSS colour name (white, navy, …); it must be opaque\n"
        "  --dark [FILE]        add the dark icon: FILE, or the source's transparent artwork\n"
        "  --tinted [FILE]      add the tinted icon: the luminance of FILE or of the artwork\n"
        "  --platform LIST      ios, macos, watchos, or several joined by commas: one set with\n"
        "                       the icons of each (default: ios)\n"
        "  --mac-shape S        lay the Mac icons into the macOS shape (apply), use the art as it\n"
        "                       is (keep), or shape a full-bleed square only (auto, the default)\n"
        "  --fit F              a source that is not square: stretch it onto the square (the\n"
        "                       default), contain it whole, or cover the square and cut the rest\n"
        "  --padding PERCENT    leave this margin on each side of the art (0 to 40)\n"
        "\n"
        "Android options:\n"
        "  --background C|FILE  the adaptive icon's background layer: an opaque colour\n"
        "                       (default: white) or an image\n"
        "  --monochrome [FILE]  add the themed icon (Android 13): the art's shape, or FILE's\n"
        "  --padding PERCENT    room inside the 66 dp circle that launchers never mask (0 to 40)\n"
        "  --play-store FILE    write the 512 px Play Store icon to FILE too\n"
        "  --notification [FILE]  add the notification icon, drawable-*/ic_notification.png:\n"
        "                       white in the art's shape, or FILE's, inside the central 20 dp\n"
        "  --notification-name NAME  its name (default: ic_notification)\n"
        "\n"
        "Desktop and web options:\n"
        "  --sizes LIST         ico, linux: the pixel sizes, joined by commas\n"
        "  --background COLOR   ico: lay the art onto COLOR; web: behind the touch icon and the\n"
        "                       maskable icons (default: white)\n"
        "  --padding PERCENT    leave this margin on each side of the art (0 to 40)\n"
        "  --mac-shape S        icns: lay the art into the macOS shape (apply), keep it as it is\n"
        "                       (keep), or shape a full-bleed square only (auto, the default)\n"
        "  --id APP_ID          linux: the application's reverse DNS name, as its .desktop file's\n"
        "                       name and Icon= say (org.example.App)\n"
        "  --manifest FILE      web: the site's manifest, when it is not DIR's own\n"
        "  --msix               msix: Windows 11's qualified images, not Tauri's flat set\n"
        "\n"
        "Project options:\n"
        "  --source FILE        init: the image every icon is made from (else the one\n"
        "                       flutter_launcher_icons names, or one found in the usual places)\n"
        "  --force              init: write over a quorva.toml that is there\n"
        "  --flavor NAME        sync: only this flavor's icons (again for more flavors)\n"
        "  --dry-run            sync: write nothing; list each file that would change\n"
        "  --check              sync: write nothing; list each file that is missing, different or\n"
        "                       stale, and exit 1 when there is any (for CI)\n"
        "\n"
        "Other options:\n"
        "  --into CATALOG  write each set straight into an .xcassets catalog, replacing the old\n"
        "                  set whole; it is made if missing\n"
        "  --set NAME      the app icon set's name in the catalog, or the .icon's (default: AppIcon)\n"
        "  --icon-composer FOLDER  write FOLDER/NAME.icon, an Icon Composer file (Xcode 26): the art\n"
        "                  as one layer over the background, for every platform\n"
        "  --force         replace a set folder even if it holds files the set does not name;\n"
        "                  android: write into a RES that is no source set's res folder (every\n"
        "                  src/*/res is one: src/main/res, src/debug/res, src/free/res), and\n"
        "                  replace files that Android's build would take for the same resource\n"
        "                  (an ic_launcher.webp beside the ic_launcher.png written)\n"
        "  --name NAME     the image set's name (default: SOURCE's file name without extension),\n"
        "                  or the Android icon's (default: the one the app's manifest names, with\n"
        "                  a round icon when it names one; ic_launcher without a manifest)\n"
        "  --format F      check: print text (the default), one JSON document (also --json) or\n"
        "                  SARIF 2.1.0 for code-scanning tools\n"
        "  --strict        check: warnings fail the run too\n"
        "  --project P     check: judge the catalogs by this Xcode project (.xcodeproj) instead of\n"
        "                  the nearest one above them\n"
        "  -h, --help      show this text\n"
        "  --version       show the version\n"
        "\n"
        "Exit status: 0 when every set was written (check: no errors), 1 when a source is not a\n"
        "readable image or a set could not be written (check: errors found; sync: a target\n"
        "failed, or with --check a file differs), 2 for wrong usage (sync: a quorva.toml that\n"
        "can't be used).\n");
}

QString versionText()
{
    return QStringLiteral("quorva-cli " QUORVA_VERSION "\n");
}

namespace {

// The arguments read as options and positional arguments, the options checked against the
// command that takes them.
struct Arguments {
    QString command;
    std::map<QString, Given> given;
    QStringList positional;

    bool has(const char* option) const { return given.count(QLatin1String(option)) > 0; }
    // A flag given, and not as --FLAG=false.
    bool on(const char* option) const { return has(option) && value(option) != QLatin1String("false"); }
    QString value(const char* option) const { return given.at(QLatin1String(option)).value.value_or(QString()); }
};

// Reads every option and positional argument; a line with the action or error that ends the
// reading early (--help, --version, wrong usage), or nothing.
std::optional<CommandLine> readArguments(const QStringList& arguments, CommandLine& line, Arguments& read)
{
    std::map<QString, Given>& given = read.given;
    QStringList& positional = read.positional;
    QString lastOptionalFile; // --dark or --tinted just before, without a value of its own
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const QString after = std::exchange(lastOptionalFile, QString());
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            if (!after.isEmpty())
                given[after].followedBy = positional.size();
            positional.append(argument);
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (argument == QLatin1String("--version")) {
            line.action = CommandLine::Action::Version;
            return line;
        }
        const qsizetype equals = argument.startsWith(QLatin1String("--")) ? argument.indexOf('=') : -1;
        const QString option = argument.left(equals);
        const auto spec = commandOptions().find(option);
        if (spec == commandOptions().end())
            return usageError(QStringLiteral("unknown option '%1'").arg(option));
        if (option == QLatin1String("--flavor") && given.count(option)) {
            // Several flavors, each by a --flavor of its own.
            if (equals < 0 && i + 1 >= arguments.size())
                return usageError(QStringLiteral("--flavor needs a value"));
            line.project.flavors << (equals >= 0 ? argument.mid(equals + 1) : arguments[++i]);
            continue;
        }
        if (given.count(option))
            return usageError(QStringLiteral("%1 is given twice").arg(option));
        Given& entry = given[option];
        if (equals >= 0) {
            entry.value = argument.mid(equals + 1);
            if (spec->second.takes == Takes::Nothing)
                return usageError(QStringLiteral("%1 takes no value").arg(option));
            const QByteArray key = option.mid(2).toLatin1();
            if (const OptionSpec flag{key.constData(), OptionType::Flag};
                spec->second.takes == Takes::Flag && !flagValue(flag, *entry.value))
                return usageError(flagRefusal(flag, *entry.value));
        } else if (spec->second.takes == Takes::Value) {
            if (i + 1 >= arguments.size())
                return usageError(QStringLiteral("%1 needs a value").arg(option));
            entry.value = arguments[++i];
        } else if (spec->second.takes == Takes::OptionalFile) {
            lastOptionalFile = option;
        }
    }

    if (positional.isEmpty())
        return usageError(QStringLiteral("no command given"));
    read.command = positional.takeFirst();
    const QString& command = read.command;
    if (!commands.contains(command))
        return usageError(QStringLiteral("unknown command '%1'").arg(command));
    for (auto& [option, entry] : given) {
        if (entry.followedBy)
            --*entry.followedBy;
        const QStringList& owners = commandOptions().at(option).commands;
        if (owners.contains(command))
            continue;
        if (option == QLatin1String("--name") && command == QLatin1String("appicon"))
            return usageError(QStringLiteral("--name goes with imageset only; an app icon set in a catalog is named "
                                             "by --set"));
        return usageError(QStringLiteral("%1 goes with %2 only").arg(option, owners.join(QStringLiteral(" and "))));
    }
    return std::nullopt;
}

CommandLine checkCommand(CommandLine line, const Arguments& read)
{
    if (read.has("--json") && read.has("--format"))
        return usageError(QStringLiteral("--json and --format are one choice: give one"));
    if (read.has("--json"))
        line.check.format = CheckFormat::Json;
    if (read.has("--format")) {
        const QString format = read.value("--format");
        if (format == QLatin1String("text"))
            line.check.format = CheckFormat::Text;
        else if (format == QLatin1String("json"))
            line.check.format = CheckFormat::Json;
        else if (format == QLatin1String("sarif"))
            line.check.format = CheckFormat::Sarif;
        else
            return usageError(QStringLiteral("--format takes text, json or sarif, not '%1'").arg(format));
    }
    line.check.strict = read.has("--strict");
    if (read.has("--project"))
        line.check.project = toPath(read.value("--project"));
    for (const QString& path : read.positional)
        line.check.paths.push_back(toPath(path));
    line.action = CommandLine::Action::Check;
    return line;
}

CommandLine projectCommand(CommandLine line, const Arguments& read)
{
    ProjectRequest& project = line.project;
    const QString& command = read.command;
    project.command = command == QLatin1String("init") ? ProjectRequest::Command::Init : ProjectRequest::Command::Sync;
    if (read.positional.size() > 1)
        return usageError(QStringLiteral("%1 takes one PROJECT folder at most").arg(command));
    if (!read.positional.isEmpty())
        project.project = toPath(read.positional.front());
    if (read.has("--source"))
        project.source = toPath(read.value("--source"));
    project.force = read.on("--force");
    if (read.has("--flavor"))
        project.flavors.prepend(read.value("--flavor"));
    for (const QString& flavor : project.flavors)
        if (flavor.isEmpty())
            return usageError(QStringLiteral("--flavor needs a flavor's name"));
    project.dryRun = read.has("--dry-run");
    project.check = read.has("--check");
    if (project.dryRun && project.check)
        return usageError(QStringLiteral("--dry-run and --check are one choice: give one"));
    line.action = CommandLine::Action::Project;
    return line;
}

// The Apple platforms by their tables' names in quorva.toml.
const std::vector<std::pair<const OutputKind*, ApplePlatform>>& platformKinds()
{
    static const std::vector<std::pair<const OutputKind*, ApplePlatform>> kinds
        = {{&iosIconKind, ApplePlatform::iOS},
           {&macosIconKind, ApplePlatform::macOS},
           {&watchosIconKind, ApplePlatform::watchOS}};
    return kinds;
}

// --platform's list; why not, for a name that is no platform's.
std::optional<QString> readPlatforms(const QString& list, std::set<ApplePlatform>& platforms)
{
    platforms.clear();
    for (const QString& name : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto& kinds = platformKinds();
        const auto found = std::find_if(kinds.begin(), kinds.end(),
                                        [&](const auto& kind) { return name == QLatin1String(kind.first->table); });
        if (found == kinds.end()) {
            QStringList names;
            for (const auto& kind : kinds)
                names << QLatin1String(kind.first->table);
            return QStringLiteral("--platform takes %1 and %2, not '%3'")
                .arg(names.mid(0, names.size() - 1).join(QStringLiteral(", ")), names.last(), name);
        }
        platforms.insert(found->second);
    }
    if (platforms.empty())
        return QStringLiteral("--platform needs one platform or more");
    return std::nullopt;
}

// appicon's own options; why they can't be taken, or nothing.
std::optional<QString> readAppIconOptions(GenerateRequest& request, const Arguments& read, QStringList& positional)
{
    const qsizetype needed = request.catalog || request.iconComposer ? 1 : 2;
    takeOptionalFiles(read.given, positional, needed, {{"--dark", &request.dark}, {"--tinted", &request.tinted}});
    if (positional.size() != needed)
        return (request.catalog            ? QStringLiteral("appicon takes SOURCE with --into")
                    : request.iconComposer ? QStringLiteral("appicon takes SOURCE with --icon-composer")
                                           : QStringLiteral("appicon takes SOURCE and DEST"));
    if (read.has("--platform"))
        if (const std::optional<QString> error = readPlatforms(read.value("--platform"), request.platforms))
            return error;
    // The set's options, read as quorva.toml's keys are.
    ConfigTable& options = request.iconOptions;
    for (const OptionSpec& option : appIconFlags()) {
        const auto given = read.given.find(QStringLiteral("--") + QLatin1String(option.key));
        if (given == read.given.end())
            continue;
        QString text = given->second.value.value_or(QStringLiteral("true"));
        // An appearance's FILE may also be the argument after it, taken above.
        for (const auto& [key, appearance] : {std::pair("dark", &request.dark), std::pair("tinted", &request.tinted)})
            if (option.key == std::string_view(key) && appearance->file)
                text = displayPath(*appearance->file);
        // The set's folder name given whole is taken as its name.
        if (option.type == OptionType::SetName && text.endsWith(QLatin1String(".appiconset")))
            text.chop(int(qstrlen(".appiconset")));
        const std::optional<ConfigValue> value = flagValue(option, text);
        if (!value)
            return flagRefusal(option, given->second.value.value_or(QString()));
        options[QLatin1String(option.key)] = *value;
    }
    const auto text = [&](const char* key) {
        const auto found = options.find(QLatin1String(key));
        return found == options.end() ? std::optional<QString>() : std::optional(found->second.text());
    };
    request.singleSize
        = options.count(QStringLiteral("single-size")) && options.at(QStringLiteral("single-size")).flag();
    if (const auto shape = text("mac-shape"))
        request.macShape = macShapeNamed(*shape);
    if (request.singleSize && !request.platforms.count(ApplePlatform::iOS))
        return QStringLiteral("--single-size makes the iOS icon: add ios to --platform");
    if ((request.dark.wanted || request.tinted.wanted) && !request.singleSize && !request.iconComposer)
        return QStringLiteral("--dark and --tinted only work in a single-size set: add --single-size");
    if (const auto name = text("set"))
        request.iconSetName = *name;
    if (const auto fit = text("fit"))
        request.frame.fit = fitNamed(*fit);
    if (const auto colour = text("background"))
        request.background = parseCssColour(*colour);
    if (const auto padding = options.find(QStringLiteral("padding")); padding != options.end())
        request.frame.padding = std::get<double>(padding->second.value) / 100;
    return std::nullopt;
}

// imageset's arguments; why they can't be taken, or nothing.
std::optional<QString> checkImageSetArguments(const GenerateRequest& request, const Arguments& read,
                                              const QStringList& positional)
{
    const auto has = [&read](const char* option) { return read.has(option); };
    const auto value = [&read](const char* option) { return read.value(option); };
    if (!request.catalog && positional.size() < 2)
        return QStringLiteral("imageset takes SOURCE... and DEST");
    if (positional.isEmpty())
        return QStringLiteral("imageset takes SOURCE... with --into");
    if (has("--name") && (positional.size() > (request.catalog ? 1 : 2)))
        return QStringLiteral("--name works with one source only");
    if (has("--name") && !flagValue(imageSetNameOption(), value("--name")))
        return flagRefusal(imageSetNameOption(), value("--name"));
    return std::nullopt;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    Arguments read;
    if (const std::optional<CommandLine> ended = readArguments(arguments, line, read))
        return *ended;
    const QString& command = read.command;
    if (command == QLatin1String("check"))
        return checkCommand(std::move(line), read);
    if (command == QLatin1String("init") || command == QLatin1String("sync"))
        return projectCommand(std::move(line), read);

    GenerateRequest& request = line.request;
    QStringList positional = read.positional;
    const auto has = [&read](const char* option) { return read.has(option); };
    const auto value = [&read](const char* option) { return read.value(option); };
    request.kind = command == QLatin1String("appicon") ? SetKind::AppIcon : SetKind::ImageSet;
    request.force = read.on("--force");
    if (has("--into")) {
        const QString into = value("--into");
        request.catalog = toPath(into);
        if (!into.endsWith(QLatin1String(".xcassets")) && !into.endsWith(QLatin1String(".xcassets/")))
            return usageError(QStringLiteral("--into takes an asset catalog, a folder whose name ends in .xcassets"));
        if (has("--icon-composer"))
            return usageError(QStringLiteral("--into and --icon-composer are two places: give one"));
    } else if (has("--icon-composer")) {
        request.iconComposer = toPath(value("--icon-composer"));
        for (const char* option : {"--platform", "--single-size", "--mac-shape", "--force"})
            if (read.on(option))
                return usageError(QStringLiteral("%1 does not go with --icon-composer, which makes one file for every "
                                                 "platform")
                                      .arg(QLatin1String(option)));
    } else if (request.force || has("--set")) {
        return usageError(
            QStringLiteral("%1 goes with --into or --icon-composer only").arg(request.force ? "--force" : "--set"));
    }

    if (const std::optional<QString> error = request.kind == SetKind::AppIcon
            ? readAppIconOptions(request, read, positional)
            : checkImageSetArguments(request, read, positional))
        return usageError(*error);

    if (!request.catalog && !request.iconComposer)
        request.destination = toPath(positional.takeLast());
    // macOS's disks do not tell A.imageset from a.imageset: a clash there is a clash.
    std::set<QString> stems;
    for (const QString& source : positional) {
        request.sources.push_back(toPath(source));
        if (request.kind == SetKind::ImageSet && !stems.insert(assetNameForFile(source).toLower()).second)
            return usageError(QStringLiteral("two sources are named %1 (letter case aside): each image set needs a "
                                             "name of its own")
                                  .arg(assetNameForFile(source)));
    }
    if (request.kind == SetKind::ImageSet)
        request.assetName
            = has("--name") ? std::optional(value("--name")) : std::optional(assetNameForFile(positional.front()));
    line.action = CommandLine::Action::Generate;
    return line;
}

} // namespace quorva
