#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace quorva::bench {

// The encoded sources that the benchmarks work on. bench/run.sh passes files made from Debian's
// icon theme and wallpapers; without them, stand-ins are drawn here.
struct Sources {
    QString iconRgbaPath; // a 1024 × 1024 app icon with transparent parts
    QString iconRgbPath;  // the same on an opaque ground
    QString photoPath;    // a photograph of about 12 megapixels
    QByteArray iconRgba;
    QByteArray iconRgb;
    QByteArray photo;
};

// Takes --icon-rgba=FILE, --icon-rgb=FILE and --photo=FILE out of the arguments; what is not
// given is drawn and written to a temporary folder that lives as long as the process.
const Sources& sources(int& argc, char** argv);
const Sources& sources();

// Smooth shapes under sensor-like noise: compresses as badly as a photograph does.
QImage photoStandIn(int width, int height);

// App-icon-like artwork: a rounded square with gradients, rings and anti-aliased edges on a
// transparent ground, side × side pixels.
QImage iconArtwork(int side);

} // namespace quorva::bench
