#pragma once

#include <QColor>
#include <QIcon>

namespace quorva {

// A small square of the colour, edged in grey, for a button that shows the colour it chose.
QIcon colourSwatch(const QColor& colour);

} // namespace quorva
