#pragma once

#include "cli/commandline.h"
#include "cli/generateoutcome.h"

namespace quorva {

// quorva-cli ico, icns, linux and web: the desktops' and the web's icons, each put in whole.
GenerateOutcome runDesktopIcons(const GenerateRequest& request);

} // namespace quorva
