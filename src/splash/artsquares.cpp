#include "splash/artsquares.h"

#include "image/artplacement.h"
#include "image/imageresizing.h"

namespace quorva {

ArtSquares::ArtSquares(ImageRef art, SplashBitmaps& bitmaps)
    : m_art(std::move(art)), m_box(artBox(sampleBitmap(*m_art))), m_bitmaps(bitmaps)
{
}

std::function<QImage()> ArtSquares::at(int side, double fraction)
{
    std::shared_ptr<QImage>& drawn = m_drawn[{side, fraction}];
    if (!drawn) {
        drawn = std::make_shared<QImage>();
        m_bitmaps.prepare(
            [drawn, art = m_art, box = m_box, side, fraction] { *drawn = artInSquare(*art, box, side, fraction); });
    }
    return [drawn] { return *drawn; };
}

} // namespace quorva
