#pragma once

#include "target/outputkind.h"

namespace quorva {

// An Android app's launcher icon ([android], quorva-cli android): the icon its manifest names,
// at every density, its adaptive layers, themed layer, notification and Play Store icons.
extern const OutputKind androidKind;

// Whether a name is an Android resource's, as aapt2 takes a file's: else why not.
std::optional<QString> resourceNameProblem(const QString& name);

} // namespace quorva
