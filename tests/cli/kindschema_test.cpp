// Each kind's options mean the same on the command line and in quorva.toml: every option of every
// kind quorva-cli runs, and of the app icon sets appicon writes, given once as a flag and once as a
// key, is read as the same value, and a value one of them refuses the other refuses too.
#include "cli/commandline.h"
#include "cli/kindcommand.h"
#include "project/projectconfig.h"

#include "testsupport.h"

#include <gtest/gtest.h>

using namespace quorva;

namespace {

// A value of an option, as the command line's text and as quorva.toml's literal.
struct Sample {
    QString text, toml;
};

// What an option of each type takes, and what it refuses. Paths are left out of the refusals:
// the command line takes them anywhere, quorva.toml in the project alone.
std::vector<Sample> takenBy(const OptionSpec& option)
{
    const QString extension = QLatin1String(option.extension);
    switch (option.type) {
    case OptionType::Flag:
        return {{"true", "true"}, {"false", "false"}};
    case OptionType::Padding:
        return {{"0", "0"}, {"12.5", "12.5"}, {"40", "40"}};
    case OptionType::Output:
        return {{"out/place" + extension, "\"out/place" + extension + "\""}};
    case OptionType::Image:
        return {{"art/other.png", "\"art/other.png\""}};
    case OptionType::Colour:
        return {{"#336699", "\"#336699\""}, {"white", "\"white\""}};
    case OptionType::ColourOrImage:
        return {{"#336699", "\"#336699\""}, {"art/layer.png", "\"art/layer.png\""}};
    case OptionType::FlagOrImage:
        return {{"art/layer.png", "\"art/layer.png\""}};
    case OptionType::SetName:
        return {{"AppIcon-dev", "\"AppIcon-dev\""}};
    case OptionType::Name:
        for (const char* name : {"ic_launcher", "org.example.App"})
            if (!option.problem || !option.problem(QLatin1String(name)))
                return {{name, QStringLiteral("\"%1\"").arg(QLatin1String(name))}};
        return {};
    case OptionType::Choice:
        return {{option.choices.first(), "\"" + option.choices.first() + "\""}};
    case OptionType::Sizes:
        return {{"16,32", "[16, 32]"}};
    case OptionType::SlotKinds:
        return {{"car", "[\"car\"]"}};
    case OptionType::Choices:
        return {{option.choices.join(','), "[\"" + option.choices.join("\", \"") + "\"]"}};
    case OptionType::Dp:
        return {{"96", "96"}, {"133.5", "133.5"}};
    }
    return {};
}

std::vector<Sample> refusedBy(const OptionSpec& option)
{
    switch (option.type) {
    case OptionType::Flag:
        return {{"maybe", "\"maybe\""}};
    case OptionType::Padding:
        return {{"41", "41"}, {"-1", "-1"}};
    case OptionType::Output:
        if (*option.extension)
            return {{"out/place.txt", "\"out/place.txt\""}};
        return {};
    case OptionType::Colour:
        return {{"#12345g", "\"#12345g\""}, {"#33669980", "\"#33669980\""}};
    case OptionType::SetName:
        return {{"App/Icon", "\"App/Icon\""}};
    case OptionType::Name:
        return {{"Not A Name!", "\"Not A Name!\""}};
    case OptionType::Choice:
        return {{"nothing-of-the-kind", "\"nothing-of-the-kind\""}};
    case OptionType::Sizes:
        return {{"16,5000", "[16, 5000]"}};
    case OptionType::Choices:
        return {{"nothing-of-the-kind", "[\"nothing-of-the-kind\"]"}};
    case OptionType::Dp:
        return {{"0", "0"}, {QString::number(option.most + 1), QString::number(option.most + 1)}};
    default:
        return {};
    }
}

struct Parsed {
    std::optional<ConfigValue> cli, toml;
    QString cliError, tomlError;
};

// The key's value as quorva.toml gives it to the table, or its refusal.
void readToml(const QByteArray& toml, const QString& table, const QString& key, Parsed& parsed)
{
    test::Scratch scratch;
    const ReadProjectConfig read = readProjectConfig(toml, scratch.root);
    if (!read.config)
        parsed.tomlError = read.errors.join('\n');
    else if (const auto target = read.config->targets.find(*targetNamed(table));
             target != read.config->targets.end() && target->second.count(key))
        parsed.toml = target->second.at(key);
    else if (read.config->shared.count(key))
        parsed.toml = read.config->shared.at(key);
}

// The option given alone with the kind's required ones, on the command line and in its table.
Parsed parse(const OutputKind& kind, const OptionSpec& option, const Sample& sample)
{
    const QString key = QLatin1String(option.key);
    QStringList arguments;
    QByteArray table = QByteArray("source = \"art/icon.png\"\n\n[") + kind.table + "]\n";
    for (const QString& argument : kind.arguments) {
        const OptionSpec& spec = *findOption(kind.options(), argument);
        const Sample given = argument == key ? sample : takenBy(spec).front();
        arguments << given.text;
        if (argument != QLatin1String("source") || argument == key)
            table += argument.toUtf8() + " = " + given.toml.toUtf8() + "\n";
    }
    // A kind that takes places: its first place's option, given as a flag.
    const auto place = std::find_if(kind.options().begin(), kind.options().end(),
                                    [](const OptionSpec& spec) { return spec.type == OptionType::Output; });
    if (kind.places && place != kind.options().end() && QLatin1String(place->key) != key)
        arguments << "--" + QLatin1String(place->key) + "=" + takenBy(*place).front().text;
    for (const OptionSpec& spec : kind.options()) {
        const QString name = QLatin1String(spec.key);
        if (kind.arguments.contains(name) || (!spec.required && name != key))
            continue;
        const Sample given = name == key ? sample : takenBy(spec).front();
        arguments << "--" + name + "=" + given.text;
        table += name.toUtf8() + " = " + given.toml.toUtf8() + "\n";
    }
    Parsed parsed;
    const KindCommand command = parseKindCommand(kind, arguments);
    if (command.error)
        parsed.cliError = *command.error;
    else if (const auto found = command.options.find(key); found != command.options.end())
        parsed.cli = found->second;
    readToml(table, QLatin1String(kind.table), key, parsed);
    return parsed;
}

// An app icon option as appicon's flag, with --into a catalog, and as its key in [macos].
Parsed parseAppIcon(const OptionSpec& option, const Sample& sample)
{
    const QString key = QLatin1String(option.key);
    QStringList arguments = {"appicon", "art/icon.png", "--into", "App.xcassets", "--platform", "ios,macos"};
    QByteArray table = "source = \"art/icon.png\"\n\n[macos]\ncatalog = \"App.xcassets\"\n";
    if (option.type == OptionType::FlagOrImage) { // an appearance of a single-size set
        arguments << "--single-size";
        table += "single-size = true\n";
    }
    arguments << "--" + key + "=" + sample.text;
    table += key.toUtf8() + " = " + sample.toml.toUtf8() + "\n";
    Parsed parsed;
    const CommandLine line = parseCommandLine(arguments);
    if (line.action == CommandLine::Action::UsageError)
        parsed.cliError = line.error;
    else if (const auto found = line.request.iconOptions.find(key); found != line.request.iconOptions.end())
        parsed.cli = found->second;
    readToml(table, QStringLiteral("macos"), key, parsed);
    return parsed;
}

std::string describe(const char* command, const OptionSpec& option, const Sample& sample, const Parsed& parsed)
{
    return QStringLiteral("%1 %2 = %3: command line '%4', quorva.toml '%5'")
        .arg(QLatin1String(command), QLatin1String(option.key), sample.text, parsed.cliError, parsed.tomlError)
        .toStdString();
}

// Each option of each kind quorva-cli takes flags for, given as each sample, parsed both ways.
template<typename Samples, typename Compare>
int forEveryOption(Samples samples, Compare compare)
{
    int compared = 0;
    const auto each = [&](const char* command, const OptionSpec& option, const Sample& sample, const Parsed& parsed) {
        compare(describe(command, option, sample, parsed), parsed);
        ++compared;
    };
    for (const OutputKind* kind : commandKinds())
        for (const OptionSpec& option : kind->options())
            for (const Sample& sample : samples(option))
                each(kind->command, option, sample, parse(*kind, option, sample));
    for (const OptionSpec& option : appIconFlags())
        for (const Sample& sample : samples(option))
            each("appicon", option, sample, parseAppIcon(option, sample));
    return compared;
}

} // namespace

TEST(KindSchema, everyOptionOfEveryKind_isTheSameValueAsAFlagAndAsAKey)
{
    const int compared = forEveryOption(takenBy, [](const std::string& what, const Parsed& parsed) {
        ASSERT_TRUE(parsed.cli && parsed.toml) << what;
        EXPECT_TRUE(parsed.cli->sameValue(*parsed.toml)) << what;
    });
    EXPECT_GE(compared, 50);
}

TEST(KindSchema, aValueEitherRefuses_theOtherRefusesToo)
{
    const int refused = forEveryOption(refusedBy, [](const std::string& what, const Parsed& parsed) {
        EXPECT_FALSE(parsed.cliError.isEmpty()) << what;
        EXPECT_FALSE(parsed.tomlError.isEmpty()) << what;
    });
    EXPECT_GE(refused, 20);
}
