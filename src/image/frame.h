#pragma once

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

} // namespace quorva
