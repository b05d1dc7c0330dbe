#pragma once

#include "image/image.h"
#include "splash/androidsplash.h"

#include <QImage>
#include <QPalette>
#include <QString>

namespace quorva {

// What a launch screen will look like, at true size (a dp or point to a pixel of the screen): on
// an Android 12 phone (the icon in the circle that shows, on its background where it has one), an
// older Android phone (launch_background.xml's art) and an iPhone (LaunchImage), light and dark.
// Art the circle cuts is shown faintly past it, inside a red ring. Made off the main thread;
// devicePixelRatio is the screen's.
struct SplashPreview {
    QImage image;
    QString description; // the same in words, for those who can't see it
    bool cut = false;    // Android 12's circle cuts the art
};
SplashPreview renderSplashPreview(const ImageRef& art, const AndroidSplashOptions& options, qreal devicePixelRatio,
                                  const QPalette& palette);

} // namespace quorva
