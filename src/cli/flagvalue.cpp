#include "cli/flagvalue.h"

namespace quorva {

std::optional<ConfigValue> flagValue(const OptionSpec& option, const QString& text)
{
    const std::optional<ConfigValue> value = option.type == OptionType::FlagOrImage && text == QLatin1String("true")
        ? ConfigValue{true, 0}
        : valueFromText(option, text);
    if (!value || checkValue(option, *value) != ValueCheck::Taken)
        return std::nullopt;
    return value;
}

QString flagRefusal(const OptionSpec& option, const QString& text)
{
    return QStringLiteral("--%1 takes %2, not '%3'").arg(QLatin1String(option.key), typeText(option, true), text);
}

} // namespace quorva
