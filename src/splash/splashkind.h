#pragma once

#include "target/outputkind.h"

namespace quorva {

// An app's launch screen ([splash], quorva-cli splash): for Android, the launch theme's Android
// 12 items and its older window background, with the icon and the art they name, in a res
// folder; light and, where asked, dark.
extern const OutputKind splashKind;

} // namespace quorva
