#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace quorva {

// One image of a Windows .ico file as its directory describes it.
struct IcoEntry {
    int width = 0, height = 0; // pixels; the directory's 0 is 256
    int bitCount = 0;
    bool png = false; // a whole PNG file rather than a DIB
    QByteArray data;  // the entry's bytes
};

// The images of an .ico file, in the directory's order; or, with none, why it is no .ico file.
struct IcoFile {
    std::vector<IcoEntry> entries;
    QString error;
};
IcoFile readIco(const QByteArray& bytes);

// An .ico file of the images, each square, in the order given: 32-bit images as Windows' own
// tools write them, a DIB (BGRA rows bottom-up and a 1-bit AND mask) below 256 px, a PNG at 256.
QByteArray encodeIco(const std::vector<QImage>& images);

// A DIB entry's pixels, premultiplied: for a check, and to read back what was written.
QImage decodeIcoDib(const IcoEntry& entry);

} // namespace quorva
