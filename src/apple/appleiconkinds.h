#pragma once

#include "target/outputkind.h"

namespace quorva {

// Apple's app icons as a project keeps them, each an output kind: the iOS, macOS and watchOS
// icons of one set in an asset catalog ([ios], [macos], [watchos]; tables naming the same set are
// one set of their platforms), and an Icon Composer file ([icon-composer]).
extern const OutputKind iosIconKind;
extern const OutputKind macosIconKind;
extern const OutputKind watchosIconKind;
extern const OutputKind iconComposerKind;

} // namespace quorva
