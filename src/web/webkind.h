#pragma once

#include "target/outputkind.h"

namespace quorva {

// A site's icons ([web], quorva-cli web): the favicons, the touch icon and its manifest's icons,
// the manifest itself kept as the user wrote it.
extern const OutputKind webKind;

} // namespace quorva
