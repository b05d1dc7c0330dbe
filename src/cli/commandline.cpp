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
