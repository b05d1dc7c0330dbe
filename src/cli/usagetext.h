#pragma once

#include "target/optionschema.h"

#include <QString>

namespace quorva {

struct OutputKind;

// What --help prints: each command, and each option of every output's schema with its help.
QString usageText();
QString versionText();

// A kind command's line of the usage: its arguments, then its options, wrapped.
QString synopsisOf(const OutputKind& kind);
// An option as --help lists it: "  --KEY VALUE" and what it does, wrapped.
QString optionLine(const OptionSpec& option, const QString& value);
// What an option's value is called, as --help shows it ("COLOR", "auto|keep|apply"); a
// positional argument by its key ("SOURCE", "DIR").
QString valueNameOf(const OptionSpec& option, bool argument = false);

} // namespace quorva
