#pragma once

#include "cli/commandline.h"
#include "cli/generateoutcome.h"

namespace quorva {

// quorva-cli android: the launcher icon made from the source and written into the res folder.
GenerateOutcome runAndroidIcon(const GenerateRequest& request);

} // namespace quorva
