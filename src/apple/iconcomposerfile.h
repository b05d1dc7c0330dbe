#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

#include <map>
#include <optional>

namespace quorva {

// An image of an Icon Composer file's Assets/ folder.
struct IconComposerImage {
    QString fileName; // "art.png", "art.svg"
    QByteArray bytes;
};

// What an Icon Composer file (NAME.icon, Xcode 26) holds when made from one piece of art: the art as
// one layer over the background fill, with images of their own for the dark and tinted appearances
// when given, for every platform Icon Composer makes icons for.
struct IconComposerFile {
    IconComposerImage art;
    std::optional<IconComposerImage> dark;
    std::optional<IconComposerImage> tinted;
    std::optional<QColor> fill; // a solid colour; else the system's automatic fill
    bool darkFill = false;      // the dark appearance on the system's dark fill instead of the colour

    // Its files by their paths inside NAME.icon: icon.json, written as Icon Composer writes it
    // (keys in order, two-space JSON, colours as "srgb:r,g,b,a" with five decimals), and Assets/….
    std::map<QString, QByteArray> files() const;
};

// A colour as Icon Composer writes it: "srgb:0.12549,0.25098,0.37647,1.00000".
QString iconComposerColour(const QColor& colour);

} // namespace quorva
