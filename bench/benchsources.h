#pragma once

#include <QByteArray>
#include <QImage>

namespace quorva::bench {

// App-icon-like artwork: a rounded square with gradients, rings and anti-aliased edges on a
// transparent ground, side × side pixels.
QImage iconArtwork(int side);

QByteArray encodedWithQt(const QImage& image);

} // namespace quorva::bench
