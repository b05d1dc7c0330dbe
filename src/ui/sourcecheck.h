#pragma once

#include "apple/appiconplan.h"
#include "ui/outputchoice.h"

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

// For the kind of set chosen, with the app icon set's choices; nothing chosen is no set at all.
SourceCheck checkSource(const ImageRef& image, std::optional<OutputChoice> kind, const AppIconOptions& options,
                        bool transparent);

// For the Android launcher icon: a source without transparent pixels becomes the background layer.
SourceCheck checkAndroidSource(const ImageRef& image, bool transparent);

// For the desktop and web icons: the choices' problem, if any, blocks Generate; a small source is
// upscaled for the 1024 px Mac icon.
SourceCheck checkDesktopSource(const ImageRef& image, const std::optional<QString>& problem);

} // namespace quorva
