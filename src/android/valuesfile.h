#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quorva {

// A values file with one colour's value changed in place: the text of its one <color name="…">
// (or <item type="color" name="…">) element replaced, every other byte as it was, as Flutter
// projects keep the launcher icon's background among their other colours. Nothing when the file
// is no UTF-8 XML that defines the colour exactly once as text.
std::optional<QByteArray> withColourValue(const QByteArray& xml, const QString& name, const QString& value);

// The value a values file gives a colour, as it writes it ("#2a4c7d"); nothing where it defines
// none, or not as text.
std::optional<QString> colourValue(const QByteArray& xml, const QString& name);

} // namespace quorva
