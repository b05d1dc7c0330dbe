#pragma once

#include "image/image.h"
#include "splash/splashbitmaps.h"

#include <QImage>
#include <QRectF>

#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace quorva {

// A launch screen's art at each size its images show it, each drawn once however many images
// show it (Capacitor's screens show one size in each orientation, light and dark), before the
// images are made; where the art lies in its image found once.
class ArtSquares {
public:
    ArtSquares(ImageRef art, SplashBitmaps& bitmaps);

    // The art centred in a square of that side, filling that fraction of it: drawn among the
    // bitmaps' first steps, ready when their images are made.
    std::function<QImage()> at(int side, double fraction = 1);

private:
    ImageRef m_art;
    QRectF m_box;
    SplashBitmaps& m_bitmaps;
    std::map<std::pair<int, double>, std::shared_ptr<QImage>> m_drawn;
};

} // namespace quorva
