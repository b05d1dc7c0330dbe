#include "cli/usagetext.h"

#include "cli/commandline.h"
#include "cli/kindcommand.h"
#include "target/outputkind.h"

#include <QStringList>

namespace quorva {
namespace {

constexpr qsizetype lineWidth = 90;
constexpr qsizetype helpColumn = 23;
constexpr qsizetype aboutColumn = 13;

// Words laid into lines of the width, the first after first, the others indented.
QString wrapped(const QString& first, const QString& text, qsizetype indent)
{
    QString out = first;
    qsizetype column = first.size();
    bool fresh = true; // nothing of the text on this line yet
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!fresh && column + 1 + word.size() > lineWidth) {
            out += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            column = indent;
            fresh = true;
        }
        if (!fresh) {
            out += QLatin1Char(' ');
            ++column;
        }
        out += word;
        column += word.size();
        fresh = false;
    }
    return out + QLatin1Char('\n');
}

QString paddedTo(QString text, qsizetype column)
{
    if (text.size() + 2 > column)
        return text + QStringLiteral("  ");
    return text.leftJustified(column);
}

bool isArgument(const OutputKind& kind, const OptionSpec& option)
{
    return kind.arguments.contains(QLatin1String(option.key));
}

QString flagOf(const OptionSpec& option)
{
    const QString value = valueNameOf(option);
    return QStringLiteral("--") + QLatin1String(option.key) + (value.isEmpty() ? QString() : QLatin1Char(' ') + value);
}

} // namespace

QString valueNameOf(const OptionSpec& option, bool argument)
{
    if (option.valueName)
        return QLatin1String(option.valueName);
    switch (option.type) {
    case OptionType::Flag:
        return {};
    case OptionType::Padding:
        return QStringLiteral("PERCENT");
    case OptionType::Output:
        if (!argument)
            return QStringLiteral("FILE");
        if (option.key == QLatin1String("folder"))
            return QStringLiteral("DIR");
        return QString::fromLatin1(option.key).toUpper() + QLatin1String(option.extension);
    case OptionType::Image:
        return argument ? QString::fromLatin1(option.key).toUpper() : QStringLiteral("FILE");
    case OptionType::Colour:
        return QStringLiteral("COLOR");
    case OptionType::ColourOrImage:
        return QStringLiteral("COLOR|FILE");
    case OptionType::FlagOrImage:
        return QStringLiteral("[FILE]");
    case OptionType::SetName:
    case OptionType::Name:
        return QStringLiteral("NAME");
    case OptionType::Choice:
        return option.choices.join(QLatin1Char('|'));
    case OptionType::Choices:
        return option.choices.join(QLatin1Char(','));
    case OptionType::Dp:
        return QStringLiteral("DP");
    case OptionType::Sizes:
    case OptionType::SlotKinds:
        return QStringLiteral("LIST");
    }
    return {};
}

QString optionLine(const OptionSpec& option, const QString& value)
{
    const QString flag
        = QStringLiteral("  --") + QLatin1String(option.key) + (value.isEmpty() ? QString() : QLatin1Char(' ') + value);
    QString help = QString::fromUtf8(option.help ? option.help : "");
    if (option.type == OptionType::Padding)
        help += QStringLiteral(" (0 to %1)").arg(maxPaddingPercent);
    return wrapped(paddedTo(flag, helpColumn), help, helpColumn);
}

QString synopsisOf(const OutputKind& kind)
{
    const QString start = QStringLiteral("       quorva-cli %1").arg(QLatin1String(kind.command));
    QStringList words;
    const OptionSchema& schema = kind.options();
    for (const QString& key : kind.arguments)
        if (const OptionSpec* option = findOption(schema, key))
            words << valueNameOf(*option, true);
    if (kind.places)
        words << QLatin1String(kind.places) + QStringLiteral("…");
    // Required options first, as the command can't go without them.
    for (const bool required : {true, false})
        for (const OptionSpec& option : schema)
            if (!isArgument(kind, option) && option.required == required)
                words << (required ? flagOf(option) : QStringLiteral("[%1]").arg(flagOf(option)));
    // An option's words stay on one line.
    QString out = start;
    qsizetype column = start.size();
    const qsizetype indent = start.size() + 1;
    for (QString word : words) {
        word.replace(QLatin1Char(' '), QChar(0xa0));
        if (column + 1 + word.size() > lineWidth) {
            out += QLatin1Char('\n') + QString(indent - 1, QLatin1Char(' '));
            column = indent - 1;
        }
        out += QLatin1Char(' ') + word;
        column += 1 + word.size();
    }
    return out.replace(QChar(0xa0), QLatin1Char(' ')) + QLatin1Char('\n');
}

QString usageText()
{
    QString out
        = QStringLiteral("Usage: quorva-cli appicon SOURCE DEST [APP ICON OPTIONS]\n"
                         "       quorva-cli appicon SOURCE --into CATALOG [--set NAME] [--force] [APP ICON OPTIONS]\n"
                         "       quorva-cli appicon SOURCE --icon-composer FOLDER [--set NAME] [--background COLOR]\n"
                         "                          [--dark [FILE]] [--tinted [FILE]]\n"
                         "       quorva-cli imageset SOURCE... DEST [--name NAME]\n"
                         "       quorva-cli imageset SOURCE... --into CATALOG [--name NAME] [--force]\n");
    for (const OutputKind* kind : commandKinds())
        out += synopsisOf(*kind);
    out += QStringLiteral(
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
        "             asset@2x.png, asset@3x.png and Contents.json\n");
    for (const OutputKind* kind : commandKinds())
        out += wrapped(paddedTo(QStringLiteral("  ") + QLatin1String(kind->command), aboutColumn),
                       QString::fromUtf8(kind->about), aboutColumn);
    out += QStringLiteral("  check      reports what Xcode and App Store Connect would reject in a catalog or set,\n"
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
                          "appicon options:\n");
    for (const OptionSpec& option : appIconFlags())
        out += optionLine(option, valueNameOf(option));
    out += QStringLiteral("  --platform LIST      ios, macos, watchos, or several joined by commas: one set with\n"
                          "                       the icons of each (default: ios)\n");
    for (const OutputKind* kind : commandKinds()) {
        QString lines;
        for (const OptionSpec& option : kind->options())
            if (!isArgument(*kind, option))
                lines += optionLine(option, valueNameOf(option));
        if (!lines.isEmpty())
            out += QStringLiteral("\n%1 options:\n").arg(QLatin1String(kind->command)) + lines;
    }
    out += QStringLiteral("\n"
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
                          "  --into CATALOG       write each set straight into an .xcassets catalog, replacing the\n"
                          "                       old set whole; it is made if missing\n"
                          "  --icon-composer FOLDER  write FOLDER/NAME.icon, an Icon Composer file (Xcode 26): the\n"
                          "                       art as one layer over the background, for every platform\n"
                          "  --name NAME          imageset: the set's name (default: SOURCE's file name without\n"
                          "                       extension)\n"
                          "  --force              imageset: replace a set folder even if it holds files the set\n"
                          "                       does not name\n"
                          "  --format F           check: print text (the default), one JSON document (also --json)\n"
                          "                       or SARIF 2.1.0 for code-scanning tools\n"
                          "  --strict             check: warnings fail the run too\n"
                          "  --project P          check: judge the catalogs by this Xcode project (.xcodeproj)\n"
                          "                       instead of the nearest one above them\n"
                          "  -h, --help           show this text\n"
                          "  --version            show the version\n"
                          "\n"
                          "Exit status: 0 when every set was written (check: no errors), 1 when a source is not a\n"
                          "readable image or a set could not be written (check: errors found; sync: a target\n"
                          "failed, or with --check a file differs), 2 for wrong usage (sync: a quorva.toml that\n"
                          "can't be used).\n");
    return out;
}

QString versionText()
{
    return QStringLiteral("quorva-cli " QUORVA_VERSION "\n");
}

} // namespace quorva
