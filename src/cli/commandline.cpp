#include "generation/assetname.h"

#include "cli/commandline.h"

#include <QFile>

namespace quorva {
namespace {

std::filesystem::path toPath(const QString& argument)
{
    return std::filesystem::path(QFile::encodeName(argument).toStdString());
}

CommandLine usageError(const QString& error)
{
    CommandLine line;
    line.action = CommandLine::Action::UsageError;
    line.error = error;
    return line;
}

} // namespace

QString usageText()
{
    return QStringLiteral(
        "Usage: quorva-cli appicon SOURCE DEST\n"
        "       quorva-cli imageset SOURCE DEST [--name NAME]\n"
        "\n"
        "Turns one PNG or JPEG image into the files of an iOS asset catalog.\n"
        "\n"
        "  appicon    writes DEST/Quorva/icon/iOS/AppIcon.appiconset: the 17 app icon sizes\n"
        "             and Contents.json, with the artwork files also in DEST/Quorva/icon/iOS\n"
        "  imageset   writes DEST/Quorva/asset/iOS/NAME.imageset: asset@1x.png, asset@2x.png,\n"
        "             asset@3x.png and Contents.json\n"
        "\n"
        "Options:\n"
        "  --name NAME   the image set's name (default: SOURCE's file name without extension)\n"
        "  --help        show this text\n"
        "  --version     show the version\n"
        "\n"
        "Exit status: 0 when the whole set was written, 1 when the source is not a readable\n"
        "image or part of the set could not be written, 2 for wrong usage.\n");
}

QString versionText()
{
    return QStringLiteral("quorva-cli " QUORVA_VERSION "\n");
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    QStringList positional;
    std::optional<QString> name;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1String("--")) || argument == QLatin1String("-")) {
            positional.append(argument);
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--help")) {
            return {CommandLine::Action::Help, {}, {}};
        } else if (argument == QLatin1String("--version")) {
            return {CommandLine::Action::Version, {}, {}};
        } else if (argument == QLatin1String("--name") || argument.startsWith(QLatin1String("--name="))) {
            if (argument == QLatin1String("--name")) {
                if (++i == arguments.size())
                    return usageError(QStringLiteral("--name needs a value"));
                name = arguments[i];
            } else {
                name = argument.mid(7);
            }
        } else {
            return usageError(QStringLiteral("unknown option %1").arg(argument));
        }
    }

    if (positional.isEmpty())
        return usageError(QStringLiteral("no command given"));
    CommandLine line;
    line.action = CommandLine::Action::Generate;
    const QString command = positional.takeFirst();
    if (command == QLatin1String("appicon"))
        line.request.kind = SetKind::AppIcon;
    else if (command == QLatin1String("imageset"))
        line.request.kind = SetKind::ImageSet;
    else
        return usageError(QStringLiteral("unknown command %1").arg(command));
    if (positional.size() != 2)
        return usageError(QStringLiteral("%1 takes SOURCE and DEST").arg(command));
    if (name && line.request.kind != SetKind::ImageSet)
        return usageError(QStringLiteral("--name goes with imageset only"));
    if (name && (name->isEmpty() || name->contains(QLatin1Char('/'))))
        return usageError(QStringLiteral("--name must be a non-empty name without '/'"));

    line.request.source = toPath(positional[0]);
    line.request.destination = toPath(positional[1]);
    if (line.request.kind == SetKind::ImageSet)
        line.request.assetName = name ? *name : assetNameForFile(positional[0]);
    return line;
}

} // namespace quorva
