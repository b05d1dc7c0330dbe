#pragma once

#include <QColor>
#include <QString>

namespace quorva {

// A colour as CSS writes it: #RGB, #RRGGBB, #RRGGBBAA, rgb(r, g, b), rgba(r, g, b, a) or a colour
// name; an invalid colour when it is none of these.
QColor parseCssColour(const QString& text);

} // namespace quorva
