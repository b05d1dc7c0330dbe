#include "cli/commandline.h"

#include "generation/assetname.h"
#include "support/paths.h"

#include <QFile>

#include <set>

namespace quorva {
namespace {

CommandLine usageError(const QString& error)
{
    CommandLine line;
    line.error = error;
    return line;
}

// The options as given, before they are checked against the command.
struct Options {
    std::optional<QString> name, set, into, background;
    bool singleSize = false, force = false, json = false;
    AppearanceRequest* lastAppearance = nullptr;
};

} // namespace

QString usageText()
{
    return QStringLiteral("Usage: quorva-cli appicon SOURCE DEST [APP ICON OPTIONS]\n"
                          "       quorva-cli appicon SOURCE --into CATALOG [--set NAME] [--force] [APP ICON OPTIONS]\n"
                          "       quorva-cli imageset SOURCE... DEST [--name NAME]\n"
                          "       quorva-cli imageset SOURCE... --into CATALOG [--name NAME] [--force]\n"
                          "       quorva-cli check PATH... [--json]\n"
                          "\n"
                          "Turns an image (PNG, JPEG, WebP, SVG) into the files of an iOS asset catalog.\n"
                          "\n"
                          "  appicon    writes DEST/Quorva/icon/iOS/AppIcon.appiconset: the 17 app icon sizes\n"
                          "             and Contents.json, with the artwork files also in DEST/Quorva/icon/iOS\n"
                          "  imageset   writes DEST/Quorva/asset/iOS/NAME.imageset for each SOURCE: asset@1x.png,\n"
                          "             asset@2x.png, asset@3x.png and Contents.json\n"
                          "  check      reports what Xcode and App Store Connect would reject in a catalog or set\n"
                          "\n"
                          "App icon options:\n"
                          "  --single-size        one 1024 px AppIcon.png, from which Xcode makes every size\n"
                          "  --background COLOR   lay the source onto COLOR (#RRGGBB or a colour name) first\n"
                          "  --dark [FILE]        add the dark icon: FILE, or the source's transparent artwork\n"
                          "  --tinted [FILE]      add the tinted icon: the luminance of FILE or of the artwork\n"
                          "\n"
                          "Other options:\n"
                          "  --into CATALOG  write each set straight into an .xcassets catalog, replacing the old\n"
                          "                  set whole; it is made if missing\n"
                          "  --set NAME      the app icon set's name in the catalog (default: AppIcon)\n"
                          "  --force         replace a set folder even if it holds files the set does not name\n"
                          "  --name NAME     the image set's name (default: SOURCE's file name without extension)\n"
                          "  --json          check: print one JSON document instead of lines\n"
                          "  --help          show this text\n"
                          "  --version       show the version\n"
                          "\n"
                          "Exit status: 0 when every set was written (check: no errors), 1 when a source is not a\n"
                          "readable image or a set could not be written (check: errors found), 2 for wrong usage.\n");
}

QString versionText()
{
    return QStringLiteral("quorva-cli " QUORVA_VERSION "\n");
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    GenerateRequest& request = line.request;
    Options options;
    QStringList positional;
    // A positional argument right after --dark or --tinted, which takes it as its FILE when the
    // command has more positional arguments than it needs.
    std::vector<std::pair<qsizetype, AppearanceRequest*>> optionalValues;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        AppearanceRequest* after = std::exchange(options.lastAppearance, nullptr);
        if (optionsEnded || !argument.startsWith(QLatin1String("--")) || argument == QLatin1String("-")) {
            if (after)
                optionalValues.emplace_back(positional.size(), after);
            positional.append(argument);
            continue;
        }
        const qsizetype equals = argument.indexOf('=');
        const QString option = argument.left(equals);
        const std::optional<QString> attached = equals < 0 ? std::nullopt : std::optional(argument.mid(equals + 1));
        const auto value = [&]() -> std::optional<QString> {
            if (attached)
                return attached;
            if (i + 1 < arguments.size())
                return arguments[++i];
            return std::nullopt;
        };
        std::optional<QString>* valued = option == QLatin1String("--name") ? &options.name
            : option == QLatin1String("--set")                             ? &options.set
            : option == QLatin1String("--into")                            ? &options.into
            : option == QLatin1String("--background")                      ? &options.background
                                                                           : nullptr;
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--help")) {
            line.action = CommandLine::Action::Help;
            return line;
        } else if (argument == QLatin1String("--version")) {
            line.action = CommandLine::Action::Version;
            return line;
        } else if (valued) {
            *valued = value();
            if (!*valued)
                return usageError(QStringLiteral("%1 needs a value").arg(option));
        } else if (option == QLatin1String("--dark") || option == QLatin1String("--tinted")) {
            AppearanceRequest& appearance = option == QLatin1String("--dark") ? request.dark : request.tinted;
            appearance.wanted = true;
            if (attached)
                appearance.file = toPath(*attached);
            else
                options.lastAppearance = &appearance;
        } else if (argument == QLatin1String("--single-size")) {
            request.singleSize = true;
        } else if (argument == QLatin1String("--force")) {
            request.force = true;
        } else if (argument == QLatin1String("--json")) {
            line.check.json = true;
        } else {
            return usageError(QStringLiteral("unknown option %1").arg(argument));
        }
    }

    if (positional.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString command = positional.takeFirst();
    for (auto& [index, appearance] : optionalValues)
        --index;
    const bool appearances = request.dark.wanted || request.tinted.wanted;
    const bool iconOptions = request.singleSize || options.background || appearances;

    if (command == QLatin1String("check")) {
        if (positional.isEmpty())
            return usageError(QStringLiteral("check takes one PATH or more"));
        if (iconOptions || options.name || options.set || options.into || request.force)
            return usageError(QStringLiteral("check takes no options but --json"));
        for (const QString& path : positional)
            line.check.paths.push_back(toPath(path));
        line.action = CommandLine::Action::Check;
        return line;
    }
    if (line.check.json)
        return usageError(QStringLiteral("--json goes with check only"));
    if (command == QLatin1String("appicon"))
        request.kind = SetKind::AppIcon;
    else if (command == QLatin1String("imageset"))
        request.kind = SetKind::ImageSet;
    else
        return usageError(QStringLiteral("unknown command %1").arg(command));

    if (options.into) {
        request.catalog = toPath(*options.into);
        if (!options.into->endsWith(QLatin1String(".xcassets")) && !options.into->endsWith(QLatin1String(".xcassets/")))
            return usageError(QStringLiteral("--into takes an asset catalog, a folder whose name ends in .xcassets"));
    } else if (request.force || options.set) {
        return usageError(QStringLiteral("%1 goes with --into only").arg(request.force ? "--force" : "--set"));
    }

    if (request.kind == SetKind::AppIcon) {
        // FILEs of --dark and --tinted are what the command has in excess of SOURCE [DEST].
        const qsizetype needed = request.catalog ? 1 : 2;
        for (auto it = optionalValues.rbegin(); it != optionalValues.rend() && positional.size() > needed; ++it)
            it->second->file = toPath(positional.takeAt(it->first));
        if (positional.size() != needed)
            return usageError(request.catalog ? QStringLiteral("appicon takes SOURCE with --into")
                                              : QStringLiteral("appicon takes SOURCE and DEST"));
        if (options.name)
            return usageError(QStringLiteral("--name goes with imageset only; an app icon set in a catalog is named "
                                             "by --set"));
        if (appearances && !request.singleSize)
            return usageError(QStringLiteral("--dark and --tinted only work in a single-size set: add --single-size"));
        if (options.set && !isSingleComponent(*options.set))
            return usageError(QStringLiteral("--set must be a non-empty name without '/'"));
        if (options.set)
            request.iconSetName = *options.set;
        if (options.background) {
            const QColor colour(*options.background);
            if (!colour.isValid())
                return usageError(QStringLiteral("--background: \"%1\" is not a colour").arg(*options.background));
            if (colour.alpha() != 255)
                return usageError(QStringLiteral("--background must be opaque"));
            request.background = colour;
        }
    } else {
        if (iconOptions)
            return usageError(QStringLiteral("--single-size, --background, --dark and --tinted go with appicon only"));
        if (!request.catalog && positional.size() < 2)
            return usageError(QStringLiteral("imageset takes SOURCE... and DEST"));
        if (positional.isEmpty())
            return usageError(QStringLiteral("imageset takes SOURCE... with --into"));
        if (options.name && (positional.size() > (request.catalog ? 1 : 2)))
            return usageError(QStringLiteral("--name works with one source only"));
        if (options.name && !isSingleComponent(*options.name))
            return usageError(QStringLiteral("--name must be a non-empty name without '/'"));
    }

    if (!request.catalog)
        request.destination = toPath(positional.takeLast());
    std::set<QString> stems;
    for (const QString& source : positional) {
        request.sources.push_back(toPath(source));
        if (request.kind == SetKind::ImageSet && !stems.insert(assetNameForFile(source)).second)
            return usageError(QStringLiteral("two sources are named %1: each image set needs a name of its own")
                                  .arg(assetNameForFile(source)));
    }
    if (request.kind == SetKind::ImageSet)
        request.assetName = options.name ? options.name : std::optional(assetNameForFile(positional.front()));
    line.action = CommandLine::Action::Generate;
    return line;
}

} // namespace quorva
