#pragma once

#include <QColor>

namespace quorva {

// a's colour with share (0 to 1) of b's mixed in: the palette's tints of the window's own colours.
inline QColor mixedColour(const QColor& a, const QColor& b, qreal share)
{
    return QColor::fromRgbF(a.redF() * (1 - share) + b.redF() * share, a.greenF() * (1 - share) + b.greenF() * share,
                            a.blueF() * (1 - share) + b.blueF() * share);
}

} // namespace quorva
