#include "target/optionschema.h"

#include "image/csscolour.h"
#include "support/paths.h"

#include <QRegularExpression>

#include <algorithm>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// A path relative to the project that stays inside the folder, links and all.
bool inside(const QString& text, const fs::path& project, const fs::path& folder)
{
    const fs::path path = toPath(text);
    if (text.isEmpty() || path.is_absolute())
        return false;
    const fs::path joined = (project / path).lexically_normal();
    const fs::path relative = joined.lexically_relative(folder);
    if (relative.empty() || *relative.begin() == "..")
        return false;
    return isWithin(resolvedPath(joined), resolvedPath(folder));
}

bool opaqueColour(const QString& text)
{
    const QColor colour = parseCssColour(text);
    return colour.isValid() && colour.alpha() == 255;
}

} // namespace

const OptionSchema& sharedOptions()
{
    static const OptionSchema options = {
        OptionSpec{"source", OptionType::Image}.described("the image the icons are made from"),
        OptionSpec{"background", OptionType::Colour}.described(
            "lay the art onto COLOR first: #RGB, #RRGGBB, rgb(r, g, b) or a CSS colour name (white, navy, …); "
            "it must be opaque"),
        OptionSpec{"padding", OptionType::Padding}.described("leave this margin on each side of the art"),
    };
    return options;
}

const OptionSpec& sharedOption(const char* key)
{
    return *findOption(sharedOptions(), QLatin1String(key));
}

OptionSchema withSharedOptions(OptionSchema own, const std::map<QString, const char*>& helps)
{
    for (const OptionSpec& shared : sharedOptions()) {
        const auto same = std::find_if(own.begin(), own.end(), [&](const OptionSpec& option) {
            return QLatin1String(option.key) == QLatin1String(shared.key);
        });
        const auto help = helps.find(QLatin1String(shared.key));
        OptionSpec option = same != own.end() ? *same : shared;
        if (same != own.end())
            own.erase(same);
        own.push_back(help == helps.end() ? option : option.described(help->second));
    }
    return own;
}

const OptionSpec& macShapeOption()
{
    static const OptionSpec option
        = OptionSpec{"mac-shape", OptionType::Choice, false, {"auto", "keep", "apply"}}.described(
            "lay the Mac icons into the macOS shape (apply), use the art as it is (keep), or shape a full-bleed "
            "square only (auto, the default)");
    return option;
}

const OptionSpec* findOption(const OptionSchema& schema, const QString& key)
{
    const auto found = std::find_if(schema.begin(), schema.end(),
                                    [&](const OptionSpec& option) { return key == QLatin1String(option.key); });
    return found == schema.end() ? nullptr : &*found;
}

QString typeText(const OptionSpec& option, bool commandLine)
{
    if (commandLine)
        switch (option.type) {
        case OptionType::Output:
            return *option.extension
                ? QStringLiteral("a file whose name ends in %1").arg(QLatin1String(option.extension))
                : QStringLiteral("a path");
        case OptionType::Image:
            return QStringLiteral("an image file");
        case OptionType::Colour:
            return QStringLiteral("an opaque colour (#RGB, #RRGGBB, rgb(r, g, b) or a CSS name)");
        case OptionType::ColourOrImage:
            return QStringLiteral("an opaque colour (#RGB, #RRGGBB, rgb(r, g, b) or a CSS name) or an image file");
        case OptionType::FlagOrImage:
            return QStringLiteral("nothing or an image file");
        default:
            break;
        }
    switch (option.type) {
    case OptionType::Flag:
        return QStringLiteral("true or false");
    case OptionType::Padding:
        return QStringLiteral("a percentage from 0 to %1").arg(maxPaddingPercent);
    case OptionType::Output:
        return *option.extension ? QStringLiteral("a file whose name ends in %1").arg(QLatin1String(option.extension))
                                 : QStringLiteral("a path inside the project");
    case OptionType::Image:
        return QStringLiteral("an image's path inside the repository");
    case OptionType::Colour:
        return QStringLiteral("an opaque colour (\"#RRGGBB\", \"rgb(r, g, b)\" or a CSS name)");
    case OptionType::ColourOrImage:
        return QStringLiteral("an opaque colour or an image's path inside the repository");
    case OptionType::FlagOrImage:
        return QStringLiteral("true, false or an image's path inside the repository");
    case OptionType::SetName:
        return QStringLiteral("a set's name (no '/', not starting with '.')");
    case OptionType::Name:
        return option.takes ? QString::fromUtf8(option.takes) : QStringLiteral("a name");
    case OptionType::Choice:
        return QStringLiteral("one of %1").arg(option.choices.join(QStringLiteral(", ")));
    case OptionType::Choices:
        return QStringLiteral("a list of some of %1").arg(option.choices.join(QStringLiteral(", ")));
    case OptionType::Dp:
        return QStringLiteral("a length in dp, above 0 and at most %1").arg(option.most);
    case OptionType::Sizes:
        return QStringLiteral("a list of pixel sides from 1 to %1").arg(option.most);
    case OptionType::SlotKinds:
        return QStringLiteral("a list of the kinds of slot the set may lose (\"ios\", \"mac\", \"watch\", "
                              "\"car\", \"tv\", \"vision\"…)");
    }
    return {};
}

ValueCheck checkValue(const OptionSpec& option, const ConfigValue& value, const PathRules* rules)
{
    const auto* text = std::get_if<QString>(&value.value);
    const auto judged = [](bool taken) { return taken ? ValueCheck::Taken : ValueCheck::Wrong; };
    const auto output = [&](const QString& path) {
        return !rules || inside(path, rules->project, rules->project) ? ValueCheck::Taken : ValueCheck::OutOfProject;
    };
    const auto image = [&](const QString& path) {
        if (path.isEmpty())
            return ValueCheck::Wrong;
        return !rules || inside(path, rules->project, rules->repository) ? ValueCheck::Taken
                                                                         : ValueCheck::OutOfRepository;
    };
    switch (option.type) {
    case OptionType::Flag:
        return judged(value.isBool());
    case OptionType::Padding: {
        const auto* percent = std::get_if<double>(&value.value);
        return judged(percent && *percent >= 0 && *percent <= maxPaddingPercent);
    }
    case OptionType::Output:
        if (!text || text->isEmpty() || (*option.extension && !text->endsWith(QLatin1String(option.extension))))
            return ValueCheck::Wrong;
        return output(*text);
    case OptionType::Image:
        return text ? image(*text) : ValueCheck::Wrong;
    case OptionType::Colour:
        return judged(text && opaqueColour(*text));
    case OptionType::ColourOrImage:
        if (!text)
            return ValueCheck::Wrong;
        if (parseCssColour(*text).isValid())
            return judged(opaqueColour(*text));
        return image(*text);
    case OptionType::FlagOrImage:
        if (value.isBool())
            return ValueCheck::Taken;
        return text ? image(*text) : ValueCheck::Wrong;
    case OptionType::SetName:
        return judged(text && isSingleComponent(*text) && !text->startsWith(QLatin1Char('.')));
    case OptionType::Name:
        return judged(text && !text->isEmpty() && (!option.problem || !option.problem(*text)));
    case OptionType::Choice:
        return judged(text && option.choices.contains(*text));
    case OptionType::Choices: {
        const auto* words = std::get_if<QStringList>(&value.value);
        return judged(words && !words->empty() && std::all_of(words->begin(), words->end(), [&](const QString& each) {
                          return option.choices.contains(each);
                      }));
    }
    case OptionType::Dp: {
        const auto* dp = std::get_if<double>(&value.value);
        return judged(dp && *dp > 0 && *dp <= option.most);
    }
    case OptionType::Sizes: {
        const auto* sides = std::get_if<std::vector<int>>(&value.value);
        return judged(sides && !sides->empty() && std::all_of(sides->begin(), sides->end(), [&](int side) {
                          return side >= 1 && side <= option.most;
                      }));
    }
    case OptionType::SlotKinds: {
        static const QRegularExpression kind(QStringLiteral("^[a-z][a-z-]*$"));
        const auto* kinds = std::get_if<QStringList>(&value.value);
        return judged(kinds && std::all_of(kinds->begin(), kinds->end(), [](const QString& each) {
                          return kind.match(each).hasMatch();
                      }));
    }
    }
    return ValueCheck::Wrong;
}

std::optional<ConfigValue> valueFromText(const OptionSpec& option, const QString& given)
{
    switch (option.type) {
    case OptionType::Flag:
        if (given == QLatin1String("true") || given.isEmpty())
            return ConfigValue{true, 0};
        if (given == QLatin1String("false"))
            return ConfigValue{false, 0};
        return std::nullopt;
    case OptionType::Dp: {
        bool ok = false;
        const double dp = given.toDouble(&ok);
        return ok ? std::optional(ConfigValue{dp, 0}) : std::nullopt;
    }
    case OptionType::Padding: {
        QString text = given;
        if (text.endsWith(QLatin1Char('%')))
            text.chop(1);
        bool ok = false;
        const double percent = text.toDouble(&ok);
        return ok ? std::optional(ConfigValue{percent, 0}) : std::nullopt;
    }
    case OptionType::Sizes: {
        std::vector<int> sides;
        for (const QString& part : given.split(QLatin1Char(','))) {
            bool ok = false;
            const int side = part.trimmed().toInt(&ok);
            if (!ok)
                return std::nullopt;
            sides.push_back(side);
        }
        return ConfigValue{sides, 0};
    }
    case OptionType::SlotKinds:
    case OptionType::Choices:
        return ConfigValue{given.split(QLatin1Char(','), Qt::SkipEmptyParts), 0};
    default:
        return ConfigValue{given, 0};
    }
}

} // namespace quorva
