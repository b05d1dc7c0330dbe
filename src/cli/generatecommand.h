#pragma once

#include "cli/commandline.h"

#include <QStringList>

namespace quorva {

struct GenerateOutcome {
    int exitStatus = 0;
    QStringList errors; // one line per failed source, set or file, naming it
    QStringList notes;  // what the user should know although nothing failed
};

// Loads the sources, runs the jobs and their writers on a loop of its own, and returns once every
// job's last delivery step has run.
GenerateOutcome runGenerate(const GenerateRequest& request);

} // namespace quorva
