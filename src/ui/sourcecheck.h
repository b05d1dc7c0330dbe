#pragma once

#include "apple/appiconplan.h"

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

// What every kind says: an image is needed.
SourceCheck checkAnySource(const ImageRef& image);

// For the image set: one whose thirds would be empty can't be made.
SourceCheck checkImageSetSource(const ImageRef& image);

// For the app icon set, with its choices: what App Store Connect rejects, what is upscaled or stretched.
SourceCheck checkAppIconSource(const ImageRef& image, const AppIconOptions& options, bool transparent);

// For the Android launcher icon: a source without transparent pixels becomes the background layer.
SourceCheck checkAndroidSource(const ImageRef& image, bool transparent);

// For the launch screen: a source without transparent pixels shows as a square on the screen.
SourceCheck checkSplashSource(const ImageRef& image, bool transparent);

// For the desktop and web icons: the choices' problem, if any, blocks Generate; a small source is
// upscaled for the 1024 px Mac icon.
SourceCheck checkDesktopSource(const ImageRef& image, const std::optional<QString>& problem);

} // namespace quorva
