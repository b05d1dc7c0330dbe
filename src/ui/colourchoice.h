#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

#include <functional>

class QWidget;

namespace quorva {

// A small square of the colour, edged in grey, for a button that shows the colour it chose.
QIcon colourSwatch(const QColor& colour);

// Opens the platform's colour dialog over the window, named for tests, and hands a chosen colour
// on made opaque: a background that shows through defeats its purpose.
void chooseOpaqueColour(QWidget* over, const QColor& current, const QString& objectName,
                        const std::function<void(const QColor&)>& chosen);

} // namespace quorva
