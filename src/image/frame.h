#pragma once

#include <QStringView>

namespace quorva {

// How a source that is not square is brought onto a square icon, and how much room is left
// around it. Stretch without padding is the classic set's way: the whole image on the whole icon.
struct Frame {
    enum class Fit {
        Stretch, // the whole image stretched onto the square
        Contain, // the whole image, its aspect kept, centred; the margins transparent
        Cover,   // the square filled, its aspect kept; the overflow cut off evenly
    } fit
        = Fit::Stretch;
    double padding = 0; // the margin on each side, as a fraction of the side (0.1 for 10 %)

    bool isIdentity() const { return fit == Fit::Stretch && padding <= 0; }
};

// The fit by its word, as the app icon's options name it: "contain", "cover"; Stretch for any other.
inline Frame::Fit fitNamed(QStringView word)
{
    if (word == u"contain")
        return Frame::Fit::Contain;
    if (word == u"cover")
        return Frame::Fit::Cover;
    return Frame::Fit::Stretch;
}

} // namespace quorva
