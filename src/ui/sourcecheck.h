#pragma once

#include "generation/appiconplan.h"

#include <QStringList>

namespace quorva {

// What the window tells before it asks for a folder: what is wrong or surprising in the source for
// the set chosen, and whether Generate can run at all.
struct SourceCheck {
    QStringList notes; // sentences in rich text, shown under the controls; a link to #background
                       // offers the background colour
    bool canGenerate = false;
    QString blocked; // when it can't: why, for Generate's tooltip
};

// segment 0 is the app icon set, 1 the image set, with the app icon set's choices.
SourceCheck checkSource(const ImageRef& image, int segment, const AppIconOptions& options, bool transparent);

} // namespace quorva
