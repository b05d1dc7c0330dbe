#pragma once

#include "cli/commandline.h"
#include "cli/generateoutcome.h"

namespace quorva {

// quorva-cli init: the project recognised, its quorva.toml written, what was found and what was
// not said on standard output.
GenerateOutcome runInit(const ProjectRequest& request);

// quorva-cli sync: a line for each target, and for a dry run or a check each file that differs.
// Exit status 1 when a target failed or (check) a file differs, 2 when quorva.toml can't be used.
GenerateOutcome runSync(const ProjectRequest& request);

} // namespace quorva
