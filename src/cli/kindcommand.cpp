#include "cli/kindcommand.h"

#include "android/androidkind.h"
#include "cli/flagvalue.h"
#include "desktop/desktopkinds.h"
#include "expo/expokind.h"
#include "msix/msixkind.h"
#include "project/kindplaces.h"
#include "splash/splashkind.h"
#include "support/paths.h"
#include "target/installer.h"
#include "tauri/taurikind.h"
#include "web/webkind.h"

#include <algorithm>

namespace quorva {
namespace fs = std::filesystem;

const std::vector<const OutputKind*>& commandKinds()
{
    static const std::vector<const OutputKind*> kinds = {
        &androidKind, // android SOURCE RES
        &icoKind,     // ico SOURCE FILE.ico
        &icnsKind,    // icns SOURCE FILE.icns
        &hicolorKind, // linux SOURCE DIR --id APP_ID
        &tauriKind,   // tauri SOURCE CONFIG
        &msixKind,    // msix SOURCE DIR [--msix]
        &webKind,     // web SOURCE DIR (after msix: check takes a folder for the first kind it holds)
        &expoKind,    // expo SOURCE CONFIG
        &splashKind,  // splash SOURCE RES
    };
    return kinds;
}

const OutputKind* commandKind(const QString& command)
{
    for (const OutputKind* kind : commandKinds())
        if (command == QLatin1String(kind->command))
            return kind;
    return nullptr;
}

KindCommand parseKindCommand(const OutputKind& kind, const QStringList& arguments)
{
    KindCommand out;
    const OptionSchema& schema = kind.options();
    const QString command = QLatin1String(kind.command);
    const auto wrong = [&](const QString& error) {
        out.error = error;
        return out;
    };
    QStringList positional;
    std::map<QString, QString> given;                // key: its text as given
    std::vector<std::pair<QString, qsizetype>> bare; // image-or-flag options without a value, before that argument
    bool ended = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (ended || !argument.startsWith(QLatin1String("--"))) {
            positional << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            ended = true;
            continue;
        }
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString key = argument.mid(2, equals < 0 ? -1 : equals - 2);
        const OptionSpec* option = findOption(schema, key);
        if (!option || std::find(kind.arguments.begin(), kind.arguments.end(), key) != kind.arguments.end())
            return wrong(QStringLiteral("%1 takes no option --%2").arg(command, key));
        if (given.count(key))
            return wrong(QStringLiteral("--%1 is given twice").arg(key));
        if (equals >= 0) {
            given[key] = argument.mid(equals + 1);
        } else if (option->type == OptionType::Flag) {
            given[key] = QStringLiteral("true");
        } else if (option->type == OptionType::FlagOrImage) {
            given[key] = QStringLiteral("true");
            bare.emplace_back(key, positional.size());
        } else if (i + 1 < arguments.size()) {
            given[key] = arguments[++i];
        } else {
            return wrong(QStringLiteral("--%1 needs a value").arg(key));
        }
    }
    // An option of an image or none takes the argument right after it as its FILE, the last
    // ones first, while there are more arguments than the command takes.
    for (auto it = bare.rbegin(); it != bare.rend() && !kind.places && positional.size() > kind.arguments.size(); ++it)
        if (it->second < positional.size())
            given[it->first] = positional.takeAt(it->second);
    const bool placed = std::any_of(given.begin(), given.end(), [&](const auto& option) {
        return findOption(schema, option.first)->type == OptionType::Output;
    });
    if (kind.places ? positional.size() < kind.arguments.size() + (placed ? 0 : 1)
                    : positional.size() != kind.arguments.size()) {
        QStringList names;
        for (const QString& name : kind.arguments)
            names << name.toUpper();
        if (kind.places)
            names << QLatin1String(kind.places) + QStringLiteral("…");
        return wrong(QStringLiteral("%1 takes %2")
                         .arg(command,
                              names.size() > 1 ? names.mid(0, names.size() - 1).join(QStringLiteral(", "))
                                      + QStringLiteral(" and ") + names.last()
                                               : names.join(QString())));
    }
    for (qsizetype i = 0; i < kind.arguments.size(); ++i)
        given[kind.arguments[i]] = positional[i];
    // Each place: one of the kind's own, else a project's folder, for the places init finds there.
    for (const QString& place : positional.mid(kind.arguments.size())) {
        const ConfigTable found = placesAt(kind, toPath(place));
        if (found.empty())
            return wrong(QStringLiteral("%1: no place of %2's, nor a project that has one").arg(place, command));
        for (const auto& [key, value] : found) {
            if (given.count(key))
                return wrong(
                    QStringLiteral("%1 is given twice: %2 and %3").arg(key.toUpper(), given[key], value.text()));
            given[key] = value.text();
        }
    }
    for (const auto& [key, text] : given) {
        const OptionSpec& option = *findOption(schema, key);
        const std::optional<ConfigValue> value = flagValue(option, text);
        if (!value)
            return wrong(kind.arguments.contains(key) ? QStringLiteral("%1 takes as its %2 %3, not '%4'")
                                                            .arg(command, key.toUpper(), typeText(option, true), text)
                                                      : flagRefusal(option, text));
        out.options[key] = *value;
    }
    for (const OptionSpec& option : schema)
        if (option.required && !out.options.count(QLatin1String(option.key)))
            return wrong(
                QStringLiteral("%1 needs --%2: %3").arg(command, QLatin1String(option.key), typeText(option, true)));
    return out;
}

GenerateOutcome runKindCommand(const OutputKind& kind, const ConfigTable& options)
{
    // Paths as the user gave them: relative ones below the current folder.
    SourceImages images{fs::path()};
    KindInputs inputs{fs::path()};
    const KindOutput made = kind.make({options, fs::path(), images, inputs, std::nullopt});
    GenerateOutcome outcome;
    outcome.notes = made.notes;
    if (made.failure) {
        // How the command line settles a refusal.
        QString line = *made.failure;
        if (const OptionSpec* settled = findOption(kind.options(), made.settledBy))
            line += settled->type == OptionType::Name ? QStringLiteral(": say which with --%1 NAME").arg(made.settledBy)
                                                      : QStringLiteral(" (--%1 FILE)").arg(made.settledBy);
        if (made.forcing)
            line += QStringLiteral("; --force %1").arg(*made.forcing);
        outcome.errors << line;
    } else
        outcome.errors += install(made.placements).failures;
    if (outcome.errors.isEmpty())
        outcome.output = made.links;
    outcome.exitStatus = outcome.errors.isEmpty() ? 0 : 1;
    return outcome;
}

} // namespace quorva
