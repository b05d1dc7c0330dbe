#pragma once

#include "image/image.h"
#include "target/installreport.h"
#include "target/optionschema.h"

#include <QString>

namespace quorva {

struct OutputKind;

// An output's files made by its kind from the window's image and choices (paths absolute, the
// source named by its file) and put on the disk whole: what quorva-cli writes for the same options.
// A refusal is the report's one failure, with what forcing would do.
WriteReport makeAndInstall(const OutputKind& kind, ConfigTable options, const ImageRef& image,
                           const QString& sourcePath);

} // namespace quorva
