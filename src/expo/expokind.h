#pragma once

#include "target/outputkind.h"

namespace quorva {

// An Expo app's icon images ([expo], quorva-cli expo): those its app.json or app.config names.
extern const OutputKind expoKind;

} // namespace quorva
