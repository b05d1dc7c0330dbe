#pragma once

#include "cli/generateoutcome.h"
#include "target/outputkind.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace quorva {

// The output kinds quorva-cli runs by their schemas alone, each by its command.
const std::vector<const OutputKind*>& commandKinds();
const OutputKind* commandKind(const QString& command);

// quorva-cli COMMAND ARGUMENTS… [--OPTION [VALUE]]…, as the kind's schema reads it: its arguments
// in order, and each option as --KEY VALUE, --KEY=VALUE or, for a flag, --KEY; an option that
// takes an image or nothing (--monochrome [FILE]) takes the argument after it as its FILE when
// the command has one more than it needs. Values are checked as quorva.toml's are.
struct KindCommand {
    ConfigTable options;
    std::optional<QString> error; // wrong usage: one line saying what is wrong
};
KindCommand parseKindCommand(const OutputKind& kind, const QStringList& arguments);

// The kind's files made from the options and put in through the installer; its notes and lines
// to copy, and a line for each failure.
GenerateOutcome runKindCommand(const OutputKind& kind, const ConfigTable& options);

} // namespace quorva
