#pragma once

#include "target/optionschema.h"

#include <QString>

#include <optional>

namespace quorva {

// A flag's text read as its option's value, as quorva.toml's key would give it: nothing when the
// option refuses it. An option of an image or none given bare is the source's art (true).
std::optional<ConfigValue> flagValue(const OptionSpec& option, const QString& text);
// The line for a text that the flag refuses: "--KEY takes …, not 'TEXT'".
QString flagRefusal(const OptionSpec& option, const QString& text);

} // namespace quorva
