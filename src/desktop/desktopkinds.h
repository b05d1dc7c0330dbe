#pragma once

#include "target/outputkind.h"

namespace quorva {

// The desktops' icon files, each an output kind: a Windows .ico ([windows], quorva-cli ico), a
// macOS .icns ([icns], icns) and the freedesktop hicolor theme ([linux], linux).
extern const OutputKind icoKind;
extern const OutputKind icnsKind;
extern const OutputKind hicolorKind;

} // namespace quorva
