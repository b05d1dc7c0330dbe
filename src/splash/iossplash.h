#pragma once

#include "image/image.h"
#include "target/plan.h"

#include <QColor>
#include <QJsonArray>
#include <QStringList>

#include <optional>

namespace quorva {

// What an iOS launch screen is made of, as quorva-cli splash and sync give it.
struct IosSplashOptions {
    QColor background = Qt::white;
    std::optional<QColor> darkBackground;
    ImageRef darkArt; // the dark screen's own art; else the light one's
    double padding = 0;
    // The catalog keeps the background as an image set of that name (flutter_native_splash's,
    // which its storyboard shows): the colours go in its place, as its images, not as a colour
    // set of the same name, which the catalog can't hold beside it.
    bool backgroundImageSet = false;
    // The dark entries the project's sets have already, each file there, kept where no dark art
    // or colour of the screen's own is given: the project's dark screen is not lost.
    QJsonArray darkImages;       // of LaunchImage.imageset
    QJsonArray darkBackgrounds;  // of the background's image set or colour set
    std::optional<double> artPt; // the art's side in points; else the square Android 12's circle never cuts
    // Which of the sets are written: LaunchImage's and the background's, which the project's
    // storyboard or UILaunchScreen shows; Capacitor's full-screen Splash.imageset, where the
    // catalog has it.
    bool launchImage = true;
    bool fullScreenSet = false;
};

// The names a launch screen's storyboard, or UILaunchScreen's UIImageName and UIColorName, give
// its image and its colour: Flutter's storyboard shows LaunchImage.
inline constexpr const char* launchImageName = "LaunchImage";
inline constexpr const char* launchColourName = "LaunchBackground";
// Capacitor's full-screen image set, which its storyboard shows.
inline constexpr const char* fullScreenSetName = "Splash";

// The art's side in whole points, so that each scale is the same size on the screen: as given,
// else the square Android 12's circle never cuts, less the padding.
int artPoints(const IosSplashOptions& options);

// The images a launch storyboard's image views show, by their names in the catalog.
QStringList imagesShownBy(const QByteArray& storyboard);

// Capacitor's Splash.imageset (Default@1x~universal~anyany.png, @2x and @3x, each 2732 × 2732,
// the -dark twins where the dark screen has art or a colour of its own) and
// LaunchImage.imageset (1x, 2x and 3x, with dark entries where the dark screen has art of its
// own) and the LaunchBackground colour set (with a dark appearance where it has a colour of its
// own), by their paths inside the catalog. The art is as large as Android 12 shows it, inside
// the square that its circle never cuts, so that both platforms' screens look alike.
Plan planIosSplash(const ImageRef& art, const IosSplashOptions& options);

} // namespace quorva
