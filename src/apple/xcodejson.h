#pragma once

#include <QByteArray>
#include <QJsonValue>

namespace quorva {

// JSON as Xcode and Icon Composer write it: keys in alphabetical order, two spaces a level, " : "
// between a key and its value, every array item on a line of its own.
QByteArray xcodeJson(const QJsonValue& value);

} // namespace quorva
