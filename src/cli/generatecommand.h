#pragma once

#include "cli/commandline.h"

#include <QString>

namespace quorva {

struct GenerateOutcome {
    int exitStatus = 0;
    QString error; // one line naming the file, when exitStatus is not 0
};

// Loads the source, runs the job and its writer on a loop of its own, and returns once the
// job's last delivery step has run.
GenerateOutcome runGenerate(const GenerateRequest& request);

} // namespace quorva
