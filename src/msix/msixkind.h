#pragma once

#include "target/outputkind.h"

namespace quorva {

// A Windows package's images ([msix], quorva-cli msix): the flat set `tauri icon` writes, or with
// msix the qualified set Windows 11 wants, in the folder the package's manifest takes them from.
extern const OutputKind msixKind;

} // namespace quorva
