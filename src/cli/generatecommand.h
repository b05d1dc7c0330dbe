#pragma once

#include "cli/commandline.h"

#include "cli/generateoutcome.h"

namespace quorva {

// Loads the sources, runs the jobs and their writers on a loop of its own, and returns once every
// job's last delivery step has run.
GenerateOutcome runGenerate(const GenerateRequest& request);

} // namespace quorva
